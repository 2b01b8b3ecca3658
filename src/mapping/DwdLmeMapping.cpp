// Rotated-pole grids: a spherical rotation that moves the grid's pole to
// the north pole, then a linear layout of the rotated longitudes and
// latitudes. The layout puts the first and last grid rows and columns on
// the picture's edge pixels: a grid of N points spans N - 1 pixel steps.
#include "mapping/DwdLmeMapping.h"

#include "mapping/ProjectionMath.h"

#include <algorithm>
#include <cmath>

using namespace projection;

namespace {

// Keeps atan2 off its undefined (0, 0) corner, on the positive side.
constexpr double kMinAtanDenominator = 1e-20;

double SafeDenominator(double value) { return std::fabs(value) < kMinAtanDenominator ? kMinAtanDenominator : value; }

}  // namespace

TDwdLmeMapping::TDwdLmeMapping()
{
  pixelScale_ = 1.0f;
  SetKind(pkLinearBased);
  UpdateWindow();
}

void TDwdLmeMapping::UpdateWindow()
{
  SetLonSpan(rotLonLast_ - rotLonFirst_);
  SetLatSpan(rotLatLast_ - rotLatFirst_);
  SetCentreLon((rotLonFirst_ + rotLonLast_) / 2);
  SetCentreLat((rotLatFirst_ + rotLatLast_) / 2);
}

void TDwdLmeMapping::SetRotLatFirst(float value)
{
  rotLatFirst_ = value;
  UpdateWindow();
}

void TDwdLmeMapping::SetRotLatLast(float value)
{
  rotLatLast_ = value;
  UpdateWindow();
}

void TDwdLmeMapping::SetRotLonFirst(float value)
{
  rotLonFirst_ = value;
  UpdateWindow();
}

void TDwdLmeMapping::SetRotLonLast(float value)
{
  rotLonLast_ = value;
  UpdateWindow();
}

void TDwdLmeMapping::SetPoleLon(float value) { poleLon_ = static_cast<float>(NormaliseLonHalfOpen(value)); }

int TDwdLmeMapping::GetDrawHeight() const
{
  return ScaledSide(GetHeight());
}

int TDwdLmeMapping::GetDrawWidth() const
{
  return ScaledSide(GetWidth());
}

void TDwdLmeMapping::CopySettings(const TMapping& source)
{
  TMapping::CopySettings(source);
  // A rotated-pole source also brings its rotation and layout, without
  // which the copy would not show the same grid.
  if (const auto* rotated = dynamic_cast<const TDwdLmeMapping*>(&source)) {
    rotLatFirst_ = rotated->rotLatFirst_;
    rotLatLast_ = rotated->rotLatLast_;
    rotLonFirst_ = rotated->rotLonFirst_;
    rotLonLast_ = rotated->rotLonLast_;
    poleLat_ = rotated->poleLat_;
    poleLon_ = rotated->poleLon_;
    pixelScale_ = rotated->pixelScale_;
  }
}

std::unique_ptr<TMapping> TDwdLmeMapping::NewOfSameKind() const { return std::make_unique<TDwdLmeMapping>(); }

void TDwdLmeMapping::GeoToRotated(double lon, double lat, double& rotLon, double& rotLat) const
{
  if (lon >= 180)
    lon -= 360;
  const double phi = lat * kDegToRad, lambda = lon * kDegToRad;
  const double phiP = double{poleLat_} * kDegToRad, lambdaP = double{poleLon_} * kDegToRad;
  const double cosDl = std::cos(lambda - lambdaP);
  rotLat = std::asin(std::clamp(std::sin(phi) * std::sin(phiP) + std::cos(phi) * std::cos(phiP) * cosDl, -1.0, 1.0));
  rotLon = std::atan2(-std::cos(phi) * std::sin(lambda - lambdaP),
                      SafeDenominator(std::sin(phi) * std::cos(phiP) - std::cos(phi) * std::sin(phiP) * cosDl));
  rotLat *= kRadToDeg;
  rotLon *= kRadToDeg;
}

void TDwdLmeMapping::RotatedToGeo(double rotLon, double rotLat, double& lon, double& lat) const
{
  const double phiR = rotLat * kDegToRad, lambdaR = rotLon * kDegToRad;
  const double phiP = double{poleLat_} * kDegToRad, lambdaP = double{poleLon_} * kDegToRad;
  lat = std::asin(std::clamp(
    std::sin(phiR) * std::sin(phiP) + std::cos(phiR) * std::cos(phiP) * std::cos(lambdaR), -1.0, 1.0));
  const double k = std::sin(phiR) * std::cos(phiP) - std::cos(phiR) * std::sin(phiP) * std::cos(lambdaR);
  lon = std::atan2(k * std::sin(lambdaP) - std::cos(phiR) * std::sin(lambdaR) * std::cos(lambdaP),
                   SafeDenominator(k * std::cos(lambdaP) + std::cos(phiR) * std::sin(lambdaR) * std::sin(lambdaP)));
  lat *= kRadToDeg;
  lon *= kRadToDeg;
}

bool TDwdLmeMapping::RotatedToPixel(double rotLon, double rotLat, double& x, double& y) const
{
  const double columnSteps = width_ - 1, rowSteps = height_ - 1;
  x = (LonDelta(rotLon) + double{lonSpan_} / 2) * columnSteps / double{lonSpan_} + double{xOffset_};
  y = (1 - (rotLat - double{latOrigin_}) / double{latSpan_}) * rowSteps - double{yOffset_};
  return Finite(x, y);
}

bool TDwdLmeMapping::LatLonToPixelF(float lon, float lat, float& x, float& y) const
{
  double rotLon = 0, rotLat = 0, px = 0, py = 0;
  GeoToRotated(lon, lat, rotLon, rotLat);
  const bool ok = RotatedToPixel(rotLon, rotLat, px, py);
  x = static_cast<float>(px * pixelScale_);
  y = static_cast<float>(py * pixelScale_);
  if (!ok || !std::isfinite(x) || !std::isfinite(y)) {
    x = y = 0;
    return false;
  }
  return true;
}

bool TDwdLmeMapping::LatLonToPixel(float lon, float lat, int& x, int& y) const
{
  float fx = 0, fy = 0;
  if (!LatLonToPixelF(lon, lat, fx, fy) || !RoundToInt(fx, x) || !RoundToInt(fy, y)) {
    x = y = 0;
    return false;
  }
  return true;
}

bool TDwdLmeMapping::PixelToLatLon(int x, int y, float& lon, float& lat) const
{
  if (height_ < 2 || width_ < 2 || pixelScale_ == 0)
    return false;
  const double px = x / double{pixelScale_} - double{xOffset_};
  const double py = y / double{pixelScale_} + double{yOffset_};
  const double rotLon = NormaliseLonHalfOpen(px * double{lonSpan_} / (width_ - 1) + double{lonOrigin_});
  const double rotLat = (1 - py / (height_ - 1)) * double{latSpan_} + double{latOrigin_};
  double lonOut = 0, latOut = 0;
  RotatedToGeo(rotLon, rotLat, lonOut, latOut);
  if (!Finite(lonOut, latOut))
    return false;
  lon = static_cast<float>(lonOut);
  lat = static_cast<float>(latOut);
  return true;
}
