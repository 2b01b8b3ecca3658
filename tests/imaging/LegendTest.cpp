// The legend must show the same classes and colours as the picture beside
// it, and the SST bar and degree ticks must sit where the scale puts them.
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include "Edition1Field.h"
#include "imaging/ColourTable.h"
#include "imaging/Legend.h"
#include "imaging/ValueReadout.h"

namespace {

constexpr int kBoxHeight = 289;

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
    LoadEdition1(data, c.Parameter, c.ExtendedGrid, c.Date);
    const TLegend legend = BuildLegend(c.Product, data.Current, kBoxHeight);
    EXPECT_EQ(legend.Swatches.size(), c.Rows) << c.Parameter << " " << c.Date.toString().toStdString();
    EXPECT_EQ(ClassNameAt(*data.Current, 10).toStdString(), c.CodeTenReads) << c.Parameter;
    EXPECT_EQ(data.Current->Bitmap.Palette()[10] == (TRgb{0, 0, 128}), c.ExtendedGrid) << "Unclassified in the palette";
  }
}

TEST(Legend, PaintsSwatchesBarAndTicks)
{
  TGribData data(BuildColourTable);
  LoadEdition1(data, 220, true, QDate(2010, 1, 1));
  QImage image(129, kBoxHeight, QImage::Format_RGB32);
  image.fill(Qt::lightGray);
  {
    QPainter painter(&image);
    PaintLegend(painter, BuildLegend(1, data.Current, kBoxHeight));
  }
  EXPECT_EQ(image.pixel(12, 24 + 12), qRgb(0, 0, 128));  // "Unclassified", second row
  EXPECT_EQ(image.pixel(23, 4 * 24 + 23), qRgb(255, 255, 255));

  // The bar shows entries 1 to 253 (red byte = entry), the highest at the
  // top; entry 0 and the overlay entries never.
  TLegend sst;
  std::array<TRgb, 256> palette{};
  for (int i = 0; i < 256; ++i)
    palette[i] = {static_cast<std::uint8_t>(i), 20, 30};
  sst.Bar = SstBar(palette, kBoxHeight);
  sst.Labels = SstLabels(271.15f, 306.15f, kBoxHeight);
  ASSERT_EQ(sst.Bar.size(), 285u);
  EXPECT_EQ(sst.Bar.front().Colour.r, 1);
  EXPECT_EQ(sst.Bar.back().Colour.r, 253);
  EXPECT_GT(sst.Bar.front().Y, sst.Bar.back().Y);
  image.fill(Qt::lightGray);
  {
    QPainter painter(&image);
    PaintLegend(painter, sst);
  }
  const auto row = std::find_if(sst.Bar.begin(), sst.Bar.end(), [](const TSstBarLine& l) { return l.Colour.r == 100; });
  ASSERT_NE(row, sst.Bar.end());
  EXPECT_EQ(image.pixel(5, row->Y), qRgb(100, 20, 30));
  EXPECT_EQ(image.pixel(26, sst.Labels[2].Y), qRgb(0, 0, 0));
}

}  // namespace
