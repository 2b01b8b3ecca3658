// The standard keys of the File menu, Save only when there is something to
// save, and messages that tell the user what to do.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QFile>
#include <QKeySequence>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/AppTestSupport.h"
#include "app/FormMain.h"
#include "app/PictureView.h"
#include "app/SampleTree.h"
#include "app/workflow/Batch.h"
#include "app/workflow/LatLonText.h"
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

// A mouse move as the window system delivers it to the widget.
void MoveMouse(QWidget* widget, QPoint at)
{
  QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(widget, &move);
}

TEST_F(WindowKeys, FirstViewIsCentredAndThePanelStaysPut)
{
  ASSERT_FALSE(SampleImagesPath().isEmpty());
  const TScopedUtcClock clock{SampleMorning()};
  TFormMain window({}, SampleImagesPath());
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  auto* box = window.findChild<QCheckBox*>("CheckBoxShowBoundaries");
  const int boxTop = box->mapTo(&window, QPoint()).y();
  window.MenuFileOpenLatestNorthernClick();
  QApplication::processEvents();

  auto* scroll = window.findChild<QScrollArea*>("ScrollBoxDisplay");
  ASSERT_GT(scroll->verticalScrollBar()->maximum(), 0) << "the sample should be taller than the window";
  const auto centred = [scroll] {
    for (const QScrollBar* bar : {scroll->horizontalScrollBar(), scroll->verticalScrollBar()}) {
      if (std::abs(bar->value() - bar->maximum() / 2) > 1) {
        return false;
      }
    }
    return true;
  };
  QTRY_VERIFY_WITH_TIMEOUT(centred(), 5000);

  // In and out of the picture: the read-out fills and empties, the boxes
  // stay where they were, and the position stays on one line.
  auto* picture = window.findChild<TPictureView*>("ImageDisplay");
  auto* location = window.findChild<QLabel*>("LabelLocation");
  for (const QPoint& at : {QPoint(5, 5), QPoint(picture->width() - 3, picture->height() / 2)}) {
    MoveMouse(picture, at);
    EXPECT_FALSE(location->text().isEmpty());
    EXPECT_EQ(box->mapTo(&window, QPoint()).y(), boxTop);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(picture, &leave);
    EXPECT_EQ(box->mapTo(&window, QPoint()).y(), boxTop);
  }
  location->setText(FormatLatLon(1, -89.9, -179.9));
  EXPECT_LE(location->fontMetrics().horizontalAdvance(location->text()), location->contentsRect().width());
}

// A missing file on the command line is named in a warning box over the
// window, which stays open and empty.
TEST_F(WindowKeys, MissingFileIsNamedInAWarning)
{
  TFormMain window({"/missing.grb"});
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QTimer answer;
  QObject::connect(&answer, &QTimer::timeout, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      text = box->text();
      icon = box->icon();
      box->accept();
    }
  });
  answer.start(10);
  window.TimerLoad().stop();
  window.TimerLoadTimer();
  EXPECT_EQ(text, "File not found: " + QDir::toNativeSeparators("/missing.grb"));
  EXPECT_EQ(icon, QMessageBox::Warning);
  EXPECT_TRUE(window.isVisible());
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
