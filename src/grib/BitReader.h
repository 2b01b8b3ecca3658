#pragma once
// Reads bit fields of 0..32 bits, most significant bit first, from a byte
// range. Take() trusts the caller to have checked BitsLeft(); Read() checks.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

class TBitReader {
public:
  explicit TBitReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::uint64_t BitsLeft() const { return bytes_.size() * std::uint64_t{8} - pos_; }
  std::uint64_t BitPos() const { return pos_; }
  // Moves to the next whole byte, as GRIB 2 does between the group lists.
  void AlignToByte() { pos_ = (pos_ + 7) & ~std::uint64_t{7}; }

  bool Read(int bits, std::uint32_t& value) {
    if (bits < 0 || bits > 32 || static_cast<std::uint64_t>(bits) > BitsLeft())
      return false;
    value = Take(bits);
    return true;
  }

  std::uint32_t Take(int bits) {
    if (bits == 0)
      return 0;
    const std::size_t byte = static_cast<std::size_t>(pos_ >> 3);
    const int shift = static_cast<int>(pos_ & 7);
    pos_ += static_cast<unsigned>(bits);
    std::uint64_t word = 0;
    if (byte + 8 <= bytes_.size()) {
      std::memcpy(&word, bytes_.data() + byte, 8);
      if constexpr (std::endian::native == std::endian::little)
        word = __builtin_bswap64(word);
    } else {
      for (std::size_t i = 0; i < 8; ++i)
        word = (word << 8) | (byte + i < bytes_.size() ? bytes_[byte + i] : 0);
    }
    return static_cast<std::uint32_t>((word << shift) >> (64 - bits));
  }

private:
  std::span<const std::uint8_t> bytes_;
  std::uint64_t pos_ = 0;
};
