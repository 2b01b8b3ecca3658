#pragma once
// Writes Countries.dat records for tests: a little-endian int32 point count,
// the segment type, then (lon, lat) int16 pairs in minutes of arc.
#include <cstdint>
#include <span>
#include <vector>

inline void AppendCountriesRecord(std::vector<std::uint8_t>& out, std::uint8_t segType,
                                  std::span<const std::int16_t> lonLatMinutes)
{
  const auto count = static_cast<std::uint32_t>(lonLatMinutes.size() / 2);
  for (int shift = 0; shift < 32; shift += 8)
    out.push_back(static_cast<std::uint8_t>(count >> shift));
  out.push_back(segType);
  for (std::size_t i = 0; i < count * 2; ++i) {
    const auto v = static_cast<std::uint16_t>(lonLatMinutes[i]);
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
  }
}
