// The legend must show the same classes and colours as the picture beside
// it, and the SST bar and degree ticks must sit where the scale puts them.
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include "grib/GribData.h"
#include "imaging/ColourTable.h"
#include "imaging/ColourTableBuild.h"
#include "imaging/Legend.h"
#include "imaging/ValueReadout.h"

namespace {

constexpr int kBoxHeight = 289;

std::vector<std::string> Names(const std::vector<TLegendSwatch>& swatches)
{
  std::vector<std::string> names;
  for (const TLegendSwatch& s : swatches)
    names.push_back(s.Name.toStdString());
  return names;
}

// An edition 1 sea-ice field as the decoder leaves it after the colour table.
void LoadIceField(TGribData& data, int parameter, bool extendedGrid, QDate date)
{
  data.Edition = 1;
  data.ExtendedGrid = extendedGrid;
  data.ReferenceTime = QDateTime(date, QTime(12, 0), Qt::UTC);
  data.Current->ProductId[0] = 88;
  data.Current->ProductId[1] = 1;
  data.Current->ProductId[4] = static_cast<std::uint8_t>(parameter);
  BuildColourTable(data, *data.Current);
}

TEST(Legend, ShowsClassRowsPerTabInTableOrder)
{
  struct TCase {
    int Product;
    int Parameter;
    bool Extended;
    std::vector<std::string> Names;
  } const cases[] = {
      {0, 91, false, {"Land", "Open water", "5 - 9%", "10 - 19%", "20 - 29%", "30 - 39%", "40 - 49%", "50 - 59%",
                      "60 - 69%", "70 - 79%", "80 - 89%", "90 - 100%"}},
      {1, 220, false, {"Land", "Open water", "Open ice", "Closed ice"}},
      {1, 220, true, {"Land", "Unclassified", "Open water", "Open ice", "Closed ice"}},
      {2, 221, false, {"Land", "Open water", "First year ice", "Multi year ice", "Ambiguous"}},
      {2, 221, true, {"Land", "Unclassified", "Open water", "First year ice", "Multi year ice", "Ambiguous"}},
  };
  for (const TCase& c : cases) {
    TGribData data(BuildColourTable);
    LoadIceField(data, c.Parameter, c.Extended, QDate(2010, 1, 1));
    const TLegend legend = BuildLegend(c.Product, data.Current, kBoxHeight);
    EXPECT_EQ(Names(legend.Swatches), c.Names) << c.Product;
    for (std::size_t i = 0; i < legend.Swatches.size(); ++i) {
      EXPECT_EQ(legend.Swatches[i].Top, static_cast<int>(i) * 24);
      // The swatch shows the colour the picture gives the class.
      const TClassTable classes = LegendClasses(c.Product, data.Current);
      const int entry = c.Product == 0 ? (i == 0 ? 101 : classes[i].Code()) : classes[i].Code();
      EXPECT_EQ(legend.Swatches[i].Colour, data.Current->Bitmap.Palette()[entry]) << c.Product << " row " << i;
    }
    EXPECT_TRUE(legend.Bar.empty());
  }
}

TEST(Legend, ClassRowsShowWithoutLoadedDataAndSstShowsNothing)
{
  EXPECT_EQ(BuildLegend(0, nullptr, kBoxHeight).Swatches.size(), 12u);
  EXPECT_EQ(BuildLegend(1, nullptr, kBoxHeight).Swatches.size(), 4u);
  EXPECT_EQ(BuildLegend(2, nullptr, kBoxHeight).Swatches.size(), 5u);
  const TLegend sst = BuildLegend(3, nullptr, kBoxHeight);
  EXPECT_TRUE(sst.Swatches.empty());
  EXPECT_TRUE(sst.Bar.empty());
  EXPECT_TRUE(sst.Labels.empty());
}

// The edge and type legend and the read-out go by the table the field's
// own palette was built from (chosen by its grid description), not by the
// file's date: a picture and its legend never disagree.
TEST(Legend, EdgeAndTypeLegendAndReadoutFollowTheFieldsTableNotItsDate)
{
  struct TCase {
    int Product;
    int Parameter;
    QDate Date;
    bool ExtendedGrid;
    std::size_t Rows;
    const char* CodeTenReads;
  } const cases[] = {
      // Dated after the 2005 table change but built without "Unclassified".
      {1, 220, QDate(2006, 3, 1), false, 4, "n/a"},
      {2, 221, QDate(2006, 3, 1), false, 5, "n/a"},
      // Dated before it but built with "Unclassified".
      {1, 220, QDate(2005, 2, 27), true, 5, "Unclassified"},
      {2, 221, QDate(2004, 6, 1), true, 6, "Unclassified"},
  };
  for (const TCase& c : cases) {
    TGribData data(BuildColourTable);
    LoadIceField(data, c.Parameter, c.ExtendedGrid, c.Date);
    const TLegend legend = BuildLegend(c.Product, data.Current, kBoxHeight);
    EXPECT_EQ(legend.Swatches.size(), c.Rows) << c.Parameter << " " << c.Date.toString().toStdString();
    EXPECT_EQ(ClassNameAt(*data.Current, 10).toStdString(), c.CodeTenReads) << c.Parameter;
    const bool paletteHasUnclassified = data.Current->Bitmap.Palette()[10] == TRgb{0, 0, 128};
    EXPECT_EQ(paletteHasUnclassified, c.ExtendedGrid);
  }
}

TEST(Legend, SstBarShowsEntriesOneTo253HighestAtTop)
{
  std::array<TRgb, 256> palette{};
  for (int i = 0; i < 256; ++i)
    palette[i] = {static_cast<std::uint8_t>(i), 0, 0};  // red byte = entry number
  const std::vector<TSstBarLine> bar = SstBar(palette, kBoxHeight);
  ASSERT_FALSE(bar.empty());
  EXPECT_EQ(bar.front().Y, 287);  // the bottom row (288) would show entry 0
  EXPECT_EQ(bar.front().Colour.r, 1);
  EXPECT_EQ(bar.back().Y, 3);  // rows 0..2 would show entries 254 and 255
  EXPECT_EQ(bar.back().Colour.r, 253);
  for (const TSstBarLine& line : bar) {
    EXPECT_GE(line.Colour.r, 1);
    EXPECT_LE(line.Colour.r, 253);
  }
  EXPECT_EQ(bar.size(), 285u);
}

TEST(Legend, SstTicksRoundHalvesToEven)
{
  // A scale 255 kelvin wide makes every label's entry t + 10.15, and a box
  // 128 rows high puts odd entries on half rows.
  const std::vector<TSstLabel> labels = SstLabels(263.0f, 518.0f, 128);
  const std::vector<std::pair<int, int>> expected = {{0, 122}, {5, 120}, {10, 118}, {15, 115},
                                                     {20, 112}, {25, 110}, {30, 108}};
  ASSERT_EQ(labels.size(), expected.size());
  for (std::size_t i = 0; i < labels.size(); ++i) {
    EXPECT_EQ(labels[i].Celsius, expected[i].first);
    EXPECT_EQ(labels[i].Y, expected[i].second) << labels[i].Celsius;
  }
  EXPECT_EQ(labels[3].Text.toStdString(), "15°C");
}

TEST(Legend, SstTicksOnTheWindowBox)
{
  // -2 to 33 degrees Celsius on the 289-row box.
  const std::vector<TSstLabel> labels = SstLabels(271.15f, 306.15f, kBoxHeight);
  const int rows[] = {271, 230, 190, 148, 107, 65, 25};
  ASSERT_EQ(labels.size(), 7u);
  for (std::size_t i = 0; i < labels.size(); ++i)
    EXPECT_EQ(labels[i].Y, rows[i]) << labels[i].Celsius;
  EXPECT_TRUE(SstLabels(280.0f, 280.0f, kBoxHeight).empty());
  EXPECT_TRUE(SstLabels(290.0f, 280.0f, kBoxHeight).empty());
  EXPECT_EQ(SstLabelTop(25, 13), 19);
  EXPECT_LT(SstLabelTop(5, 13), 0);
}

TEST(Legend, PaintsSwatchesBarAndTicks)
{
  TGribData data(BuildColourTable);
  LoadIceField(data, 220, true, QDate(2010, 1, 1));
  QImage image(129, kBoxHeight, QImage::Format_RGB32);
  image.fill(Qt::lightGray);
  {
    QPainter painter(&image);
    PaintLegend(painter, BuildLegend(1, data.Current, kBoxHeight));
  }
  EXPECT_EQ(image.pixel(12, 24 + 12), qRgb(0, 0, 128));  // "Unclassified", second row
  EXPECT_EQ(image.pixel(23, 4 * 24 + 23), qRgb(255, 255, 255));

  image.fill(Qt::lightGray);
  int y = 10;
  {
    QPainter painter(&image);
    DrawLegendItem(painter, TypeClasses()[4], y, 24);
  }
  EXPECT_EQ(y, 34);
  EXPECT_EQ(image.pixel(0, 10), qRgb(255, 0, 255));
  EXPECT_EQ(image.pixel(23, 33), qRgb(255, 0, 255));
  EXPECT_EQ(image.pixel(12, 34), QColor(Qt::lightGray).rgb());  // below the row: untouched

  TLegend sst;
  std::array<TRgb, 256> palette{};
  palette[100] = {10, 20, 30};
  sst.Bar = SstBar(palette, kBoxHeight);
  sst.Labels = SstLabels(271.15f, 306.15f, kBoxHeight);
  image.fill(Qt::lightGray);
  {
    QPainter painter(&image);
    PaintLegend(painter, sst);
  }
  const auto row = std::find_if(sst.Bar.begin(), sst.Bar.end(), [](const TSstBarLine& l) { return l.Colour.r == 10; });
  ASSERT_NE(row, sst.Bar.end());
  EXPECT_EQ(image.pixel(5, row->Y), qRgb(10, 20, 30));
  EXPECT_EQ(image.pixel(26, sst.Labels[2].Y), qRgb(0, 0, 0));
}

}  // namespace
