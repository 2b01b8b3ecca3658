#include "app/workflow/FileSearch.h"
#include "app/workflow/Wildcard.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A throw-away "SAF" folder; paths are given with '/' and handed to the
// search with native separators, as the program builds them.
class SafFolder {
public:
  SafFolder() { EXPECT_TRUE(dir_.isValid()); }

  void AddFile(const QString& relative)
  {
    const QString path = dir_.filePath(relative);
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }
  void AddFolder(const QString& relative) { ASSERT_TRUE(QDir().mkpath(dir_.filePath(relative))); }

  QString Native(const QString& relative) const { return QDir::toNativeSeparators(dir_.filePath(relative)); }

private:
  QTemporaryDir dir_;
};

} // namespace

TEST(Wildcard, MatchesLikeTheFileSystemButIgnoringCase)
{
  const struct {
    const char16_t *name, *mask;
    bool matches;
  } cases[] = {
      {u"ice_conc_nh_polstere-100_multi_202301151200.grb", u"ice_conc_nh*.grb", true},
      {u"ICE_CONC_NH_X.GRB", u"ice_conc_nh*.grb", true},
      {u"x_conc_y.grb.gz", u"*_conc_*.grb", false},
      {u"x_conc_y.grbx", u"*.grb", false},
      {u"x_conc_y.grb.gz", u"*.grb*", true},
      {u"abc", u"a?c", true},
      {u"ac", u"a?c", false},
      {u"", u"*", true},
      {u"a", u"", false},
      {u"aaa", u"*a*a*a*", true},
      {u"aa", u"*a*a*a*", false},
      {u"\u00C4rger.grb", u"\u00E4*.GRB", true},
  };
  for (const auto& c : cases) {
    const QString name = QString::fromUtf16(c.name), mask = QString::fromUtf16(c.mask);
    EXPECT_EQ(WildcardMatch(name, mask), c.matches) << name.toStdString() << " ~ " << mask.toStdString();
  }
}

TEST(Wildcard, ManyStarsOnALongMismatchFinishQuickly)
{
  const QString name(5000, u'a');
  EXPECT_FALSE(WildcardMatch(name, u"*a*a*a*a*a*a*a*a*b"));
}

TEST(FindLastMatch, GreatestNameWinsInCaseInsensitiveOrderFoldersIncluded)
{
  SafFolder saf;
  saf.AddFile("b_conc_20230102.grb");
  saf.AddFile("A_CONC_20230109.grb");
  saf.AddFile("C_CONC_20230101.GRB");
  saf.AddFile("d_conc_20230101.txt");
  EXPECT_EQ(FindLastMatch(saf.Native("*_conc_*.grb")), saf.Native("C_CONC_20230101.GRB"));
  saf.AddFolder("x_conc_2.grb");
  EXPECT_EQ(FindLastMatch(saf.Native("*_conc_*.grb")), saf.Native("x_conc_2.grb"));
  EXPECT_EQ(FindLastMatch(saf.Native("*_edge_*.grb")), QString());
}

// The flat folder first, then day folders back 29 days from the start day
// (the start day included), then this month's and last month's folders.
TEST(FindLatestFile, FlatThenDayFoldersThenMonthFolders)
{
  struct Case {
    const char* name;
    QDate start;
    QStringList files;
    QString expected;
  };
  const Case cases[] = {
      {"flat wins over newer day folders", QDate(2023, 1, 15),
       {"x_conc_20200101.grb", "2023/01/15/x_conc_20230115.grb"}, "x_conc_20200101.grb"},
      {"newest day up to the start", QDate(2024, 3, 10),
       {"2024/03/05/x_conc_20240305.grb", "2024/03/09/x_conc_20240309.grb", "2024/03/11/x_conc_20240311.grb"},
       "2024/03/09/x_conc_20240309.grb"},
      {"28 days back is searched", QDate(2024, 3, 10), {"2024/02/11/x_conc_20240211.grb"},
       "2024/02/11/x_conc_20240211.grb"},
      {"29 days back is not", QDate(2024, 3, 10), {"2024/02/10/x_conc_20240210.grb"}, ""},
      {"day folders win over month folders", QDate(2024, 3, 10),
       {"2024/03/x_conc_20240331.grb", "2024/03/08/x_conc_20240308.grb"}, "2024/03/08/x_conc_20240308.grb"},
      {"this month first", QDate(2024, 3, 10), {"2024/03/x_conc_a.grb", "2024/02/x_conc_z.grb"},
       "2024/03/x_conc_a.grb"},
      {"then the month before", QDate(2024, 3, 10), {"2024/02/x_conc_z.grb"}, "2024/02/x_conc_z.grb"},
      {"no further", QDate(2024, 3, 10), {"2024/01/x_conc_z.grb"}, ""},
      {"across the year", QDate(2024, 1, 1), {"2023/12/x_conc_20231215.grb"}, "2023/12/x_conc_20231215.grb"},
      {"without a start day only the flat folder", QDate(), {"2023/01/15/x_conc_20230115.grb"}, ""},
  };
  for (const Case& c : cases) {
    SafFolder saf;
    for (const QString& file : c.files)
      saf.AddFile(file);
    const QString expected = c.expected.isEmpty() ? QString() : saf.Native(c.expected);
    EXPECT_EQ(FindLatestFile(saf.Native("*_conc_*.grb"), c.start), expected) << c.name;
  }
  SafFolder saf;
  EXPECT_EQ(FindLatestFile(saf.Native("nowhere/*_conc_*.grb"), QDate(2023, 1, 15)), QString());
}

TEST(DateFromFileName, TakesEightDigitsFromTheFirst20OfTheName)
{
  const struct {
    const char* name;
    QDate expected;
  } cases[] = {
      {"ice_conc_nh_polstere-100_multi_202301151200.grb", QDate(2023, 1, 15)},
      {"S-OSI_-NOR_-MULT-NH_CONC__-201102281200Z.grb.gz", QDate(2011, 2, 28)},
      {"/data/SAF/2019/05/x_conc_20240229.grb", QDate(2024, 2, 29)}, // folder ignored
      {"no_date_here.grb", QDate()},
      {"x_conc_20231301.grb", QDate()}, // month 13
      {"x_conc_20230230.grb", QDate()}, // 30 February
      {"x_conc_2023", QDate()},         // fewer than eight characters left
      {"x_conc_2023-01-15.grb", QDate()},
  };
  for (const auto& c : cases)
    EXPECT_EQ(DateFromFileName(QString::fromUtf8(c.name)), c.expected) << c.name;
}
