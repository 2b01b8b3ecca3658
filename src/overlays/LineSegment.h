#pragma once
// TLineSegment: one boundary or track polyline in geographic coordinates.
#include <cstdint>
#include <vector>

struct TSegmentPoint {
  float lon = 0;  // degrees
  float lat = 0;  // degrees
  friend bool operator==(const TSegmentPoint&, const TSegmentPoint&) = default;
};

class TLineSegment {
public:
  // Bounds start inverted so that the first point sets them.
  float MaxLat = -2147483648.0f;
  float MinLat = 2147483648.0f;
  float MaxLon = -2147483648.0f;
  float MinLon = 2147483648.0f;
  std::uint8_t SegType = 0;
  std::vector<TSegmentPoint> Points;

  int Count() const { return static_cast<int>(Points.size()); }
  void AddPoint(float lon, float lat);
  // Tracks and shorelines may run in 0..360 longitudes; their bounds are
  // brought back to the -180..180 range that culling compares against. A
  // segment wholly east of 180 has both bounds lowered by 360; one that
  // crosses 180 gets the whole range -180..180, since a single interval
  // cannot hold its two sides. The points keep their values.
  void WrapLonBounds();
  // True when the segment's box overlaps south..north, west..east.
  bool Overlaps(float south, float north, float west, float east) const;
};
