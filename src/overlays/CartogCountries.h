#pragma once
// Countries.dat: little-endian records of a point count (int32), a segment
// type (uint8) and that many (lon, lat) int16 pairs in minutes of arc.
#include <cstdint>
#include <span>
#include <vector>

#include "overlays/CartogReadStatus.h"
#include "overlays/LineSegment.h"

TCartogReadStatus ReadCountriesRecords(std::span<const std::uint8_t> data, std::vector<TLineSegment>& segments);
