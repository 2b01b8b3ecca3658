// The SST scale colours every temperature picture; a slip in the hue
// formula, in its single-precision rounding or in the palette built from it
// shifts every colour.
#include <QColor>
#include <gtest/gtest.h>

#include "imaging/ColourTable.h"

namespace {

// Qt's own HSL conversion, with a hue of 270 - 310 i / 255 degrees, lightness
// 0.5 + 0.2 i / 255 and saturation 0.6, agrees within one step (Qt rounds
// where the scale truncates) over the entries a temperature can take.
TEST(SstScale, PaletteAgreesWithQtHslOverTheWholeScale)
{
  TColourTableSource source;
  source.ParameterCode = 310010000;
  const TColourTable table = MakeColourTable(source);
  for (int i = 1; i <= 253; ++i) {
    double hue = 270.0 - 310.0 * i / 255.0;
    if (hue < 0)
      hue += 360.0;
    const QColor reference = QColor::fromHslF(static_cast<float>(hue / 360.0), 0.6f,
                                              static_cast<float>(0.5 + 0.2 * i / 255.0));
    const TRgb got = table.Palette[i];
    EXPECT_NEAR(got.r, reference.redF() * 255.0, 1.01) << i;
    EXPECT_NEAR(got.g, reference.greenF() * 255.0, 1.01) << i;
    EXPECT_NEAR(got.b, reference.blueF() * 255.0, 1.01) << i;
  }
}

}  // namespace
