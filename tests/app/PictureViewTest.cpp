// The picture handed to the screen keeps every index and palette entry of
// an 8-bit picture and the colours of 24- and 32-bit ones.
#include "app/PictureView.h"

#include <gtest/gtest.h>

namespace {

TEST(ImageFromBitmap, KeepsIndicesAndTheWholePalette)
{
  TExtBitmap bitmap(3, 2);
  bitmap.SetPaletteSize(13);
  bitmap.Palette()[12] = {192, 192, 192};
  bitmap.Palette()[9] = {80, 80, 80};
  bitmap.ScanLine(0)[0] = 12;
  bitmap.ScanLine(1)[2] = 9;
  bitmap.ScanLine(1)[1] = 200;  // beyond the palette in use: still a valid entry
  const QImage image = ImageFromBitmap(bitmap);
  ASSERT_EQ(image.format(), QImage::Format_Indexed8);
  EXPECT_EQ(image.colorCount(), 256);
  EXPECT_EQ(image.pixelIndex(0, 0), 12);
  EXPECT_EQ(image.pixel(0, 0), qRgb(192, 192, 192));
  EXPECT_EQ(image.pixel(2, 1), qRgb(80, 80, 80));
  EXPECT_EQ(image.pixelIndex(1, 1), 200);
  EXPECT_TRUE(ImageFromBitmap(TExtBitmap()).isNull());
}

}  // namespace
