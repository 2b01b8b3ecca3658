// The workflow on a tree of netCDF files: "Open latest" finds the newest
// concentration set and SST by their netCDF names and fills every tab, and
// an animation steps back through the days by those names.
#include "app/AppTestSupport.h"
#include "app/workflow/Workflow.h"
#include "grib/GribData.h"
#include "support/SampleTree.h"

#include <QFileInfo>

namespace {

QString NetCdfImagesPath()
{
  static std::unique_ptr<QTemporaryDir> folder;
  static QString path;
  if (!folder) {
    folder = std::make_unique<QTemporaryDir>();
    QProcess tool;
    tool.setStandardOutputFile(QProcess::nullDevice());
    tool.start("/usr/bin/python3", {QString(NORVANT_SOURCE_DIR) + "/tools/make_sample_tree.py", folder->path(),
                                    "--days", "2", "--end", kSampleEnd, "--format", "netcdf"});
    if (tool.waitForFinished(300000) && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0)
      path = QDir::toNativeSeparators(folder->path() + "/");
  }
  return path;
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
  const char* concentration;  // the name the search must find
  const char* edge;
  const char* type;
  bool sst;
};

const TLatestCase kLatestCases[] = {
  {"Either", THemisphere::Either, "ice_conc_sh_polstere-100_multi_202612051200.nc",
   "ice_edge_sh_polstere-100_multi_202612051200.nc", "ice_type_sh_polstere-100_multi_202612051200.nc", true},
  {"Northern", THemisphere::Northern, "ice_conc_nh_polstere-100_multi_202612051200.nc",
   "ice_edge_nh_polstere-100_multi_202612051200.nc", "ice_type_nh_polstere-100_multi_202612051200.nc", false},
  {"Southern", THemisphere::Southern, "ice_conc_sh_polstere-100_multi_202612051200.nc",
   "ice_edge_sh_polstere-100_multi_202612051200.nc", "ice_type_sh_polstere-100_multi_202612051200.nc", false},
};

class NetCdfLatest : public NetCdfWorkflow, public testing::WithParamInterface<TLatestCase> {};

TEST_P(NetCdfLatest, OpenLatestFindsTheNetCdfSetAndFillsItsTabs)
{
  const TLatestCase& c = GetParam();
  ASSERT_TRUE(workflow->OpenLatest(c.hemisphere)) << workflow->LastLoad().FirstError.toStdString();
  EXPECT_EQ(Name(prConcentration), c.concentration);
  EXPECT_EQ(Name(prEdge), c.edge);
  EXPECT_EQ(Name(prType), c.type);
  EXPECT_EQ(workflow->LastLoad().Loaded, workflow->LastLoad().Tried) << workflow->LastLoad().FirstError.toStdString();
  ASSERT_NE(workflow->Data(prConcentration), nullptr);
  EXPECT_EQ(workflow->Data(prConcentration)->ParameterCode(), 91);
  ASSERT_NE(workflow->Data(prEdge), nullptr);
  EXPECT_EQ(workflow->Data(prEdge)->ParameterCode(), 220);
  ASSERT_NE(workflow->Data(prType), nullptr);
  EXPECT_EQ(workflow->Data(prType)->ParameterCode(), 221);
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
