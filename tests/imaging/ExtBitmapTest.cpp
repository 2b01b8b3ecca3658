#include "grib/ExtBitmap.h"

#include <gtest/gtest.h>
#include <stdexcept>

TEST(ExtBitmap, RefusesSidesBeyondTheCapOrNegative)
{
  TExtBitmap bitmap;
  EXPECT_THROW(bitmap.SetSize(TExtBitmap::kMaxSide + 1, 1), std::length_error);
  EXPECT_THROW(bitmap.SetSize(1, -1), std::length_error);
  EXPECT_TRUE(bitmap.Empty());
}

TEST(ExtBitmap, ResizeClearsAndRowsDoNotOverlap)
{
  TExtBitmap bitmap(3, 2, TPixelFormat::pf24bit);
  ASSERT_EQ(bitmap.RowBytes(), 9);
  bitmap.ScanLine(1)[8] = 7;
  EXPECT_EQ(bitmap.Pixels()[17], 7);
  EXPECT_EQ(bitmap.ScanLine(0)[8], 0);
  bitmap.SetSize(3, 2);
  EXPECT_EQ(bitmap.Pixels()[17], 0);
}

TEST(ExtBitmap, AssignCopiesPixelsAndPaletteButKeepsTheCanvasState)
{
  TExtBitmap source(2, 2);
  source.SetPaletteSize(3);
  source.Palette()[2] = {1, 2, 3};
  source.ScanLine(1)[1] = 2;
  source.CanvasState().penStyle = TPenStyle::psDot;
  TExtBitmap copy;
  copy.Assign(source);
  EXPECT_EQ(copy, source);
  EXPECT_EQ(copy.CanvasState().penStyle, TPenStyle::psSolid);
  copy.Palette()[2] = {9, 9, 9};
  EXPECT_FALSE(copy == source);
  copy.Palette()[2] = {1, 2, 3};
  copy.Palette()[200] = {9, 9, 9};  // beyond the entries in use
  EXPECT_EQ(copy, source);
}

TEST(ExtBitmap, GreyPaletteIsTheIdentityRampOverAllEntries)
{
  TExtBitmap bitmap(1, 1);
  bitmap.SetPaletteSize(13);
  bitmap.SetGreyPalette();
  EXPECT_EQ(bitmap.PaletteSize(), 256);
  for (int i = 0; i < 256; ++i)
    EXPECT_EQ(bitmap.Palette()[i], (TRgb{std::uint8_t(i), std::uint8_t(i), std::uint8_t(i)}));
}

TEST(ExtBitmap, ColourNumbersHoldBlueInTheHighByte)
{
  EXPECT_EQ(RgbFromColour(0x00C0C0C0u), (TRgb{192, 192, 192}));
  EXPECT_EQ(RgbFromColour(0x00112233u), (TRgb{0x33, 0x22, 0x11}));
}
