#pragma once
// Small numeric helpers shared by the projection files.
#include <cmath>
#include <numbers>

namespace projection {

inline constexpr double kPi = std::numbers::pi;
inline constexpr double kDegToRad = kPi / 180.0;
inline constexpr double kRadToDeg = 180.0 / kPi;
// Radius of the sphere of GreatCircleDistance and the visibility limits.
inline constexpr double kEarthRadiusKm = 6378.135;
// Squared eccentricity of the ellipsoid the conic kind is computed on.
inline constexpr double kEccentricitySquared = 0.0066943178;

// Brings a longitude difference into [-180, 180]; exactly +-180 stays.
inline double NormaliseLonDelta(double delta)
{
  if (delta > 180.0 || delta < -180.0) {
    delta = std::fmod(delta, 360.0);
    if (delta > 180.0)
      delta -= 360.0;
    else if (delta < -180.0)
      delta += 360.0;
  }
  return delta;
}

// Brings a longitude into [-180, 180).
inline double NormaliseLonHalfOpen(double lon)
{
  if (lon >= 180.0 || lon < -180.0) {
    lon = std::fmod(lon + 180.0, 360.0);
    if (lon < 0)
      lon += 360.0;
    lon -= 180.0;
  }
  return lon;
}

inline bool Finite(double a, double b) { return std::isfinite(a) && std::isfinite(b); }

// Pixel rounding is half to even; false when the value has no int.
inline bool RoundToInt(double value, int& out)
{
  const double rounded = std::nearbyint(value);
  if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0))
    return false;
  out = static_cast<int>(rounded);
  return true;
}

}  // namespace projection
