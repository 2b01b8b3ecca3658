// The real program run unattended on a generated data tree: the pictures
// and animations it writes, read back by pngcheck, libpng and giflib, and
// compared pixel for pixel with what the display renders for each day.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "app/AppTestSupport.h"
#include "app/BatchTestSupport.h"
#include "app/workflow/Animation.h"
#include "app/workflow/MessageSink.h"
#include "app/workflow/Saving.h"
#include "app/workflow/ViewerSettings.h"
#include "app/workflow/Workflow.h"
#include "overlays/CartogList.h"

namespace {

constexpr int kFrameMsec = 250;
constexpr int kRunTimeoutMsec = 240000;

struct TRun {
  int ExitCode = -1;
  bool Finished = false;
  QString Out;
  QString Err;
};

class BatchEndToEnd : public ViewerSettingsTest {
protected:
  void SetUp() override
  {
    ViewerSettingsTest::SetUp();
    settings_ = std::make_unique<TViewerSettings>();
    ASSERT_TRUE(config_.isValid() && out_.isValid());
    images_ = GapTreeImagesPath();
    ASSERT_FALSE(images_.isEmpty()) << "the sample tree could not be made";
  }

  // The program's own settings for the run, in the folder the child reads.
  void TearDown() override
  {
    settings_.reset();
    ViewerSettingsTest::TearDown();
  }

  void PlantSetting(const QString& name, const QVariant& value)
  {
    QSettings settings(config_.path() + "/Ostrand/norvant.conf", QSettings::IniFormat);
    settings.setValue(name, value);
    settings.sync();
  }

  // Runs norvant with no display, so it must find the offscreen platform by
  // itself; `shell` wraps the run in a shell command (limits).
  TRun Run(const QStringList& arguments, const QString& shellPrefix = {})
  {
    PlantSetting("AnimationFrames", kGapTreeDays);
    PlantSetting("AnimationFrameMsec", kFrameMsec);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
      environment.remove(name);
    }
    environment.insert("XDG_CONFIG_HOME", config_.path());
    QProcess program;
    program.setProcessEnvironment(environment);
    const QString binary = QString(NORVANT_BINARY_DIR) + "/norvant";
    const QStringList full = QStringList{"--images-path", images_} + arguments;
    if (shellPrefix.isEmpty()) {
      program.start(binary, full);
    } else {
      program.start("/bin/bash", QStringList{"-c", shellPrefix + " exec \"$0\" \"$@\"", binary} + full);
    }
    TRun run;
    run.Finished = program.waitForFinished(kRunTimeoutMsec);
    if (!run.Finished) {
      program.kill();
      program.waitForFinished();
    }
    run.ExitCode = program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
    run.Out = QString::fromLocal8Bit(program.readAllStandardOutput());
    run.Err = QString::fromLocal8Bit(program.readAllStandardError());
    return run;
  }

  // A workflow set up as the program's window starts: default display
  // options and the boundary file beside the program.
  std::unique_ptr<TWorkflow> DisplayWorkflow()
  {
    auto workflow = std::make_unique<TWorkflow>(*settings_, messages_);
    workflow->Boundaries().LoadFromFile(std::string(NORVANT_BINARY_DIR) + "/Countries.dat");
    return workflow;
  }

  // The picture the display shows for a product's file.
  std::optional<TRgbPicture> DisplayedPicture(TWorkflow& workflow, int product, const QString& file)
  {
    if (!workflow.LoadProducts(file, ProductMask(product)) || workflow.SelectedTab() != product) {
      return std::nullopt;
    }
    return RgbOf(workflow.DisplayBitmap());
  }

  void ExpectAnimation(int product, const QString& hemisphere)
  {
    const QString file = out_.filePath(AnimationFileName(product));
    const std::optional<TGifReadBack> gif = ReadGifWithGiflib(file);
    ASSERT_TRUE(gif) << qPrintable(file);
    EXPECT_EQ(gif->Version, "GIF89a");
    EXPECT_TRUE(gif->Loops);
    EXPECT_EQ(gif->LoopCount, 0);
    // Four days asked for, one of them missing.
    ASSERT_EQ(gif->Frames.size(), static_cast<std::size_t>(kGapTreeDays - 1)) << qPrintable(file);
    EXPECT_EQ(gif->Delays, (std::vector<int>{kFrameMsec / 10, kFrameMsec / 10, kLastFrameMsec / 10}));
    auto workflow = DisplayWorkflow();
    std::size_t frame = 0;
    for (const QDate& day : AnimationFrameDates(GapTreeEnd(), kGapTreeDays, 1)) {
      if (day == GapTreeSkipped()) {
        continue;
      }
      const std::optional<TRgbPicture> expected = DisplayedPicture(*workflow, product, GapTreeFile(product, hemisphere, day));
      ASSERT_TRUE(expected) << qPrintable(day.toString());
      EXPECT_TRUE(gif->Frames[frame] == *expected) << "frame " << frame << " of " << qPrintable(file);
      ++frame;
    }
  }

  void ExpectPictureFile(const QString& file, int product, const QString& hemisphere)
  {
    auto workflow = DisplayWorkflow();
    const std::optional<TRgbPicture> expected =
      DisplayedPicture(*workflow, product, GapTreeFile(product, hemisphere, GapTreeEnd()));
    ASSERT_TRUE(expected);
    const std::optional<TRgbPicture> png = ReadPngWithLibpng(file);
    ASSERT_TRUE(png) << qPrintable(file);
    EXPECT_TRUE(*png == *expected) << qPrintable(file);
  }

  void ExpectPicture(int product, const QString& hemisphere, bool asGif)
  {
    const QString file = out_.filePath(DefaultPictureName(product, asGif));
    auto workflow = DisplayWorkflow();
    const std::optional<TRgbPicture> expected =
      DisplayedPicture(*workflow, product, GapTreeFile(product, hemisphere, GapTreeEnd()));
    ASSERT_TRUE(expected);
    if (asGif) {
      const std::optional<TGifReadBack> gif = ReadGifWithGiflib(file);
      ASSERT_TRUE(gif) << qPrintable(file);
      EXPECT_EQ(gif->Version, "GIF87a");
      ASSERT_EQ(gif->Frames.size(), 1u);
      EXPECT_TRUE(gif->Frames[0] == *expected) << qPrintable(file);
      return;
    }
    QString report;
    EXPECT_TRUE(PngcheckAccepts(file, &report)) << qPrintable(report);
    const std::optional<TRgbPicture> png = ReadPngWithLibpng(file);
    ASSERT_TRUE(png) << qPrintable(file);
    EXPECT_TRUE(*png == *expected) << qPrintable(file);
  }

  QStringList OutputFiles() const { return QDir(out_.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name); }

  QTemporaryDir config_;
  QTemporaryDir out_;
  QString images_;
  std::unique_ptr<TViewerSettings> settings_;
  TCollectingMessageSink messages_;
};

TEST_F(BatchEndToEnd, LatestWritesFourPicturesAndFourAnimations)
{
  const TRun run = Run({"-LATEST", "-SAVE:" + out_.path(), "-ANIM"});
  ASSERT_TRUE(run.Finished) << "the run did not end";
  EXPECT_EQ(run.ExitCode, 0) << qPrintable(run.Err);
  EXPECT_EQ(OutputFiles(), (QStringList{"SST-anim.gif", "conc.png", "edge.png", "sea-ice-conc-anim.gif",
                                        "sea-ice-edge-anim.gif", "sea-ice-type-anim.gif", "sst.png", "type.png"}));
  EXPECT_TRUE(run.Out.contains("Saved " + QDir::toNativeSeparators(out_.filePath("conc.png")))) << qPrintable(run.Out);
  // Equal dates favour the plain southern file over the gzipped northern one.
  for (int product : {0, 1, 2}) {
    ExpectPicture(product, "SH", false);
    ExpectAnimation(product, "SH");
  }
  ExpectPicture(3, "", false);
  ExpectAnimation(3, "");
}

TEST_F(BatchEndToEnd, LatestSouthWritesSeaIceOnly)
{
  const TRun run = Run({"-latest-south", "-save:" + out_.path(), "-animation"});
  ASSERT_TRUE(run.Finished);
  EXPECT_EQ(run.ExitCode, 0) << qPrintable(run.Err);
  EXPECT_EQ(OutputFiles(), (QStringList{"conc.png", "edge.png", "sea-ice-conc-anim.gif", "sea-ice-edge-anim.gif",
                                        "sea-ice-type-anim.gif", "type.png"}));
  for (int product : {0, 1, 2}) {
    ExpectPicture(product, "SH", false);
    ExpectAnimation(product, "SH");
  }
}

TEST_F(BatchEndToEnd, FileArgumentWithGifSettingWritesGifPictures)
{
  PlantSetting("SaveAsGIF", 1);
  const TRun run = Run({GapTreeFile(1, "NH", GapTreeEnd()), "-SAVE:" + out_.path(), "-ANIM"});
  ASSERT_TRUE(run.Finished);
  EXPECT_EQ(run.ExitCode, 0) << qPrintable(run.Err);
  EXPECT_EQ(OutputFiles(), (QStringList{"conc.gif", "edge.gif", "sea-ice-conc-anim.gif", "sea-ice-edge-anim.gif",
                                        "sea-ice-type-anim.gif", "type.gif"}));
  for (int product : {0, 1, 2}) {
    ExpectPicture(product, "NH", true);
    ExpectAnimation(product, "NH");
  }
}

TEST_F(BatchEndToEnd, UnwritableFolderFailsWithReasonOnStandardError)
{
  const TRun run = Run({"-LATEST-NORTH", "-SAVE:/proc", "-ANIM"});
  ASSERT_TRUE(run.Finished);
  EXPECT_NE(run.ExitCode, 0);
  EXPECT_TRUE(run.Err.contains("Cannot create " + QDir::toNativeSeparators("/proc/conc.png"))) << qPrintable(run.Err);
  EXPECT_TRUE(run.Err.contains("/proc/sea-ice-conc-anim.gif")) << qPrintable(run.Err);
  EXPECT_FALSE(QFileInfo::exists("/proc/conc.png"));
}

TEST_F(BatchEndToEnd, FailedWriteLeavesEarlierPictureAndNoPartialFile)
{
  const QByteArray earlier = "an earlier picture";
  {
    QFile file(out_.filePath("conc.png"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(earlier);
  }
  // Files may not grow beyond 1 KiB, as on a full disk; the signal that
  // would end the program is ignored so the write fails instead.
  const TRun run = Run({"-LATEST-NORTH", "-SAVE:" + out_.path(), "-ANIM"}, "trap '' XFSZ; ulimit -f 1;");
  ASSERT_TRUE(run.Finished);
  EXPECT_NE(run.ExitCode, 0);
  EXPECT_TRUE(run.Err.contains("Sea-ice concentration picture not saved")) << qPrintable(run.Err);
  EXPECT_EQ(OutputFiles(), QStringList{"conc.png"});
  QFile file(out_.filePath("conc.png"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), earlier);
}

TEST_F(BatchEndToEnd, NothingFoundEndsWithFailureAndNoFiles)
{
  QTemporaryDir empty;
  ASSERT_TRUE(empty.isValid());
  images_ = empty.path();
  const TRun run = Run({"-LATEST", "-SAVE:" + out_.path()});
  ASSERT_TRUE(run.Finished) << "a message waited for a click";
  EXPECT_NE(run.ExitCode, 0);
  EXPECT_TRUE(run.Err.contains("nothing was saved")) << qPrintable(run.Err);
  EXPECT_TRUE(OutputFiles().isEmpty());
}

TEST_F(BatchEndToEnd, DatedNamesKeepEveryHemisphereAndDayApart)
{
  // Two hemispheres and the three days the tree holds, one run each, as an
  // archive run would go.
  QStringList expected;
  for (const char* hemisphere : {"NH", "SH"}) {
    for (const QDate& day : AnimationFrameDates(GapTreeEnd(), kGapTreeDays, 1)) {
      if (day == GapTreeSkipped()) {
        continue;
      }
      const TRun run = Run({GapTreeFile(0, hemisphere, day), "-SAVE:" + out_.path(), "--dated-names"});
      ASSERT_TRUE(run.Finished);
      EXPECT_EQ(run.ExitCode, 0) << qPrintable(run.Err);
      for (const char* product : {"conc", "edge", "type"}) {
        expected.append(QString("%1-%2-%3.png").arg(product, QString(hemisphere).toLower(), day.toString("yyyyMMdd")));
      }
    }
  }
  expected.sort();
  EXPECT_EQ(OutputFiles(), expected);
  EXPECT_EQ(OutputFiles().filter(QRegularExpression("^conc-[ns]h-[0-9]{8}[.]png$")).size(), 6);
  // The pictures are those of the fixed-name run.
  ExpectPictureFile(out_.filePath("conc-sh-" + GapTreeEnd().toString("yyyyMMdd") + ".png"), 0, "SH");

  // The newest of each hemisphere with animations, into a fresh folder.
  QTemporaryDir latest;
  for (const char* which : {"-LATEST-NORTH", "-LATEST-SOUTH", "-LATEST"}) {
    const TRun run = Run({which, "-SAVE:" + latest.path(), "-ANIM", "--dated-names"});
    ASSERT_TRUE(run.Finished);
    EXPECT_EQ(run.ExitCode, 0) << qPrintable(run.Err);
  }
  const QString end = GapTreeEnd().toString("yyyyMMdd");
  const QStringList written = QDir(latest.path()).entryList(QDir::Files, QDir::Name);
  for (const QString& name : {"conc-nh-" + end + ".png", "conc-sh-" + end + ".png", "sst-" + end + ".png",
                              QString("sea-ice-conc-nh-anim.gif"), QString("sea-ice-type-sh-anim.gif"),
                              QString("SST-anim.gif")}) {
    EXPECT_TRUE(written.contains(name)) << qPrintable(name) << " among " << qPrintable(written.join(' '));
  }
}

TEST_F(BatchEndToEnd, HelpAndVersionPrintAndEnd)
{
  const TRun help = Run({"--help"});
  EXPECT_EQ(help.ExitCode, 0);
  EXPECT_TRUE(help.Out.contains("-SAVE")) << qPrintable(help.Out);
  const TRun version = Run({"--version"});
  EXPECT_EQ(version.ExitCode, 0);
  EXPECT_FALSE(version.Out.isEmpty());
}

}  // namespace
