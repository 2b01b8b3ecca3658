#include "grib/ExtBitmap.h"

#include <algorithm>
#include <stdexcept>

TExtBitmap::TExtBitmap(int width, int height, TPixelFormat format) : format_(format)
{
  SetSize(width, height);
}

int TExtBitmap::BytesPerPixel(TPixelFormat format)
{
  switch (format) {
  case TPixelFormat::pf8bit: return 1;
  case TPixelFormat::pf24bit: return 3;
  case TPixelFormat::pf32bit: return 4;
  }
  return 1;
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

void TExtBitmap::Assign(const TExtBitmap& source)
{
  if (&source == this)
    return;
  width_ = source.width_;
  height_ = source.height_;
  format_ = source.format_;
  paletteSize_ = source.paletteSize_;
  palette_ = source.palette_;
  pixels_ = source.pixels_;
}

void TExtBitmap::TakePixels(int width, int height, TPixelFormat format, std::vector<std::uint8_t>&& pixels)
{
  if (width < 0 || height < 0 || width > kMaxSide || height > kMaxSide)
    throw std::length_error("Error: picture size out of range.");
  if (pixels.size() != static_cast<std::size_t>(width) * height * BytesPerPixel(format))
    throw std::length_error("Error: pixel buffer does not match the picture size.");
  width_ = width;
  height_ = height;
  format_ = format;
  pixels_ = std::move(pixels);
}

bool operator==(const TExtBitmap& a, const TExtBitmap& b)
{
  if (a.width_ != b.width_ || a.height_ != b.height_ || a.format_ != b.format_ || a.pixels_ != b.pixels_)
    return false;
  if (a.format_ != TPixelFormat::pf8bit)
    return true;
  return a.paletteSize_ == b.paletteSize_ &&
         std::equal(a.palette_.begin(), a.palette_.begin() + a.paletteSize_, b.palette_.begin());
}

std::uint8_t NearestPaletteIndex(const TExtBitmap& bitmap, TRgb colour)
{
  int best = 0;
  int bestDistance = 1 << 30;
  for (int i = 0; i < bitmap.PaletteSize(); ++i) {
    const TRgb& p = bitmap.Palette()[i];
    const int dr = p.r - colour.r, dg = p.g - colour.g, db = p.b - colour.b;
    const int distance = dr * dr + dg * dg + db * db;
    if (distance < bestDistance) {
      bestDistance = distance;
      best = i;
      if (distance == 0)
        break;
    }
  }
  return static_cast<std::uint8_t>(best);
}
