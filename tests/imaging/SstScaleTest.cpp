// The SST scale colours every temperature picture; a slip in the hue
// formula or in its single-precision rounding shifts every colour.
#include <QColor>
#include <gtest/gtest.h>

#include <limits>

#include <cmath>

#include "imaging/ColourTable.h"
#include "imaging/SstScale.h"

namespace {

TEST(SstScale, MatchesKnownSinglePrecisionBytes)
{
  struct TCase {
    int Index;
    TRgb Colour;
  } const cases[] = {
      {0, {127, 50, 204}},  // m1 comes out just under 0.2: 50, not 51
      {1, {124, 51, 204}},
      {64, {71, 181, 209}},
      {128, {103, 214, 91}},
      {253, {224, 131, 189}},
  };
  for (const TCase& c : cases) {
    const TRgb got = SstScaleColour(c.Index);
    EXPECT_EQ(got, c.Colour) << "entry " << c.Index << " got " << int(got.r) << "," << int(got.g) << ","
                             << int(got.b);
  }
}

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

TEST(SstScale, HlsHandlesGreyAndOversaturation)
{
  const TRgbFraction grey = HlsToRgb(123.0f, 0.25f, 0.0f);
  EXPECT_FLOAT_EQ(grey.Red, 0.25f);
  EXPECT_FLOAT_EQ(grey.Green, 0.25f);
  EXPECT_FLOAT_EQ(grey.Blue, 0.25f);
  const TRgbFraction over = HlsToRgb(0.0f, 0.5f, 3.0f);
  const TRgbFraction full = HlsToRgb(0.0f, 0.5f, 1.0f);
  EXPECT_FLOAT_EQ(over.Red, full.Red);
  EXPECT_FLOAT_EQ(over.Green, full.Green);
  EXPECT_FLOAT_EQ(over.Blue, full.Blue);
  EXPECT_EQ(HlsToBytes(0.0f, 0.5f, 1.0f), (TRgb{255, 0, 0}));
  EXPECT_EQ(HlsToBytes(120.0f, 0.5f, 1.0f), (TRgb{0, 255, 0}));
  EXPECT_EQ(HlsToBytes(240.0f, 0.5f, 1.0f), (TRgb{0, 0, 255}));
  EXPECT_EQ(HlsToBytes(-120.0f, 0.5f, 1.0f), (TRgb{0, 0, 255}));  // brought into range once
}

// Hue, lightness and saturation outside their domains (what a ramp makes of
// an extreme field value) give a colour within it, never NaN.
TEST(SstScale, HlsBringsEveryInputIntoItsDomain)
{
  constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
  constexpr float kInf = std::numeric_limits<float>::infinity();
  const float inputs[] = {kNaN, kInf, -kInf, 1e30f, -1e30f, 2.6e33f, 0.5f, 720.0f + 120.0f};
  for (const float h : inputs)
    for (const float l : inputs)
      for (const float s : inputs) {
        const TRgbFraction c = HlsToRgb(h, l, s);
        for (const float component : {c.Red, c.Green, c.Blue}) {
          ASSERT_TRUE(component >= 0.0f && component <= 1.0f) << h << " " << l << " " << s;
        }
      }
  EXPECT_EQ(HlsToBytes(840.0f, 0.5f, 1.0f), (TRgb{0, 255, 0}));  // 840 = 2 x 360 + 120
  EXPECT_EQ(HlsToBytes(0.0f, 7.0f, 1.0f), (TRgb{255, 255, 255}));
  EXPECT_EQ(HlsToBytes(kNaN, kNaN, kNaN), (TRgb{0, 0, 0}));
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
