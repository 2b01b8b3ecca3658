#pragma once
// The main window's picture output: File, Save and Save As, the Tools,
// Animate items and View animation, and the command line run by the load
// timer (loading, then in batch mode the pictures and animations of every
// loaded product and the end of the program). It attaches itself to the
// window as a child object and wires the window's menu items by name.
#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>

#include "app/workflow/Animation.h"
#include "app/workflow/Batch.h"
#include "app/workflow/Saving.h"

class TFormMain;
class TFormProgress;
class TFormViewAnimation;

class TFormMainOutput : public QObject {
  Q_OBJECT

public:
  explicit TFormMainOutput(TFormMain& form);

  // The one attached to a window, or null.
  static TFormMainOutput* Of(const TFormMain& form);

  void MenuFileSaveClick();
  void MenuFileSaveAsClick();
  void MenuAnimateClick(int product);
  void MenuToolsViewAnimationClick();

  // What Save and Save As do once the name is known: saves the selected
  // tab's product under `fileName` and tells the user how it went.
  TSaveResult SaveSelectedProduct(const QString& fileName);
  // The name Save writes: DataFolder + "conc.png" and so on.
  QString DefaultSaveName() const;
  // The overlay choices of the window's check boxes.
  TSaveOverlays CurrentSaveOverlays() const;

  // The load timer's work: loads what argument 1 names and, when argument 2
  // begins "-SAVE", runs the batch loop and closes the window.
  void RunCommandLine(const QStringList& arguments);

  bool BatchMode() const { return batchMode_; }
  // Set when a batch run has ended: 0 when every picture asked for was
  // written.
  std::optional<int> ExitStatus() const { return exitStatus_; }
  QString AnimationFile() const { return animationFile_; }
  const TAnimationResult& LastAnimation() const { return lastAnimation_; }

  TFormProgress& FormProgress() { return *formProgress_; }
  TFormViewAnimation& FormViewAnimation() { return *formViewAnimation_; }

private:
  void WireMenu();
  void ShowInformation(const QString& text);
  void ShowError(const QString& text);
  void LoadFromCommandLine(const TBatchCommand& command);
  void RunBatch(const TBatchCommand& command);

  TFormMain& form_;
  TFormProgress* formProgress_ = nullptr;
  TFormViewAnimation* formViewAnimation_ = nullptr;
  bool batchMode_ = false;
  std::optional<int> exitStatus_;
  QString animationFile_;
  TAnimationResult lastAnimation_;
};
