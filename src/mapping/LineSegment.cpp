#include "mapping/LineSegment.h"

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
  if (MaxLon > 180.0f) MaxLon -= 360.0f;
  if (MinLon > 180.0f) MinLon -= 360.0f;
}

bool TLineSegment::Overlaps(float south, float north, float west, float east) const
{
  return MaxLat > south && MinLat < north && MaxLon > west && MinLon < east;
}
