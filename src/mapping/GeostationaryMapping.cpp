// The normalised geostationary projection: scan angles seen from a
// satellite above the equator, on an ellipsoidal Earth.
#include "mapping/GeostationaryMapping.h"

#include "mapping/ProjectionMath.h"

#include <cmath>

using namespace projection;

TGeostationaryMapping::TGeostationaryMapping()
{
  pixelScale_ = 1.0f;
  UpdateFlattening();
}

void TGeostationaryMapping::UpdateFlattening()
{
  flattening_ = static_cast<float>(1 - double{polarRadius_} / double{equatorRadius_});
}

void TGeostationaryMapping::SetEquatorRadius(float km)
{
  equatorRadius_ = km;
  UpdateFlattening();
}

void TGeostationaryMapping::SetPolarRadius(float km)
{
  polarRadius_ = km;
  UpdateFlattening();
}

void TGeostationaryMapping::SetDiscSize(int columns, int rows)
{
  SetWidth(columns);
  SetHeight(rows);
  if (columns == kFullDiscColumns) {
    columnFactor_ = lineFactor_ = kFullDiscFactor;
    centreColumn_ = centreLine_ = kFullDiscCentre;
  }
}

float TGeostationaryMapping::SubSatelliteLonFromGrid(std::int64_t value)
{
  if (value == 57 || value == 63)
    return static_cast<float>(value);
  return static_cast<float>(static_cast<double>(value) * 1e-6);
}

float TGeostationaryMapping::CentreFromGrid(std::int64_t thousandths, int size, bool reversed)
{
  const double centre = static_cast<double>(thousandths) * 0.001 - 1;
  return static_cast<float>(reversed ? (size - 1) - centre : centre);
}

int TGeostationaryMapping::GetDrawHeight() const
{
  return ScaledSide(GetHeight());
}

int TGeostationaryMapping::GetDrawWidth() const
{
  return ScaledSide(GetWidth());
}

void TGeostationaryMapping::CopySettings(const TMapping& source)
{
  if (const auto* geo = dynamic_cast<const TGeostationaryMapping*>(&source)) {
    satDistance_ = geo->satDistance_;
    columnFactor_ = geo->columnFactor_;
    lineFactor_ = geo->lineFactor_;
    flattening_ = geo->flattening_;
    equatorRadius_ = geo->equatorRadius_;
    polarRadius_ = geo->polarRadius_;
    centreLine_ = geo->centreLine_;
    centreColumn_ = geo->centreColumn_;
    pixelScale_ = geo->pixelScale_;
  }
  TMapping::CopySettings(source);
}

std::unique_ptr<TMapping> TGeostationaryMapping::NewOfSameKind() const { return std::make_unique<TGeostationaryMapping>(); }

bool TGeostationaryMapping::ColumnLine(double lon, double lat, double& column, double& line) const
{
  const double dLon = (lon - double{centreLon_}) * kDegToRad;
  const double phi = (lat - double{centreLat_}) * kDegToRad;
  const double re = equatorRadius_, rp = polarRadius_;
  const double oneMinusF = 1 - double{flattening_};
  const double c = std::atan(oneMinusF * oneMinusF * std::tan(phi));  // geocentric latitude
  const double r = re * rp / std::hypot(re * std::sin(c), rp * std::cos(c));
  const double r1 = r * std::cos(c) * std::cos(dLon);
  const double r2 = r * std::cos(c) * std::sin(dLon);
  const double r3 = r * std::sin(c);
  const double d = double{satDistance_} - r1;
  const double ratio = re / rp;
  if (!(d * r1 - r2 * r2 - ratio * ratio * r3 * r3 >= 0)) {
    column = line = 0;
    return false;  // faces away from the satellite
  }
  const double x = std::atan(r2 / d) * kRadToDeg;
  const double y = std::atan(r3 / std::hypot(d, r2)) * kRadToDeg;
  column = x * double{columnFactor_} + double{centreColumn_};
  line = double{centreLine_} - y * double{lineFactor_};
  return Finite(column, line);
}

bool TGeostationaryMapping::GeoToPixelScaled(float lon, float lat, float& x, float& y) const
{
  double column = 0, line = 0;
  const bool visible = ColumnLine(lon, lat, column, line);
  const double px = std::nearbyint(pixelScale_ * column) + xOffset_;
  const double py = std::nearbyint(pixelScale_ * line) - yOffset_;
  x = static_cast<float>(px);
  y = static_cast<float>(py);
  return visible && std::isfinite(x) && std::isfinite(y);
}

bool TGeostationaryMapping::LatLonToPixel(float lon, float lat, int& x, int& y) const
{
  float fx = 0, fy = 0;
  const bool visible = GeoToPixelScaled(lon, lat, fx, fy);
  if (!RoundToInt(fx, x) || !RoundToInt(fy, y)) {
    x = y = 0;
    return false;
  }
  return visible;
}

bool TGeostationaryMapping::LatLonToPixelF(float lon, float lat, float& x, float& y) const
{
  double column = 0, line = 0;
  const bool visible = ColumnLine(lon, lat, column, line);
  x = static_cast<float>(pixelScale_ * column + xOffset_);
  y = static_cast<float>(pixelScale_ * line - yOffset_);
  if (!std::isfinite(x) || !std::isfinite(y)) {
    x = y = 0;
    return false;
  }
  return visible;
}

bool TGeostationaryMapping::PixelToLatLon(int x, int y, float& lon, float& lat) const
{
  return PixelToGeoF(static_cast<float>(x), static_cast<float>(y), lon, lat);
}

bool TGeostationaryMapping::PixelToGeoF(float px, float py, float& lon, float& lat) const
{
  lon = centreLon_;
  lat = centreLat_;
  const double scale = pixelScale_;
  const double x = ((px - double{xOffset_}) / scale - double{centreColumn_}) / double{columnFactor_} * kDegToRad;
  const double y = (double{centreLine_} - (py + double{yOffset_}) / scale) / double{lineFactor_} * kDegToRad;
  const double re = equatorRadius_, rp = polarRadius_, h = satDistance_;
  const double a = std::tan(x);
  const double c = std::sqrt(a * a + 1) * std::tan(y);
  const double qa = 1 + a * a + (c * re / rp) * (c * re / rp);
  const double qb = -2 * h;
  const double qc = h * h - re * re;
  const double discriminant = qb * qb - 4 * qa * qc;
  if (!(discriminant >= 0))
    return false;  // the line of sight misses the Earth
  const double s = (-qb - std::sqrt(discriminant)) / (2 * qa);
  const double x1 = h - s, y1 = s * a, z1 = s * c;
  const double lambda = std::atan(y1 / x1);
  const double oneMinusF = 1 - double{flattening_};
  const double phi = std::atan(std::cos(lambda) * z1 / x1 / (oneMinusF * oneMinusF));
  const double lonOut = NormaliseLonHalfOpen(lambda * kRadToDeg + double{centreLon_});
  const double latOut = phi * kRadToDeg + double{centreLat_};
  if (!Finite(lonOut, latOut))
    return false;
  lon = static_cast<float>(lonOut);
  lat = static_cast<float>(latOut);
  return true;
}
