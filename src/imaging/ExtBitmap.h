#pragma once
// TExtBitmap: the picture type of every decoded field and of the display.
// 8 bits per pixel with a 256-entry RGB palette (of which the first
// PaletteSize() entries are in use), or 24 bits per pixel RGB.
#include <array>
#include <cstdint>
#include <span>
#include <vector>

struct TRgb {
  std::uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const TRgb&, const TRgb&) = default;
};

enum class TPixelFormat : std::uint8_t { pf8bit, pf24bit };

class TExtBitmap {
public:
  // Largest picture Norvant makes or accepts: 16384 x 16384 pixels.
  static constexpr int kMaxSide = 16384;

  TExtBitmap() = default;
  TExtBitmap(int width, int height, TPixelFormat format = TPixelFormat::pf8bit);

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ <= 0 || height_ <= 0; }
  TPixelFormat PixelFormat() const { return format_; }
  int BytesPerPixel() const { return format_ == TPixelFormat::pf8bit ? 1 : 3; }
  int RowBytes() const { return width_ * BytesPerPixel(); }

  // Reallocates and clears every pixel to 0; sides beyond kMaxSide or
  // negative are refused with std::length_error.
  void SetSize(int width, int height);
  void SetPixelFormat(TPixelFormat format);

  std::uint8_t* ScanLine(int y) { return pixels_.data() + static_cast<std::size_t>(y) * RowBytes(); }
  const std::uint8_t* ScanLine(int y) const { return pixels_.data() + static_cast<std::size_t>(y) * RowBytes(); }
  std::span<std::uint8_t> Pixels() { return pixels_; }
  std::span<const std::uint8_t> Pixels() const { return pixels_; }
  void Fill(std::uint8_t value);

  std::array<TRgb, 256>& Palette() { return palette_; }
  const std::array<TRgb, 256>& Palette() const { return palette_; }
  int PaletteSize() const { return paletteSize_; }
  void SetPaletteSize(int entries);  // 1..256
  // Identity grey ramp over all 256 entries.
  void SetGreyPalette();

  friend bool operator==(const TExtBitmap&, const TExtBitmap&) = default;

private:
  int width_ = 0;
  int height_ = 0;
  TPixelFormat format_ = TPixelFormat::pf8bit;
  int paletteSize_ = 256;
  std::array<TRgb, 256> palette_{};
  std::vector<std::uint8_t> pixels_;
};
