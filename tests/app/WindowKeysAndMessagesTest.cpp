// Save only when there is something to save.
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

}  // namespace
