// The rules of saved pictures, animations and the batch command line that
// need no data: names, formats, dates, argument words and stored spellings.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <array>
#include <tuple>

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
  for (const char* gif : {"out.gif", "OUT.GIF", "mixed.GiF", "/a/b/c.gif"}) {
    EXPECT_TRUE(IsGifFileName(gif)) << gif;
  }
  for (const char* other : {"out.png", "out", "gif", "out.gif.png", "folder.gif/picture", "out.gifx", ""}) {
    EXPECT_FALSE(IsGifFileName(other)) << other;
  }
}

TEST(AnimationDates, FramesRunFromOldestToLoadedDay)
{
  const struct {
    QDate last;
    int count, interval;
    std::vector<QDate> expected;
  } rows[] = {
    {QDate(2016, 1, 10), 3, 1, {QDate(2016, 1, 8), QDate(2016, 1, 9), QDate(2016, 1, 10)}},
    // Across the leap day.
    {QDate(2016, 3, 1), 3, 7, {QDate(2016, 2, 16), QDate(2016, 2, 23), QDate(2016, 3, 1)}},
    // Across the turn of the year.
    {QDate(2021, 1, 2), 2, 28, {QDate(2020, 12, 5), QDate(2021, 1, 2)}},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(AnimationFrameDates(row.last, row.count, row.interval), row.expected) << qPrintable(row.last.toString());
  }
  EXPECT_TRUE(AnimationFrameDates(QDate(), 7, 1).empty());
}

TEST(AnimationDates, FrameFileNamesFollowDateInNameAndFolders)
{
  const struct {
    const char* source;
    QDate from, to;
    const char* expected;
  } rows[] = {
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
  for (const auto& row : rows) {
    EXPECT_EQ(AnimationFrameFileName(Native(row.source), row.from, row.to), Native(row.expected)) << row.source;
  }
}

class AnimationSettingsTest : public ViewerSettingsTest {};

TEST_F(AnimationSettingsTest, StoredValuesOutsideTheirRangesAreBroughtIn)
{
  // frames, interval, msec as stored, then as used
  const int rows[][6] = {{-5, 0, -330, 2, 1, 10}, {1000, 100, 100000, 365, 28, 1000}};
  for (const auto& row : rows) {
    TViewerSettings settings;
    settings.FrameCount.Value = row[0];
    settings.FrameInterval.Value = row[1];
    settings.FrameMsec.Value = row[2];
    const TAnimationParameters used = AnimationParameters(settings);
    EXPECT_EQ((std::array{used.FrameCount, used.FrameInterval, used.FrameMsec}), (std::array{row[3], row[4], row[5]}));
  }
}

TEST(BatchCommandLine, WordsIgnoreCaseAndSaveAndAnimArePrefixes)
{
  using L = TBatchCommand::TLatest;
  const struct {
    QStringList arguments;
    L latest;
    bool save, hasFolder;
    const char* folder;
    bool animate;
  } rows[] = {
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
  for (const auto& row : rows) {
    SCOPED_TRACE(qPrintable(row.arguments.join(' ')));
    const TBatchCommand c = ParseBatchCommand(row.arguments);
    EXPECT_EQ(c.Source, row.arguments.value(0));
    EXPECT_EQ(std::tuple(c.Latest, c.Save, c.HasSaveFolder, c.SaveFolder, c.Animate),
              std::tuple(row.latest, row.save, row.hasFolder, QString(row.folder), row.animate));
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
  const QString root = QDir(dir.path()).canonicalPath();
  const QString stored = root + "/Data/SAF/Ice_Conc.grb";
  for (const char* spelling : {"/Data/SAF/Ice_Conc.grb", "/data/saf/ICE_CONC.GRB", "/Data/./x/../SAF/Ice_Conc.grb"}) {
    const TLongFileName found = GetLongFileName(root + spelling);
    EXPECT_EQ(found.Name, Native(stored)) << spelling << ": " << qPrintable(found.Error);
  }
  const TLongFileName missing = GetLongFileName(root + "/nowhere/file.grb");
  EXPECT_FALSE(missing.Found());
  EXPECT_EQ(missing.Error, "Path " + Native(root + "/nowhere") + " does not exist!");
}

}  // namespace
