// The cylindrical kinds: equidistant over the whole world (1) or over a
// window of LonSpan x LatSpan degrees (2 and the linear-based 14), and
// Mercator over the whole world (5) or a window (6).
#include "mapping/Mapping.h"
#include "mapping/ProjectionMath.h"

#include <cmath>

using namespace projection;

void TMapping::RecomputeMercatorZoomed()
{
  const double lo = double{centreLat_} - double{latSpan_} / 2;
  const double hi = double{centreLat_} + double{latSpan_} / 2;
  const double slope = (MercatorY(hi) - MercatorY(lo)) / (hi - lo);
  const double offset = MercatorY(centreLat_) - slope * double{latSpan_} / 2;
  if (!Finite(slope, offset))
    return;  // an empty span: keep the last consistent constants
  mercatorSlope_ = static_cast<float>(slope);
  mercatorOffset_ = static_cast<float>(offset);
}

bool TMapping::ForwardCylindrical(double lon, double lat, double& x, double& y) const
{
  const double w = width_, h = height_;
  // Distance east of the window's left edge, in degrees.
  const double fromLeft = LonDelta(lon) + double{centreLon_} - double{lonOrigin_};
  bool visible = true;
  switch (kind_) {
  case pkCylindricalFull:
    x = w * (NormaliseLonDelta(lon) + 180) / 360;
    y = (1 - (lat + 90) / 180) * h;
    break;
  case pkMercatorFull:
    x = w * (LonDelta(lon) + 180) / 360;
    y = halfHeight_ - w * MercatorY(lat) / 360;
    break;
  case pkMercatorZoomed: {
    const double m = (MercatorY(lat) - double{mercatorOffset_}) / double{mercatorSlope_};
    x = w * fromLeft / double{lonSpan_};
    y = h * (1 - m / double{latSpan_});
    int px = 0, py = 0;
    visible = RoundToInt(x, px) && RoundToInt(y, py) && px >= 0 && px < width_ && py >= 0 && py < height_;
    break;
  }
  default:  // equidistant window
    x = fromLeft * w / double{lonSpan_};
    y = (1 - (lat - double{latOrigin_}) / double{latSpan_}) * h;
    break;
  }
  return visible && Finite(x, y);
}

bool TMapping::InverseCylindrical(double x, double y, double& lon, double& lat) const
{
  const double w = width_, h = height_;
  switch (kind_) {
  case pkCylindricalFull:
    lon = x * 360 / w - 180;
    lat = (1 - y / h) * 180 - 90;
    break;
  case pkMercatorFull:
    lon = x * 360 / w - 180 + double{centreLon_};
    lat = InverseMercatorY((halfHeight_ - y) * 360 / w);
    break;
  case pkMercatorZoomed:
    lon = x * double{lonSpan_} / w + double{lonOrigin_};
    lat = InverseMercatorY(double{mercatorSlope_} * (1 - y / h) * double{latSpan_} + double{mercatorOffset_});
    break;
  default:
    lon = x * double{lonSpan_} / w + double{lonOrigin_};
    lat = (1 - y / h) * double{latSpan_} + double{latOrigin_};
    break;
  }
  lon = NormaliseLonHalfOpen(lon);
  return Finite(lon, lat);
}
