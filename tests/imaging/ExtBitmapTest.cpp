#include "imaging/ExtBitmap.h"

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
