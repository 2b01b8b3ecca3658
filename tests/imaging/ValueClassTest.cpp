// The class tables give the legend its rows and the palettes their colours;
// a wrong code, colour or order paints or labels a class wrongly.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "imaging/ValueClasses.h"

namespace {

struct TRow {
  int Code;
  TRgb Colour;
  const char* Name;
};

void ExpectTable(TClassTable table, const std::vector<TRow>& rows, const char* what)
{
  ASSERT_EQ(table.size(), rows.size()) << what;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(table[i].Code(), rows[i].Code) << what << " position " << i;
    EXPECT_EQ(table[i].Colour(), rows[i].Colour) << what << " position " << i;
    EXPECT_EQ(std::string(table[i].Name), rows[i].Name) << what << " position " << i;
  }
}

TEST(ValueClass, SeaIceTablesHoldTheirClassesInLegendOrder)
{
  ExpectTable(ConcentrationClasses(),
              {{101, {80, 80, 80}, "Land"},
               {0, {0, 0, 255}, "Open water"},
               {5, {0, 200, 0}, "5 - 9%"},
               {10, {128, 255, 0}, "10 - 19%"},
               {20, {255, 255, 0}, "20 - 29%"},
               {30, {205, 176, 0}, "30 - 39%"},
               {40, {200, 128, 0}, "40 - 49%"},
               {50, {205, 50, 0}, "50 - 59%"},
               {60, {255, 0, 0}, "60 - 69%"},
               {70, {255, 0, 150}, "70 - 79%"},
               {80, {255, 32, 255}, "80 - 89%"},
               {90, {150, 32, 255}, "90 - 100%"}},
              "concentration");
  ExpectTable(EdgeClasses(),
              {{9, {80, 80, 80}, "Land"},
               {1, {0, 0, 255}, "Open water"},
               {2, {155, 155, 155}, "Open ice"},
               {3, {255, 255, 255}, "Closed ice"}},
              "edge");
  ExpectTable(EdgeClassesExtended(),
              {{9, {80, 80, 80}, "Land"},
               {10, {0, 0, 128}, "Unclassified"},
               {1, {0, 0, 255}, "Open water"},
               {2, {155, 155, 155}, "Open ice"},
               {3, {255, 255, 255}, "Closed ice"}},
              "edge extended");
  ExpectTable(TypeClasses(),
              {{9, {80, 80, 80}, "Land"},
               {1, {0, 0, 255}, "Open water"},
               {2, {155, 155, 155}, "First year ice"},
               {3, {255, 255, 255}, "Multi year ice"},
               {4, {255, 0, 255}, "Ambiguous"}},
              "type");
  ExpectTable(TypeClassesExtended(),
              {{9, {80, 80, 80}, "Land"},
               {10, {0, 0, 128}, "Unclassified"},
               {1, {0, 0, 255}, "Open water"},
               {2, {155, 155, 155}, "First year ice"},
               {3, {255, 255, 255}, "Multi year ice"},
               {4, {255, 0, 255}, "Ambiguous"}},
              "type extended");
}

TEST(ValueClass, PositionTablesHoldTheirClasses)
{
  ExpectTable(ConfidenceClasses(),
              {{0, {64, 64, 64}, "Bad"},
               {1, {255, 128, 128}, "Suspect"},
               {2, {255, 255, 128}, "Acceptable"},
               {3, {128, 255, 128}, "Excellent"}},
              "confidence");
  ExpectTable(CloudMaskClasses(),
              {{0, {40, 48, 40}, "OK"},
               {1, {32, 127, 127}, "fog"},
               {2, {0, 127, 127}, "bad quality"},
               {3, {0, 0, 0}, "bad quality"}},
              "cloud mask");
  ExpectTable(ClearCloudClasses(),
              {{0, {0, 32, 96}, "Clear over water"},
               {1, {32, 96, 0}, "Clear over land"},
               {2, {200, 200, 200}, "Cloud"},
               {3, {0, 0, 0}, "no data"}},
              "clear/cloud");
  ExpectTable(FireClasses(),
              {{0, {32, 32, 32}, "No fire"},
               {1, {240, 255, 32}, "Possible fire detected"},
               {2, {255, 96, 16}, "Probable fire detected"},
               {3, {16, 16, 16}, "N/A"}},
              "fire");
  const TClassTable surface = SurfaceClasses();
  ASSERT_EQ(surface.size(), 32u);
  const std::vector<std::pair<std::size_t, TRow>> samples = {
      {0, {0, {0, 0, 0}, "n/a"}},
      {15, {15, {216, 216, 216}, "Permanent snow/ice"}},
      {18, {18, {0, 128, 128}, "Tundra"}},
      {19, {97, {220, 255, 220}, "Snow/ice over land"}},
      {22, {101, {190, 190, 160}, "Low-level cloud; Fog or Stratus"}},
      {31, {110, {250, 250, 250}, "Unknown cloud type"}},
  };
  for (const auto& [position, row] : samples) {
    EXPECT_EQ(surface[position].Code(), row.Code) << position;
    EXPECT_EQ(surface[position].Colour(), row.Colour) << position;
    EXPECT_EQ(std::string(surface[position].Name), row.Name) << position;
  }
}

TEST(ValueClass, PacksColourAsBgrWordWithCodeOnTop)
{
  const TLabelData navy = EdgeClassesExtended()[1];
  EXPECT_EQ(navy.Data, 0x0A800000u);
  EXPECT_EQ(navy.ColourValue(), 0x00800000u);
  const TLabelData suspect = ConfidenceClasses()[1];
  EXPECT_EQ(suspect.ColourValue(), 0x008080FFu);
  EXPECT_EQ(suspect.Code(), 1);
}

}  // namespace
