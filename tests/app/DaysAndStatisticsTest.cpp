// Paging through the days in the window, and the sea-ice figures an
// unattended run appends to its statistics file, on a week-long sample tree
// made once per build by the project's own tool.
#include "app/FormMainDays.h"
#include "app/workflow/Batch.h"
#include "grib/GribData.h"
#include "app/BatchTestSupport.h"
#include "support/WorkflowFixture.h"

#include <QLabel>
#include <QStatusBar>

namespace {

const QDate kWeekEnd(2026, 12, 5);

// Seven days up to kWeekEnd.
QString WeekTree()
{
  return BuiltSampleTree("week-20261205", {"--days", "7", "--end", kWeekEnd.toString(Qt::ISODate)});
}

QString NorthConcentration(const QDate& day)
{
  return QDir::toNativeSeparators(WeekTree() + "SAF/" + day.toString("yyyy/MM/dd/") + "S-OSI_-NOR_-MULT-GL_NH_CONC__-" +
                                  day.toString("yyyyMMdd") + "1200Z.grb.gz");
}

using DaysAndStatistics = WorkflowFixture;

TEST_F(DaysAndStatistics, WindowDisablesNextDayOnTheNewestAndSaysSoOnItsKey)
{
  ASSERT_FALSE(WeekTree().isEmpty()) << "the sample tree could not be made";
  TFormMain window;
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  window.LoadAndShow(NorthConcentration(kWeekEnd), kMaskAll);
  TFormMainDays* days = TFormMainDays::Of(window);
  ASSERT_NE(days, nullptr);
  const auto shownDay = [&window] { return window.Workflow().Data(prConcentration)->ReferenceTime.toUTC().date(); };
  EXPECT_EQ(std::pair(days->PreviousDay().isEnabled(), days->NextDay().isEnabled()), std::pair(true, false));
  QTest::keyClick(&window, Qt::Key_PageDown);
  EXPECT_EQ(window.statusBar()->currentMessage(), TFormMainDays::kNoLaterDay);
  EXPECT_EQ(shownDay(), kWeekEnd);
  QTest::keyClick(&window, Qt::Key_PageUp);
  EXPECT_EQ(shownDay(), QDate(2026, 12, 4));
  EXPECT_TRUE(window.windowTitle().contains("20261204")) << window.windowTitle().toStdString();
  EXPECT_TRUE(days->NextDay().isEnabled());

  // Under the concentration legend: the figures of the day shown.
  const std::optional<TIceStatistics> figures = window.Workflow().ConcentrationStatistics();
  ASSERT_TRUE(figures.has_value());
  EXPECT_EQ(Child<QLabel>(window, "LabelIceStatistics")->toolTip(), IceStatisticsText(*figures));
}

TEST_F(DaysAndStatistics, StatisticsFileGetsOneLinePerDayOldestFirstAndGrowsRunByRun)
{
  ASSERT_FALSE(WeekTree().isEmpty()) << "the sample tree could not be made";
  QTemporaryDir out;
  const QString csv = out.filePath("ice.csv");
  const auto lines = [&csv] { return QString::fromUtf8(ReadBytes(csv)).split('\n', Qt::SkipEmptyParts); };
  ASSERT_TRUE(workflow->LoadProducts(NorthConcentration(kWeekEnd), kMaskConcentration));

  TBatchCommand command = ParseBatchCommand({"x", "-SAVE:" + out.path(), "-ANIM"});
  command.StatisticsFile = csv;
  const TBatchOutcome animated = RunBatchLoop(*workflow, command, {});
  EXPECT_TRUE(animated.Succeeded()) << animated.Failures.join("; ").toStdString();
  const QStringList week = lines();
  ASSERT_EQ(week.size(), 7);
  for (int k = 0; k < 7; ++k) {
    const QStringList fields = week[k].split(',');
    ASSERT_EQ(fields.size(), 5) << week[k].toStdString();
    EXPECT_EQ(fields.mid(0, 2), (QStringList{kWeekEnd.addDays(k - 6).toString(Qt::ISODate), "NH"}));
  }

  // A run without animation adds its picture's line: the same as the frame of that day.
  command.Animate = false;
  EXPECT_TRUE(RunBatchLoop(*workflow, command, {}).Succeeded());
  EXPECT_EQ(lines(), week + QStringList{week[6]});
}

}  // namespace
