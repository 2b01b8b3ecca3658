#include "app/FormMainOutput.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include <cstdio>

#include "app/BusyCursor.h"
#include "app/FormMain.h"
#include "app/FormProgress.h"
#include "app/FormViewAnimation.h"

namespace {

const QString kSaveFilters = QStringLiteral("GIF files (*.gif);;PNG files (*.png)");
const QString kGifFilter = QStringLiteral("GIF files (*.gif)");
const QString kPngFilter = QStringLiteral("PNG files (*.png)");

void PrintLines(std::FILE* stream, const QStringList& lines)
{
  for (const QString& line : lines) {
    std::fprintf(stream, "%s\n", qPrintable(line));
  }
  std::fflush(stream);
}

}  // namespace

TFormMainOutput::TFormMainOutput(TFormMain& form) : QObject(&form), form_(form)
{
  setObjectName("FormMainOutput");
  formProgress_ = new TFormProgress(&form);
  formViewAnimation_ = new TFormViewAnimation(&form);
  WireMenu();
  form_.CommandLineHandler = [this](TFormMain&, const QStringList& arguments) { RunCommandLine(arguments); };
}

TFormMainOutput* TFormMainOutput::Of(const TFormMain& form)
{
  return form.findChild<TFormMainOutput*>(QString(), Qt::FindDirectChildrenOnly);
}

void TFormMainOutput::WireMenu()
{
  auto wire = [this](const char* name, auto handler) {
    if (auto* action = form_.findChild<QAction*>(name)) {
      action->setEnabled(true);
      connect(action, &QAction::triggered, this, handler);
    }
  };
  wire("MenuFileSave", [this] { MenuFileSaveClick(); });
  wire("MenuFileSaveAs", [this] { MenuFileSaveAsClick(); });
  wire("MenuAnimateConc", [this] { MenuAnimateClick(prConcentration); });
  wire("MenuAnimateEdge", [this] { MenuAnimateClick(prEdge); });
  wire("MenuAnimateType", [this] { MenuAnimateClick(prType); });
  wire("MenuAnimateSST", [this] { MenuAnimateClick(prSst); });
  wire("MenuToolsViewAnimation", [this] { MenuToolsViewAnimationClick(); });
}

void TFormMainOutput::ShowInformation(const QString& text)
{
  if (batchMode_) {
    PrintLines(stdout, {text});
  } else {
    QMessageBox::information(&form_, TFormMain::kProgramTitle, text);
  }
}

void TFormMainOutput::ShowError(const QString& text)
{
  if (batchMode_) {
    PrintLines(stderr, {text});
  } else {
    QMessageBox::warning(&form_, TFormMain::kProgramTitle, text);
  }
}

TSaveOverlays TFormMainOutput::CurrentSaveOverlays() const
{
  const TDisplayOptions display = form_.CurrentDisplayOptions();
  TSaveOverlays overlays;
  overlays.ShowGrid = display.ShowGrid;
  overlays.ShowBoundaries = display.ShowBoundaries;
  if (const auto* box = form_.findChild<QCheckBox*>("CheckBoxSaveWithOverlay")) {
    overlays.WithOverlay = box->isChecked();
  }
  return overlays;
}

QString TFormMainOutput::DefaultSaveName() const
{
  const TViewerSettings& settings = form_.Workflow().Settings();
  return DefaultPicturePath(settings.DataFolder.Value, form_.Workflow().SelectedTab(), settings.SaveAsGif.Value);
}

TSaveResult TFormMainOutput::SaveSelectedProduct(const QString& fileName)
{
  TWorkflow& workflow = form_.Workflow();
  // The stamp of a saved picture follows the window's large-text option.
  workflow.SetDisplayOptions(form_.CurrentDisplayOptions());
  const TSaveResult result = SaveProductPicture(workflow, workflow.SelectedTab(), fileName, CurrentSaveOverlays());
  if (result.Written) {
    ShowInformation("Saved to " + result.FileName);
  } else {
    ShowError(result.Error);
  }
  return result;
}

void TFormMainOutput::MenuFileSaveClick()
{
  if (form_.Workflow().Data(form_.Workflow().SelectedTab()) == nullptr) {
    return;
  }
  SaveSelectedProduct(DefaultSaveName());
}

void TFormMainOutput::MenuFileSaveAsClick()
{
  TWorkflow& workflow = form_.Workflow();
  if (workflow.Data(workflow.SelectedTab()) == nullptr) {
    return;
  }
  const bool asGif = workflow.Settings().SaveAsGif.Value;
  QFileDialog dialog(&form_, QString(), workflow.Settings().DataFolder.Value, kSaveFilters);
  dialog.setObjectName("SaveDialog");
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.selectNameFilter(asGif ? kGifFilter : kPngFilter);
  dialog.selectFile(DefaultPictureName(workflow.SelectedTab(), asGif));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
    return;
  }
  SaveSelectedProduct(QDir::toNativeSeparators(dialog.selectedFiles().first()));
}

void TFormMainOutput::MenuAnimateClick(int product)
{
  TWorkflow& workflow = form_.Workflow();
  workflow.SetDisplayOptions(form_.CurrentDisplayOptions());
  {
    const TBusyCursor busy;
    lastAnimation_ = MakeAnimation(workflow, product, workflow.Settings().AnimationSavePath.Value, formProgress_);
  }
  using TOutcome = TAnimationResult::TOutcome;
  switch (lastAnimation_.Outcome) {
  case TOutcome::Written:
    animationFile_ = lastAnimation_.FileName;
    ShowInformation(AnimationReport(lastAnimation_));
    break;
  case TOutcome::NoSource:  // the user has been told to load data
  case TOutcome::NoDate:
    break;
  case TOutcome::Cancelled:
    animationFile_.clear();
    break;
  case TOutcome::NoFrames:
  case TOutcome::WriteFailed:
    animationFile_.clear();
    ShowError(lastAnimation_.Error);
    break;
  }
}

void TFormMainOutput::MenuToolsViewAnimationClick()
{
  if (animationFile_.isEmpty()) {
    return;
  }
  const bool ownFrames = lastAnimation_.Written() && lastAnimation_.FileName == animationFile_;
  formViewAnimation_->SetFrameTexts(ownFrames ? AnimationFrameTexts(lastAnimation_) : QStringList());
  if (!formViewAnimation_->ShowAnimation(animationFile_)) {
    ShowError(formViewAnimation_->LastError());
    return;
  }
  formViewAnimation_->show();
}

void TFormMainOutput::RunCommandLine(const QStringList& arguments)
{
  const TBatchCommand command = ParseBatchCommand(arguments);
  if (command.Source.isEmpty()) {
    return;
  }
  // An unattended run has nobody to click a message away: from here on
  // messages go to standard error.
  batchMode_ = command.Save;
  form_.SetBatchMode(batchMode_);
  LoadFromCommandLine(command);
  if (command.Save) {
    RunBatch(command);
  }
}

void TFormMainOutput::LoadFromCommandLine(const TBatchCommand& command)
{
  if (command.Latest == TBatchCommand::TLatest::None && !QFileInfo(command.Source).isFile()) {
    ShowError(FileNotFoundMessage(command.Source));
    return;
  }
  if (QFileInfo(command.Source).isFile()) {
    const TLongFileName name = GetLongFileName(command.Source);
    if (name.Found()) {
      form_.LoadAndShow(name.Name, kMaskAll);
    } else {
      ShowError(name.Error);
    }
  }
  switch (command.Latest) {
  case TBatchCommand::TLatest::Either: form_.MenuFileOpenLatestClick(); break;
  case TBatchCommand::TLatest::Northern: form_.MenuFileOpenLatestNorthernClick(); break;
  case TBatchCommand::TLatest::Southern: form_.MenuFileOpenLatestSouthernClick(); break;
  case TBatchCommand::TLatest::None: break;
  }
}

void TFormMainOutput::RunBatch(const TBatchCommand& command)
{
  TWorkflow& workflow = form_.Workflow();
  workflow.SetDisplayOptions(form_.CurrentDisplayOptions());
  const TBatchOutcome outcome = RunBatchLoop(workflow, command, CurrentSaveOverlays(), formProgress_);
  const TBatchSummary summary = BatchSummary(outcome);
  PrintLines(stdout, summary.Written);
  PrintLines(stderr, summary.Problems);
  exitStatus_ = outcome.ExitStatus();
  form_.close();
  const int status = *exitStatus_;
  QMetaObject::invokeMethod(
    QCoreApplication::instance(), [status] { QCoreApplication::exit(status); }, Qt::QueuedConnection);
}
