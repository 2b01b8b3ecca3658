#include "mapping/Mapping.h"

#include "mapping/ProjectionMath.h"

#include <algorithm>
#include <array>
#include <cmath>

using namespace projection;

namespace {

constexpr std::array<std::string_view, kProjectionKindCount> kKindNames = {
  "Unknown",
  "Cylindrical equidistant (full)",
  "Cylindrical equidistant (zoomed)",
  "Azimuthal equidistant",
  "Azimuthal equidistant (wide)",
  "Mercator (full)",
  "Mercator (zoomed)",
  "Orthographic",
  "Linearised Orthographic",
  "Polar Stereographic",
  "Lambert Conformal Conic",
  "Gnomonic",
  "Van der Grinten",
  "Great Circle",
  "Linear-based",
};

// The pole-centred kinds need a hemisphere: a zero centre latitude is moved
// this far off the equator (to the south).
constexpr float kMinPoleCentredLat = 0.001f;

// Largest latitude span a mapping holds, except the great-circle kind.
constexpr float kMaxLatSpan = 180.0f;

// The formulas that project a kind both ways.
enum class TFamily : std::uint8_t { None, Cylindrical, Polar, Azimuthal, Conic, VanDerGrinten };

TFamily FamilyOf(int kind)
{
  switch (kind) {
  case pkCylindricalFull:
  case pkCylindricalZoomed:
  case pkMercatorFull:
  case pkMercatorZoomed:
  case pkLinearBased:
    return TFamily::Cylindrical;
  case pkPolarStereographic:
    return TFamily::Polar;
  case pkAzimuthalEquidistant:
  case pkAzimuthalEquidistantWide:
  case pkOrthographic:
  case pkLinearisedOrthographic:
  case pkGnomonic:
  case pkGreatCircle:
    return TFamily::Azimuthal;
  case pkLambertConformal:
    return TFamily::Conic;
  case pkVanDerGrinten:
    return TFamily::VanDerGrinten;
  default:
    return TFamily::None;
  }
}

}  // namespace

std::string_view ProjectionKindName(int kind)
{
  if (kind < 0 || kind >= kProjectionKindCount)
    return kKindNames[pkUnknown];
  return kKindNames[static_cast<std::size_t>(kind)];
}

TMapping::TMapping() = default;

void TMapping::SetKind(int kind)
{
  kind_ = (kind >= 0 && kind < kProjectionKindCount) ? static_cast<std::uint8_t>(kind) : std::uint8_t{pkUnknown};
  switch (kind_) {
  case pkCylindricalZoomed:
    centreLon_ = 0;
    break;
  case pkAzimuthalEquidistant:
    scale_ = 0.75f;
    break;
  case pkAzimuthalEquidistantWide:
  case pkGnomonic:
    scale_ = 0.4f;
    break;
  case pkMercatorFull:
    centreLon_ = 0;
    lonSpan_ = 360;
    break;
  case pkOrthographic:
  case pkLinearisedOrthographic:
    scale_ = 0.8f;
    break;
  case pkPolarStereographic:
    scale_ = 1.7f;
    break;
  case pkGreatCircle:
    scale_ = 0.2f;
    break;
  default:
    break;
  }
  Recompute();
}

int TMapping::GetDrawHeight() const { return std::max(height_, width_); }

int TMapping::GetDrawWidth() const { return width_; }

void TMapping::CopySettings(const TMapping& source)
{
  if (&source == this)
    return;
  SetKind(source.Kind());
  SetHeight(source.GetHeight());
  SetWidth(source.GetWidth());
  zoomRegion_ = source.zoomRegion_;
  rotation_ = source.rotation_;
  SetLonSpan(source.lonSpan_);
  SetLatSpan(source.latSpan_);
  SetCentreLon(source.centreLon_);
  SetCentreLat(source.centreLat_);
  // Copied last so that they override the parallels SetCentreLat implies.
  SetStdParallel1(source.stdParallel1_);
  SetStdParallel2(source.stdParallel2_);
  // Kept fractional: rounding would move a placed grid off its pixels.
  xOffset_ = source.xOffset_;
  yOffset_ = source.yOffset_;
}

std::unique_ptr<TMapping> TMapping::NewOfSameKind() const { return std::make_unique<TMapping>(); }

int TMapping::ScaledSide(int side) const
{
  int value = 0;
  return RoundToInt(side * double{pixelScale_}, value) ? value : 0;
}

std::unique_ptr<TMapping> TMapping::Clone() const
{
  std::unique_ptr<TMapping> copy = NewOfSameKind();
  copy->CopySettings(*this);
  copy->pixelScale_ = pixelScale_;
  return copy;
}

bool TMapping::CanDraw() const
{
  return kind_ != pkUnknown && kind_ != pkLinearisedOrthographic && kind_ != pkLinearBased;
}

void TMapping::SetLatSpan(float value)
{
  latSpan_ = value;
  Recompute();
}

void TMapping::SetLonSpan(float value)
{
  lonSpan_ = value;
  Recompute();
}

void TMapping::SetHeight(int value)
{
  height_ = value;
  if (value != 0)
    invHeight_ = 1.0f / static_cast<float>(value);
  Recompute();
}

void TMapping::SetWidth(int value)
{
  width_ = value;
  if (value != 0)
    invWidth_ = 1.0f / static_cast<float>(value);
  Recompute();
}

void TMapping::SetCentreLon(float value)
{
  centreLon_ = value;
  Recompute();
}

void TMapping::SetCentreLat(float value)
{
  if ((kind_ == pkPolarStereographic || kind_ == pkLambertConformal) && std::fabs(value) < kMinPoleCentredLat)
    value = value > 0 ? kMinPoleCentredLat : -kMinPoleCentredLat;
  centreLat_ = value;
  stdParallel1_ = stdParallel2_ = std::fabs(value);
  southern_ = value < 0;
  sinCentreLat_ = static_cast<float>(std::sin(value * kDegToRad));
  cosCentreLat_ = static_cast<float>(std::cos(value * kDegToRad));
  Recompute();
}

void TMapping::SetStdParallel1(float value)
{
  stdParallel1_ = std::fabs(value);
  Recompute();
}

void TMapping::SetStdParallel2(float value)
{
  stdParallel2_ = std::fabs(value);
  Recompute();
}

int TMapping::XOffset() const
{
  int rounded = 0;
  return RoundToInt(xOffset_, rounded) ? rounded : 0;
}

int TMapping::YOffset() const
{
  int rounded = 0;
  return RoundToInt(yOffset_, rounded) ? rounded : 0;
}

void TMapping::Recompute()
{
  if (kind_ != pkGreatCircle && latSpan_ > kMaxLatSpan)
    latSpan_ = kMaxLatSpan;
  eccentricity_ = static_cast<float>(std::sqrt(kEccentricitySquared));
  halfEccentricity_ = eccentricity_ / 2;
  RecomputeConic();
  lonOrigin_ = static_cast<float>(double{centreLon_} - double{lonSpan_} / 2);
  latOrigin_ = static_cast<float>(double{centreLat_} - double{latSpan_} / 2);
  halfHeight_ = height_ / 2;
  switch (kind_) {
  case pkAzimuthalEquidistantWide:
  case pkOrthographic:
  case pkLinearisedOrthographic:
  case pkGnomonic:
  case pkGreatCircle:
    RecomputeAzimuthal();
    break;
  case pkMercatorZoomed:
    RecomputeMercatorZoomed();
    break;
  case pkPolarStereographic:
    RecomputePolarStereographic();
    break;
  case pkVanDerGrinten:
    scale_ = 0.155f;
    vdgScale_ = static_cast<float>(kPi * double{scale_});
    invVdGScale_ = 1.0f / vdgScale_;
    break;
  default:
    break;
  }
}

double TMapping::LonDelta(double lon) const { return NormaliseLonDelta(lon - centreLon_); }

bool TMapping::ProjectPoint(double lon, double lat, double& x, double& y) const
{
  double u = 0, v = 0;
  bool visible = false;
  switch (FamilyOf(kind_)) {
  case TFamily::Cylindrical:
    return ForwardCylindrical(lon, lat, x, y);
  case TFamily::Polar:
    return ForwardPolarStereographic(lon, lat, x, y);
  case TFamily::Azimuthal:
    visible = ForwardAzimuthal(lon, lat, u, v);
    break;
  case TFamily::Conic:
    visible = ForwardConic(lon, lat, u, v);
    break;
  case TFamily::VanDerGrinten:
    visible = ForwardVanDerGrinten(lon, lat, u, v);
    break;
  case TFamily::None:
    x = y = 0;
    return false;
  }
  // Plane units are picture widths, y upward, origin at the picture centre.
  x = (0.5 + u) * width_;
  y = halfHeight_ - v * width_;
  return visible;
}

bool TMapping::UnprojectPoint(double x, double y, double& lon, double& lat) const
{
  const double u = x / width_ - 0.5;
  const double v = (halfHeight_ - y) / width_;
  // The linearised view draws only; it has no way back.
  if (kind_ == pkLinearisedOrthographic)
    return false;
  switch (FamilyOf(kind_)) {
  case TFamily::Cylindrical:
    return InverseCylindrical(x, y, lon, lat);
  case TFamily::Polar:
    return InversePolarStereographic(x, y, lon, lat);
  case TFamily::Azimuthal:
    return InverseAzimuthal(u, v, lon, lat);
  case TFamily::Conic:
    return InverseConic(u, v, lon, lat);
  case TFamily::VanDerGrinten:
    return InverseVanDerGrinten(u, v, lon, lat);
  case TFamily::None:
    break;
  }
  return false;
}

bool TMapping::LatLonToPixelF(float lon, float lat, float& x, float& y) const
{
  double px = 0, py = 0;
  const bool visible = ProjectPoint(lon, lat, px, py);
  const auto fx = static_cast<float>(px + xOffset_);
  const auto fy = static_cast<float>(py - yOffset_);
  if (!std::isfinite(fx) || !std::isfinite(fy)) {
    x = y = 0;
    return false;
  }
  x = fx;
  y = fy;
  return visible;
}

bool TMapping::LatLonToPixel(float lon, float lat, int& x, int& y) const
{
  double px = 0, py = 0;
  const bool visible = ProjectPoint(lon, lat, px, py);
  if (!RoundToInt(px + xOffset_, x) || !RoundToInt(py - yOffset_, y)) {
    x = y = 0;
    return false;
  }
  return visible;
}

bool TMapping::PixelToLatLon(int x, int y, float& lon, float& lat) const
{
  if (height_ == 0 || width_ == 0)
    return false;
  double lonOut = 0, latOut = 0;
  if (!UnprojectPoint(x - double{xOffset_}, y + double{yOffset_}, lonOut, latOut))
    return false;
  if (!Finite(lonOut, latOut))
    return false;
  lon = static_cast<float>(lonOut);
  lat = static_cast<float>(latOut);
  return true;
}

double GreatCircleDistance(double lat1, double lon1, double lat2, double lon2)
{
  const double p1 = lat1 * kDegToRad, p2 = lat2 * kDegToRad;
  const double cosAngle = std::sin(p1) * std::sin(p2) + std::cos(p1) * std::cos(p2) * std::cos((lon2 - lon1) * kDegToRad);
  // Rounding can push the cosine of a tiny or antipodal angle past +-1.
  return kEarthRadiusKm * std::acos(std::clamp(cosAngle, -1.0, 1.0));
}

double MercatorY(double lat)
{
  if (lat > 0)
    return kRadToDeg * std::log(std::tan(kPi / 4 + lat * kPi / 360));
  if (lat < 0)
    return -kRadToDeg * std::log(std::tan(kPi / 4 - lat * kPi / 360));
  return lat;  // 0, or a NaN passed on
}

double InverseMercatorY(double y)
{
  if (y > 0)
    return (std::atan(std::exp(y * kDegToRad)) - kPi / 4) * 360 / kPi;
  if (y < 0)
    return (kPi / 4 - std::atan(std::exp(-y * kDegToRad))) * 360 / kPi;
  return y;  // 0, or a NaN passed on
}
