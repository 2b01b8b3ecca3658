#pragma once
// GIF data sub-blocks: a length byte (1..255) before each piece of data and
// a zero-length block after the last.
#include "imaging/Lzw.h"

#include <vector>

class TSubBlockSink : public TByteSink {
public:
  static constexpr std::size_t kMaxBlock = 255;

  // Appends the blocks to out, which may already hold other bytes.
  explicit TSubBlockSink(std::vector<std::uint8_t>& out) : out_(out) {}
  void Write(std::span<const std::uint8_t> bytes) override;
  // Closes the open block and writes the terminating empty block.
  void Finish();

private:
  std::vector<std::uint8_t>& out_;
  std::size_t lengthAt_ = 0;  // position of the open block's length byte
  std::size_t filled_ = 0;    // bytes in the open block; 0 when none is open
};
