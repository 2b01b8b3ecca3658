// The read-out under the cursor: class words and percentages, and nothing
// for an index outside the classes.
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

}  // namespace
