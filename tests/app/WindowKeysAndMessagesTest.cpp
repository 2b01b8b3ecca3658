// Save only when there is something to save, and messages that tell the
// user what to do.
#include <QAction>
#include <QTest>
#include <gtest/gtest.h>

#include "app/AppTestSupport.h"
#include "app/FormMain.h"
#include "support/SampleTree.h"

namespace {

using WindowKeys = ViewerSettingsTest;

TEST_F(WindowKeys, SaveWaitsForData)
{
  ASSERT_FALSE(SampleImagesPath().isEmpty());
  const TScopedUtcClock clock{SampleMorning()};
  TFormMain window({}, SampleImagesPath());
  for (const char* name : {"MenuFileSave", "MenuFileSaveAs"}) {
    EXPECT_FALSE(Child<QAction>(window, name)->isEnabled()) << name;
  }
  window.MenuFileOpenLatestNorthernClick();
  ASSERT_NE(window.Workflow().Data(prConcentration), nullptr);
  for (const char* name : {"MenuFileSave", "MenuFileSaveAs"}) {
    EXPECT_TRUE(Child<QAction>(window, name)->isEnabled()) << name;
  }
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

}  // namespace
