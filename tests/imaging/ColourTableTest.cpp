// Palettes decide every pixel's colour; these catch wrong sizes, shifted
// class ranges, missing fixed colours and class names left from an earlier
// field.
#include <gtest/gtest.h>

#include <limits>

#include "Edition1Field.h"
#include "imaging/ColourTable.h"
#include "imaging/ColourTableBuild.h"

namespace {

constexpr TRgb kBlackRgb{0, 0, 0};

TEST(ColourTable, ConcentrationPaintsPercentRangesLandAndFixedColours)
{
  TColourTableSource source;
  source.ParameterCode = source.ParameterOctet = 91;
  const TColourTable t = MakeColourTable(source);
  struct TCase {
    int Index;
    TRgb Colour;
  } const cases[] = {
      {0, {0, 0, 255}},      {4, {0, 0, 255}},       {5, {0, 200, 0}},       {9, {0, 200, 0}},
      {10, {128, 255, 0}},   {19, {128, 255, 0}},    {20, {255, 255, 0}},    {39, {205, 176, 0}},
      {45, {200, 128, 0}},   {50, {205, 50, 0}},     {69, {255, 0, 0}},      {70, {255, 0, 150}},
      {89, {255, 32, 255}},  {90, {150, 32, 255}},   {100, {150, 32, 255}},  {101, {80, 80, 80}},
      {102, {0, 0, 0}},      {103, {192, 192, 192}}, {104, {255, 255, 255}},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(t.Palette[c.Index], c.Colour) << c.Index;
  for (const auto& label : t.Labels)
    EXPECT_TRUE(label.empty());
  for (const auto index : t.IndexOfRaw)
    EXPECT_EQ(index, kIndexUntouched);
}

// Field values from damaged or hostile files (a reference of 2.6e33, spans
// of zero, all values zero, NaN and infinities) reach every ramp: each still paints defined
// colours, and the ones at a value's extremes are the ramp's end colours.
TEST(ColourTable, RampsPaintDefinedColoursForAnyFieldValues)
{
  constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
  constexpr float kInf = std::numeric_limits<float>::infinity();
  const std::int32_t rampCodes[] = {300000002, 300001000, 300001001, 300001002, 300001013};
  const float extremes[] = {kNaN, kInf, -kInf, 2.6e33f, -2.6e33f, std::numeric_limits<float>::max(), 0.0f};
  for (const std::int32_t code : rampCodes) {
    for (const float value : extremes) {
      SCOPED_TRACE(testing::Message() << "code " << code << ", value " << value);
      TColourTableSource source;
      source.ParameterCode = code;
      source.IndexValues.fill(value);
      const TColourTable t = MakeColourTable(source);  // UBSan reports any conversion of NaN
      TColourTableSource again = source;
      EXPECT_EQ(MakeColourTable(again).Palette, t.Palette);
    }
  }
  TColourTableSource height;
  height.ParameterCode = 300001002;
  height.IndexValues[1] = 2.6e33f;
  height.IndexValues[2] = kNaN;
  const TColourTable h = MakeColourTable(height);
  EXPECT_EQ(h.Palette[1], (TRgb{255, 255, 255}));  // above the top: the ramp's pale end
  EXPECT_EQ(h.Palette[2], kBlackRgb);
}

TEST(ColourTable, EveryBuildClearsNamesAndPaletteOfTheFieldsEarlierBuild)
{
  TGribData data(BuildColourTable);
  const TDataStuff& field = *data.Current;
  LoadEdition1(data, 221, true);
  EXPECT_EQ(field.Labels[10].toStdString(), "Unclassified");
  EXPECT_FALSE(field.Continuous);

  LoadEdition1(data, 91, true);
  for (const QString& label : field.Labels)
    EXPECT_TRUE(label.isEmpty());
  EXPECT_EQ(field.Bitmap.PaletteSize(), 105);
  EXPECT_EQ(field.Bitmap.Palette()[200], kBlackRgb);
  EXPECT_FALSE(field.ExtendedClasses);

  LoadEdition1(data, 11, true);
  EXPECT_EQ(field.Bitmap.PaletteSize(), 256);
  EXPECT_TRUE(field.Continuous);
}

TEST(ColourTable, PositionTableWritesIndexOfRawOnTheField)
{
  TGribData data(BuildColourTable);
  data.Edition = 2;
  data.Discipline = 3;
  TDataStuff& field = *data.Current;
  field.ParameterCategory = 0;
  field.ParameterNumber = 8;  // surface classes
  field.IndexOfRaw.fill(7);
  BuildColourTable(data, field);
  EXPECT_EQ(field.IndexOfRaw[98], 20);
  EXPECT_EQ(field.IndexOfRaw[100], 7);  // no class: untouched
  EXPECT_EQ(field.Labels[20].toStdString(), "Snow/ice over water");
}

}  // namespace
