#pragma once
// A reader over a byte span whose every read checks what is left first.
#include <QtEndian>

#include <cstddef>
#include <cstdint>
#include <span>

class TCartogByteReader {
public:
  explicit TCartogByteReader(std::span<const std::uint8_t> data, bool bigEndian = false)
      : data_(data), bigEndian_(bigEndian) {}

  std::size_t Position() const { return pos_; }
  std::size_t Remaining() const { return data_.size() - pos_; }
  bool AtEnd() const { return pos_ == data_.size(); }

  bool Skip(std::uint64_t bytes)
  {
    if (bytes > Remaining()) return false;
    pos_ += static_cast<std::size_t>(bytes);
    return true;
  }

  bool ReadU8(std::uint8_t& value)
  {
    if (Remaining() < 1) return false;
    value = data_[pos_++];
    return true;
  }

  bool ReadU32(std::uint32_t& value)
  {
    if (Remaining() < 4) return false;
    const std::uint8_t* p = data_.data() + pos_;
    value = bigEndian_ ? qFromBigEndian<std::uint32_t>(p) : qFromLittleEndian<std::uint32_t>(p);
    pos_ += 4;
    return true;
  }

  bool ReadI32(std::int32_t& value)
  {
    std::uint32_t raw = 0;
    if (!ReadU32(raw)) return false;
    value = static_cast<std::int32_t>(raw);
    return true;
  }

  bool ReadI16(std::int16_t& value)
  {
    if (Remaining() < 2) return false;
    const std::uint8_t* p = data_.data() + pos_;
    value = bigEndian_ ? qFromBigEndian<std::int16_t>(p) : qFromLittleEndian<std::int16_t>(p);
    pos_ += 2;
    return true;
  }

private:
  std::span<const std::uint8_t> data_;
  bool bigEndian_ = false;
  std::size_t pos_ = 0;
};
