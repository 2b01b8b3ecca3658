// The viewer's settings: a read-only copy for unattended runs, and the data
// collector's images folder as a fallback.
#include "app/AppTestSupport.h"
#include "app/workflow/ViewerSettings.h"


namespace {

using ViewerSettings = ViewerSettingsTest;

// A run from cron reads the window's choices and leaves them alone, even
// where it changed its own copy (the folder its data came from) or would
// have filled in defaults and the collector's folder.
TEST_F(ViewerSettings, ReadOnlySettingsNeverWrite)
{
  Plant("Feedkeeper-P", "ImagesPath", "/feed/images/");
  Plant("AnimationFrames", 12);
  {
    TViewerSettings settings(TViewerSettings::TUse::ReadOnly);
    EXPECT_EQ(settings.FrameCount.Value, 12);
    EXPECT_EQ(settings.CurrentDataPath.Value, "/feed/images/");
    settings.DataFolder.Value = "/elsewhere/";
    settings.FrameCount.Value = 3;
    settings.StoreAll();
  }
  EXPECT_EQ(OpenProgramSettings()->allKeys(), QStringList{"AnimationFrames"});
  EXPECT_EQ(Stored("AnimationFrames").toInt(), 12);
}

TEST_F(ViewerSettings, EmptyDataPathFallsBackToFeedkeeperPThenFeedkeeper)
{
  Plant("Feedkeeper", "ImagesPath", "/srv/older/images/");
  EXPECT_EQ(TViewerSettings().CurrentDataPath.Value, "/srv/older/images/");
  OpenProgramSettings()->clear();
  Plant("Feedkeeper-P", "ImagesPath", "/srv/images/");
  EXPECT_EQ(TViewerSettings().CurrentDataPath.Value, "/srv/images/");
  EXPECT_EQ(Stored("CurrentDataPath").toString(), "/srv/images/");
}

}  // namespace
