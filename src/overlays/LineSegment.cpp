#include "overlays/LineSegment.h"

#include <algorithm>

void TLineSegment::AddPoint(float lon, float lat)
{
  Points.push_back({lon, lat});
  MaxLat = std::max(MaxLat, lat);
  MinLat = std::min(MinLat, lat);
  MaxLon = std::max(MaxLon, lon);
  MinLon = std::min(MinLon, lon);
}

void TLineSegment::WrapLonBounds()
{
  if (Points.empty()) return;
  if (MinLon > 180.0f) {
    // Wholly east of 180: the same stretch of longitudes, a turn lower.
    MinLon -= 360.0f;
    MaxLon -= 360.0f;
  }
  if (MaxLon > 180.0f) {
    // Across 180 (or wider than a turn): one west..east interval cannot hold
    // the two sides, so the box takes every longitude and culling never
    // drops a segment that is partly in view.
    MinLon = -180.0f;
    MaxLon = 180.0f;
  }
}

bool TLineSegment::Overlaps(float south, float north, float west, float east) const
{
  return MaxLat > south && MinLat < north && MaxLon > west && MinLon < east;
}
