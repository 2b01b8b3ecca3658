// The azimuthal kinds round (CentreLon, CentreLat): equidistant (3, 4 and
// the great-circle kind 13), orthographic (7), linearised orthographic (8)
// and gnomonic (11). Plane units are picture widths; every kind but 13 may
// be turned by Rotation.
#include "mapping/Mapping.h"
#include "mapping/ProjectionMath.h"

#include <algorithm>
#include <cmath>

using namespace projection;

namespace {

// Visibility limits: distance from the centre in km.
constexpr double kEquidistantReachKm = 12000;
constexpr double kOrthographicReachKm = 6300;
// The linearised orthographic view keeps to +-60 degrees of the centre.
constexpr double kLinearisedHalfAngle = kPi / 3;
// Below this the gnomonic plane is too far out to be of use.
constexpr double kGnomonicMinCos = 1e-6;
// A pixel this close to the plane's origin reads as the centre.
constexpr double kCentreRadius = 1e-5;
// Beyond this angle the great-circle formulas become ill-conditioned.
constexpr double kTiny = 1e-10;

bool Rotated(int kind) { return kind != pkGreatCircle; }

}  // namespace

void TMapping::RecomputeAzimuthal()
{
  const double hOverW = static_cast<double>(height_) / width_;
  const bool fitted = latSpan_ != 0 && height_ != 0 && width_ != 0;
  double scale = 0;
  if (kind_ == pkGreatCircle) {
    if (fitted)
      scale = hOverW / (double{latSpan_} * kDegToRad);
    else
      scale = height_ <= width_ ? hOverW / (2 * kPi) : double{0.15915494f};
  } else if (fitted) {
    // Fit the span of latitudes through the centre to the picture height.
    const double a = (double{centreLat_} - double{latSpan_} / 2) * kDegToRad;
    const double b = (double{centreLat_} + double{latSpan_} / 2) * kDegToRad;
    const double sin0 = sinCentreLat_, cos0 = cosCentreLat_;
    const double lower = std::sin(a) * cos0 - std::cos(a) * sin0;
    const double upper = std::sin(b) * cos0 - std::cos(b) * sin0;
    scale = hOverW / std::fabs(lower - upper);
  } else {
    scale = (kind_ == pkOrthographic || kind_ == pkLinearisedOrthographic) ? 0.8 : 0.4;
  }
  if (std::isfinite(scale) && scale != 0)
    scale_ = static_cast<float>(scale);
}

bool TMapping::ForwardAzimuthal(double lon, double lat, double& u, double& v) const
{
  const double lambda = LonDelta(lon) * kDegToRad;
  const double phi = lat * kDegToRad, phi0 = centreLat_ * kDegToRad;
  const double sinPhi = std::sin(phi), cosPhi = std::cos(phi);
  const double sin0 = std::sin(phi0), cos0 = std::cos(phi0);
  const double scale = scale_;
  const double distance = GreatCircleDistance(centreLat_, centreLon_, lat, lon);
  const double cosC = sin0 * sinPhi + cos0 * cosPhi * std::cos(lambda);
  // East and north components of the direction to the point.
  const double east = cosPhi * std::sin(lambda);
  const double north = cos0 * sinPhi - sin0 * cosPhi * std::cos(lambda);
  bool visible = true;
  double x = 0, y = 0;
  switch (kind_) {
  case pkAzimuthalEquidistant:
  case pkAzimuthalEquidistantWide:
    visible = distance < kEquidistantReachKm;
    if (std::fabs(cosC) < 1) {
      const double c = std::acos(cosC);
      const double k = scale * c / std::sin(c);
      x = k * east;
      y = k * north;
    }
    break;
  case pkOrthographic:
    visible = distance < kOrthographicReachKm;
    x = scale * east;
    y = scale * north;
    break;
  case pkLinearisedOrthographic: {
    const double a = std::atan2(east, cosPhi * std::cos(lambda) * cos0 + sinPhi * sin0);
    const double b = std::asin(std::clamp(sinPhi * cos0 - cosPhi * std::cos(lambda) * sin0, -1.0, 1.0));
    visible = distance < kOrthographicReachKm && std::fabs(a) < kLinearisedHalfAngle &&
              std::fabs(b) < kLinearisedHalfAngle;
    y = scale * std::atan2(std::sin(b), std::cos(a) * std::cos(b));
    x = scale * std::atan2(std::sin(a) * std::cos(b), std::hypot(std::cos(a) * std::cos(b), std::sin(b)));
    break;
  }
  case pkGnomonic:
    // The centre itself (cos c rounding to 1) is shown too.
    visible = distance < kEquidistantReachKm && cosC >= kGnomonicMinCos;
    if (visible) {
      x = scale / cosC * east;
      y = scale / cosC * north;
    }
    break;
  default: {  // great circle: distance and azimuth from the centre
    const double towardsCentre = (double{centreLon_} - lon) * kDegToRad;
    const double halfDLat = std::sin((phi0 - phi) / 2), halfDLon = std::sin(towardsCentre / 2);
    const double d =
      2 * std::asin(std::min(1.0, std::sqrt(halfDLat * halfDLat + cos0 * cosPhi * halfDLon * halfDLon)));
    double az = 0;
    if (d >= kTiny) {
      const double y1 = cosPhi * std::sin(towardsCentre);
      const double x1 = sinPhi * cos0 - cosPhi * sin0 * std::cos(towardsCentre);
      if (std::fabs(x1) < kTiny)
        az = y1 > 0 ? kPi / 2 : -kPi / 2;
      else
        az = std::atan2(y1, x1);
    }
    x = -std::sin(az) * scale * d;
    y = std::cos(az) * scale * d;
    break;
  }
  }
  if (Rotated(kind_)) {
    const double r = rotation_ * kDegToRad;
    u = x * std::cos(r) + y * std::sin(r);
    v = -x * std::sin(r) + y * std::cos(r);
  } else {
    u = x;
    v = y;
  }
  return visible && Finite(u, v);
}

bool TMapping::InverseAzimuthal(double u, double v, double& lon, double& lat) const
{
  double x = u, y = v;
  if (Rotated(kind_)) {
    const double r = rotation_ * kDegToRad;
    x = u * std::cos(r) - v * std::sin(r);
    y = u * std::sin(r) + v * std::cos(r);
  }
  const double rho = std::hypot(x, y);
  if (rho < kCentreRadius) {
    lon = centreLon_;
    lat = centreLat_;
    return true;
  }
  const double scale = scale_;
  double sinC = 0, cosC = 0;
  switch (kind_) {
  case pkOrthographic:
    sinC = rho / scale;
    if (sinC > 1)
      return false;  // off the disc
    cosC = std::sqrt(1 - sinC * sinC);
    break;
  case pkGnomonic: {
    const double c = std::atan(rho / scale);
    sinC = std::sin(c);
    cosC = std::cos(c);
    break;
  }
  default: {  // equidistant
    const double c = rho / scale;
    if (c > kPi)
      return false;  // beyond the antipode of the centre
    sinC = std::sin(c);
    cosC = std::cos(c);
    break;
  }
  }
  const double phi0 = centreLat_ * kDegToRad;
  const double sin0 = std::sin(phi0), cos0 = std::cos(phi0);
  lat = std::asin(std::clamp(cosC * sin0 + y * sinC * cos0 / rho, -1.0, 1.0)) * kRadToDeg;
  double dLon = 0;
  if (centreLat_ == 90)
    dLon = std::atan2(x, -y);
  else if (centreLat_ == -90)
    dLon = std::atan2(x, y);
  else
    dLon = std::atan2(x * sinC, rho * cos0 * cosC - y * sin0 * sinC);
  lon = NormaliseLonHalfOpen(centreLon_ + dLon * kRadToDeg);
  return Finite(lon, lat);
}
