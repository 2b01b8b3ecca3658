#pragma once
// Countries.dat: little-endian records of a point count (int32), a segment
// type (uint8) and that many (lon, lat) int16 pairs in minutes of arc.
#include <cstdint>
#include <span>
#include <vector>

#include "mapping/CartogReadStatus.h"
#include "mapping/LineSegment.h"

TCartogReadStatus ReadCountriesRecords(std::span<const std::uint8_t> data, std::vector<TLineSegment>& segments);

// The record layout, for the tool that writes the file and for tests.
void AppendCountriesRecord(std::vector<std::uint8_t>& out, std::uint8_t segType,
                           std::span<const std::int16_t> lonLatMinutes);
