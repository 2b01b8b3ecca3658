#pragma once
// Variable-width LZW coding as GIF uses it: codes of (minimum code size + 1)
// up to 12 bits packed least significant bit first, a clear code first, a
// clear code whenever the string table is full, and an end code last.
// The encoder only turns pixel indices into bytes; where the bytes go is the
// sink's business.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

class TByteSink {
public:
  virtual ~TByteSink() = default;
  virtual void Write(std::span<const std::uint8_t> bytes) = 0;
};

class TLzwEncoder {
public:
  static constexpr int kMaxCodeBits = 12;
  static constexpr int kTableSize = 1 << kMaxCodeBits;

  // minCodeSize 2..8: pixels must lie below 1 << minCodeSize. Raises
  // EImageError "ClearCode too large" for any other size.
  TLzwEncoder(int minCodeSize, TByteSink& sink);

  // Codes the next run of pixels; may be called once per row. A pixel
  // outside the alphabet raises EImageError "Code too large".
  void Encode(std::span<const std::uint8_t> pixels);
  // Codes the pending string and the end code and hands over the last bits.
  void Finish();

private:
  // Open addressing over (prefix code, pixel) keys; twice the code count
  // keeps the probes short.
  static constexpr int kHashBits = 13;
  static constexpr std::uint32_t kHashSize = 1u << kHashBits;
  static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;

  void Put(int code);
  void ResetTable();
  void FlushBytes();

  TByteSink& sink_;
  const int minCodeSize_;
  const int clearCode_;
  const int endCode_;
  int codeSize_ = 0;
  int nextCode_ = 0;
  int prefix_ = -1;  // no pending string yet
  std::uint64_t bits_ = 0;
  int bitCount_ = 0;
  std::array<std::uint32_t, kHashSize> keys_{};
  std::array<std::uint16_t, kHashSize> codes_{};
  std::array<std::uint8_t, 4096> out_{};
  std::size_t outCount_ = 0;
};
