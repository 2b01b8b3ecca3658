#pragma once
// Builds a small random picture from fuzz input for the writer round trips.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>

#include "grib/ExtBitmap.h"

// Sides up to 40 keep one run well under a millisecond while still giving
// the LZW coder tables that fill and reset.
inline constexpr int kFuzzMaxSide = 40;

inline TExtBitmap MakePicture(FuzzedDataProvider& in, bool allowGreyRamp)
{
  const int width = in.ConsumeIntegralInRange(1, kFuzzMaxSide);
  const int height = in.ConsumeIntegralInRange(1, kFuzzMaxSide);
  const bool rgb = in.ConsumeBool();
  TExtBitmap bitmap(width, height, rgb ? TPixelFormat::pf24bit : TPixelFormat::pf8bit);
  if (!rgb) {
    if (allowGreyRamp && in.ConsumeBool()) {
      bitmap.SetGreyPalette();
    } else {
      bitmap.SetPaletteSize(in.ConsumeIntegralInRange(1, 256));
      for (TRgb& c : bitmap.Palette()) {
        c.r = in.ConsumeIntegral<std::uint8_t>();
        c.g = in.ConsumeIntegral<std::uint8_t>();
        c.b = in.ConsumeIntegral<std::uint8_t>();
      }
    }
  }
  // Pixels: the rest of the input, repeated, so short inputs still give
  // whole pictures (and runs that the LZW coder likes).
  const std::vector<std::uint8_t> source = in.ConsumeRemainingBytes<std::uint8_t>();
  std::span<std::uint8_t> pixels = bitmap.Pixels();
  for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = source.empty() ? 0 : source[i % source.size()];
  return bitmap;
}

inline TRgb PixelColour(const TExtBitmap& bitmap, int x, int y)
{
  const std::uint8_t* row = bitmap.ScanLine(y);
  if (bitmap.PixelFormat() == TPixelFormat::pf8bit) return bitmap.Palette()[row[x]];
  return {row[3 * x], row[3 * x + 1], row[3 * x + 2]};
}

[[noreturn]] inline void Mismatch(const char* what)
{
  std::fprintf(stderr, "round trip mismatch: %s\n", what);
  std::abort();
}
