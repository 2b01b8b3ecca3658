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
  const auto enabled = [&window] {
    return std::pair(Child<QAction>(window, "MenuFileSave")->isEnabled(),
                     Child<QAction>(window, "MenuFileSaveAs")->isEnabled());
  };
  EXPECT_EQ(enabled(), std::pair(false, false));
  window.MenuFileOpenLatestNorthernClick();
  EXPECT_EQ(enabled(), std::pair(true, true));
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
  EXPECT_TRUE(window.isVisible());
}

}  // namespace
