// Van der Grinten's world in a circle, whole or zoomed to one quarter or
// one ninth of the picture (ZoomRegion 1-4 and 5-13).
#include "mapping/Mapping.h"
#include "mapping/ProjectionMath.h"

#include <algorithm>
#include <array>
#include <cmath>

using namespace projection;

namespace {

// Zoom of a region: plane multiplier, then shifts in widths (x) and in
// picture heights (y) that bring the region's centre to the origin.
struct TZoom {
  double factor, shiftX, shiftY;
};
constexpr std::array<TZoom, 14> kZooms = {{
  {1, 0, 0},
  {2, 0.5, -0.5}, {2, -0.5, -0.5}, {2, 0.5, 0.5}, {2, -0.5, 0.5},
  {3, 1, -1}, {3, 0, -1}, {3, -1, -1},
  {3, 1, 0}, {3, 0, 0}, {3, -1, 0},
  {3, 1, 1}, {3, 0, 1}, {3, -1, 1},
}};

// Near the poles, the central meridian and the equator the general
// formulas lose their accuracy; those lines have closed forms.
constexpr double kPoleLat = 89.999;
constexpr double kAxisTolerance = 0.0001;

const TZoom& ZoomOf(int region) { return kZooms[region < 0 || region > 13 ? 0 : region]; }

double WithSign(double magnitude, double sign) { return sign < 0 ? -magnitude : magnitude; }

}  // namespace

bool TMapping::ForwardVanDerGrinten(double lon, double lat, double& u, double& v) const
{
  const double dLon = LonDelta(lon);
  const double absLat = std::fabs(lat);
  const double scale = std::fabs(double{scale_}), vdg = std::fabs(double{vdgScale_});
  double x = 0, y = 0;
  if (absLat > kPoleLat) {
    y = WithSign(kPi * scale, lat);
  } else if (std::fabs(dLon) <= kAxisTolerance) {
    const double theta = std::asin(2 * absLat / 180);
    y = WithSign(kPi * scale * std::tan(theta / 2), lat);
  } else if (absLat <= kAxisTolerance) {
    x = dLon * kDegToRad * double{scale_};
  } else {
    const double theta = std::asin(2 * absLat / 180);
    const double a = 0.5 * std::fabs(180 / dLon - dLon / 180);
    const double g = std::cos(theta) / (std::sin(theta) + std::cos(theta) - 1);
    const double p = g * (2 / std::sin(theta) - 1);
    const double q = a * a + g;
    const double p2 = p * p, a2 = a * a, gp = g - p2;
    const double denominator = p2 + a2;
    const double rootX = std::sqrt(std::max(0.0, a2 * gp * gp - denominator * (g * g - p2)));
    const double rootY = std::sqrt(std::max(0.0, (a2 + 1) * denominator - q * q));
    x = WithSign((a * gp + rootX) / denominator * vdg, dLon);
    y = WithSign((p * q - a * rootY) / denominator * vdg, lat);
  }
  const TZoom& zoom = ZoomOf(zoomRegion_);
  const double k = static_cast<double>(height_) / width_;
  u = zoom.factor * x + zoom.shiftX;
  v = zoom.factor * y + zoom.shiftY * k;
  return Finite(u, v);
}

bool TMapping::InverseVanDerGrinten(double u, double v, double& lon, double& lat) const
{
  const TZoom& zoom = ZoomOf(zoomRegion_);
  const double k = static_cast<double>(height_) / width_;
  const double x = (u - zoom.shiftX) / zoom.factor / double{vdgScale_};
  const double y = (v - zoom.shiftY * k) / zoom.factor / double{vdgScale_};
  const double x2 = x * x, y2 = y * y, r2 = x2 + y2;
  if (r2 > 1)
    return false;  // outside the world's circle
  if (r2 < 1e-20) {
    lon = centreLon_;
    lat = 0;
    return true;
  }
  // The latitude is a root of a cubic, taken by the trigonometric method.
  const double c1 = -std::fabs(y) * (1 + r2);
  const double c2 = c1 - 2 * y2 + x2;
  const double c3 = -2 * c1 + 1 + 2 * y2 + r2 * r2;
  const double d = y2 / c3 + (2 * c2 * c2 * c2 / (c3 * c3 * c3) - 9 * c1 * c2 / (c3 * c3)) / 27;
  const double a1 = (c1 - c2 * c2 / (3 * c3)) / c3;
  const double m1 = 2 * std::sqrt(-a1 / 3);
  const double theta1 = std::acos(std::clamp(3 * d / (a1 * m1), -1.0, 1.0)) / 3;
  lat = WithSign(180 * (-m1 * std::cos(theta1 + kPi / 3) - c2 / (3 * c3)), y);
  lon = centreLon_;
  if (x != 0)
    lon += 90 * (std::sqrt(1 + 2 * (x2 - y2) + r2 * r2) + r2 - 1) / x;
  lon = NormaliseLonHalfOpen(lon);
  return Finite(lon, lat);
}
