// The rules of saved pictures, animations and the batch command line that
// need no data: names, formats, dates, argument words and the run's status.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "app/AppTestSupport.h"
#include "app/workflow/Animation.h"
#include "app/workflow/Batch.h"
#include "app/workflow/Saving.h"
#include "app/workflow/ViewerSettings.h"

namespace {

QString Native(const QString& path) { return QDir::toNativeSeparators(path); }

TEST(PictureNames, DefaultPathHasOneSeparatorWhetherFolderEndsInOneOrNot)
{
  EXPECT_EQ(DefaultPicturePath("/data/SAF/", 2, true), Native("/data/SAF/type.gif"));
  EXPECT_EQ(DefaultPicturePath("/data/SAF", 3, false), Native("/data/SAF/sst.png"));
  EXPECT_EQ(DefaultPicturePath("", 0, false), "conc.png");
  EXPECT_TRUE(DefaultPictureName(4, false).isEmpty());
}

TEST(PictureNames, OnlyAGifExtensionInAnyCaseGivesGif)
{
  struct Row {
    const char* name;
    bool gif;
  };
  const Row rows[] = {{"out.gif", true},        {"OUT.GIF", true},          {"mixed.GiF", true},
                      {"/a/b/c.gif", true},     {"out.png", false},         {"out", false},
                      {"gif", false},           {"out.gif.png", false},     {"folder.gif/picture", false},
                      {"out.gifx", false},      {"", false}};
  for (const Row& row : rows) {
    EXPECT_EQ(IsGifFileName(row.name), row.gif) << row.name;
  }
}

TEST(AnimationDates, FramesRunFromOldestToLoadedDay)
{
  struct Row {
    QDate last;
    int count;
    int interval;
    std::vector<QDate> expected;
  };
  const Row rows[] = {
    {QDate(2016, 1, 10), 3, 1, {QDate(2016, 1, 8), QDate(2016, 1, 9), QDate(2016, 1, 10)}},
    // Across the leap day.
    {QDate(2016, 3, 1), 3, 7, {QDate(2016, 2, 16), QDate(2016, 2, 23), QDate(2016, 3, 1)}},
    // Across the turn of the year.
    {QDate(2021, 1, 2), 2, 28, {QDate(2020, 12, 5), QDate(2021, 1, 2)}},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(AnimationFrameDates(row.last, row.count, row.interval), row.expected) << qPrintable(row.last.toString());
  }
  EXPECT_TRUE(AnimationFrameDates(QDate(), 7, 1).empty());
}

TEST(AnimationDates, FrameFileNamesFollowDateInNameAndFolders)
{
  struct Row {
    const char* source;
    QDate from;
    QDate to;
    const char* expected;
  };
  const Row rows[] = {
    // Day folders.
    {"/img/SAF/2016/03/01/S-OSI_-NOR_-MULT-GL_NH_CONC__-201603011200Z.grb.gz", QDate(2016, 3, 1), QDate(2016, 2, 16),
     "/img/SAF/2016/02/16/S-OSI_-NOR_-MULT-GL_NH_CONC__-201602161200Z.grb.gz"},
    // Month folders.
    {"/img/SAF/2016/03/ice_conc_nh_201603011200.grb", QDate(2016, 3, 1), QDate(2016, 2, 23),
     "/img/SAF/2016/02/ice_conc_nh_201602231200.grb"},
    // A flat folder: only the name changes.
    {"/img/SAF/GL_SH_EDGE_20160301.grb", QDate(2016, 3, 1), QDate(2016, 2, 23), "/img/SAF/GL_SH_EDGE_20160223.grb"},
    // Folders further up that carry the same digits stay as they are.
    {"/img/20160301/2016/03/01/SAF/2016/03/01/x_20160301.grb", QDate(2016, 3, 1), QDate(2016, 2, 29),
     "/img/20160301/2016/03/01/SAF/2016/02/29/x_20160229.grb"},
    {"/run-20160301/SAF/GL_SH_EDGE_20160301.grb", QDate(2016, 3, 1), QDate(2016, 2, 28),
     "/run-20160301/SAF/GL_SH_EDGE_20160228.grb"},
    // Only the first date of the name is rewritten.
    {"/img/SAF/x_20160301_20160301.grb", QDate(2016, 3, 1), QDate(2016, 2, 29), "/img/SAF/x_20160229_20160301.grb"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(AnimationFrameFileName(Native(row.source), row.from, row.to), Native(row.expected)) << row.source;
  }
}

class AnimationSettingsTest : public ViewerSettingsTest {};

TEST_F(AnimationSettingsTest, StoredValuesOutsideTheirRangesAreBroughtIn)
{
  struct Row {
    int frames, interval, msec;
    int expectedFrames, expectedInterval, expectedMsec;
  };
  const Row rows[] = {
    {-5, 0, -330, 2, 1, 10},
    {1000, 100, 100000, 365, 28, 1000},
  };
  for (const Row& row : rows) {
    TViewerSettings settings;
    settings.FrameCount.Value = row.frames;
    settings.FrameInterval.Value = row.interval;
    settings.FrameMsec.Value = row.msec;
    const TAnimationParameters parameters = AnimationParameters(settings);
    EXPECT_EQ(parameters.FrameCount, row.expectedFrames) << row.frames;
    EXPECT_EQ(parameters.FrameInterval, row.expectedInterval) << row.interval;
    EXPECT_EQ(parameters.FrameMsec, row.expectedMsec) << row.msec;
  }
}

TEST(BatchCommandLine, WordsIgnoreCaseAndSaveAndAnimArePrefixes)
{
  using L = TBatchCommand::TLatest;
  struct Row {
    QStringList arguments;
    L latest;
    bool save;
    bool hasFolder;
    const char* folder;
    bool animate;
  };
  const Row rows[] = {
    {{"-LATEST", "-SAVE"}, L::Either, true, false, "", false},
    {{"-latest-north"}, L::Northern, false, false, "", false},
    {{"-Latest-South", "-save:/tmp/out", "-anim"}, L::Southern, true, true, "/tmp/out", true},
    {{"-LATEST", "-SAVEX", "-ANIMATION"}, L::Either, true, false, "", true},
    {{"-LATEST", "-SAVE:", "-ANIM"}, L::Either, true, true, "", true},
    {{"-LATEST", "SAVE", "-ANIM"}, L::Either, false, false, "", true},
    {{"-LATEST-EAST", "-SAVE"}, L::None, true, false, "", false},
    {{"/data/file.grb", "-SAVE:C:\\Out Folder\\"}, L::None, true, true, "C:\\Out Folder\\", false},
    {{}, L::None, false, false, "", false},
  };
  for (const Row& row : rows) {
    const TBatchCommand command = ParseBatchCommand(row.arguments);
    const QString shown = row.arguments.join(' ');
    EXPECT_EQ(command.Source, row.arguments.value(0)) << qPrintable(shown);
    EXPECT_EQ(command.Latest, row.latest) << qPrintable(shown);
    EXPECT_EQ(command.Save, row.save) << qPrintable(shown);
    EXPECT_EQ(command.HasSaveFolder, row.hasFolder) << qPrintable(shown);
    EXPECT_EQ(command.SaveFolder, row.folder) << qPrintable(shown);
    EXPECT_EQ(command.Animate, row.animate) << qPrintable(shown);
  }
}

TEST(BatchCommandLine, SaveFolderIsCreatedOrTheRunIsRefused)
{
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QFile file(dir.filePath("file.txt"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  struct TRow {
    QString argument;
    QString folder;  // expected folder, empty with an error or for plain -SAVE
    QString error;   // expected start of the error, empty when usable
  };
  const TRow rows[] = {
    {"-SAVE:" + dir.path(), Native(dir.path() + "/"), ""},
    {"-SAVE", "", ""},
    {"-SAVE:", "", ""},
    {"-SAVE:" + file.fileName(), "", "Cannot save into " + Native(file.fileName()) + ": it is a file"},
    {"-SAVE:/proc/norvant-test/out", "", "Cannot create the folder " + Native("/proc/norvant-test/out") + ": "},
  };
  for (const TRow& row : rows) {
    const TSaveFolder prepared = PrepareSaveFolder(ParseBatchCommand({"-LATEST", row.argument}));
    EXPECT_EQ(prepared.Folder, row.folder) << qPrintable(row.argument);
    EXPECT_EQ(prepared.Usable(), row.error.isEmpty()) << qPrintable(row.argument);
    if (!row.error.isEmpty()) {
      EXPECT_TRUE(prepared.Error.startsWith(row.error)) << qPrintable(row.argument) << ": " << qPrintable(prepared.Error);
    }
    if (!row.folder.isEmpty()) {
      EXPECT_TRUE(QFileInfo(row.folder).isDir()) << qPrintable(row.folder);
    }
  }
}

TEST(LongFileName, ComponentsTakeTheirStoredSpellingOrTheMissingOneIsNamed)
{
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  ASSERT_TRUE(QDir(dir.path()).mkpath("Data/SAF"));
  QFile file(dir.filePath("Data/SAF/Ice_Conc.grb"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  const QString stored = QDir(dir.path()).canonicalPath() + "/Data/SAF/Ice_Conc.grb";

  const TLongFileName exact = GetLongFileName(stored);
  EXPECT_TRUE(exact.Found()) << qPrintable(exact.Error);
  EXPECT_EQ(exact.Name, Native(stored));

  const TLongFileName otherCase = GetLongFileName(QDir(dir.path()).canonicalPath() + "/data/saf/ICE_CONC.GRB");
  EXPECT_EQ(otherCase.Name, Native(stored)) << qPrintable(otherCase.Error);

  const TLongFileName dotted = GetLongFileName(QDir(dir.path()).canonicalPath() + "/Data/./x/../SAF/Ice_Conc.grb");
  EXPECT_EQ(dotted.Name, Native(stored)) << qPrintable(dotted.Error);

  const QString root = QDir(dir.path()).canonicalPath();
  const TLongFileName missing = GetLongFileName(root + "/nowhere/file.grb");
  EXPECT_FALSE(missing.Found());
  EXPECT_TRUE(missing.Name.isEmpty());
  EXPECT_EQ(missing.Error, "Path " + Native(root + "/nowhere") + " does not exist!");
}

TEST(BatchStatus, SucceedsOnlyWhenEveryRequestedFileWasWritten)
{
  struct Row {
    int loaded;
    int requested;
    int written;
    int failures;
    int status;
  };
  const Row rows[] = {
    {4, 8, 8, 0, 0},  // four pictures and four animations
    {2, 2, 2, 0, 0},  // a product that was not loaded asks for nothing
    {4, 4, 3, 1, 1},  // one picture could not be written
    {0, 0, 0, 0, 1},  // nothing loaded: nothing was saved
    {1, 2, 1, 1, 1},  // the picture was written but not its animation
  };
  for (const Row& row : rows) {
    TBatchOutcome outcome;
    outcome.ProductsLoaded = row.loaded;
    outcome.Requested = row.requested;
    for (int i = 0; i < row.written; ++i) {
      outcome.Written.append(QString("file%1").arg(i));
    }
    for (int i = 0; i < row.failures; ++i) {
      outcome.Failures.append("failed");
    }
    EXPECT_EQ(outcome.ExitStatus(), row.status) << row.loaded << " " << row.requested << " " << row.written;
  }
}

}  // namespace
