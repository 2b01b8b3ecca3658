// Polar stereographic on the sphere, centred on the pole of the hemisphere
// of CentreLat. Its plane unit is the picture Height: with the default
// Scale a parallel of colatitude t is a circle of 1.7 * Height * tan(t / 2)
// pixels round the pole, which sits PolarOffset * Height from the middle row.
#include "mapping/Mapping.h"
#include "mapping/ProjectionMath.h"

#include <cmath>

using namespace projection;

namespace {
constexpr double kDefaultScale = 1.7;
}

void TMapping::RecomputePolarStereographic()
{
  double scale = kDefaultScale;
  double polarOffset = double{cosCentreLat_} * double{cosCentreLat_} * kDefaultScale;
  if (latSpan_ != 0) {
    // Fit the span of latitudes along the central meridian to the height.
    const double a = (double{centreLat_} - double{latSpan_} / 2) * kDegToRad;
    const double b = (double{centreLat_} + double{latSpan_} / 2) * kDegToRad;
    const double sign = southern_ ? 1.0 : -1.0;
    const double ta = std::tan((kPi / 2 + sign * a) / 2);
    const double tb = std::tan((kPi / 2 + sign * b) / 2);
    scale = 1 / std::fabs(tb - ta);
    polarOffset = (tb + ta) * scale / 2;
  }
  if (!Finite(scale, polarOffset) || scale == 0)
    return;  // keep the last consistent constants
  scale_ = static_cast<float>(scale);
  polarOffset_ = static_cast<float>(polarOffset);
  invScale_ = 1.0f / scale_;
}

bool TMapping::ForwardPolarStereographic(double lon, double lat, double& x, double& y) const
{
  const double lambda = LonDelta(lon) * kDegToRad;
  const double phi = lat * kDegToRad;
  const double colatitude = southern_ ? kPi / 2 + phi : kPi / 2 - phi;
  const double r = scale_ * std::tan(colatitude / 2);
  const double xp = r * std::sin(lambda);
  // The central meridian runs down from the north pole, up from the south.
  const double yp = southern_ ? r * std::cos(lambda) - polarOffset_ : polarOffset_ - r * std::cos(lambda);
  x = height_ * xp + width_ * 0.5;
  y = halfHeight_ - height_ * yp;
  return Finite(x, y);
}

bool TMapping::InversePolarStereographic(double x, double y, double& lon, double& lat) const
{
  const double u = (x - width_ * 0.5) / height_;
  // Measured from the same middle row the forward transform uses, so that
  // an odd height does not shift the read-out by half a pixel.
  const double v = (halfHeight_ - y) / height_;
  const double vp = southern_ ? v + polarOffset_ : v - polarOffset_;
  if (u == 0 && vp == 0) {
    lon = centreLon_;
    lat = southern_ ? -90 : 90;
    return true;
  }
  const double c = 2 * std::atan(std::hypot(u, vp) * invScale_);
  if (southern_) {
    lon = centreLon_ + std::atan2(u, vp) * kRadToDeg;
    lat = std::asin(-std::cos(c)) * kRadToDeg;
  } else {
    lon = centreLon_ + std::atan2(u, -vp) * kRadToDeg;
    lat = std::asin(std::cos(c)) * kRadToDeg;
  }
  // Read-outs print longitudes as given: keep them within a turn.
  lon = NormaliseLonHalfOpen(lon);
  return Finite(lon, lat);
}
