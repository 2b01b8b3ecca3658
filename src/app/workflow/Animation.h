#pragma once
// Animated GIFs of one product over a run of earlier days: each day's file
// name is derived from the loaded one, loaded and rendered exactly as the
// display renders it, and added as a frame.
#include <QDate>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <string_view>
#include <vector>

#include "app/workflow/Products.h"
#include "imaging/IceStatistics.h"

class TViewerSettings;
class TWorkflow;

inline constexpr std::array<std::string_view, kProductCount> kAnimationFileNames = {
  "sea-ice-conc-anim.gif", "sea-ice-edge-anim.gif", "sea-ice-type-anim.gif", "SST-anim.gif"};

// The loaded day is held this long before the animation starts again.
inline constexpr int kLastFrameMsec = 5000;

inline constexpr char kNothingToAnimateMessage[] = "Please load some data before animating";

QString AnimationFileName(int product);

// The animation settings, each within the range the setup dialog allows
// (a stored value outside it is taken to its nearest end).
struct TAnimationParameters {
  static constexpr int kMinFrames = 2, kMaxFrames = 365;
  static constexpr int kMinInterval = 1, kMaxInterval = 28;
  static constexpr int kMinFrameMsec = 10, kMaxFrameMsec = 1000;

  int FrameCount = 7;
  int FrameInterval = 1;  // days
  int FrameMsec = 330;
};
TAnimationParameters AnimationParameters(const TViewerSettings& settings);

// The days of the frames, oldest first, ending on `last`.
std::vector<QDate> AnimationFrameDates(const QDate& last, int frameCount, int intervalDays);

// The file of `day` for the file `source` of day `sourceDay`: the first
// "yyyymmdd" of the name takes the new date, and the day folders
// ("/yyyy/mm/dd/"), or without them the month folders ("/yyyy/mm/"),
// follow it.
QString AnimationFrameFileName(const QString& source, const QDate& sourceDay, const QDate& day);

// Shows the advance of a run and may ask it to stop.
class TAnimationProgress {
public:
  virtual ~TAnimationProgress() = default;
  virtual void Started() {}
  // percent: 0..100. The window lets pending events run here.
  virtual void Advanced(int percent) = 0;
  virtual bool CancelRequested() const { return false; }
  virtual void Finished() {}
};

struct TAnimationResult {
  enum class TOutcome {
    Written,
    NoSource,     // the product was never loaded
    NoDate,       // the loaded file's name holds no date
    NoFrames,     // no day could be loaded
    Cancelled,
    WriteFailed,
  };
  TOutcome Outcome = TOutcome::NoSource;
  QString FileName;  // the animation written, native separators
  int Frames = 0;
  std::vector<QDate> SkippedDays;  // days whose file was missing or did not load
  // Concentration only: the date, hemisphere and figures of every frame,
  // in frame order (no figures where the grid gives no cell areas).
  struct TFrameStatistics {
    QDate Day;
    QString Hemisphere;
    std::optional<TIceStatistics> Statistics;
  };
  std::vector<TFrameStatistics> FrameStatistics;
  QString Error;

  bool Written() const { return Outcome == TOutcome::Written; }
};

// Builds the animation of `product` from its last loaded file and writes it
// as `fileName` (AnimationFileName(product) when empty) into `outputFolder`
// (DataFolder when empty).
// The product's slot and the display end on the last day that loaded; a
// cancelled run writes nothing and reloads the day it started from. With no
// source the user is told "Please load some data before animating".
TAnimationResult MakeAnimation(TWorkflow& workflow, int product, const QString& outputFolder,
                               TAnimationProgress* progress = nullptr, const QString& fileName = QString());

// For the viewer: per frame of a concentration animation, its date,
// hemisphere and figures ("2026-12-05 NH  Extent 12.345 M km²  ..."); empty
// for a frame without figures, and no texts for other products.
QStringList AnimationFrameTexts(const TAnimationResult& result);

// "Animation saved to: <file>" and a line with the frame count and the
// days left out; the reason for any other outcome.
QString AnimationReport(const TAnimationResult& result);
