// The workflow on a tree of netCDF files: "Open latest" finds the newest
// concentration set and SST by their netCDF names and fills every tab, and
// an animation steps back through the days by those names.
#include "app/AppTestSupport.h"
#include "app/BatchTestSupport.h"
#include "app/workflow/Workflow.h"
#include "grib/GribData.h"
#include "support/SampleTree.h"

#include <QFileInfo>

namespace {

// Two netCDF days up to the sample tree's last.
QString NetCdfImagesPath()
{
  return BuiltSampleTree("netcdf-2-20261205", {"--days", "2", "--end", kSampleEnd, "--format", "netcdf"});
}

class NetCdfWorkflow : public ViewerSettingsTest {
protected:
  void SetUp() override
  {
    ViewerSettingsTest::SetUp();
    ASSERT_FALSE(NetCdfImagesPath().isEmpty()) << "the netCDF sample tree could not be made";
    settings = std::make_unique<TViewerSettings>();
    settings->OverrideImagesPath(NetCdfImagesPath());
    workflow = std::make_unique<TWorkflow>(*settings, messages);
  }
  void TearDown() override
  {
    workflow.reset();
    settings.reset();
    ViewerSettingsTest::TearDown();
  }
  QString Name(int product) const { return QFileInfo(workflow->FileName(product)).fileName(); }

  TScopedUtcClock clock{SampleMorning()};
  TCollectingMessageSink messages;
  std::unique_ptr<TViewerSettings> settings;
  std::unique_ptr<TWorkflow> workflow;
};

struct TLatestCase {
  const char* name;
  THemisphere hemisphere;
  const char* found;  // the hemisphere whose set the search must find
  bool sst;
};

const TLatestCase kLatestCases[] = {
  {"Either", THemisphere::Either, "sh", true},
  {"Northern", THemisphere::Northern, "nh", false},
  {"Southern", THemisphere::Southern, "sh", false},
};

class NetCdfLatest : public NetCdfWorkflow, public testing::WithParamInterface<TLatestCase> {};

TEST_P(NetCdfLatest, OpenLatestFindsTheNetCdfSetAndFillsItsTabs)
{
  const TLatestCase& c = GetParam();
  ASSERT_TRUE(workflow->OpenLatest(c.hemisphere)) << workflow->LastLoad().FirstError.toStdString();
  for (const auto& [product, kind] : {std::pair{prConcentration, "conc"}, {prEdge, "edge"}, {prType, "type"}}) {
    EXPECT_EQ(Name(product), QString("ice_%1_%2_polstere-100_multi_202612051200.nc").arg(kind, c.found));
  }
  EXPECT_EQ(workflow->LastLoad().Loaded, workflow->LastLoad().Tried) << workflow->LastLoad().FirstError.toStdString();
  for (const auto& [product, code] : {std::pair{prConcentration, 91}, {prEdge, 220}, {prType, 221}}) {
    ASSERT_NE(workflow->Data(product), nullptr);
    EXPECT_EQ(workflow->Data(product)->ParameterCode(), code);
  }
  if (c.sst) {
    ASSERT_NE(workflow->Data(prSst), nullptr);
    EXPECT_EQ(Name(prSst), "20261205120000-OSISAF-L4_GHRSST-SSTfnd-OSISAF_OI-GLO-v02.0-fv01.0.nc");
    EXPECT_EQ(workflow->SelectedTab(), prSst);
  } else {
    EXPECT_EQ(workflow->Data(prSst), nullptr);
  }
  EXPECT_GT(workflow->DisplayBitmap().Width(), 0);
  EXPECT_TRUE(messages.Messages.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Hemispheres, NetCdfLatest, testing::ValuesIn(kLatestCases),
                         [](const testing::TestParamInfo<TLatestCase>& info) { return std::string(info.param.name); });

TEST_F(NetCdfWorkflow, GzipSiblingsOfAnEarlierDayAreLoaded)
{
  const QString day4 = NetCdfImagesPath() + QDir::toNativeSeparators("SAF/2026/12/04/");
  ASSERT_TRUE(workflow->LoadProducts(day4 + "ice_edge_sh_polstere-100_multi_202612041200.nc.gz", kMaskAll))
    << workflow->LastLoad().FirstError.toStdString();
  EXPECT_EQ(Name(prConcentration), "ice_conc_sh_polstere-100_multi_202612041200.nc.gz");
  EXPECT_EQ(workflow->SelectedTab(), prConcentration);
}

}  // namespace
