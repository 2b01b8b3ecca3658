#include "imaging/Lzw.h"

#include "grib/ExtBitmap.h"

TLzwEncoder::TLzwEncoder(int minCodeSize, TByteSink& sink)
    : sink_(sink), minCodeSize_(minCodeSize), clearCode_(1 << minCodeSize), endCode_((1 << minCodeSize) + 1)
{
  if (minCodeSize < 2 || minCodeSize > 8)
    throw EImageError("ClearCode too large");
  ResetTable();
  Put(clearCode_);
}

void TLzwEncoder::ResetTable()
{
  keys_.fill(kEmpty);
  codeSize_ = minCodeSize_ + 1;
  nextCode_ = endCode_ + 1;
}

void TLzwEncoder::Put(int code)
{
  bits_ |= static_cast<std::uint64_t>(code) << bitCount_;
  bitCount_ += codeSize_;
  while (bitCount_ >= 8) {
    out_[outCount_++] = static_cast<std::uint8_t>(bits_);
    bits_ >>= 8;
    bitCount_ -= 8;
  }
  if (outCount_ > out_.size() - 8)
    FlushBytes();
}

void TLzwEncoder::FlushBytes()
{
  if (outCount_ == 0)
    return;
  sink_.Write(std::span<const std::uint8_t>(out_.data(), outCount_));
  outCount_ = 0;
}

void TLzwEncoder::Encode(std::span<const std::uint8_t> pixels)
{
  std::size_t i = 0;
  if (prefix_ < 0) {
    if (pixels.empty())
      return;
    if (pixels[0] >= clearCode_)
      throw EImageError("Code too large");
    prefix_ = pixels[0];
    i = 1;
  }
  int prefix = prefix_;
  for (; i < pixels.size(); ++i) {
    const int pixel = pixels[i];
    if (pixel >= clearCode_) {
      prefix_ = prefix;
      throw EImageError("Code too large");
    }
    const std::uint32_t key = (static_cast<std::uint32_t>(prefix) << 8) | static_cast<std::uint32_t>(pixel);
    std::uint32_t slot = (key * 2654435761u) >> (32 - kHashBits);
    while (keys_[slot] != kEmpty && keys_[slot] != key)
      slot = (slot + 1) & (kHashSize - 1);
    if (keys_[slot] == key) {
      prefix = codes_[slot];
      continue;
    }
    Put(prefix);
    if (nextCode_ < kTableSize) {
      keys_[slot] = key;
      codes_[slot] = static_cast<std::uint16_t>(nextCode_++);
      // The decoder learns each string one code later than we do, so the
      // width grows once the newest code no longer fits.
      if (nextCode_ > (1 << codeSize_) && codeSize_ < kMaxCodeBits)
        ++codeSize_;
    } else {
      Put(clearCode_);
      ResetTable();
    }
    prefix = pixel;
  }
  prefix_ = prefix;
}

void TLzwEncoder::Finish()
{
  if (prefix_ >= 0) {
    Put(prefix_);
    // The decoder adds a string for this code too; keep its width in step.
    if (nextCode_ < kTableSize && ++nextCode_ > (1 << codeSize_) && codeSize_ < kMaxCodeBits)
      ++codeSize_;
  }
  Put(endCode_);
  if (bitCount_ > 0) {
    out_[outCount_++] = static_cast<std::uint8_t>(bits_);
    bits_ = 0;
    bitCount_ = 0;
  }
  FlushBytes();
  prefix_ = -1;
}
