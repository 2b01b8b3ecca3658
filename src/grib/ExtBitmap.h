#pragma once
// TExtBitmap: an 8-bit palette picture, the picture type of every decoded
// field (the decoders write colour indices into it) and of the display,
// which the imaging and overlay code draw on, resample and save.
// 8 bits per pixel with a 256-entry RGB palette (of which the first
// PaletteSize() entries are in use), or 24 bits per pixel stored red, green,
// blue (the byte order of TRgb), or 32 bits per pixel stored red, green,
// blue and one unused byte. Pictures of other formats come only from outside
// the program; the resampler and the PNG writer refuse 32-bit pictures.
//
// The bitmap also keeps the drawing state of its canvas (pen, brush, font),
// so that a pen set by one drawing step is the pen of the next, as callers
// expect of a bitmap's canvas; imaging/Canvas.h does the drawing itself and
// imaging/Resample.h the resampling.
#include <array>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

struct TRgb {
  std::uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const TRgb&, const TRgb&) = default;
};

// A colour written as one number: 0x00BBGGRR, blue in the high byte.
constexpr TRgb RgbFromColour(std::uint32_t colour)
{
  return {static_cast<std::uint8_t>(colour & 0xFF), static_cast<std::uint8_t>((colour >> 8) & 0xFF),
          static_cast<std::uint8_t>((colour >> 16) & 0xFF)};
}

// Raised by the picture operations and writers with a text fit to show the
// user as it stands.
class EImageError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

enum class TPixelFormat : std::uint8_t { pf8bit, pf24bit, pf32bit };

enum class TPenStyle : std::uint8_t { psSolid, psDot };
enum class TBrushStyle : std::uint8_t { bsSolid, bsClear };

// A drawing colour: either a colour, drawn in the palette entry nearest to it
// on an 8-bit picture, or a palette index used as it stands.
struct TCanvasColour {
  TRgb rgb{};
  bool isIndex = false;
  std::uint8_t index = 0;

  static TCanvasColour Colour(TRgb c) { return {c, false, 0}; }
  static TCanvasColour Index(std::uint8_t i) { return {{}, true, i}; }
  friend bool operator==(const TCanvasColour&, const TCanvasColour&) = default;
};

struct TCanvasFont {
  // "Small Fonts" and any face the platform lacks are drawn in a small
  // sans-serif face.
  std::string name = "Small Fonts";
  int size = 7;  // points at 96 pixels per inch
  bool bold = false;
  TCanvasColour colour = TCanvasColour::Colour({0, 0, 0});
  friend bool operator==(const TCanvasFont&, const TCanvasFont&) = default;
};

struct TCanvasState {
  TCanvasColour penColour = TCanvasColour::Colour({0, 0, 0});
  TPenStyle penStyle = TPenStyle::psSolid;
  TCanvasColour brushColour = TCanvasColour::Colour({255, 255, 255});
  TBrushStyle brushStyle = TBrushStyle::bsSolid;
  TCanvasFont font;
  int penX = 0, penY = 0;  // current position of MoveTo/LineTo
  friend bool operator==(const TCanvasState&, const TCanvasState&) = default;
};

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
  int BytesPerPixel() const { return BytesPerPixel(format_); }
  static int BytesPerPixel(TPixelFormat format);
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

  // Pixels and palette of another picture, leaving this one's canvas state.
  void Assign(const TExtBitmap& source);
  // Swaps in new contents of the given size and format (used by the
  // resampler, which builds the new pixels beside the old ones).
  void TakePixels(int width, int height, TPixelFormat format, std::vector<std::uint8_t>&& pixels);

  TCanvasState& CanvasState() { return canvas_; }
  const TCanvasState& CanvasState() const { return canvas_; }

  // Equal pictures: same size, format, palette in use and pixels; the
  // canvas state does not count.
  friend bool operator==(const TExtBitmap& a, const TExtBitmap& b);

private:
  int width_ = 0;
  int height_ = 0;
  TPixelFormat format_ = TPixelFormat::pf8bit;
  int paletteSize_ = 256;
  std::array<TRgb, 256> palette_{};
  std::vector<std::uint8_t> pixels_;
  TCanvasState canvas_;
};

// The entry among the palette's used entries nearest to the colour
// (smallest squared RGB distance, the lowest index on a tie).
std::uint8_t NearestPaletteIndex(const TExtBitmap& bitmap, TRgb colour);
