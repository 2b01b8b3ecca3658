#include "app/workflow/ViewerSettings.h"

#include <QCoreApplication>
#include <QDir>

#include <initializer_list>

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

TViewerSettings::TViewerSettings(TUse use)
  : DataFolder("DataFolder", ExecutableFolder()),
    CurrentDataPath("CurrentDataPath", QString()),
    AnimationSavePath("AnimationSavePath", QString()),
    SaveAsGif("SaveAsGIF", false),
    FrameMsec("AnimationFrameMsec", kDefaultFrameMsec),
    FrameCount("AnimationFrames", kDefaultFrameCount),
    FrameInterval("AnimationInterval", kDefaultFrameInterval),
    use_(use),
    storedDataFolder_(DataFolder.Value)
{
  if (CurrentDataPath.Value.isEmpty()) {
    CurrentDataPath.Value = FeedkeeperImagesPath();
  }
  if (use_ == TUse::ReadOnly) {
    for (TRegistryVariable* variable : std::initializer_list<TRegistryVariable*>{
           &DataFolder, &CurrentDataPath, &AnimationSavePath, &SaveAsGif, &FrameMsec, &FrameCount, &FrameInterval}) {
      variable->StoreOnFree = false;
    }
  }
}

TViewerSettings::~TViewerSettings()
{
  if (ImagesPathOverridden()) {
    DataFolder.Value = storedDataFolder_;
  }
}

void TViewerSettings::StoreAll() const
{
  if (use_ == TUse::ReadOnly) {
    return;
  }
  // A folder given for this run alone is not the user's choice.
  if (!ImagesPathOverridden()) {
    DataFolder.WriteValue();
  }
  CurrentDataPath.WriteValue();
  AnimationSavePath.WriteValue();
  SaveAsGif.WriteValue();
  FrameMsec.WriteValue();
  FrameCount.WriteValue();
  FrameInterval.WriteValue();
}

QString TViewerSettings::ImagesPath() const
{
  return WithTrailingSeparator(override_.isEmpty() ? CurrentDataPath.Value : override_);
}

void TViewerSettings::OverrideImagesPath(const QString& folder)
{
  override_ = WithTrailingSeparator(folder);
}
