#pragma once
// Boundary records as Countries.dat lays them out: a little-endian point
// count, a segment type, then longitude and latitude pairs in minutes.
#include <cstdint>
#include <span>
#include <vector>

inline void PutCountriesRecord(std::vector<std::uint8_t>& out, std::uint8_t type, std::span<const std::int16_t> minutes)
{
  const auto count = static_cast<std::uint32_t>(minutes.size() / 2);
  for (int shift = 0; shift < 32; shift += 8)
    out.push_back(static_cast<std::uint8_t>(count >> shift));
  out.push_back(type);
  for (const std::int16_t m : minutes) {
    out.push_back(static_cast<std::uint8_t>(static_cast<std::uint16_t>(m)));
    out.push_back(static_cast<std::uint8_t>(static_cast<std::uint16_t>(m) >> 8));
  }
}
