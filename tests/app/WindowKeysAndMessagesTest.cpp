// The standard keys of the File menu, Save only when there is something to
// save, and messages that tell the user what to do.
#include <QAction>
#include <QFile>
#include <QKeySequence>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "app/AppTestSupport.h"
#include "app/FormMain.h"
#include "app/SampleTree.h"
#include "app/workflow/Batch.h"
#include "app/workflow/MessageSink.h"
#include "app/workflow/Workflow.h"

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

TEST(Messages, SayWhatWasWrongAndWhatToDo)
{
  QTemporaryDir images;
  ASSERT_TRUE(images.isValid());
  const QString saf = QDir::toNativeSeparators(images.path() + "/SAF");
  const QString window = NoDataFilesMessage(images.path() + "/", true);
  EXPECT_TRUE(window.startsWith("No data files were found in " + saf + ".")) << qPrintable(window);
  EXPECT_TRUE(window.contains("Tools > Setup")) << qPrintable(window);
  const QString batch = NoDataFilesMessage(images.path() + "/", false);
  EXPECT_TRUE(batch.contains("--images-path")) << qPrintable(batch);
  // A relative folder is shown in full; none at all says so.
  EXPECT_TRUE(NoDataFilesMessage("images/", true).contains(QDir::toNativeSeparators(QDir::currentPath())));
  EXPECT_TRUE(NoDataFilesMessage("", true).contains("no \"images\" folder has been chosen"));
  EXPECT_EQ(FileNotFoundMessage("/missing.grb"), "File not found: " + QDir::toNativeSeparators("/missing.grb"));
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
