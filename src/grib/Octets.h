#pragma once
// Bounded big-endian access to a byte range (a GRIB section or message).
// Octet numbers count from 1, as the WMO tables do. A read outside the range
// yields 0, so a caller checks Has() (or the section length) before it
// trusts a value.
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

class TOctets {
public:
  TOctets() = default;
  explicit TOctets(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::size_t Size() const { return bytes_.size(); }
  std::span<const std::uint8_t> Bytes() const { return bytes_; }
  // True when octets first .. first + count - 1 are inside the range.
  bool Has(std::size_t first, std::size_t count) const {
    return first >= 1 && count <= bytes_.size() && first - 1 <= bytes_.size() - count;
  }
  // Unsigned big-endian value of count (1..8) octets from octet first.
  std::uint64_t U(std::size_t first, std::size_t count) const {
    if (!Has(first, count))
      return 0;
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < count; ++i)
      value = (value << 8) | bytes_[first - 1 + i];
    return value;
  }
  std::uint32_t U8(std::size_t octet) const { return static_cast<std::uint32_t>(U(octet, 1)); }
  std::uint32_t U16(std::size_t octet) const { return static_cast<std::uint32_t>(U(octet, 2)); }
  std::uint32_t U24(std::size_t octet) const { return static_cast<std::uint32_t>(U(octet, 3)); }
  std::uint32_t U32(std::size_t octet) const { return static_cast<std::uint32_t>(U(octet, 4)); }
  // Sign-and-magnitude: the top bit of the field is the sign.
  std::int32_t S(std::size_t first, std::size_t count) const {
    const std::uint64_t raw = U(first, count);
    const std::uint64_t sign = std::uint64_t{1} << (count * 8 - 1);
    const auto magnitude = static_cast<std::int64_t>(raw & (sign - 1));
    return static_cast<std::int32_t>((raw & sign) ? -magnitude : magnitude);
  }
  // Sub-range of count octets from octet first; empty when outside.
  TOctets Sub(std::size_t first, std::size_t count) const {
    return Has(first, count) ? TOctets(bytes_.subspan(first - 1, count)) : TOctets();
  }

private:
  std::span<const std::uint8_t> bytes_;
};

// IBM System/360 single precision: sign, 7-bit excess-64 exponent of 16,
// 24-bit fraction.
inline float IbmFloat(std::uint32_t raw) {
  const int exponent = static_cast<int>((raw >> 24) & 0x7F) - 64;
  const double mantissa = static_cast<double>(raw & 0xFFFFFF);
  const double value = std::ldexp(mantissa, 4 * exponent - 24);
  return static_cast<float>((raw & 0x80000000u) ? -value : value);
}

inline float IeeeFloat(std::uint32_t raw) { return std::bit_cast<float>(raw); }

// Nearest integer, ties to even (the default rounding mode).
inline double Nint(double value) { return std::nearbyint(value); }

inline int ClampIndex(double value) {
  if (!(value > 0))  // also catches NaN
    return 0;
  return value >= 255 ? 255 : static_cast<int>(value);
}
