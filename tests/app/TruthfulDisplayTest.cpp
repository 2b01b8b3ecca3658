// What the picture and the read-out say on the sample tree: the hottest
// water keeps off the overlay colours (in the picture, the display and the
// legend), the SST read-out, and the labels of a rendered SST picture keep
// off its stamp.
#include "grib/GribData.h"
#include "support/SampleTree.h"
#include "support/WorkflowFixture.h"

namespace {

constexpr int kFirstOverlayEntry = 253;
constexpr double kHotKelvin = 273.15 + 29.0;
const QString kDay5 = "202612051200Z";

class TruthfulDisplay : public WorkflowFixture {
protected:
  void SetUp() override
  {
    WorkflowFixture::SetUp();
    ASSERT_FALSE(SampleImagesPath().isEmpty()) << "the sample tree could not be made";
    settings->OverrideImagesPath(SampleImagesPath());
  }
  void ShowGrid(bool grid)
  {
    TDisplayOptions options;
    options.ShowGrid = grid;
    options.ShowBoundaries = false;
    workflow->SetDisplayOptions(options);
  }
  TScopedUtcClock clock{SampleMorning()};
};

TEST_F(TruthfulDisplay, HotWaterKeepsOffTheOverlayEntriesInPictureDisplayAndLegend)
{
  ShowGrid(false);
  ASSERT_TRUE(workflow->LoadProducts(SampleDay(5) + "S-OSI_-FRA_-MULT-MAPSST_FIELD-" + kDay5 + ".grb.gz", kMaskSst));
  const TGribData& sst = *workflow->Data(prSst);
  const TDataStuff& field = *sst.Current;
  ASSERT_GE(field.MaxValue, kHotKelvin) << "the sample needs water of 29 °C or more";

  const TExtBitmap& picture = sst.Bitmap();
  // The whole scale is used, up to its last entry below the overlay ones,
  // which reads the maximum.
  EXPECT_EQ(*std::ranges::max_element(picture.Pixels()), 252);
  EXPECT_NEAR(field.IndexValues[252], field.MaxValue, 0.01);
  EXPECT_NEAR(field.IndexValues[1], field.MinValue, 0.01);
  // Nor does the display paint entries 253..255 where the field has a value.
  const auto shown = workflow->DisplayBitmap().Pixels();
  for (std::size_t k = 0; k < shown.size(); ++k) {
    ASSERT_FALSE(picture.Pixels()[k] != field.MissingIndex && shown[k] >= kFirstOverlayEntry) << "pixel " << k;
  }

  // The bar shows the entries the data use.
  const TLegend legend = workflow->Legend(prSst, 289);
  ASSERT_FALSE(legend.Bar.empty());
  const std::array<TRgb, 256>& palette = picture.Palette();
  for (const TSstBarLine& line : legend.Bar) {
    EXPECT_FALSE(line.Colour == palette[253] || line.Colour == palette[254] || line.Colour == palette[255]);
  }
  EXPECT_EQ(legend.Bar.back().Colour, palette[252]);
}

TEST_F(TruthfulDisplay, SstAtTheFieldMinimumReadsItsTemperature)
{
  ShowGrid(false);
  ASSERT_TRUE(workflow->LoadProducts(SampleDay(5) + "S-OSI_-FRA_-MULT-MAPSST_FIELD-" + kDay5 + ".grb.gz", kMaskSst));
  const TDataStuff& field = *workflow->Data(prSst)->Current;
  const TExtBitmap& picture = field.Bitmap;
  bool coldest = false, hole = false;
  for (int y = 0; y < picture.Height() && !(coldest && hole); ++y) {
    for (int x = 0; x < picture.Width(); ++x) {
      const std::uint8_t index = picture.ScanLine(y)[x];
      if (!coldest && index == 1) {
        coldest = true;
        EXPECT_EQ(workflow->ReadOutAt(x, y).Data->toStdString(),
                  QString::number(field.MinValue - 273.15, 'f', 1).toStdString() + "°C");
      }
      if (!hole && index == field.MissingIndex) {
        hole = true;
        EXPECT_EQ(workflow->ReadOutAt(x, y).Data->toStdString(), "No data");
      }
    }
  }
  EXPECT_TRUE(coldest && hole);
}

// The data-time stamp is kept clear of the grid labels of the picture.
TEST_F(TruthfulDisplay, RenderedSstLabelsKeepOffTheStamp)
{
  ShowGrid(true);
  ASSERT_TRUE(workflow->LoadProducts(SampleDay(5) + "S-OSI_-FRA_-MULT-MAPSST_FIELD-" + kDay5 + ".grb.gz", kMaskSst));
  TExtBitmap picture;
  picture.Assign(workflow->Data(prSst)->Bitmap());
  std::vector<TRect> labels;
  const TGraticuleStyle style = workflow->GraticuleStyle(picture, workflow->Data(prSst), &labels);
  ASSERT_EQ(style.keepClear.size(), 1u);
  DrawGraticuleOnBitmap(&picture, workflow->DisplayMapping(), style);
  EXPECT_GE(labels.size(), 8u);
  for (const TRect& label : labels) {
    EXPECT_FALSE(RectsIntersect(label, style.keepClear.front()));
  }
}

}  // namespace
