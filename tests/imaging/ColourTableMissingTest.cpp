// Points without a value must never look like data: the entry they are
// painted with shows a colour no class or scale step of the product uses,
// and the read-out calls it "No data".
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "grib/GribData.h"
#include "imaging/ColourTable.h"
#include "imaging/ColourTableBuild.h"
#include "imaging/ValueReadout.h"

namespace {

struct TProductCase {
  const char* What;
  int Edition;
  int ParameterOctet;  // edition 1
  int Discipline, Category, Number;  // edition 2
  bool ExtendedGrid;
  int PaletteSize;
};

constexpr TProductCase kProducts[] = {
    {"concentration", 1, 91, 0, 0, 0, false, 105},
    {"edge", 1, 220, 0, 0, 0, false, 13},
    {"edge extended", 1, 220, 0, 0, 0, true, 13},
    {"type", 1, 221, 0, 0, 0, false, 13},
    {"type extended", 1, 221, 0, 0, 0, true, 13},
    {"temperature", 1, 11, 0, 0, 0, false, 256},
    {"SST", 2, 0, 10, 3, 0, false, 256},
    {"SST confidence", 2, 0, 10, 192, 1, false, 256},
    {"cloud mask", 2, 0, 3, 1, 3, false, 256},
    {"clear/cloud", 2, 0, 3, 0, 7, false, 256},
    {"surface", 2, 0, 3, 0, 8, false, 256},
    {"fire", 2, 0, 3, 0, 9, false, 256},
};

void Load(TGribData& data, const TProductCase& p)
{
  data.Edition = p.Edition;
  data.Discipline = p.Discipline;
  data.ExtendedGrid = p.ExtendedGrid;
  TDataStuff& field = *data.Current;
  field.ProductId[0] = 88;
  field.ProductId[1] = 1;
  field.ProductId[4] = static_cast<std::uint8_t>(p.ParameterOctet);
  field.ParameterCategory = p.Category;
  field.ParameterNumber = p.Number;
  BuildColourTable(data, field);
}

// Palette entries a data value of the field can be painted with.
std::vector<int> DataEntries(const TDataStuff& field, const TColourTable& table)
{
  std::vector<int> entries;
  if (table.Classes.empty()) {
    for (int i = 0; i < 256; ++i)
      entries.push_back(i);
    entries.erase(std::remove(entries.begin(), entries.end(), field.MissingIndex), entries.end());
  } else if (table.ClassesByPosition) {
    for (std::size_t i = 0; i < table.Classes.size(); ++i)
      entries.push_back(static_cast<int>(i));
  } else if (field.ParameterCode() == 91) {
    for (int i = 0; i <= 101; ++i)
      entries.push_back(i);
  } else {
    for (const TLabelData& c : table.Classes)
      entries.push_back(c.Code());
  }
  return entries;
}

TEST(ColourTableMissing, MissingPointsNeverShowAClassOrScaleColour)
{
  for (const TProductCase& p : kProducts) {
    TGribData data(BuildColourTable);
    Load(data, p);
    TDataStuff& field = *data.Current;
    const TColourTable table = MakeColourTable(ColourTableSourceOf(data, field));
    const auto& palette = field.Bitmap.Palette();

    EXPECT_EQ(field.Bitmap.PaletteSize(), p.PaletteSize) << p.What;
    EXPECT_LT(field.MissingIndex, p.PaletteSize) << p.What;
    const TRgb missingColour = palette[field.MissingIndex];
    for (const int entry : DataEntries(field, table)) {
      EXPECT_NE(entry, field.MissingIndex) << p.What;
      EXPECT_NE(palette[entry], missingColour) << p.What << ": entry " << entry << " looks like a missing point";
    }
    EXPECT_EQ(ClassNameAt(field, field.MissingIndex).toStdString(), "No data") << p.What;
  }
}

// A class table that fills its whole palette leaves no free entry: the
// missing index must still lie inside the palette and must not take over
// the colour of a class.
TEST(ColourTableMissing, AFullPaletteOfClassesKeepsEveryClassColour)
{
  // The 32 surface classes on a palette sized for an edition 1 edge field
  // (13 entries): the palette grows by one entry for missing points.
  TColourTableSource source;
  source.ParameterCode = 300000008;
  source.ParameterOctet = 220;
  const TColourTable surface = MakeColourTable(source);
  ASSERT_EQ(surface.Classes.size(), 32u);
  EXPECT_EQ(surface.Size, 14);
  EXPECT_EQ(surface.MissingIndex, 13);
  EXPECT_EQ(surface.Palette[13], kDarkGrey);

  // 256 classes by position: entry 256 does not exist, and wrapping it to
  // entry 0 painted the first class dark grey and made it read "No data".
  std::vector<TLabelData> classes;
  TColourTable t;
  for (int i = 0; i < 256; ++i) {
    classes.emplace_back(i, static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i), 7, "class");
    t.Palette[static_cast<std::size_t>(i)] = classes.back().Colour();
  }
  t.Size = kFullPaletteSize;
  t.Classes = classes;
  t.ClassesByPosition = true;
  const auto before = t.Palette;
  EXPECT_EQ(ChooseClassMissingIndex(t), 255) << "the missing index wrapped round to the first class";
  EXPECT_EQ(t.Palette, before) << "a class colour was painted over";
  // One entry short of full: the last entry is free and takes dark grey.
  t.Classes = TClassTable(classes).first(255);
  EXPECT_EQ(ChooseClassMissingIndex(t), 255);
  EXPECT_EQ(t.Palette[255], kDarkGrey);
}

}  // namespace
