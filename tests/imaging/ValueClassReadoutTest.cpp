// The read-out under the cursor: class words and percentages, and nothing
// for an index outside the classes.
#include <gtest/gtest.h>

#include "Edition1Field.h"
#include "imaging/ValueReadout.h"

namespace {

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
