#include "mapping/LatLonGrid.h"

#include <cmath>

std::unique_ptr<TMapping> LatLonGridMapping(double west, double east, double south, double north, int width,
                                            int height)
{
  double span = east - west;
  while (span < 0)
    span += 360;
  // First and last meridian on one longitude: the grid goes once around
  // the earth and repeats its first column.
  if (span == 0 && width > 1)
    span = 360;
  double centre = west + span / 2;
  while (centre >= 180)
    centre -= 360;
  while (centre < -180)
    centre += 360;
  auto mapping = std::make_unique<TMapping>();
  mapping->SetKind(pkCylindricalZoomed);
  mapping->SetHeight(height - 1);
  mapping->SetWidth(width - 1);
  mapping->SetCentreLon(static_cast<float>(centre));
  mapping->SetLonSpan(static_cast<float>(span));
  mapping->SetCentreLat(static_cast<float>((south + north) / 2));
  mapping->SetLatSpan(static_cast<float>(std::fabs(north - south)));
  return mapping;
}
