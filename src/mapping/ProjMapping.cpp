#include "mapping/ProjMapping.h"

#include "mapping/PolarRadius.h"
#include "mapping/ProjTransform.h"
#include "mapping/ProjectionMath.h"

#include <cmath>

using namespace projection;

TProjMapping::TProjMapping() = default;

TProjMapping::~TProjMapping() = default;

std::unique_ptr<TProjMapping> TProjMapping::Create(const std::string& definition, std::optional<TPolarAxis> polar,
                                                   std::string* error)
{
  std::shared_ptr<const TProjTransform> transform = TProjTransform::Create(definition, error);
  if (!transform)
    return nullptr;
  auto mapping = std::make_unique<TProjMapping>();
  mapping->transform_ = transform;
  if (polar)
    mapping->radius_ = TPolarRadius::Sample(*transform, polar->centreLon, polar->southern);
  return mapping;
}

std::string TProjMapping::Definition() const { return transform_ ? transform_->Definition() : std::string(); }

void TProjMapping::CopySettings(const TMapping& source)
{
  TMapping::CopySettings(source);
  if (const auto* other = dynamic_cast<const TProjMapping*>(&source)) {
    transform_ = other->transform_;
    radius_ = other->radius_;
    frame_ = other->frame_;
    pixelScale_ = other->pixelScale_;
  }
}

std::unique_ptr<TMapping> TProjMapping::NewOfSameKind() const { return std::make_unique<TProjMapping>(); }

bool TProjMapping::SetFrame(const TGridFrame& frame)
{
  if (!std::isfinite(frame.left) || !std::isfinite(frame.top) || !std::isfinite(frame.dx) ||
      !std::isfinite(frame.dy) || frame.dx == 0 || frame.dy == 0 || frame.columns <= 0 || frame.rows <= 0)
    return false;
  frame_ = frame;
  SetWidth(frame.columns);
  SetHeight(frame.rows);
  SetXOffset(0);
  SetYOffset(0);
  return true;
}

bool TProjMapping::PlacePoint(double lon, double lat, int column, int row, double dx, double dy, int columns,
                              int rows)
{
  double x = 0, y = 0;
  if (!ToPlane(lon, lat, x, y))
    return false;
  return SetFrame({x - column * dx, y + row * dy, dx, dy, columns, rows});
}

bool TProjMapping::ToPlane(double lon, double lat, double& x, double& y) const
{
  double radius = 0;
  if (radius_ && radius_->RadiusAt(lat, radius)) {
    const double lambda = NormaliseLonDelta(lon - radius_->CentreLon()) * kDegToRad;
    x = radius * std::sin(lambda);
    y = (radius_->Southern() ? radius : -radius) * std::cos(lambda);
    return true;
  }
  return transform_ && transform_->Forward(lon, lat, x, y);
}

bool TProjMapping::FromPlane(double x, double y, double& lon, double& lat) const
{
  if (radius_ && radius_->LatitudeAt(std::hypot(x, y), lat)) {
    const double azimuth = std::atan2(x, radius_->Southern() ? y : -y) * kRadToDeg;
    lon = NormaliseLonHalfOpen(radius_->CentreLon() + azimuth);
    return true;
  }
  return transform_ && transform_->Inverse(x, y, lon, lat);
}

bool TProjMapping::ArealScale(double lon, double lat, double& scale) const
{
  return transform_ && transform_->ArealScale(lon, lat, scale);
}

double TProjMapping::ColumnScale() const { return static_cast<double>(width_) / frame_.columns; }

double TProjMapping::RowScale() const { return static_cast<double>(height_) / frame_.rows; }

bool TProjMapping::ProjectPoint(double lon, double lat, double& x, double& y) const
{
  double px = 0, py = 0;
  if (frame_.columns <= 0 || !ToPlane(lon, lat, px, py)) {
    x = y = 0;
    return false;
  }
  x = (px - frame_.left) / frame_.dx * ColumnScale();
  y = (frame_.top - py) / frame_.dy * RowScale();
  return Finite(x, y);
}

bool TProjMapping::UnprojectPoint(double x, double y, double& lon, double& lat) const
{
  if (frame_.columns <= 0)
    return false;
  const double px = frame_.left + x / ColumnScale() * frame_.dx;
  const double py = frame_.top - y / RowScale() * frame_.dy;
  return FromPlane(px, py, lon, lat);
}
