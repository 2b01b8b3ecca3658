#include "imaging/GifBlocks.h"

#include <algorithm>

void TSubBlockSink::Write(std::span<const std::uint8_t> bytes)
{
  while (!bytes.empty()) {
    if (filled_ == 0) {
      lengthAt_ = out_.size();
      out_.push_back(0);
    }
    const std::size_t n = std::min(bytes.size(), kMaxBlock - filled_);
    out_.insert(out_.end(), bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n));
    filled_ += n;
    out_[lengthAt_] = static_cast<std::uint8_t>(filled_);
    if (filled_ == kMaxBlock)
      filled_ = 0;
    bytes = bytes.subspan(n);
  }
}

void TSubBlockSink::Finish()
{
  filled_ = 0;
  out_.push_back(0);
}
