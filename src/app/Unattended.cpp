#include "app/Unattended.h"

#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>

#include <cstdio>

#include "app/workflow/Batch.h"
#include "app/workflow/MessageSink.h"
#include "app/workflow/ViewerSettings.h"
#include "settings/SettingsStore.h"

namespace {

// The window's check boxes: remembered name and initial state.
struct TRememberedBox {
  const char* Name;
  bool Initial;
};
constexpr TRememberedBox kShowBoundaries{"ShowBoundaries", true};
constexpr TRememberedBox kShowGrid{"ShowGrid", true};
constexpr TRememberedBox kZoomed{"Zoomed", false};
constexpr TRememberedBox kLargeText{"LargeText", false};
constexpr TRememberedBox kSaveWithOverlay{"SaveWithOverlay", false};

// Stored as an integer; any non-zero integer is ticked, anything else
// (missing, malformed) the initial state.
bool ReadBox(const QSettings& settings, const TRememberedBox& box)
{
  bool ok = false;
  const int stored = settings.value(box.Name).toInt(&ok);
  return ok ? stored != 0 : box.Initial;
}

void PrintLines(std::FILE* stream, const QStringList& lines)
{
  for (const QString& line : lines) {
    std::fprintf(stream, "%s\n", qPrintable(line));
  }
  std::fflush(stream);
}

// False when argument 1 names a file that is not there: nothing is loaded
// and nothing written.
bool Load(TWorkflow& workflow, const TBatchCommand& command, TMessageSink& messages)
{
  if (command.Latest == TBatchCommand::TLatest::None && !QFileInfo(command.Source).isFile()) {
    messages.ShowMessage(FileNotFoundMessage(command.Source));
    return false;
  }
  if (QFileInfo(command.Source).isFile()) {
    const TLongFileName name = GetLongFileName(command.Source);
    if (!name.Found()) {
      messages.ShowMessage(name.Error);
    } else {
      workflow.LoadProducts(name.Name, kMaskAll);
    }
  }
  if (command.Latest != TBatchCommand::TLatest::None) {
    const THemisphere hemisphere = command.Latest == TBatchCommand::TLatest::Northern   ? THemisphere::Northern
                                   : command.Latest == TBatchCommand::TLatest::Southern ? THemisphere::Southern
                                                                                        : THemisphere::Either;
    if (!workflow.OpenLatest(hemisphere)) {
      messages.ShowMessage(NoDataFilesMessage(workflow.Settings().ImagesPath(), false));
      return true;
    }
  }
  const TWorkflow::TLoadReport& report = workflow.LastLoad();
  if (report.Tried > 0 && report.Loaded == 0) {
    messages.ShowMessage("Could not load " + report.FirstError);
  }
  return true;
}

}  // namespace

TRememberedOptions ReadRememberedOptions()
{
  TRememberedOptions options;
  const std::unique_ptr<QSettings> settings = OpenProgramSettings();
  options.Display.ShowBoundaries = ReadBox(*settings, kShowBoundaries);
  options.Display.ShowGrid = ReadBox(*settings, kShowGrid);
  options.Display.Zoomed = ReadBox(*settings, kZoomed);
  options.Display.LargeText = ReadBox(*settings, kLargeText);
  options.SaveWithOverlay = ReadBox(*settings, kSaveWithOverlay);
  const int points = QGuiApplication::font().pointSize();
  if (points > 0) {
    options.Display.FontPoints = points;
  }
  return options;
}

int RunUnattended(const TCommandLine& commandLine)
{
  // Read, never written: the window's choices stay as the user left them.
  TViewerSettings settings(TViewerSettings::TUse::ReadOnly);
  if (!commandLine.ImagesPath.isEmpty()) {
    settings.OverrideImagesPath(commandLine.ImagesPath);
  }
  TStderrMessageSink messages;
  TWorkflow workflow(settings, messages);
  const TRememberedOptions remembered = ReadRememberedOptions();
  workflow.SetDisplayOptions(remembered.Display);

  TBatchCommand command = ParseBatchCommand(commandLine.Arguments);
  command.DatedNames = commandLine.DatedNames;
  command.StatisticsFile = commandLine.StatisticsFile;
  if (!Load(workflow, command, messages)) {
    return esFailed;
  }

  TSaveOverlays overlays;
  overlays.WithOverlay = remembered.SaveWithOverlay;
  overlays.ShowGrid = remembered.Display.ShowGrid;
  overlays.ShowBoundaries = remembered.Display.ShowBoundaries;
  const TBatchOutcome outcome = RunBatchLoop(workflow, command, overlays);
  const TBatchSummary summary = BatchSummary(outcome);
  PrintLines(stdout, summary.Written);
  PrintLines(stderr, summary.Problems);
  return outcome.Succeeded() ? esSuccess : esFailed;
}
