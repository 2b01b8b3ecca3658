#include "imaging/Canvas.h"

#include <gtest/gtest.h>
#include <climits>
#include <set>
#include <vector>

namespace {

constexpr std::uint8_t kBackground = 0, kInk = 7;

std::vector<TPoint> Pixels(const TExtBitmap& b, std::uint8_t value)
{
  std::vector<TPoint> out;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      if (b.ScanLine(y)[x] == value)
        out.push_back({x, y});
  return out;
}

TExtBitmap Big(int w, int h)
{
  TExtBitmap b(w, h);
  b.SetGreyPalette();
  return b;
}

}  // namespace

// A line cut by the picture's edge must keep exactly the pixels it has when
// drawn on a picture large enough to hold it whole.
TEST(Canvas, ClippedLineKeepsThePixelsOfTheWholeLine)
{
  struct TCase {
    TPoint a, b;
  };
  const TCase cases[] = {
      {{-30, -7}, {50, 41}}, {{45, -20}, {-12, 33}}, {{5, -40}, {9, 60}},  {{-50, 3}, {70, 4}},
      {{39, 39}, {-1, -1}},  {{-13, 17}, {17, -13}}, {{0, 0}, {39, 29}},   {{20, 15}, {20, 15}},
      {{-3, 60}, {44, -25}}, {{100, 5}, {-100, 6}},  {{-7, -7}, {-1, 50}}, {{10, 10}, {13, 11}},
  };
  constexpr int kW = 40, kH = 30, kOff = 200;
  for (const auto& c : cases) {
    TExtBitmap small = Big(kW, kH), large = Big(kW + 2 * kOff, kH + 2 * kOff);
    TCanvas s(small), l(large);
    s.SetPenIndex(kInk);
    l.SetPenIndex(kInk);
    s.MoveTo(c.a.x, c.a.y);
    s.LineTo(c.b.x, c.b.y);
    l.MoveTo(c.a.x + kOff, c.a.y + kOff);
    l.LineTo(c.b.x + kOff, c.b.y + kOff);
    std::set<std::pair<int, int>> expected, got;
    for (const auto& p : Pixels(large, kInk))
      if (p.x - kOff >= 0 && p.x - kOff < kW && p.y - kOff >= 0 && p.y - kOff < kH)
        expected.insert({p.x - kOff, p.y - kOff});
    for (const auto& p : Pixels(small, kInk))
      got.insert({p.x, p.y});
    EXPECT_EQ(got, expected) << c.a.x << "," << c.a.y << " -> " << c.b.x << "," << c.b.y;
  }
}

// Far-off and extreme coordinates neither overflow nor draw where they
// should not; the diagonal through the whole int range crosses the picture.
TEST(Canvas, LinesFarOutsideOrWithHugeCoordinatesNeverWriteOutside)
{
  const TPoint lines[][2] = {
      {{INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}}, {{INT_MAX, 0}, {INT_MIN, 5}},  {{-5, INT_MIN}, {12, INT_MAX}},
      {{INT_MAX, INT_MAX}, {INT_MAX - 9, INT_MAX}}, {{-1000000, 10}, {-999000, 20}}, {{0, 400}, {50, 400}},
      {{INT_MIN, 3}, {3, 3}}, {{INT_MIN + 1, INT_MIN + 1}, {INT_MAX, INT_MAX}},
  };
  const std::size_t inked[] = {16, 24, 16, 0, 0, 0, 3, 16};  // the end point is not drawn
  for (std::size_t i = 0; i < std::size(lines); ++i) {
    TExtBitmap b = Big(24, 16);
    TCanvas canvas(b);
    canvas.SetPenIndex(kInk);
    canvas.Polyline(lines[i]);
    EXPECT_EQ(Pixels(b, kInk).size(), inked[i]) << i;
  }
}

TEST(Canvas, DottedPenDrawsThreeOnThreeOffAcrossSegments)
{
  TExtBitmap b = Big(40, 3);
  TCanvas canvas(b);
  canvas.SetPenIndex(kInk);
  canvas.SetPenStyle(TPenStyle::psDot);
  const TPoint path[] = {{0, 1}, {4, 1}, {20, 1}};
  canvas.Polyline(path);
  for (int x = 0; x < 20; ++x)
    EXPECT_EQ(b.ScanLine(1)[x], x % 6 < 3 ? kInk : kBackground) << x;
}

// Entries beyond the palette in use may hold stale colours.
TEST(Canvas, ColoursLandInTheNearestEntryOfThePaletteInUse)
{
  TExtBitmap b(8, 8);
  b.SetPaletteSize(3);
  b.Palette()[2] = {255, 255, 255};
  b.Palette()[200] = {250, 250, 250};
  EXPECT_EQ(NearestPaletteIndex(b, {250, 250, 250}), 2);
}

TEST(Canvas, TextHasOnlyTheNearestEntryAndNoBlendedIndices)
{
  TExtBitmap b(60, 20);
  b.SetPaletteSize(3);
  b.Palette()[0] = {0, 0, 0};
  b.Palette()[1] = {250, 250, 250};
  b.Palette()[2] = {90, 90, 90};
  b.Fill(2);
  TCanvas canvas(b);
  canvas.SetBrushStyle(TBrushStyle::bsClear);
  canvas.SetFontColour(0xFFFFFFu);
  canvas.TextOut(3, 2, QString::fromUtf8("60°N"));
  const auto ink = Pixels(b, 1);
  EXPECT_GT(ink.size(), 20u);
  EXPECT_EQ(Pixels(b, 0).size(), 0u);
  EXPECT_EQ(ink.size() + Pixels(b, 2).size(), 60u * 20u);
}
