// netCDF data through the whole program: the batch run on a netCDF tree
// with a day left out writes the pictures and animations the display shows
// (read back by libpng and giflib), "Open latest" and paging through its
// days find the files by their netCDF names, skip the gap and stop at the
// ends, and the read-out over a
// concentration picture says what netCDF4-python and pyproj say of the file
// (tests/tools/netcdf_reference.py).
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <cstring>

#include "app/GapTreeFixture.h"
#include "app/ReadOutReference.h"
#include "app/workflow/Animation.h"
#include "app/workflow/DayPaging.h"
#include "app/workflow/Saving.h"
#include "grib/GribData.h"

namespace {

const QString kNetCdf = "netcdf";

// The one file of a day matching `pattern`; empty when there is not one.
QString DayFile(const QDate& day, const QString& pattern)
{
  const QDir folder(GapTreeImagesPath(kNetCdf) + "SAF/" + day.toString("yyyy/MM/dd"));
  const QStringList found = folder.entryList({pattern}, QDir::Files);
  return found.size() == 1 ? folder.filePath(found.front()) : QString();
}

// The batch shows the southern sea-ice set, which equal dates favour, and the SST.
const char* const kBatchPatterns[] = {"ice_conc_sh_*", "ice_edge_sh_*", "ice_type_sh_*", "*GHRSST-SST*"};

class NetCdfEndToEnd : public GapTreeWorkflowTest {
protected:
  NetCdfEndToEnd() : GapTreeWorkflowTest(kNetCdf) {}
};

TEST_F(NetCdfEndToEnd, LatestWritesFourPicturesAndAnimationsOfTheDaysPresent)
{
  const TRun run = RunUnattended(config_.path(), images_, {"-LATEST", "-SAVE:" + out_.path(), "-ANIM"});
  ASSERT_EQ(run.ExitCode, 0) << qPrintable(run.Err);
  EXPECT_EQ(QDir(out_.path()).entryList(QDir::Files, QDir::Name),
            (QStringList{"SST-anim.gif", "conc.png", "edge.png", "sea-ice-conc-anim.gif", "sea-ice-edge-anim.gif",
                         "sea-ice-type-anim.gif", "sst.png", "type.png"}));
  for (int product = 0; product < 4; ++product) {
    SCOPED_TRACE(kBatchPatterns[product]);
    const auto fileOfDay = [product](const QDate& day) { return DayFile(day, kBatchPatterns[product]); };
    EXPECT_EQ(FramesOf(out_.filePath(DefaultPictureName(product, false))),
              std::vector{Displayed(product, fileOfDay(GapTreeEnd()))});
    EXPECT_TRUE(FramesOf(out_.filePath(AnimationFileName(product))) == DisplayedFrames(product, fileOfDay));
  }
}

// "Open latest" finds the newest set of the asked hemisphere by its netCDF
// names, and the SST only when either hemisphere will do.
TEST_F(NetCdfEndToEnd, OpenLatestFindsTheSetOfTheHemisphereByItsNetCdfNames)
{
  settings_->OverrideImagesPath(images_);
  const QString stamp = GapTreeEnd().toString("yyyyMMdd") + "1200";
  for (const auto& [hemisphere, found, sst] : {std::tuple{THemisphere::Either, "sh", true},
                                               {THemisphere::Northern, "nh", false},
                                               {THemisphere::Southern, "sh", false}}) {
    SCOPED_TRACE(testing::Message() << found << (sst ? " and SST" : ""));
    TWorkflow fresh(*settings_, messages_);
    ASSERT_TRUE(fresh.OpenLatest(hemisphere)) << fresh.LastLoad().FirstError.toStdString();
    for (const auto& [product, kind] : {std::pair{prConcentration, "conc"}, {prEdge, "edge"}, {prType, "type"}}) {
      ASSERT_NE(fresh.Data(product), nullptr);
      EXPECT_EQ(QFileInfo(fresh.FileName(product)).fileName(),
                QString("ice_%1_%2_polstere-100_multi_%3.nc").arg(kind, found, stamp));
    }
    EXPECT_EQ(fresh.Data(prSst) != nullptr, sst);
  }
}

// From the newest day back and from the oldest on, by each kind of name:
// northern netCDF-4, southern classic (gzip-compressed on one day) and SST.
// Every product loaded goes along; the tab shown stays.
TEST_F(NetCdfEndToEnd, PagingVisitsTheDaysPresentByTheirNetCdfNames)
{
  const QDate newest = GapTreeEnd(), oldest = newest.addDays(1 - kGapTreeDays);
  for (const char* pattern : {"ice_conc_nh_polstere-*", "ice_edge_sh_polstere-*", "*GHRSST-SST*"})
    for (const auto& [start, step, end] : {std::tuple{newest, -1, oldest}, std::tuple{oldest, +1, newest}}) {
      SCOPED_TRACE(testing::Message() << pattern << " from " << qPrintable(start.toString()) << " by " << step);
      TWorkflow fresh(*settings_, messages_);
      ASSERT_TRUE(fresh.LoadProducts(DayFile(start, pattern), kMaskAll));
      const int tab = fresh.SelectedTab();
      std::vector<QDate> visited;
      while (const std::optional<QDate> day = StepDay(fresh, step)) {
        visited.push_back(*day);
        ASSERT_EQ(fresh.SelectedTab(), tab);
        for (int product = 0; product < kProductCount; ++product) {
          if (const TGribData* data = fresh.Data(product)) {
            EXPECT_EQ(data->ReferenceTime.toUTC().date(), *day) << product;
          }
        }
        EXPECT_TRUE(fresh.DisplayedFileName().contains(day->toString("yyyyMMdd")));
      }
      // The day left out lies between the newest and the one before it.
      EXPECT_EQ(visited, (std::vector<QDate>{newest.addDays(-2), end}));
    }
}

// netcdf_reference.py's view of one file: values in picture order (NaN for
// none) and the position of every 16th pixel centre.
struct TNetCdfReference {
  int width = 0;
  std::vector<float> values;
  std::vector<double> positions;  // column, row, latitude, longitude
};

template <class T>
std::vector<T> ReadArray(const QString& path)
{
  QFile file(path);
  const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  std::vector<T> values(static_cast<std::size_t>(bytes.size()) / sizeof(T));
  std::memcpy(values.data(), bytes.constData(), values.size() * sizeof(T));
  return values;
}

TNetCdfReference ReferenceOf(const QString& file)
{
  QTemporaryDir out;
  QProcess tool;
  tool.setProcessChannelMode(QProcess::MergedChannels);
  tool.start("/usr/bin/python3", {NORVANT_SOURCE_DIR "/tests/tools/netcdf_reference.py", out.path(), file});
  if (!tool.waitForFinished(120000) || tool.exitCode() != 0) {
    ADD_FAILURE() << "netcdf_reference.py: " << tool.readAll().toStdString();
    return {};
  }
  QFile manifest(out.filePath("manifest.json"));
  manifest.open(QIODevice::ReadOnly);
  const QString name = QFileInfo(file).fileName();
  const QJsonObject entry = QJsonDocument::fromJson(manifest.readAll()).object()[name].toObject();
  return {entry["width"].toInt(), ReadArray<float>(out.filePath(name + ".values")),
          ReadArray<double>(out.filePath(name + ".positions"))};
}

class NetCdfReadOut : public NetCdfEndToEnd, public testing::WithParamInterface<const char*> {};

TEST_P(NetCdfReadOut, ShowsWhereProjPutsThePixelAndTheFilesValue)
{
  const QString file = DayFile(GapTreeEnd(), GetParam());
  ASSERT_TRUE(workflow_->LoadProducts(file, ProductMask(prConcentration))) << qPrintable(file);
  const TNetCdfReference reference = ReferenceOf(file);
  ASSERT_GT(reference.width, 0);
  const std::size_t points = reference.positions.size() / 4;
  ASSERT_GT(points, 20u);
  for (std::size_t i = 0; i < points; i += points / 20) {
    const double* p = &reference.positions[4 * i];
    const int px = static_cast<int>(p[0]), py = static_cast<int>(p[1]);
    SCOPED_TRACE(testing::Message() << "pixel " << px << "," << py);
    const TReadOut readOut = workflow_->ReadOutAt(px, py);
    ExpectLocationNear(readOut.Location, p[2], p[3]);
    ASSERT_TRUE(readOut.Data);
    EXPECT_EQ(*readOut.Data,
              ConcentrationReadOutText(reference.values[static_cast<std::size_t>(py * reference.width + px)]));
  }
  // Every sample file has lakes or a pole hole.
  const auto hole = std::find_if(reference.values.begin(), reference.values.end(), [](float v) { return std::isnan(v); });
  ASSERT_NE(hole, reference.values.end());
  const auto k = static_cast<int>(hole - reference.values.begin());
  EXPECT_EQ(workflow_->ReadOutAt(k % reference.width, k / reference.width).Data, QString("No data"));
}

INSTANTIATE_TEST_SUITE_P(Files, NetCdfReadOut,
                         testing::Values("ice_conc_nh_polstere-*", "ice_conc_sh_polstere-*", "ice_conc_nh_ease2-*"),
                         [](const testing::TestParamInfo<const char*>& info) {
                           return std::string(info.index == 0 ? "North" : info.index == 1 ? "South" : "Ease2");
                         });

}  // namespace
