// Palettes decide every pixel's colour; these catch wrong sizes, shifted
// class ranges, missing fixed colours and class names left from an earlier
// field.
#include <gtest/gtest.h>

#include <limits>

#include "grib/GribData.h"
#include "imaging/ColourTable.h"
#include "imaging/ColourTableBuild.h"
#include "imaging/SstScale.h"

namespace {

constexpr TRgb kBlackRgb{0, 0, 0};

TColourTable TableFor(std::int32_t code, int octet, bool extended = false)
{
  TColourTableSource source;
  source.ParameterCode = code;
  source.ParameterOctet = octet;
  source.ExtendedGrid = extended;
  return MakeColourTable(source);
}

void SetEdition1Parameter(TGribData& data, int parameter)
{
  data.Edition = 1;
  data.Current->ProductId[0] = 88;
  data.Current->ProductId[1] = 1;
  data.Current->ProductId[4] = static_cast<std::uint8_t>(parameter);
}

TEST(ColourTable, PaletteSizeFollowsTheEdition1ParameterOctet)
{
  struct TCase {
    std::int32_t Code;
    int Octet;
    int Size;
    bool Continuous;
  } const cases[] = {
      {91, 91, 105, false},         {220, 220, 13, false},     {221, 221, 13, false},
      {11, 11, 256, true},          {310010000, 0, 256, true}, {174, 174, 256, false},
      {175, 175, 256, false},       {0, 6, 256, true},         {310010001, 0, 256, true},
  };
  for (const TCase& c : cases) {
    const TColourTable t = TableFor(c.Code, c.Octet);
    EXPECT_EQ(t.Size, c.Size) << c.Code;
    EXPECT_EQ(t.Continuous, c.Continuous) << c.Code;
  }
}

TEST(ColourTable, ConcentrationPaintsPercentRangesLandAndFixedColours)
{
  const TColourTable t = TableFor(91, 91);
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

TEST(ColourTable, EdgeAndTypePaintClassesAtTheirCodes)
{
  struct TCase {
    std::int32_t Code;
    bool Extended;
    int Index;
    TRgb Colour;
    const char* Label;
  } const cases[] = {
      {220, false, 0, kBlackRgb, ""},
      {220, false, 1, {0, 0, 255}, "Open water"},
      {220, false, 2, {155, 155, 155}, "Open ice"},
      {220, false, 3, {255, 255, 255}, "Closed ice"},
      {220, false, 4, kBlackRgb, ""},
      {220, false, 8, kBlackRgb, ""},
      {220, false, 9, {80, 80, 80}, "Land"},
      {220, false, 10, kBlackRgb, ""},
      {220, false, 11, {56, 56, 56}, ""},
      {220, false, 12, {192, 192, 192}, ""},
      {220, true, 10, {0, 0, 128}, "Unclassified"},
      {220, true, 11, {56, 56, 56}, ""},
      {221, false, 2, {155, 155, 155}, "First year ice"},
      {221, false, 3, {255, 255, 255}, "Multi year ice"},
      {221, false, 4, {255, 0, 255}, "Ambiguous"},
      {221, false, 10, kBlackRgb, ""},
      {221, true, 10, {0, 0, 128}, "Unclassified"},
      {221, true, 12, {192, 192, 192}, ""},
  };
  for (const TCase& c : cases) {
    const TColourTable t = TableFor(c.Code, c.Code, c.Extended);
    EXPECT_EQ(t.Palette[c.Index], c.Colour) << c.Code << (c.Extended ? " extended" : "") << " entry " << c.Index;
    EXPECT_EQ(std::string(t.Labels[c.Index]), c.Label) << c.Code << " entry " << c.Index;
  }
}

TEST(ColourTable, PositionTablesMapCodesToPositions)
{
  const TColourTable confidence = TableFor(310010001, 0);
  EXPECT_EQ(confidence.Palette[1], (TRgb{255, 128, 128}));
  EXPECT_EQ(std::string(confidence.Labels[3]), "Excellent");
  EXPECT_EQ(confidence.IndexOfRaw[2], 2);
  EXPECT_EQ(confidence.IndexOfRaw[4], kIndexUntouched);
  EXPECT_EQ(confidence.Palette[200], kBlackRgb);

  const TColourTable surface = TableFor(300000008, 0);
  EXPECT_EQ(surface.IndexOfRaw[97], 19);
  EXPECT_EQ(surface.IndexOfRaw[110], 31);
  EXPECT_EQ(surface.Palette[19], (TRgb{220, 255, 220}));
  EXPECT_EQ(std::string(surface.Labels[31]), "Unknown cloud type");
  EXPECT_EQ(surface.Palette[254], (TRgb{192, 192, 192}));  // fixed top of this product
  EXPECT_EQ(surface.Palette[255], (TRgb{255, 255, 255}));

  const TColourTable fire = TableFor(300000009, 0);
  EXPECT_EQ(fire.Palette[253], (TRgb{56, 56, 56}));
  EXPECT_EQ(std::string(fire.Labels[1]), "Possible fire detected");
}

TEST(ColourTable, ScalesAndFixedEntriesByParameterCode)
{
  struct TCase {
    std::int32_t Code;
    int Index;
    TRgb Colour;
  } const cases[] = {
      {11, 0, kBlackRgb},
      {11, 100, SstScaleColour(100)},
      {1, 0, SstScaleColour(0)},  // pressure keeps the scale's bottom
      {1, 255, SstScaleColour(255)},
      {174, 253, {56, 56, 56}},
      {174, 254, {192, 192, 192}},
      {174, 0, kBlackRgb},
      {99231, 255, {255, 255, 255}},
      {1000002022, 0, kBlackRgb},
      {1000002000, 0, SstScaleColour(0)},
      {0, 0, {0, 0, 0}},  // unrecognised: grey ramp
      {0, 77, {77, 77, 77}},
      {0, 255, {255, 255, 255}},
      {123456, 128, {128, 128, 128}},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(TableFor(c.Code, c.Code < 256 ? c.Code : 0).Palette[c.Index], c.Colour) << c.Code << " entry "
                                                                                        << c.Index;
}

TEST(ColourTable, CloudRampsFollowTheFieldValues)
{
  TColourTableSource steps;
  steps.ParameterCode = 300001008;
  const TColourTable grey = MakeColourTable(steps);
  EXPECT_EQ(grey.Palette[50], (TRgb{127, 127, 127}));
  EXPECT_EQ(grey.Palette[100], (TRgb{255, 255, 255}));
  EXPECT_EQ(grey.Palette[101], kBlackRgb);
  EXPECT_EQ(grey.IndexOfRaw[50], kIndexUntouched);

  TColourTableSource divergence;
  divergence.ParameterCode = 300001013;
  for (int i = 0; i < 256; ++i)
    divergence.IndexValues[i] = static_cast<float>(i - 128);
  const TColourTable d = MakeColourTable(divergence);
  EXPECT_EQ(d.Palette[1], (TRgb{255, 0, 80}));       // -127
  EXPECT_EQ(d.Palette[8], (TRgb{255, 80, 80}));      // -120
  EXPECT_EQ(d.Palette[128], (TRgb{248, 248, 248}));  // 0
  EXPECT_EQ(d.Palette[129], (TRgb{220, 255, 235}));  // 1
  EXPECT_EQ(d.Palette[249], (TRgb{0, 0, 255}));      // 121
  EXPECT_EQ(d.Palette[0], kBlackRgb);
  EXPECT_EQ(d.Palette[254], (TRgb{192, 192, 192}));
  EXPECT_EQ(d.IndexOfRaw[77], 77);

  TColourTableSource height;
  height.ParameterCode = 300001002;
  height.IndexValues[1] = 0.0f;
  height.IndexValues[2] = 15000.0f;
  height.IndexValues[3] = 21600.0f;
  const TColourTable h = MakeColourTable(height);
  EXPECT_EQ(h.Palette[1], HlsToBytes(300.0f, 0.7f, 1.0f));
  EXPECT_EQ(h.Palette[2], HlsToBytes(0.0f, 0.5f, 1.0f));
  EXPECT_EQ(h.Palette[3], (TRgb{255, 255, 255}));
  EXPECT_EQ(h.Palette[64], kBlackRgb);
}

TEST(ColourTable, RampWithZeroTopStaysDefined)
{
  TColourTableSource source;
  source.ParameterCode = 300000002;  // all values zero
  const TColourTable t = MakeColourTable(source);
  EXPECT_EQ(t.Palette[100], HlsToBytes(250.0f, 0.7f, 1.0f));
}

// Field values from damaged or hostile files (a reference of 2.6e33, spans
// of zero, NaN and infinities) reach every ramp: each still paints defined
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
  SetEdition1Parameter(data, 221);
  data.ExtendedGrid = true;
  TDataStuff& field = *data.Current;
  BuildColourTable(data, field);
  EXPECT_EQ(field.Labels[10].toStdString(), "Unclassified");
  EXPECT_EQ(field.Bitmap.PaletteSize(), 13);
  EXPECT_FALSE(field.Continuous);

  SetEdition1Parameter(data, 91);
  BuildColourTable(data, field);
  for (const QString& label : field.Labels)
    EXPECT_TRUE(label.isEmpty());
  EXPECT_EQ(field.Bitmap.PaletteSize(), 105);
  EXPECT_EQ(field.Bitmap.Palette()[104], (TRgb{255, 255, 255}));
  EXPECT_EQ(field.Bitmap.Palette()[200], kBlackRgb);
  EXPECT_FALSE(field.ExtendedClasses);

  SetEdition1Parameter(data, 11);
  BuildColourTable(data, field);
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
