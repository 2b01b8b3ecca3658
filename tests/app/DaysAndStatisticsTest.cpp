// Paging through the days of a data tree, and the sea-ice figures an
// unattended run appends to its statistics file: two week-long sample
// trees made once per build by the project's own tool.
#include "app/CommandLine.h"
#include "app/FormMain.h"
#include "app/FormMainDays.h"
#include "app/workflow/Batch.h"
#include "app/workflow/DayPaging.h"
#include "app/workflow/ViewerSettings.h"
#include "app/workflow/Workflow.h"
#include "grib/GribData.h"
#include "app/BatchTestSupport.h"
#include "support/WorkflowFixture.h"

#include <QFile>
#include <QLabel>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include <vector>

namespace {

const QDate kWeekEnd(2026, 12, 5);
const QDate kGap(2026, 12, 3);
const QDate kPlainDay(2026, 12, 1);  // its northern files without ".gz"

// Seven days up to kWeekEnd.
QString WeekTree(const QString& name, const QStringList& options)
{
  return BuiltSampleTree(name, QStringList{"--days", "7", "--end", kWeekEnd.toString(Qt::ISODate)} + options);
}

QString GapTree()
{
  return WeekTree("week-gap-20261205",
                  {"--skip", kGap.toString(Qt::ISODate), "--plain", kPlainDay.toString(Qt::ISODate)});
}

QString FullTree() { return WeekTree("week-20261205", {}); }

QString NorthConcentration(const QString& tree, const QDate& day)
{
  return QDir::toNativeSeparators(tree + "SAF/" + day.toString("yyyy/MM/dd/") + "S-OSI_-NOR_-MULT-GL_NH_CONC__-" +
                                  day.toString("yyyyMMdd") + "1200Z.grb" + (day == kPlainDay ? "" : ".gz"));
}

QString SstFile(const QString& tree, const QDate& day)
{
  return QDir::toNativeSeparators(tree + "SAF/" + day.toString("yyyy/MM/dd/") + "S-OSI_-FRA_-MULT-MAPSST_FIELD-" +
                                  day.toString("yyyyMMdd") + "1200Z.grb.gz");
}

class DaysAndStatistics : public WorkflowFixture {
protected:
  QDate ShownDay(int product) const
  {
    const TGribData* data = workflow->Data(product);
    return data ? data->ReferenceTime.toUTC().date() : QDate();
  }
};

struct TPagingCase {
  const char* name;
  QDate start;
  int step;
  std::vector<QDate> visited;  // after the start, in order
};

TEST_F(DaysAndStatistics, PagingVisitsEveryDayOfTheTreeAndSkipsTheGap)
{
  const QString tree = GapTree();
  ASSERT_FALSE(tree.isEmpty()) << "the sample tree could not be made";
  const TPagingCase cases[] = {
    {"back from the newest", kWeekEnd, -1, {{2026, 12, 4}, {2026, 12, 2}, {2026, 12, 1}, {2026, 11, 30}, {2026, 11, 29}}},
    {"on from the oldest", {2026, 11, 29}, +1, {{2026, 11, 30}, {2026, 12, 1}, {2026, 12, 2}, {2026, 12, 4}, kWeekEnd}},
  };
  for (const TPagingCase& c : cases) {
    ASSERT_TRUE(workflow->LoadProducts(NorthConcentration(tree, c.start), kMaskAll)) << c.name;
    ASSERT_TRUE(workflow->LoadProducts(SstFile(tree, c.start), kMaskSst)) << c.name;
    workflow->SelectTab(prEdge);
    for (const QDate& expected : c.visited) {
      const std::optional<QDate> day = StepDay(*workflow, c.step);
      ASSERT_EQ(day, expected) << c.name;
      for (int product = 0; product < kProductCount; ++product) {
        EXPECT_EQ(ShownDay(product), expected) << c.name << ", product " << product;
      }
      EXPECT_EQ(workflow->SelectedTab(), prEdge) << c.name;
      EXPECT_TRUE(workflow->DisplayedFileName().contains(expected.toString("yyyyMMdd"))) << c.name;
    }
    // At the end of the tree nothing changes.
    const QString shown = workflow->DisplayedFileName();
    EXPECT_EQ(StepDay(*workflow, c.step), std::nullopt) << c.name;
    EXPECT_EQ(workflow->DisplayedFileName(), shown) << c.name;
  }
}

TEST_F(DaysAndStatistics, WindowDisablesNextDayOnTheNewestAndSaysSoOnItsKey)
{
  const QString tree = GapTree();
  ASSERT_FALSE(tree.isEmpty()) << "the sample tree could not be made";
  TFormMain window;
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  window.LoadAndShow(NorthConcentration(tree, kWeekEnd), kMaskAll);
  TFormMainDays* days = TFormMainDays::Of(window);
  ASSERT_NE(days, nullptr);
  EXPECT_FALSE(days->NextDay().isEnabled());
  EXPECT_TRUE(days->PreviousDay().isEnabled());

  QTest::keyClick(&window, Qt::Key_PageDown);
  EXPECT_EQ(window.statusBar()->currentMessage(), TFormMainDays::kNoLaterDay);
  EXPECT_EQ(window.Workflow().Data(prConcentration)->ReferenceTime.toUTC().date(), kWeekEnd);

  QTest::keyClick(&window, Qt::Key_PageUp);
  EXPECT_EQ(window.Workflow().Data(prConcentration)->ReferenceTime.toUTC().date(), QDate(2026, 12, 4));
  EXPECT_TRUE(window.windowTitle().contains("20261204")) << window.windowTitle().toStdString();
  EXPECT_TRUE(days->NextDay().isEnabled());

  // Under the concentration legend: the figures of the day shown.
  const std::optional<TIceStatistics> figures = window.Workflow().ConcentrationStatistics();
  ASSERT_TRUE(figures.has_value());
  const auto* label = window.findChild<QLabel*>("LabelIceStatistics");
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->toolTip(), IceStatisticsText(*figures));
}

QStringList ReadLines(const QString& fileName)
{
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
    return {};
  }
  return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
}

TEST_F(DaysAndStatistics, StatisticsFileGetsOneLinePerDayOldestFirstAndGrowsRunByRun)
{
  const QString tree = FullTree();
  ASSERT_FALSE(tree.isEmpty()) << "the sample tree could not be made";
  QTemporaryDir out;
  const QString csv = out.filePath("ice.csv");
  ASSERT_TRUE(workflow->LoadProducts(NorthConcentration(tree, kWeekEnd), kMaskConcentration));

  TBatchCommand command = ParseBatchCommand({"x", "-SAVE:" + out.path(), "-ANIM"});
  command.StatisticsFile = csv;
  const TBatchOutcome animated = RunBatchLoop(*workflow, command, {});
  EXPECT_TRUE(animated.Succeeded()) << animated.Failures.join("; ").toStdString();
  QStringList lines = ReadLines(csv);
  ASSERT_EQ(lines.size(), 7);
  for (int k = 0; k < 7; ++k) {
    const QStringList fields = lines[k].split(',');
    ASSERT_EQ(fields.size(), 5) << lines[k].toStdString();
    EXPECT_EQ(fields[0], kWeekEnd.addDays(k - 6).toString(Qt::ISODate));
    EXPECT_EQ(fields[1], "NH");
    EXPECT_GT(fields[2].toDouble(), 1.0) << "extent, million km²";
    EXPECT_GE(fields[2].toDouble(), fields[3].toDouble()) << "extent bounds area";
    EXPECT_GT(fields[4].toDouble(), 0.0) << "the pole hole";
  }

  // A run without animation adds its picture's line: the same as the frame of that day.
  command.Animate = false;
  EXPECT_TRUE(RunBatchLoop(*workflow, command, {}).Succeeded());
  lines = ReadLines(csv);
  ASSERT_EQ(lines.size(), 8);
  EXPECT_EQ(lines[7], lines[6]);
}

struct TStatsOptionCase {
  QStringList arguments;
  QString file;
  bool error;
};

TEST(StatisticsOption, NamesTheFileInEitherSpellingAndNeedsOne)
{
  const TStatsOptionCase cases[] = {
    {{"-LATEST", "-SAVE", "--stats", "ice.csv"}, "ice.csv", false},
    {{"--stats=a b.csv", "-LATEST", "-SAVE"}, "a b.csv", false},
    {{"-LATEST", "-SAVE", "--stats"}, "", true},
  };
  for (const TStatsOptionCase& c : cases) {
    const TCommandLine line = ParseCommandLine(c.arguments);
    EXPECT_EQ(line.StatisticsFile, c.file) << c.arguments.join(' ').toStdString();
    EXPECT_EQ(!line.Error.isEmpty(), c.error) << c.arguments.join(' ').toStdString();
    if (!c.error) {
      EXPECT_EQ(line.Arguments, QStringList({"-LATEST", "-SAVE"}));
    }
  }
}

}  // namespace
