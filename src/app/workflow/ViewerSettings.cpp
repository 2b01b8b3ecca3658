#include "app/workflow/ViewerSettings.h"

#include <QCoreApplication>
#include <QDir>

#include "settings/SettingsStore.h"

namespace {

QString ExecutableFolder()
{
  if (QCoreApplication::instance() == nullptr) {
    return {};
  }
  return WithTrailingSeparator(QCoreApplication::applicationDirPath());
}

}  // namespace

QString WithTrailingSeparator(const QString& folder)
{
  if (folder.isEmpty()) {
    return folder;
  }
  QString native = QDir::toNativeSeparators(folder);
  if (!native.endsWith(QDir::separator()) && !native.endsWith(QLatin1Char('/'))) {
    native += QDir::separator();
  }
  return native;
}

TViewerSettings::TViewerSettings()
  : DataFolder("DataFolder", ExecutableFolder()),
    CurrentDataPath("CurrentDataPath", QString()),
    AnimationSavePath("AnimationSavePath", QString()),
    SaveAsGif("SaveAsGIF", false),
    FrameMsec("AnimationFrameMsec", kDefaultFrameMsec),
    FrameCount("AnimationFrames", kDefaultFrameCount),
    FrameInterval("AnimationInterval", kDefaultFrameInterval),
    storedDataFolder_(DataFolder.Value)
{
  if (CurrentDataPath.Value.isEmpty()) {
    CurrentDataPath.Value = FeedkeeperImagesPath();
  }
}

TViewerSettings::~TViewerSettings()
{
  if (ImagesPathOverridden()) {
    DataFolder.Value = storedDataFolder_;
  }
}

QString TViewerSettings::ImagesPath() const
{
  return WithTrailingSeparator(override_.isEmpty() ? CurrentDataPath.Value : override_);
}

void TViewerSettings::OverrideImagesPath(const QString& folder)
{
  override_ = WithTrailingSeparator(folder);
}
