#include "app/workflow/Animation.h"

#include <QDir>
#include <QStringList>

#include <algorithm>
#include <exception>

#include "app/workflow/FileSearch.h"
#include "app/workflow/Saving.h"
#include "app/workflow/ViewerSettings.h"
#include "app/workflow/Workflow.h"
#include "grib/GribData.h"
#include "imaging/GifImage.h"

namespace {

// The one animation the GIF builder holds: started here, and dropped when
// the run ends without handing it over.
class TAnimationUnderConstruction {
public:
  TAnimationUnderConstruction() { StartAnimation(); }
  ~TAnimationUnderConstruction()
  {
    if (!finished_) {
      FinishAnimation();
    }
  }
  TAnimationUnderConstruction(const TAnimationUnderConstruction&) = delete;
  TAnimationUnderConstruction& operator=(const TAnimationUnderConstruction&) = delete;

  std::unique_ptr<TGIFImage> Finish()
  {
    finished_ = true;
    return FinishAnimation();
  }

private:
  bool finished_ = false;
};

// Tells the progress display that the run has ended, however it ends.
class TProgressScope {
public:
  explicit TProgressScope(TAnimationProgress* progress) : progress_(progress)
  {
    if (progress_ != nullptr) {
      progress_->Started();
    }
  }
  ~TProgressScope()
  {
    if (progress_ != nullptr) {
      progress_->Finished();
    }
  }
  TProgressScope(const TProgressScope&) = delete;
  TProgressScope& operator=(const TProgressScope&) = delete;

private:
  TAnimationProgress* progress_;
};

// Loads and renders one day of the product; true when its picture is on
// display and was added as a frame.
bool AddDay(TWorkflow& workflow, int product, const QString& fileName, int delayMs)
{
  try {
    if (!workflow.LoadProducts(fileName, ProductMask(product)) || workflow.SelectedTab() != product ||
        workflow.DisplayedData() == nullptr || workflow.DisplayBitmap().Empty()) {
      return false;
    }
    AddAnimationFrame(workflow.DisplayBitmap(), false, delayMs);
    return true;
  } catch (const std::exception&) {
    // A day that cannot be shown is left out like a missing one.
    return false;
  }
}

QString DateList(const std::vector<QDate>& days)
{
  QStringList texts;
  for (const QDate& day : days) {
    texts.append(day.toString(Qt::ISODate));
  }
  return texts.join(", ");
}

}  // namespace

QString AnimationFileName(int product)
{
  if (product < 0 || product >= kProductCount) {
    return {};
  }
  const std::string_view name = kAnimationFileNames[static_cast<std::size_t>(product)];
  return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

TAnimationParameters AnimationParameters(const TViewerSettings& settings)
{
  using P = TAnimationParameters;
  TAnimationParameters parameters;
  parameters.FrameCount = std::clamp<int>(settings.FrameCount.Value, P::kMinFrames, P::kMaxFrames);
  parameters.FrameInterval = std::clamp<int>(settings.FrameInterval.Value, P::kMinInterval, P::kMaxInterval);
  parameters.FrameMsec = std::clamp<int>(settings.FrameMsec.Value, P::kMinFrameMsec, P::kMaxFrameMsec);
  return parameters;
}

std::vector<QDate> AnimationFrameDates(const QDate& last, int frameCount, int intervalDays)
{
  std::vector<QDate> days;
  if (!last.isValid() || frameCount < 1) {
    return days;
  }
  days.reserve(static_cast<std::size_t>(frameCount));
  QDate day = last.addDays(-static_cast<qint64>(frameCount - 1) * intervalDays);
  for (int k = 0; k < frameCount; ++k, day = day.addDays(intervalDays)) {
    days.push_back(day);
  }
  return days;
}

QString AnimationFrameFileName(const QString& source, const QDate& sourceDay, const QDate& day)
{
  // The date is looked for in the file's own name and in the date folders
  // right above it, never further up, where a folder of the images path may
  // happen to carry the same digits.
  QString path = QDir::fromNativeSeparators(source);
  const qsizetype nameStart = path.lastIndexOf('/') + 1;
  QString folder = path.left(nameStart);
  QString name = path.mid(nameStart);
  const QString nameDate = sourceDay.toString("yyyyMMdd");
  if (const qsizetype at = name.indexOf(nameDate, 0, Qt::CaseSensitive); at >= 0) {
    name.replace(at, nameDate.size(), day.toString("yyyyMMdd"));
  }
  for (const char* layout : {"/yyyy/MM/dd/", "/yyyy/MM/"}) {
    const QString folders = sourceDay.toString(layout);
    const qsizetype at = folder.lastIndexOf(folders);
    if (at >= 0) {
      folder.replace(at, folders.size(), day.toString(layout));
      break;
    }
  }
  return QDir::toNativeSeparators(folder + name);
}

namespace {

// The figures of the concentration frame just added, dated by its data.
TAnimationResult::TFrameStatistics FrameStatistics(TWorkflow& workflow)
{
  const TGribData& data = *workflow.Data(prConcentration);
  return {data.ReferenceTime.toUTC().date(), HemisphereCode(data), workflow.ConcentrationStatistics()};
}

}  // namespace

TAnimationResult MakeAnimation(TWorkflow& workflow, int product, const QString& outputFolder,
                               TAnimationProgress* progress, const QString& animationName)
{
  using TOutcome = TAnimationResult::TOutcome;
  TAnimationResult result;
  const QString source = workflow.AnimationSource(product);
  if (source.isEmpty()) {
    result.Outcome = TOutcome::NoSource;
    result.Error = kNothingToAnimateMessage;
    workflow.Messages().ShowMessage(kNothingToAnimateMessage);
    return result;
  }
  const QDate sourceDay = DateFromFileName(source);
  if (!sourceDay.isValid()) {
    result.Outcome = TOutcome::NoDate;
    result.Error = QString("The name of %1 holds no date to animate from.").arg(QDir::toNativeSeparators(source));
    return result;
  }

  const TAnimationParameters parameters = AnimationParameters(workflow.Settings());
  const std::vector<QDate> days = AnimationFrameDates(sourceDay, parameters.FrameCount, parameters.FrameInterval);
  const TProgressScope progressScope(progress);
  TAnimationUnderConstruction animation;
  for (std::size_t k = 0; k < days.size(); ++k) {
    const bool last = k + 1 == days.size();
    const QString fileName = AnimationFrameFileName(source, sourceDay, days[k]);
    if (AddDay(workflow, product, fileName, last ? kLastFrameMsec : parameters.FrameMsec)) {
      ++result.Frames;
      if (product == prConcentration) {
        result.FrameStatistics.push_back(FrameStatistics(workflow));
      }
    } else {
      result.SkippedDays.push_back(days[k]);
    }
    if (progress != nullptr) {
      progress->Advanced(static_cast<int>((k + 1) * 100 / days.size()));
      if (progress->CancelRequested()) {
        result.Outcome = TOutcome::Cancelled;
        result.Error = "The animation was cancelled; nothing was written.";
        workflow.LoadProducts(source, ProductMask(product));
        return result;
      }
    }
  }

  const std::unique_ptr<TGIFImage> gif = animation.Finish();
  if (result.Frames == 0) {
    result.Outcome = TOutcome::NoFrames;
    result.Error = QString("None of the %1 days could be loaded, so no animation was written.").arg(days.size());
    return result;
  }
  const QString folder = outputFolder.isEmpty() ? workflow.Settings().DataFolder.Value : outputFolder;
  result.FileName = JoinFolder(folder, animationName.isEmpty() ? AnimationFileName(product) : animationName);
  try {
    gif->SaveToFile(result.FileName);
    result.Outcome = TOutcome::Written;
  } catch (const std::exception& error) {
    result.Outcome = TOutcome::WriteFailed;
    result.Error = QString::fromLocal8Bit(error.what());
  }
  return result;
}

QStringList AnimationFrameTexts(const TAnimationResult& result)
{
  QStringList texts;
  for (const TAnimationResult::TFrameStatistics& frame : result.FrameStatistics) {
    texts.append(frame.Statistics ? frame.Day.toString(Qt::ISODate) + " " + frame.Hemisphere + "  " +
                                      IceStatisticsText(*frame.Statistics)
                                  : QString());
  }
  return texts;
}

QString AnimationReport(const TAnimationResult& result)
{
  if (!result.Written()) {
    return result.Error;
  }
  QString report = "Animation saved to: " + result.FileName;
  report += QString("\n%1 frame%2").arg(result.Frames).arg(result.Frames == 1 ? "" : "s");
  if (!result.SkippedDays.empty()) {
    report += "; no data for " + DateList(result.SkippedDays);
  }
  return report;
}
