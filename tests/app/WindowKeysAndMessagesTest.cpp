// The standard keys of the File menu, Save only when there is something to
// save, and messages that tell the user what to do.
#include <QAction>
#include <QFile>
#include <QKeySequence>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "app/AppTestSupport.h"
#include "app/FormMain.h"
#include "app/workflow/MessageSink.h"
#include "app/workflow/Workflow.h"
#include "support/SampleTree.h"

namespace {

using WindowKeys = ViewerSettingsTest;

TEST_F(WindowKeys, FileMenuHasTheStandardKeysAndSaveWaitsForData)
{
  ASSERT_FALSE(SampleImagesPath().isEmpty());
  const TScopedUtcClock clock{SampleMorning()};
  TFormMain window({}, SampleImagesPath());
  const std::pair<const char*, QKeySequence> rows[] = {
    {"MenuFileOpen", QKeySequence(Qt::CTRL | Qt::Key_O)},
    {"MenuFileSave", QKeySequence(Qt::CTRL | Qt::Key_S)},
    {"MenuFileSaveAs", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)},
    {"MenuFileExit", QKeySequence(Qt::CTRL | Qt::Key_Q)},
    {"MenuFileOpenLatest", QKeySequence(Qt::Key_F5)},
  };
  for (const auto& [name, key] : rows) {
    const QAction* action = window.findChild<QAction*>(name);
    ASSERT_NE(action, nullptr) << name;
    EXPECT_TRUE(action->shortcuts().contains(key)) << name << ": " << qPrintable(action->shortcut().toString());
  }
  auto* save = window.findChild<QAction*>("MenuFileSave");
  auto* saveAs = window.findChild<QAction*>("MenuFileSaveAs");
  EXPECT_FALSE(save->isEnabled());
  EXPECT_FALSE(saveAs->isEnabled());
  window.MenuFileOpenLatestNorthernClick();
  ASSERT_NE(window.Workflow().Data(prConcentration), nullptr);
  EXPECT_TRUE(save->isEnabled());
  EXPECT_TRUE(saveAs->isEnabled());
}

// A missing file on the command line is named in a warning box over the
// window, which stays open and empty.
TEST_F(WindowKeys, MissingFileIsNamedInAWarning)
{
  TFormMain window({"/missing.grb"});
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  ModalAnswerer answers;
  window.TimerLoad().stop();
  window.TimerLoadTimer();
  EXPECT_EQ(answers.Texts, QStringList{"File not found: " + QDir::toNativeSeparators("/missing.grb")});
  EXPECT_EQ(answers.Icons, QList{QMessageBox::Warning});
  EXPECT_TRUE(window.isVisible());
}

using EmptyFile = ViewerSettingsTest;

TEST_F(EmptyFile, IsCalledEmpty)
{
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  for (const char* name : {"S-OSI_-NOR_-MULT-GL_NH_CONC__-202612051200Z.grb", "empty_conc.grb"}) {
    SCOPED_TRACE(name);
    QFile file(folder.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    TViewerSettings settings;
    TCollectingMessageSink messages;
    TWorkflow workflow(settings, messages);
    EXPECT_FALSE(workflow.LoadProducts(file.fileName(), kMaskAll));
    EXPECT_TRUE(workflow.LastLoad().FirstError.endsWith(": The file is empty"))
      << qPrintable(workflow.LastLoad().FirstError);
  }
}

}  // namespace
