#pragma once
// The viewer's own settings, read when the object is made and stored when it
// goes: folders, the picture format and the animation parameters. The window
// and the batch runner each own one for the whole run.
#include <QString>

#include "settings/RegistryVariable.h"

class TViewerSettings {
public:
  static constexpr int kDefaultFrameMsec = 330;
  static constexpr int kDefaultFrameCount = 7;
  static constexpr int kDefaultFrameInterval = 1;

  // Whether the settings may be written: the window stores what the user
  // changes; an unattended run reads them and never writes, so that a run
  // from cron beside an open window leaves the window's choices alone.
  enum class TUse { ReadWrite, ReadOnly };

  // Reads every value; an empty "CurrentDataPath" falls back to the images
  // folder of the data collector Feedkeeper.
  explicit TViewerSettings(TUse use = TUse::ReadWrite);
  // Stores every value (DataFolder only when no images folder was given for
  // this run alone), unless read-only.
  ~TViewerSettings();
  TViewerSettings(const TViewerSettings&) = delete;
  TViewerSettings& operator=(const TViewerSettings&) = delete;

  // The folder that holds "SAF", ending with a separator: the folder given
  // for this run when there is one, else CurrentDataPath.
  QString ImagesPath() const;
  // Uses `folder` instead of CurrentDataPath for this run without storing it;
  // DataFolder then keeps its stored value as well.
  void OverrideImagesPath(const QString& folder);
  bool ImagesPathOverridden() const { return !override_.isEmpty(); }
  void ClearImagesPathOverride() { override_.clear(); }

  // Writes every value now (nothing when read-only), so that a change
  // survives a run that ends without closing the window.
  void StoreAll() const;

  // Declared in the order the values are stored at exit (reverse order of
  // destruction does not matter to the store; this keeps the list readable).
  TRegistryString DataFolder;
  TRegistryString CurrentDataPath;
  TRegistryString AnimationSavePath;
  TRegistryBoolean SaveAsGif;
  TRegistryInteger FrameMsec;
  TRegistryInteger FrameCount;
  TRegistryInteger FrameInterval;

private:
  TUse use_;
  QString override_;
  QString storedDataFolder_;
};

// `folder` with a trailing native separator (empty stays empty).
QString WithTrailingSeparator(const QString& folder);
