#pragma once
// Byte-order helpers for the GRIB decoder: GRIB keeps its integers and
// IEEE floats most significant byte first.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>

constexpr std::uint32_t SwapBytes32(std::uint32_t value)
{
  return (value >> 24) | ((value >> 8) & 0x0000FF00u) | ((value << 8) & 0x00FF0000u) | (value << 24);
}

constexpr std::uint64_t SwapBytes64(std::uint64_t value)
{
  return (static_cast<std::uint64_t>(SwapBytes32(static_cast<std::uint32_t>(value))) << 32)
      | SwapBytes32(static_cast<std::uint32_t>(value >> 32));
}

// The 32-bit IEEE float whose four bytes are stored most significant first.
constexpr float BigEndianSingle(std::span<const std::uint8_t, 4> bytes)
{
  const std::uint32_t bits = (static_cast<std::uint32_t>(bytes[0]) << 24)
      | (static_cast<std::uint32_t>(bytes[1]) << 16) | (static_cast<std::uint32_t>(bytes[2]) << 8)
      | static_cast<std::uint32_t>(bytes[3]);
  return std::bit_cast<float>(bits);
}

constexpr float BigEndianSingle(std::span<const std::byte, 4> bytes)
{
  const std::uint8_t raw[4] = {std::to_integer<std::uint8_t>(bytes[0]), std::to_integer<std::uint8_t>(bytes[1]),
                               std::to_integer<std::uint8_t>(bytes[2]), std::to_integer<std::uint8_t>(bytes[3])};
  return BigEndianSingle(std::span<const std::uint8_t, 4>(raw));
}
