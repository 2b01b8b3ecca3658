// The real program run unattended on a generated data tree: the pictures
// and animations it writes, read back by pngcheck, libpng and giflib, and
// compared pixel for pixel with what the display renders for each day.

#include "app/GapTreeFixture.h"
#include "app/workflow/Animation.h"
#include "app/workflow/Saving.h"

namespace {

class BatchEndToEnd : public GapTreeWorkflowTest {
protected:
  // norvant with no display, so it must find the offscreen platform by itself.
  TRun Run(const QStringList& arguments, const QString& shellPrefix = {})
  {
    return RunUnattended(config_.path(), images_, arguments, shellPrefix);
  }

  // The picture of the newest day (pngcheck and libpng, or giflib) and the
  // animation of the days present, each frame as displayed.
  void ExpectOutput(int product, const QString& hemisphere, bool asGif)
  {
    const auto fileOfDay = [&](const QDate& day) { return GapTreeFile(product, hemisphere, day); };
    const QString picture = out_.filePath(DefaultPictureName(product, asGif));
    const std::optional<TReadBack> still = ReadBack(picture);
    ASSERT_TRUE(still) << qPrintable(picture);
    EXPECT_EQ(still->Version, asGif ? "GIF87a" : "PNG");
    EXPECT_EQ(still->Frames, std::vector{Displayed(product, fileOfDay(GapTreeEnd()))}) << qPrintable(picture);
    if (!asGif) {
      EXPECT_EQ(PngcheckComplaint(picture), "");
    }
    const std::optional<TReadBack> animation = ReadBack(out_.filePath(AnimationFileName(product)));
    ASSERT_TRUE(animation) << product;
    EXPECT_EQ(animation->Version, "GIF89a");
    EXPECT_EQ(animation->LoopCount, 0);
    // Four days asked for, one of them missing.
    EXPECT_EQ(animation->Delays, (std::vector<int>{kFrameMsec / 10, kFrameMsec / 10, kLastFrameMsec / 10}));
    EXPECT_TRUE(animation->Frames == DisplayedFrames(product, fileOfDay)) << product;
  }

  QStringList OutputFiles() const { return QDir(out_.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name); }
};

// Equal dates favour the plain southern file over the gzipped northern one.
TEST_F(BatchEndToEnd, LatestWritesPicturesAndAnimationsOfTheChosenSet)
{
  const struct {
    QStringList arguments;
    QStringList written;
    int products;
  } cases[] = {
    {{"-LATEST", "-SAVE:<out>", "-ANIM"},
     {"SST-anim.gif", "conc.png", "edge.png", "sea-ice-conc-anim.gif", "sea-ice-edge-anim.gif",
      "sea-ice-type-anim.gif", "sst.png", "type.png"},
     4},
    {{"-latest-south", "-save:<out>", "-animation"},
     {"conc.png", "edge.png", "sea-ice-conc-anim.gif", "sea-ice-edge-anim.gif", "sea-ice-type-anim.gif", "type.png"},
     3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(qPrintable(c.arguments.join(' ')));
    QDir(out_.path()).removeRecursively();
    ASSERT_TRUE(QDir().mkpath(out_.path()));
    const TRun run = Run(QStringList(c.arguments).replaceInStrings("<out>", out_.path()));
    ASSERT_TRUE(run.Finished) << "the run did not end";
    EXPECT_EQ(run.ExitCode, 0) << qPrintable(run.Err);
    EXPECT_EQ(OutputFiles(), c.written);
    for (int product = 0; product < c.products; ++product) {
      ExpectOutput(product, "SH", false);
    }
  }
}

TEST_F(BatchEndToEnd, FileArgumentWithGifSettingWritesGifPictures)
{
  QSettings(config_.path() + "/Ostrand/norvant.conf", QSettings::IniFormat).setValue("SaveAsGIF", 1);
  const TRun run = Run({GapTreeFile(1, "NH", GapTreeEnd()), "-SAVE:" + out_.path(), "-ANIM"});
  ASSERT_TRUE(run.Finished);
  EXPECT_EQ(run.ExitCode, 0) << qPrintable(run.Err);
  EXPECT_EQ(OutputFiles(), (QStringList{"conc.gif", "edge.gif", "sea-ice-conc-anim.gif", "sea-ice-edge-anim.gif",
                                        "sea-ice-type-anim.gif", "type.gif"}));
  for (int product : {0, 1, 2}) {
    ExpectOutput(product, "NH", true);
  }
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
  EXPECT_EQ(FramesOf(out_.filePath("conc-sh-" + GapTreeEnd().toString("yyyyMMdd") + ".png")),
            std::vector{Displayed(0, GapTreeFile(0, "SH", GapTreeEnd()))});

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
