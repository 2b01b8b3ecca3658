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

  // Reads one integer of T's size in the reader's byte order.
  template <class T>
  bool Read(T& value)
  {
    if (Remaining() < sizeof(T)) return false;
    const std::uint8_t* p = data_.data() + pos_;
    value = bigEndian_ ? qFromBigEndian<T>(p) : qFromLittleEndian<T>(p);
    pos_ += sizeof(T);
    return true;
  }

private:
  std::span<const std::uint8_t> data_;
  bool bigEndian_ = false;
  std::size_t pos_ = 0;
};
