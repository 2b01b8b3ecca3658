// The read-out under the cursor: class words, percentages, degrees, and
// "No data" where a point has no value.
#include <gtest/gtest.h>

#include "grib/GribData.h"
#include "imaging/ColourTableBuild.h"
#include "imaging/ValueReadout.h"

namespace {

void LoadEdition1(TGribData& data, int parameter, bool extendedGrid = false)
{
  data.Edition = 1;
  data.ExtendedGrid = extendedGrid;
  data.Current->ProductId[0] = 88;
  data.Current->ProductId[1] = 1;
  data.Current->ProductId[4] = static_cast<std::uint8_t>(parameter);
  BuildColourTable(data, *data.Current);
}

// An edition 2 SST field packed as hundredths of a kelvin above 271.15 K,
// with packed values 0..3500 (-2.00 to 33.00 degrees Celsius).
void LoadSst(TGribData& data)
{
  data.Edition = 2;
  data.Discipline = 10;
  TDataStuff& field = *data.Current;
  field.ParameterCategory = 3;
  field.ParameterNumber = 0;
  BuildColourTable(data, field);
  field.ReferenceValue = 27115.0f;
  field.DecimalScale = 2;
  field.RawMin = 0;
  field.RawMax = 3500;
  field.MinValue = 271.15f;
  field.MaxValue = 306.15f;
  FillContinuousTables(field);
}

struct TCase {
  int Index;
  const char* Text;
};

void ExpectReadout(const TDataStuff& field, std::initializer_list<TCase> cases, const char* what)
{
  for (const TCase& c : cases)
    EXPECT_EQ(ClassNameAt(field, c.Index).toStdString(), c.Text) << what << " index " << c.Index;
}

TEST(ValueClassReadout, NamesSeaIceClassesAndPercentages)
{
  TGribData conc;
  LoadEdition1(conc, 91);
  ExpectReadout(*conc.Current,
                {{0, "n/a"}, {1, "1%"}, {57, "57%"}, {100, "100%"}, {101, "n/a"}, {103, "n/a"}, {-1, "n/a"},
                 {300, "n/a"}},
                "concentration");
  TGribData edge;
  LoadEdition1(edge, 220, true);
  ExpectReadout(*edge.Current,
                {{0, "n/a"}, {1, "Open water"}, {2, "Open ice"}, {3, "Closed ice"}, {4, "n/a"}, {9, "Land"},
                 {10, "Unclassified"}, {12, "n/a"}},
                "edge");
  TGribData type;
  LoadEdition1(type, 221, true);
  ExpectReadout(*type.Current,
                {{1, "Open water"}, {2, "First-year ice"}, {3, "Multi-year ice"}, {4, "Ambiguous"}, {5, "n/a"},
                 {9, "Land"}, {10, "Unclassified"}},
                "type");
}

TEST(ValueClassReadout, GivesSstInCelsiusAboveTheFieldMinimum)
{
  TGribData data;
  LoadSst(data);
  const TDataStuff& field = *data.Current;
  // Index i stands for 271.15 K + i * 35 K / 255.
  ExpectReadout(field, {{255, "33.0°C"}, {1, "-1.9°C"}, {102, "12.0°C"}, {15, "0.1°C"}}, "sst");
  TDataStuff& writable = *data.Current;
  writable.MinValue = writable.IndexValues[102];
  EXPECT_EQ(ClassNameAt(field, 102).toStdString(), "n/a");
  EXPECT_EQ(ClassNameAt(field, 101).toStdString(), "n/a");
}

TEST(ValueClassReadout, OtherProductsReadNotAvailable)
{
  TGribData data;
  LoadEdition1(data, 52);
  ExpectReadout(*data.Current, {{10, "n/a"}, {200, "n/a"}}, "humidity");
}

TEST(ValueClassReadout, ContinuousTablesSpreadPackedRangeOverTheIndices)
{
  TGribData data;
  LoadSst(data);
  const TDataStuff& field = *data.Current;
  EXPECT_FLOAT_EQ(field.IndexValues[0], 271.15f);
  EXPECT_FLOAT_EQ(field.IndexValues[255], 306.15f);
  EXPECT_NEAR(field.IndexValues[51], 271.15 + 7.0, 1e-4);
  EXPECT_EQ(field.IndexOfRaw[3500], 255);
  EXPECT_EQ(field.IndexOfRaw[1750], 128);  // 127.5 rounds to even
  EXPECT_EQ(field.IndexOfRaw[4000], 255);  // beyond the range: clamped
  EXPECT_EQ(field.IndexOfRaw[7], 1);       // 0.51 would round to 1 anyway
  EXPECT_EQ(field.IndexOfRaw[0], 1);       // would be 0, the missing entry
}

TEST(ValueClassReadout, ContinuousTablesStartAtTheSmallestPackedValue)
{
  TGribData data;
  LoadSst(data);
  TDataStuff& field = *data.Current;
  field.RawMin = 1000;
  field.RawMax = 1255;
  FillContinuousTables(field);
  EXPECT_EQ(field.IndexOfRaw[1100], 100);
  EXPECT_EQ(field.IndexOfRaw[1255], 255);
  EXPECT_NEAR(field.IndexValues[100], (27115.0 + 1100.0) / 100.0, 1e-3);
}

TEST(ValueClassReadout, ContinuousTablesOfAFlatFieldStayFinite)
{
  TGribData data;
  LoadSst(data);
  TDataStuff& field = *data.Current;
  field.RawMin = 500;
  field.RawMax = 500;
  FillContinuousTables(field);
  EXPECT_EQ(field.IndexOfRaw[500], 1);
  for (const float v : field.IndexValues)
    EXPECT_FLOAT_EQ(v, 276.15f);
}

}  // namespace
