// The headless workflow on the sample tree: finding the newest files,
// loading siblings of either naming and gzip files, the multi-message rule,
// bad input, rendering and the read-out against ecCodes and PROJ.
#include "app/BatchTestSupport.h"
#include "app/ReadOutReference.h"
#include "app/workflow/Batch.h"
#include "app/workflow/Workflow.h"
#include "grib/DataFile.h"
#include "grib/GribData.h"
#include "imaging/ColourTableBuild.h"
#include "overlays/CartogList.h"
#include "support/SampleTree.h"
#include "support/WorkflowFixture.h"


#include <algorithm>
#include <array>
#include <cmath>
#include <span>

namespace {

class Workflow : public WorkflowFixture {
protected:
  void SetUp() override
  {
    WorkflowFixture::SetUp();
    ASSERT_FALSE(SampleImagesPath().isEmpty()) << "the sample tree could not be made";
    settings->OverrideImagesPath(SampleImagesPath());
  }
  TScopedUtcClock clock{SampleMorning()};
};

const QString kDay5 = "202612051200Z";

TEST_F(Workflow, SiblingWithOnlyTheOlderNameIsFound)
{
  // On the second newest day the southern edge file has the older name.
  ASSERT_TRUE(workflow->LoadProducts(SampleDay(4) + "S-OSI_-NOR_-MULT-GL_SH_TYPE__-202612041200Z.grb", kMaskAll));
  EXPECT_EQ(Name(prEdge), "GL_SH_EDGE_20261204.grb");
  EXPECT_EQ(Name(prConcentration), "S-OSI_-NOR_-MULT-GL_SH_CONC__-202612041200Z.grb");
  EXPECT_EQ(QFileInfo(workflow->AnimationSource(prEdge)).fileName(), "GL_SH_EDGE_20261204.grb");
}

TEST_F(Workflow, MissingSiblingsLeaveTheirSlotsEmpty)
{
  ASSERT_TRUE(workflow->OpenLatest(THemisphere::Either));
  const QString conc = "S-OSI_-NOR_-MULT-GL_NH_CONC__-" + kDay5 + ".grb.gz";
  CopyInto(SampleDay(5) + conc, conc);
  EXPECT_FALSE(workflow->LoadProducts(Scratch(conc), kMaskAll));
  EXPECT_NE(workflow->Data(prConcentration), nullptr);
  EXPECT_EQ(workflow->Data(prEdge), nullptr);
  EXPECT_EQ(workflow->Data(prType), nullptr);
  EXPECT_NE(workflow->Data(prSst), nullptr);  // not asked for, so kept
  EXPECT_TRUE(messages.Messages.isEmpty());
  workflow->SelectTab(prEdge);
  workflow->Render();
  EXPECT_TRUE(workflow->DisplayBitmap().Empty());
  EXPECT_FALSE(workflow->ReadOutAt(10, 10).Data);
}

TEST_F(Workflow, SstFileWithoutTheSstBitLoadsNothing)
{
  EXPECT_TRUE(workflow->LoadProducts(SampleDay(5) + "S-OSI_-FRA_-MULT-MAPSST_FIELD-" + kDay5 + ".grb.gz",
                                     kMaskConcentration | kMaskEdge | kMaskType));
  EXPECT_EQ(workflow->Data(prSst), nullptr);
}

// Each refused file is named in the error with the cause's key word, and
// no product slot is filled.
TEST_F(Workflow, BadFilesFailWithAReasonAndKeepNothing)
{
  const QString sh = SampleDay(5) + "S-OSI_-NOR_-MULT-GL_SH_CONC__-" + kDay5 + ".grb";
  const QByteArray conc = ReadBytes(SampleDay(5) + "S-OSI_-NOR_-MULT-GL_NH_CONC__-" + kDay5 + ".grb.gz");
  const QByteArray plain = ReadBytes(sh);
  ASSERT_EQ(QProcess::execute("grib_set", {"-s", "indicatorOfParameter=2", sh, Scratch("pressure")}), 0);
  const struct {
    QString name;
    QByteArray bytes;
    const char* cause;
  } cases[] = {
    {"NH_CONC_text.grb", "This is not a GRIB file at all.\n", "GRIB"},
    {"NH_CONC_empty.grb", "", "empty"},
    {"S-OSI_-NOR_-MULT-GL_NH_CONC__-" + kDay5 + ".grb", "", "empty"},
    {"NH_CONC_cut.grb.gz", conc.left(conc.size() / 2), "end before"},
    {"NH_CONC_notgzip.grb.gz", "plain text with a .gz name", "Broken gzip"},
    {"NH_CONC_cutgrib.grb", plain.left(plain.size() / 3), "beyond"},
    {"SH_CONC_pressure.grb", ReadBytes(Scratch("pressure")), "parameter code 2"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(qPrintable(c.name));
    WriteBytes(c.name, c.bytes);
    EXPECT_FALSE(workflow->LoadProducts(Scratch(c.name), kMaskAll));
    const QString error = workflow->LastLoad().FirstError;
    EXPECT_TRUE(error.contains(c.name) && error.contains(c.cause)) << error.toStdString();
    for (int product = 0; product < kProductCount; ++product) {
      EXPECT_EQ(workflow->Data(product), nullptr);
    }
  }
}

// A multi-product file: the concentration field may come after others.
class MultiMessage : public Workflow {
protected:
  QByteArray Message(const char* product) const
  {
    return ReadBytes(SampleDay(5) + QString("S-OSI_-NOR_-MULT-GL_SH_%1__-").arg(product) + kDay5 + ".grb");
  }
  const QString name = "ice_conc_sh_polstere-100_multi_202612051200.grb";
};

// The concentration field is found behind two other messages but not
// behind three; a further message that is cut or fails, whatever way,
// leaves the product read from the first one as it was.
TEST_F(MultiMessage, ConcentrationIsSoughtInTwoFurtherMessagesAndDamageKeepsTheFirst)
{
  const QByteArray type = Message("TYPE");
  struct TCase {
    QString name;
    QByteArray bytes;
    int shown;  // the product the file fills
    bool damaged;
  };
  std::vector<TCase> cases = {
    {"behind two", Message("EDGE") + type + Message("CONC"), prConcentration, false},
    {"behind three", Message("EDGE") + type + Message("EDGE") + Message("CONC"), prEdge, false},
    {"cut second", Message("EDGE") + type.left(type.size() / 2), prEdge, true},
  };
  for (const char* file : {"g1-multi-then-cut.grb", "g1-multi-then-bits-33.grb", "g1-multi-then-lat-91.grb",
                           "g1-multi-then-table-99.grb"}) {
    cases.push_back({file, ReadBytes(QString(NORVANT_SOURCE_DIR "/tests/data/bad/") + file), prEdge, true});
  }
  for (const TCase& c : cases) {
    SCOPED_TRACE(qPrintable(c.name));
    TWorkflow fresh(*settings, messages);
    WriteBytes(name, c.bytes);
    ASSERT_TRUE(fresh.LoadGribFile(Scratch(name)));
    EXPECT_EQ(fresh.Data(prConcentration) != nullptr, c.shown == prConcentration);
    const TGribData* shown = fresh.Data(c.shown);
    ASSERT_NE(shown, nullptr);
    TGribData alone(BuildColourTable);
    alone.LowerPriority = false;
    ASSERT_TRUE(alone.LoadFromStream(std::span(reinterpret_cast<const std::uint8_t*>(c.bytes.constData()),
                                               static_cast<std::size_t>(c.bytes.size()))));
    EXPECT_EQ(c.shown == prEdge, shown->ReferenceTime == alone.ReferenceTime &&
                                     std::ranges::equal(shown->Bitmap().Pixels(), alone.Bitmap().Pixels()));
    EXPECT_EQ(shown->Log.join('\n').contains("Further message"), c.damaged) << shown->Log.join('\n').toStdString();
  }
}

// The next message is found from either side of the first one's end
// marker, and not from beyond the data or inside a message.
TEST_F(MultiMessage, NextMessageIsFoundFromEitherSideOfTheEndMarker)
{
  const QByteArray both = Message("EDGE") + Message("CONC");
  const std::span stream(reinterpret_cast<const std::uint8_t*>(both.constData()), static_cast<std::size_t>(both.size()));
  const std::size_t first = static_cast<std::size_t>(Message("EDGE").size());
  for (const auto& [offset, found] :
       {std::pair{first - 4, true}, {first, true}, {stream.size() + 100, false}, {10, false}}) {
    SCOPED_TRACE(offset);
    auto data = std::make_unique<TGribData>(BuildColourTable);
    ASSERT_TRUE(data->LoadFromStream(stream, false));
    std::size_t at = offset;
    ASSERT_EQ(ReadNextGribMessage(data, stream, at), found);
    EXPECT_EQ(data->ParameterCode(), found ? 91 : 220);
    EXPECT_FALSE(found && ReadNextGribMessage(data, stream, at));
  }
}

TEST_F(Workflow, ZoomDoublesEveryGridPointAndReadsOutTheOneUnderTheCursor)
{
  ASSERT_TRUE(workflow->OpenLatest(THemisphere::Southern));
  const TExtBitmap& product = workflow->Data(prConcentration)->Bitmap();
  TDisplayOptions options = workflow->DisplayOptions();
  options.Zoomed = true;
  workflow->SetDisplayOptions(options);
  workflow->Render();
  const TExtBitmap& shown = workflow->DisplayBitmap();
  ASSERT_EQ(shown.Width(), 2 * product.Width());
  ASSERT_EQ(shown.Height(), 2 * product.Height());
  // Above the data-time stamp in the bottom-left corner.
  for (int y = 0; y < product.Height() - 40; y += 7) {
    for (int x = 0; x < product.Width(); x += 5) {
      const std::uint8_t code = product.ScanLine(y)[x];
      ASSERT_EQ(shown.ScanLine(2 * y)[2 * x], code);
      ASSERT_EQ(shown.ScanLine(2 * y + 1)[2 * x + 1], code);
    }
  }
  // The read-out reads the grid point under the cursor, and nothing off the picture.
  const TReadOut atZoomed = workflow->ReadOutAt(201, 99);
  options.Zoomed = false;
  workflow->SetDisplayOptions(options);
  workflow->Render();
  const TReadOut atGrid = workflow->ReadOutAt(100, 49);
  ASSERT_TRUE(atZoomed.Data && atGrid.Data);
  EXPECT_EQ(*atZoomed.Data, *atGrid.Data);
  EXPECT_FALSE(workflow->ReadOutAt(product.Width(), 0).Data);
  EXPECT_FALSE(workflow->ReadOutAt(-1, 5).Data);
}

// With "Zoom" on, an SST field of parameter 11 is doubled by blending its
// colour indices. Land and gaps (the missing index) take no part: blending
// with them painted a line of cold blue and violet, a temperature the data
// do not hold, along every coast. Every doubled pixel must lie within the
// range of the present grid points around the one it comes from, and a
// doubled pixel is a hole exactly where its grid point is one.
TEST_F(Workflow, ZoomedSstOfParameter11HasNoFringeAlongCoastsAndGaps)
{
  const QString file = Grib1SstSampleFile();
  ASSERT_FALSE(file.isEmpty()) << "the GRIB 1 SST sample could not be made";
  ASSERT_TRUE(workflow->LoadProducts(file, kMaskAll)) << workflow->LastError().toStdString();
  const TGribData* data = workflow->Data(prSst);
  ASSERT_NE(data, nullptr);
  ASSERT_EQ(data->ParameterCode(), 11);
  const TExtBitmap& product = data->Bitmap();
  const std::uint8_t hole = data->Current->MissingIndex;
  const auto holes = std::count(product.Pixels().begin(), product.Pixels().end(), hole);
  ASSERT_GT(holes, product.Width() * product.Height() / 5) << "the sample has land";

  TDisplayOptions options = workflow->DisplayOptions();
  options.Zoomed = true;
  workflow->SetDisplayOptions(options);
  workflow->Render();
  const TExtBitmap& shown = workflow->DisplayBitmap();
  ASSERT_EQ(shown.Width(), 2 * product.Width());
  ASSERT_EQ(shown.Height(), 2 * product.Height());
  int faults = 0, blended = 0;
  // Above the data-time stamp in the bottom-left corner.
  for (int y = 0; y < shown.Height() - 40; ++y) {
    for (int x = 0; x < shown.Width(); ++x) {
      const int gx = x / 2, gy = y / 2;
      const std::uint8_t got = shown.ScanLine(y)[x];
      const std::uint8_t own = product.ScanLine(gy)[gx];
      int low = 256, high = -1;
      for (int j = std::max(0, gy - 1); j <= std::min(product.Height() - 1, gy + 1); ++j) {
        for (int i = std::max(0, gx - 1); i <= std::min(product.Width() - 1, gx + 1); ++i) {
          if (const std::uint8_t v = product.ScanLine(j)[i]; v != hole) {
            low = std::min<int>(low, v);
            high = std::max<int>(high, v);
          }
        }
      }
      const bool ok = own == hole ? got == hole : got != hole && got >= low && got <= high;
      if (!ok && faults++ == 0) {
        ADD_FAILURE() << "first: pixel " << x << "," << y << " is " << int(got) << "; its grid point " << int(own)
                      << " has present neighbours " << low << ".." << high;
      }
      blended += got != own;
    }
  }
  EXPECT_EQ(faults, 0);
  // The doubling still smooths between present values.
  EXPECT_GT(blended, shown.Width() * shown.Height() / 100);
}

// Two voyages as a GPX file written on one line with a namespace prefix,
// the layout a line-by-line reader found no track in: Tromsø to
// Longyearbyen, and the Northern Sea Route from the Barents Sea through the
// Vilkitsky Strait and across 180° to the Bering Strait.
QByteArray VoyagesGpx()
{
  const std::vector<std::vector<std::array<double, 2>>> legs = {
    {{69.65, 18.96}, {71.5, 19.0}, {74.2, 18.0}, {76.4, 14.8}, {78.1, 13.6}, {78.23, 15.6}},
    {{69.6, 34.0}, {70.6, 49.0}, {70.5, 57.8}, {72.4, 65.0}, {74.3, 75.0}, {76.6, 88.0}, {77.8, 104.0},
     {76.7, 118.0}, {75.6, 132.0}, {74.6, 139.0}, {72.3, 160.0}, {70.6, 170.0}, {69.6, 178.0},
     {68.4, -172.0}, {65.9, -169.0}},
  };
  QByteArray gpx = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><gpx:gpx xmlns:gpx=\"http://www.topografix.com/GPX/1/1\" "
                   "version=\"1.1\" creator=\"Norvant tests\"><gpx:trk><gpx:name>Two voyages</gpx:name>";
  for (const auto& leg : legs) {
    gpx += "<gpx:trkseg>";
    for (std::size_t i = 0; i + 1 < leg.size(); ++i) {
      const auto [lat0, lon0] = leg[i];
      const auto [lat1, lon1] = leg[i + 1];
      const double span = std::remainder(lon1 - lon0, 360.0);
      const int steps = static_cast<int>(std::ceil(std::max(std::abs(lat1 - lat0), std::abs(span)) / 0.1));
      for (int k = 0; k < steps + (i + 2 == leg.size()); ++k) {
        const double t = static_cast<double>(k) / steps;
        gpx += QString("<gpx:trkpt lon=\"%1\" lat=\"%2\"/>")
                 .arg(std::remainder(lon0 + t * span, 360.0), 0, 'f', 4)
                 .arg(lat0 + t * (lat1 - lat0), 0, 'f', 4)
                 .toUtf8();
      }
    }
    gpx += "</gpx:trkseg>";
  }
  return gpx + "</gpx:trk></gpx:gpx>";
}

// The picture the unattended mode's batch loop writes of what `shown`
// displays (read back by libpng), copied to build/screenshots/ as `shot`.
std::optional<TRgbPicture> BatchLoopPicture(TWorkflow& shown, const QString& folder, const QString& picture,
                                            const QString& shot)
{
  const TBatchCommand command = ParseBatchCommand({"x", "-SAVE:" + folder});
  EXPECT_TRUE(QDir().mkpath(folder) && QDir().mkpath(NORVANT_BINARY_DIR "/screenshots"));
  const TBatchOutcome outcome = RunBatchLoop(shown, command, TSaveOverlays{false, true, true}, nullptr);
  EXPECT_TRUE(outcome.Succeeded()) << outcome.Failures.join("; ").toStdString();
  const QString copy = QString(NORVANT_BINARY_DIR "/screenshots/") + shot;
  QFile::remove(copy);
  EXPECT_TRUE(QFile::copy(folder + "/" + picture, copy));
  return ReadPngWithLibpng(folder + "/" + picture);
}

// The README's pictures: the doubled global SST of parameter 11 (grid on,
// boundaries off so that the coasts themselves show), and the northern
// concentration picture with the coastlines and two voyages read from GPX
// (grid off, as it is drawn in the tracks' silver too).
TEST_F(Workflow, BatchLoopWritesTheZoomedSstAndTracksOverTheNorthernPicture)
{
  ASSERT_FALSE(Grib1SstSampleFile().isEmpty());
  TDisplayOptions options;
  options.Zoomed = true;
  options.ShowBoundaries = false;
  workflow->SetDisplayOptions(options);
  ASSERT_TRUE(workflow->LoadProducts(Grib1SstSampleFile(), kMaskAll));
  const auto sst = BatchLoopPicture(*workflow, Scratch("sst"), "sst.png", "screenshot-sst-zoomed.png");
  EXPECT_EQ(sst, RgbOf(workflow->DisplayBitmap()));

  TWorkflow north(*settings, messages);
  options = {};
  options.ShowGrid = false;
  north.SetDisplayOptions(options);
  TCartogList& overlay = north.Boundaries();
  ASSERT_TRUE(overlay.LoadFromFile(NORVANT_BINARY_DIR "/Countries.dat")) << overlay.LastError();
  ASSERT_TRUE(north.LoadProducts(SampleDay(5) + "S-OSI_-NOR_-MULT-GL_NH_CONC__-" + kDay5 + ".grb.gz", kMaskConcentration));
  const TRgbPicture withoutTracks = RgbOf(north.DisplayBitmap());
  const int coastlines = overlay.Count();
  WriteBytes("voyages.gpx", VoyagesGpx());
  ASSERT_TRUE(overlay.LoadFromFile(Scratch("voyages.gpx").toStdString())) << overlay.LastError();
  ASSERT_EQ(overlay.Count(), coastlines + 2);
  const auto tracks = BatchLoopPicture(north, Scratch("north"), "conc.png", "screenshot-gpx-north.png");
  ASSERT_TRUE(tracks);
  ASSERT_EQ(tracks->Pixels.size(), withoutTracks.Pixels.size());
  int changed = 0;
  for (std::size_t i = 0; i < withoutTracks.Pixels.size(); ++i) {
    changed += !(tracks->Pixels[i] == withoutTracks.Pixels[i]);
  }
  // Both voyages together run some 900 pixels over the 10 km grid.
  EXPECT_GT(changed, 600);
}

// The 760 x 1120 northern gzip file, read out on its pole hole, centre and
// far corners: the position behind the read-out is the one PROJ gives for
// the pixel on the Hughes ellipsoid the file states, to a hundredth of a
// degree, and where the field has no value it says "No data".
TEST_F(Workflow, NorthernReadOutIsWherePROJPutsThePixelAndSaysNoDataOnTheHole)
{
  const QString packed = SampleDay(5) + "S-OSI_-NOR_-MULT-GL_NH_CONC__-" + kDay5 + ".grb.gz";
  ASSERT_EQ(QProcess::execute("sh", {"-c", QString("gzip -dc '%1' > '%2'").arg(packed, Scratch("NH.grb"))}), 0);
  ASSERT_TRUE(workflow->LoadProducts(packed, kMaskConcentration));
  const TReadOutReference reference(Scratch("NH.grb"));
  int px = 0, py = 0;
  ASSERT_TRUE(reference.FindMissingPixel(px, py)) << "the northern sample has a pole hole";
  EXPECT_EQ(*workflow->ReadOutAt(px, py).Data, "No data");
  for (const auto& [x, y] : {std::pair{px, py}, std::pair{380, 560}, std::pair{0, 0}, std::pair{759, 0},
                             std::pair{0, 1119}, std::pair{759, 1119}}) {
    SCOPED_TRACE(testing::Message() << "pixel " << x << "," << y);
    float lon = 0, lat = 0;
    ASSERT_TRUE(workflow->DisplayMapping().PixelToLatLon(x, y, lon, lat));
    const TGeoPoint expected = reference.PixelPosition(x, y);
    EXPECT_NEAR(lat, expected.lat, 0.01);
    EXPECT_NEAR(std::remainder(lon - expected.lon, 360.0), 0.0, 0.01);
    const TReadOut readOut = workflow->ReadOutAt(x, y);
    ASSERT_TRUE(readOut.Data);
    reference.Check(x, y, readOut.Location, *readOut.Data);
  }
}

}  // namespace
