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

// An edition 2 SST field from -2 to 33 degrees Celsius over the 256 indices.
void LoadSst(TGribData& data)
{
  data.Edition = 2;
  data.Discipline = 10;
  TDataStuff& field = *data.Current;
  field.ParameterCategory = 3;
  field.ParameterNumber = 0;
  BuildColourTable(data, field);
  for (int i = 0; i < 256; ++i)
    field.IndexValues[i] = 271.15f + static_cast<float>(i) * 35.0f / 255.0f;
  field.MinValue = 271.15f;
  field.MaxValue = 306.15f;
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
  TGribData conc(BuildColourTable);
  LoadEdition1(conc, 91);
  ExpectReadout(*conc.Current,
                {{0, "Open water"}, {1, "1%"}, {57, "57%"}, {100, "100%"}, {101, "Land"}, {103, "n/a"},
                 {-1, "n/a"}, {300, "n/a"}},
                "concentration");
  TGribData edge(BuildColourTable);
  LoadEdition1(edge, 220, true);
  ExpectReadout(*edge.Current,
                {{0, "n/a"}, {1, "Open water"}, {2, "Open ice"}, {3, "Closed ice"}, {4, "n/a"}, {9, "Land"},
                 {10, "Unclassified"}, {12, "n/a"}},
                "edge");
  TGribData type(BuildColourTable);
  LoadEdition1(type, 221, true);
  ExpectReadout(*type.Current,
                {{1, "Open water"}, {2, "First-year ice"}, {3, "Multi-year ice"}, {4, "Ambiguous"}, {5, "n/a"},
                 {9, "Land"}, {10, "Unclassified"}},
                "type");
  TGribData humidity(BuildColourTable);
  LoadEdition1(humidity, 52);
  ExpectReadout(*humidity.Current, {{10, "n/a"}, {200, "n/a"}}, "humidity");
}

TEST(ValueClassReadout, GivesSstInCelsiusDownToTheFieldMinimumAndNoDataOnHoles)
{
  TGribData data(BuildColourTable);
  LoadSst(data);
  const TDataStuff& field = *data.Current;
  // Index i stands for 271.15 K + i * 35 K / 255.
  ExpectReadout(field, {{255, "33.0°C"}, {1, "-1.9°C"}, {102, "12.0°C"}, {15, "0.1°C"}}, "sst");
  // The commonest value under the ice is the field's minimum: it reads as a
  // temperature; only the missing-value entry reads "No data".
  data.Current->MinValue = field.IndexValues[102];
  ExpectReadout(field, {{102, "12.0°C"}, {101, "11.9°C"}, {field.MissingIndex, "No data"}}, "sst at its minimum");
}

}  // namespace
