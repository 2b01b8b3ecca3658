#include "imaging/ExtBitmap.h"

#include <algorithm>
#include <stdexcept>

TExtBitmap::TExtBitmap(int width, int height, TPixelFormat format) : format_(format)
{
  SetSize(width, height);
}

void TExtBitmap::SetSize(int width, int height)
{
  if (width < 0 || height < 0 || width > kMaxSide || height > kMaxSide)
    throw std::length_error("Error: picture size out of range.");
  width_ = width;
  height_ = height;
  pixels_.assign(static_cast<std::size_t>(width) * height * BytesPerPixel(), 0);
}

void TExtBitmap::SetPixelFormat(TPixelFormat format)
{
  if (format == format_)
    return;
  format_ = format;
  SetSize(width_, height_);
}

void TExtBitmap::Fill(std::uint8_t value)
{
  std::fill(pixels_.begin(), pixels_.end(), value);
}

void TExtBitmap::SetPaletteSize(int entries)
{
  paletteSize_ = std::clamp(entries, 1, 256);
}

void TExtBitmap::SetGreyPalette()
{
  for (int i = 0; i < 256; ++i) {
    const auto v = static_cast<std::uint8_t>(i);
    palette_[i] = {v, v, v};
  }
  paletteSize_ = 256;
}
