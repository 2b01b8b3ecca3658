#pragma once
// TCanvas: draws lines, rectangles and text into a TExtBitmap. On an 8-bit
// picture it writes palette indices (a colour is drawn in the palette entry
// nearest to it), on 24- and 32-bit pictures it writes the colour itself.
// The canvas is a view: pen, brush and font live in the bitmap (see
// TExtBitmap::CanvasState), so they carry over from one TCanvas to the next.
//
// Lines behave as the platform's cosmetic pens: one pixel wide, each segment
// drawn from its first point up to but not including its last, clipped to
// the picture whatever the coordinates. A dotted pen draws three pixels on,
// three off, the pattern running on across the segments of a polyline.
// Text is drawn without anti-aliasing, in one colour; with a solid brush its
// cell is filled with the brush colour first.
#include "grib/ExtBitmap.h"

#include <QString>
#include <span>

struct TPoint {
  int x = 0, y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TRect {
  int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
};

struct TTextExtent {
  int width = 0, height = 0;
};

class TCanvas {
public:
  explicit TCanvas(TExtBitmap& bitmap) : bitmap_(bitmap), state_(bitmap.CanvasState()) {}

  TExtBitmap& Bitmap() { return bitmap_; }

  // Pen.
  void SetPenColour(TRgb colour) { state_.penColour = TCanvasColour::Colour(colour); }
  void SetPenColour(std::uint32_t colour) { SetPenColour(RgbFromColour(colour)); }  // 0x00BBGGRR
  void SetPenIndex(std::uint8_t index) { state_.penColour = TCanvasColour::Index(index); }
  void SetPenStyle(TPenStyle style) { state_.penStyle = style; }
  const TCanvasColour& PenColour() const { return state_.penColour; }
  TPenStyle PenStyle() const { return state_.penStyle; }

  // Brush.
  void SetBrushColour(TRgb colour) { state_.brushColour = TCanvasColour::Colour(colour); }
  void SetBrushColour(std::uint32_t colour) { SetBrushColour(RgbFromColour(colour)); }
  void SetBrushIndex(std::uint8_t index) { state_.brushColour = TCanvasColour::Index(index); }
  void SetBrushStyle(TBrushStyle style) { state_.brushStyle = style; }
  const TCanvasColour& BrushColour() const { return state_.brushColour; }
  TBrushStyle BrushStyle() const { return state_.brushStyle; }

  // Font: name, size in points, bold, colour.
  TCanvasFont& Font() { return state_.font; }
  const TCanvasFont& Font() const { return state_.font; }
  void SetFont(const TCanvasFont& font) { state_.font = font; }
  void SetFontColour(TRgb colour) { state_.font.colour = TCanvasColour::Colour(colour); }
  void SetFontColour(std::uint32_t colour) { SetFontColour(RgbFromColour(colour)); }
  void SetFontIndex(std::uint8_t index) { state_.font.colour = TCanvasColour::Index(index); }

  // Lines in the pen.
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  void Polyline(std::span<const TPoint> points);
  // Sets one pixel in the pen colour when it lies inside the picture.
  void SetPixel(int x, int y);

  // Fills the rectangle (clipped) with the brush colour, whatever the style.
  void FillRect(const TRect& rect);

  // Text with its cell's top-left corner at (x, y).
  void TextOut(int x, int y, const QString& text);
  TTextExtent TextExtent(const QString& text) const;
  int TextWidth(const QString& text) const { return TextExtent(text).width; }
  int TextHeight(const QString& text) const { return TextExtent(text).height; }

  // The font's size in pixels (7 points at 96 pixels per inch: 9 pixels).
  static int FontPixelSize(int points);

private:
  struct TInk {
    std::uint8_t bytes[4] = {0, 0, 0, 0};
  };
  TInk Resolve(const TCanvasColour& colour) const;
  void Plot(int x, int y, const TInk& ink);
  void Segment(int x0, int y0, int x1, int y1, const TInk& ink);

  TExtBitmap& bitmap_;
  TCanvasState& state_;
  int dotPhase_ = 0;  // position in the dotted pattern, carried over segments
};
