// The window keeps what the user did: a ticked box survives a kill, the
// geometry stays put over restarts, and Enter in Setup keeps what was typed.
#include <QCheckBox>
#include <QProcess>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdio>
#include <csignal>

#include "app/AppTestSupport.h"
#include "app/FormSetup.h"
#include "app/TerminationSignals.h"

namespace {

// The child process of the kill test reads its settings folder from here.
constexpr char kChildSettingsVariable[] = "NORVANT_TEST_WINDOW_CHILD_SETTINGS";
constexpr char kChildProgram[] = "window-child";
constexpr char kReady[] = "window ready";
// Safety cap for a hang of the child, far above what a start takes.
constexpr int kChildCapMsec = 60000;

const char* const kGeometryNames[] = {"FormState",  "FormLeft",        "FormTop",         "FormWidth",
                                      "FormHeight", "FormClientWidth", "FormClientHeight"};

class WindowSettings : public ViewerSettingsTest {
protected:
  static QList<int> StoredGeometry()
  {
    QList<int> values;
    for (const char* name : kGeometryNames) {
      values.append(Stored(name).toInt());
    }
    return values;
  }
};

TEST_F(WindowSettings, ThreeStartsAndClosesLeaveTheGeometryWhereItWas)
{
  {
    auto window = StartWindow();
    window->setGeometry(130, 109, 820, 600);
    window->close();
  }
  const QList<int> first = StoredGeometry();
  EXPECT_EQ(first[1], 130);
  EXPECT_EQ(first[2], 109);
  for (int cycle = 0; cycle < 3; ++cycle) {
    SCOPED_TRACE(cycle);
    auto window = StartWindow();
    EXPECT_EQ(window->geometry(), QRect(130, 109, 820, 600));
    window->close();
    window.reset();
    EXPECT_EQ(StoredGeometry(), first);
  }
}

TEST_F(WindowSettings, GeometryOffEveryScreenComesBackOnThePrimaryOne)
{
  const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  for (const QPoint& stored : {QPoint(-5000, 40), QPoint(40, area.bottom() + 2000), QPoint(area.right() - 10, 40)}) {
    SCOPED_TRACE(stored.x());
    Plant("FormState", 0);
    Plant("FormLeft", stored.x());
    Plant("FormTop", stored.y());
    Plant("FormClientWidth", 700);
    Plant("FormClientHeight", 500);
    auto window = StartWindow();
    EXPECT_TRUE(area.contains(window->geometry())) << window->geometry().x() << "," << window->geometry().y();
    EXPECT_EQ(window->size(), QSize(700, 500));
  }
}

// Enter where the user typed in Setup, in a folder box or a number box,
// means OK: the typed folder and frame count are in the file at once.
TEST_F(WindowSettings, EnterInSetupStoresWhatWasTypedAtOnce)
{
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  auto window = StartWindow();
  for (const char* box : {"EditCurrentDataPath", "EditNumFrames"}) {
    SCOPED_TRACE(box);
    QTimer::singleShot(0, window.get(), [&folder, box] {
      auto* setup = qobject_cast<TFormSetup*>(QApplication::activeModalWidget());
      ASSERT_NE(setup, nullptr);
      for (const auto& [name, text] : {std::pair{"EditCurrentDataPath", folder.path()}, {"EditNumFrames", "30"}}) {
        QWidget* edit = Child<QWidget>(*setup, name);
        edit->setFocus();
        QMetaObject::invokeMethod(edit, "selectAll");
        QTest::keyClicks(edit, text);
      }
      QWidget* target = Child<QWidget>(*setup, box);
      target->setFocus();
      QTest::keyClick(target, Qt::Key_Return);
    });
    window->MenuToolsSetupClick();
    EXPECT_EQ(Stored("CurrentDataPath").toString(), QDir::toNativeSeparators(folder.path() + "/"));
    EXPECT_EQ(Stored("AnimationFrames").toInt(), 30);
    OpenProgramSettings()->clear();
  }
}

// The kill test's child: a window whose "Zoom" box the user ticks; it runs
// until a signal ends it. Only runs when the parent test starts it.
TEST(WindowChild, DISABLED_RunsUntilSignalled)
{
  const QString settingsFolder = qEnvironmentVariable(kChildSettingsVariable);
  if (settingsFolder.isEmpty()) {
    GTEST_SKIP() << "started only by the kill test";
  }
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsFolder);
  SetSettingsProgramName(kChildProgram);
  const auto window = StartWindow();
  const TTerminationSignals termination(CloseAllWindowsAndQuit);
  Child<QCheckBox>(*window, "CheckBoxZoomed")->click();
  std::printf("%s\n", kReady);
  std::fflush(stdout);
  QApplication::exec();
  SetSettingsProgramName(QString());
}

TEST(WindowKill, TickedBoxIsInTheSettingsFileAfterTheProcessIsKilled)
{
  const struct {
    const char* name;
    int signal;
    bool closesNormally;  // the normal close path ran: the geometry is stored too
  } rows[] = {{"SIGTERM", SIGTERM, true}, {"SIGHUP", SIGHUP, true}, {"SIGKILL", SIGKILL, false}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    QTemporaryDir settings;
    ASSERT_TRUE(settings.isValid());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(kChildSettingsVariable, settings.path());
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    QProcess child;
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(),
                {"--gtest_also_run_disabled_tests", "--gtest_filter=WindowChild.DISABLED_RunsUntilSignalled"});
    ASSERT_TRUE(child.waitForStarted(kChildCapMsec));
    QByteArray output;
    while (!output.contains(kReady) && child.waitForReadyRead(kChildCapMsec)) {
      output += child.readAllStandardOutput();
    }
    ASSERT_TRUE(output.contains(kReady)) << output.constData();
    ::kill(static_cast<pid_t>(child.processId()), row.signal);
    ASSERT_TRUE(child.waitForFinished(kChildCapMsec));
    EXPECT_EQ(child.exitStatus() == QProcess::NormalExit, row.closesNormally);
    if (row.closesNormally) {
      EXPECT_EQ(child.exitCode(), 0) << child.readAllStandardOutput().constData();
    }
    QSettings stored(settings.path() + "/Ostrand/" + kChildProgram + ".conf", QSettings::IniFormat);
    EXPECT_EQ(stored.value("Zoomed").toInt(), 1);
    if (row.closesNormally) {
      EXPECT_TRUE(stored.contains("FormState"));
    }
  }
}

}  // namespace
