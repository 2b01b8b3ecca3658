// The SST scale colours every temperature picture; a slip in the hue
// formula or in its single-precision rounding shifts every colour.
#include <QColor>
#include <gtest/gtest.h>

#include <limits>

#include <cmath>

#include "imaging/ColourTable.h"
#include "imaging/SstScale.h"

namespace {

// Qt's own HSL conversion, with a hue of 270 - 310 i / 255 degrees, lightness
// 0.5 + 0.2 i / 255 and saturation 0.6, agrees within one step (Qt rounds
// where the scale truncates).
TEST(SstScale, AgreesWithQtHslOverTheWholeScale)
{
  for (int i = 0; i < 256; ++i) {
    double hue = 270.0 - 310.0 * i / 255.0;
    if (hue < 0)
      hue += 360.0;
    const QColor reference = QColor::fromHslF(static_cast<float>(hue / 360.0), 0.6f,
                                              static_cast<float>(0.5 + 0.2 * i / 255.0));
    const TRgb got = SstScaleColour(i);
    EXPECT_NEAR(got.r, reference.redF() * 255.0, 1.01) << i;
    EXPECT_NEAR(got.g, reference.greenF() * 255.0, 1.01) << i;
    EXPECT_NEAR(got.b, reference.blueF() * 255.0, 1.01) << i;
  }
}

TEST(SstScale, SstPaletteKeepsScaleBetweenBlackBottomAndOverlayTop)
{
  TColourTableSource source;
  source.ParameterCode = 310010000;
  const TColourTable table = MakeColourTable(source);
  EXPECT_EQ(table.Size, 256);
  EXPECT_EQ(table.Palette[0], (TRgb{0, 0, 0}));
  EXPECT_EQ(table.Palette[254], (TRgb{192, 192, 192}));
  EXPECT_EQ(table.Palette[255], (TRgb{255, 255, 255}));
  for (int i = 1; i <= 253; ++i)
    EXPECT_EQ(table.Palette[i], SstScaleColour(i)) << i;
  EXPECT_TRUE(table.Continuous);
}

}  // namespace
