#include "app/workflow/Batch.h"

#include <QDir>
#include <QFileInfo>

#include <filesystem>
#include <optional>
#include <system_error>

#include "app/workflow/Animation.h"
#include "app/workflow/FileSearch.h"
#include "app/workflow/Products.h"
#include "app/workflow/StatisticsFile.h"
#include "app/workflow/ViewerSettings.h"
#include "app/workflow/Workflow.h"
#include "grib/GribData.h"

namespace {

const QString kSavePrefix = QStringLiteral("-SAVE");
const QString kSaveFolderPrefix = QStringLiteral("-SAVE:");
const QString kAnimatePrefix = QStringLiteral("-ANIM");

// The root of an absolute path in '/' form ("/", "C:/", "//server/share/")
// and the length it takes up.
qsizetype RootLength(const QString& path)
{
  if (path.startsWith("//")) {
    const qsizetype server = path.indexOf('/', 2);
    const qsizetype share = server < 0 ? -1 : path.indexOf('/', server + 1);
    return share < 0 ? path.size() : share + 1;
  }
  if (path.size() >= 2 && path[1] == ':') {
    return path.size() >= 3 && path[2] == '/' ? 3 : 2;
  }
  return path.startsWith('/') ? 1 : 0;
}

QString ProductName(int product)
{
  const std::string_view caption = kProductTabCaptions[static_cast<std::size_t>(product)];
  return QString::fromLatin1(caption.data(), static_cast<qsizetype>(caption.size()));
}

bool SaveOne(TWorkflow& workflow, int product, const QString& folder, const TBatchCommand& command,
             const TSaveOverlays& overlays, TBatchOutcome& outcome)
{
  ++outcome.Requested;
  const bool asGif = workflow.Settings().SaveAsGif.Value;
  const QString fileName = command.DatedNames
                             ? JoinFolder(folder, DatedPictureName(product, *workflow.DisplayedData(), asGif))
                             : DefaultPicturePath(folder, product, asGif);
  const TSaveResult saved = SaveProductImage(workflow, workflow.DisplayBitmap(), workflow.DisplayMapping(),
                                             workflow.DisplayedData(), fileName, overlays);
  if (saved.Written) {
    outcome.Written.append(saved.FileName);
  } else {
    outcome.Failures.append(QString("%1 picture not saved: %2").arg(ProductName(product), saved.Error));
  }
  return saved.Written;
}

TAnimationResult AnimateOne(TWorkflow& workflow, int product, const QString& folder, const TBatchCommand& command,
                            TAnimationProgress* progress, TBatchOutcome& outcome)
{
  ++outcome.Requested;
  const QString name = command.DatedNames ? DatedAnimationName(product, *workflow.DisplayedData()) : QString();
  const TAnimationResult animation = MakeAnimation(workflow, product, folder, progress, name);
  if (animation.Written()) {
    outcome.Written.append(animation.FileName);
    if (!animation.SkippedDays.empty()) {
      outcome.Notes.append(QString("%1 animation %2: %3")
                             .arg(ProductName(product), animation.FileName, AnimationReport(animation).section('\n', 1)));
    }
  } else {
    outcome.Failures.append(QString("%1 animation not saved: %2").arg(ProductName(product), animation.Error));
  }
  return animation;
}

// The statistics line of the concentration picture now displayed; empty,
// with a note, when its grid gives no cell areas.
QStringList PictureStatistics(TWorkflow& workflow, TBatchOutcome& outcome)
{
  const TGribData& data = *workflow.DisplayedData();
  const std::optional<TIceStatistics> statistics = workflow.ConcentrationStatistics();
  if (!statistics) {
    outcome.Notes.append(QString("No extent and area for %1: its grid gives no cell areas")
                           .arg(QDir::toNativeSeparators(workflow.DisplayedFileName())));
    return {};
  }
  return {IceStatisticsCsvLine(data.ReferenceTime.toUTC().date(), HemisphereCode(data), *statistics)};
}

QStringList FrameStatisticsLines(const TAnimationResult& animation)
{
  QStringList lines;
  for (const TAnimationResult::TFrameStatistics& frame : animation.FrameStatistics) {
    if (frame.Statistics) {
      lines.append(IceStatisticsCsvLine(frame.Day, frame.Hemisphere, *frame.Statistics));
    }
  }
  return lines;
}

void WriteStatistics(const QString& fileName, const QStringList& lines, TBatchOutcome& outcome)
{
  QString error;
  if (!lines.isEmpty() && !AppendStatisticsLines(fileName, lines, error)) {
    outcome.Failures.append(
      QString("Statistics not written to %1: %2").arg(QDir::toNativeSeparators(fileName), error));
  }
}

}  // namespace

TBatchCommand ParseBatchCommand(const QStringList& arguments)
{
  TBatchCommand command;
  command.Source = arguments.value(0);
  const QString first = command.Source.toUpper();
  if (first == "-LATEST") {
    command.Latest = TBatchCommand::TLatest::Either;
  } else if (first == "-LATEST-NORTH") {
    command.Latest = TBatchCommand::TLatest::Northern;
  } else if (first == "-LATEST-SOUTH") {
    command.Latest = TBatchCommand::TLatest::Southern;
  }
  const QString second = arguments.value(1);
  command.Save = second.toUpper().startsWith(kSavePrefix);
  command.HasSaveFolder = second.toUpper().startsWith(kSaveFolderPrefix);
  if (command.HasSaveFolder) {
    command.SaveFolder = second.mid(kSaveFolderPrefix.size());
  }
  command.Animate = arguments.value(2).toUpper().startsWith(kAnimatePrefix);
  return command;
}

QString NoDataFilesMessage(const QString& imagesPath, bool inWindow)
{
  const QString where = imagesPath.isEmpty()
                          ? QString("SAF: no \"images\" folder has been chosen")
                          : QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(imagesPath + "SAF").absoluteFilePath()));
  const QString remedy = inWindow ? QString("Choose the \"images\" folder above the SAF folder in Tools > Setup.")
                                  : QString("Give the \"images\" folder above the SAF folder with --images-path, "
                                            "or choose it in the window's Tools > Setup.");
  return QString("No data files were found in %1.\n%2").arg(where, remedy);
}

QString FileNotFoundMessage(const QString& name)
{
  return "File not found: " + QDir::toNativeSeparators(name);
}

TSaveFolder PrepareSaveFolder(const TBatchCommand& command)
{
  TSaveFolder result;
  if (!command.HasSaveFolder || command.SaveFolder.isEmpty()) {
    return result;
  }
  const QString shown = QDir::toNativeSeparators(command.SaveFolder);
  const std::filesystem::path path(command.SaveFolder.toStdWString());
  std::error_code error;
  if (std::filesystem::exists(path, error) && !std::filesystem::is_directory(path, error)) {
    result.Error = QString("Cannot save into %1: it is a file, not a folder").arg(shown);
    return result;
  }
  std::filesystem::create_directories(path, error);
  if (error) {
    result.Error =
      QString("Cannot create the folder %1: %2").arg(shown, QString::fromLocal8Bit(error.message().c_str()));
    return result;
  }
  result.Folder = WithTrailingSeparator(shown);
  return result;
}

TLongFileName GetLongFileName(const QString& name)
{
  TLongFileName result;
  const QString absolute = QDir::cleanPath(QDir::fromNativeSeparators(QFileInfo(name).absoluteFilePath()));
  const qsizetype rootLength = RootLength(absolute);
  QString path = absolute.left(rootLength);
  if (path.size() >= 2 && path[1] == ':') {
    path[0] = path[0].toUpper();
  }
  const QStringList components = absolute.mid(rootLength).split('/', Qt::SkipEmptyParts);
  for (const QString& component : components) {
    const QString folder = path.isEmpty() ? QStringLiteral(".") : path;
    const QString stored = StoredEntryName(folder, component);
    const QString separator = path.isEmpty() || path.endsWith('/') ? QString() : QStringLiteral("/");
    if (stored.isEmpty()) {
      result.Error = QString("Path %1 does not exist!").arg(QDir::toNativeSeparators(path + separator + component));
      return result;
    }
    path += separator + stored;
  }
  result.Name = QDir::toNativeSeparators(path);
  return result;
}

TBatchOutcome RunBatchLoop(TWorkflow& workflow, const TBatchCommand& command, const TSaveOverlays& overlays,
                           TAnimationProgress* progress)
{
  TBatchOutcome outcome;
  std::optional<TSaveFolder> prepared;
  for (int product = 0; product < kProductCount; ++product) {
    workflow.SelectTab(product);
    workflow.Render();
    if (workflow.DisplayedData() == nullptr || workflow.DisplayBitmap().Height() == 0) {
      continue;
    }
    // Made only once there is something to put in it.
    if (!prepared) {
      prepared = PrepareSaveFolder(command);
    }
    if (!prepared->Usable()) {
      outcome.Failures.append(prepared->Error);
      return outcome;
    }
    const QString& saveFolder = prepared->Folder;
    ++outcome.ProductsLoaded;
    const QString pictureFolder =
      saveFolder.isEmpty() ? WithTrailingSeparator(QFileInfo(workflow.DisplayedFileName()).absolutePath()) : saveFolder;
    const bool saved = SaveOne(workflow, product, pictureFolder, command, overlays, outcome);
    const bool withStatistics = product == prConcentration && !command.StatisticsFile.isEmpty();
    QStringList statistics = saved && withStatistics ? PictureStatistics(workflow, outcome) : QStringList();
    if (command.Animate) {
      const TAnimationResult animation = AnimateOne(workflow, product, saveFolder, command, progress, outcome);
      // The frames end on the picture's own day: they replace its line.
      if (withStatistics && animation.Written()) {
        statistics = FrameStatisticsLines(animation);
      }
    }
    WriteStatistics(command.StatisticsFile, statistics, outcome);
  }
  return outcome;
}

TBatchSummary BatchSummary(const TBatchOutcome& outcome)
{
  TBatchSummary summary;
  for (const QString& file : outcome.Written) {
    summary.Written.append("Saved " + file);
  }
  summary.Problems = outcome.Notes + outcome.Failures;
  if (outcome.ProductsLoaded == 0 && outcome.Failures.isEmpty()) {
    summary.Problems.append("No data were loaded, so nothing was saved.");
  }
  return summary;
}
