// The real program run unattended on a generated data tree: the pictures
// and animations it writes, read back by pngcheck, libpng and giflib, and
// compared pixel for pixel with what the display renders for each day.
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "app/AppTestSupport.h"
#include "app/BatchTestSupport.h"
#include "app/GapTreeFixture.h"
#include "app/workflow/Animation.h"
#include "app/workflow/MessageSink.h"
#include "app/workflow/Saving.h"
#include "app/workflow/ViewerSettings.h"
#include "app/workflow/Workflow.h"
#include "overlays/CartogList.h"

namespace {

class BatchEndToEnd : public GapTreeWorkflowTest {
protected:
  void PlantSetting(const QString& name, const QVariant& value)
  {
    QSettings settings(config_.path() + "/Ostrand/norvant.conf", QSettings::IniFormat);
    settings.setValue(name, value);
  }

  // norvant with no display, so it must find the offscreen platform by itself.
  TRun Run(const QStringList& arguments, const QString& shellPrefix = {})
  {
    return RunUnattended(config_.path(), images_, arguments, shellPrefix);
  }

  // The picture the display shows for a product's file on a day.
  TRgbPicture Displayed(int product, const QString& hemisphere, const QDate& day)
  {
    const bool shown = workflow_->LoadProducts(GapTreeFile(product, hemisphere, day), ProductMask(product)) &&
                       workflow_->SelectedTab() == product;
    EXPECT_TRUE(shown) << qPrintable(day.toString());
    return shown ? RgbOf(workflow_->DisplayBitmap()) : TRgbPicture{};
  }

  // The picture of the newest day (pngcheck and libpng, or giflib) and the
  // animation of the days present, each frame as displayed.
  void ExpectOutput(int product, const QString& hemisphere, bool asGif)
  {
    const QString picture = out_.filePath(DefaultPictureName(product, asGif));
    if (asGif) {
      const std::optional<TGifReadBack> gif = ReadGifWithGiflib(picture);
      ASSERT_TRUE(gif) << qPrintable(picture);
      EXPECT_EQ(gif->Version, "GIF87a");
      EXPECT_EQ(gif->Frames, std::vector{Displayed(product, hemisphere, GapTreeEnd())}) << qPrintable(picture);
    } else {
      QString report;
      EXPECT_TRUE(PngcheckAccepts(picture, &report)) << qPrintable(report);
      EXPECT_EQ(ReadPngWithLibpng(picture), Displayed(product, hemisphere, GapTreeEnd())) << qPrintable(picture);
    }
    const QString animation = out_.filePath(AnimationFileName(product));
    const std::optional<TGifReadBack> gif = ReadGifWithGiflib(animation);
    ASSERT_TRUE(gif) << qPrintable(animation);
    EXPECT_EQ(gif->Version, "GIF89a");
    EXPECT_EQ(gif->LoopCount, 0);
    // Four days asked for, one of them missing.
    EXPECT_EQ(gif->Delays, (std::vector<int>{kFrameMsec / 10, kFrameMsec / 10, kLastFrameMsec / 10}));
    std::vector<TRgbPicture> frames;
    for (const QDate& day : AnimationFrameDates(GapTreeEnd(), kGapTreeDays, 1)) {
      if (day != GapTreeSkipped()) {
        frames.push_back(Displayed(product, hemisphere, day));
      }
    }
    EXPECT_TRUE(gif->Frames == frames) << qPrintable(animation);
  }

  QStringList OutputFiles() const { return QDir(out_.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name); }

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
  for (int product : {0, 1, 2, 3}) {
    ExpectOutput(product, "SH", false);
  }
}

TEST_F(BatchEndToEnd, LatestSouthWritesSeaIceOnly)
{
  const TRun run = Run({"-latest-south", "-save:" + out_.path(), "-animation"});
  ASSERT_TRUE(run.Finished);
  EXPECT_EQ(run.ExitCode, 0) << qPrintable(run.Err);
  EXPECT_EQ(OutputFiles(), (QStringList{"conc.png", "edge.png", "sea-ice-conc-anim.gif", "sea-ice-edge-anim.gif",
                                        "sea-ice-type-anim.gif", "type.png"}));
  for (int product : {0, 1, 2}) {
    ExpectOutput(product, "SH", false);
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
    ExpectOutput(product, "NH", true);
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
  // The pictures are those of the fixed-name run.
  EXPECT_EQ(ReadPngWithLibpng(out_.filePath("conc-sh-" + GapTreeEnd().toString("yyyyMMdd") + ".png")),
            Displayed(0, "SH", GapTreeEnd()));

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

}  // namespace
