#pragma once
// TFormProgress: the small window that shows how far an animation has got,
// with a button that stops it.
#include <QDialog>

#include "app/workflow/Animation.h"

class QProgressBar;
class QPushButton;

class TFormProgress : public QDialog, public TAnimationProgress {
  Q_OBJECT

public:
  explicit TFormProgress(QWidget* parent = nullptr);

  void SetPosition(int percent);
  int Position() const;
  QPushButton* ButtonCancel() const { return buttonCancel_; }

  // The run shows the window (blocking input to the other windows, whose
  // menus must not start a second load while this one runs), moves the bar
  // and lets pending events run, and hides it at the end.
  void Started() override;
  void Advanced(int percent) override;
  bool CancelRequested() const override { return cancelRequested_; }
  void Finished() override;

protected:
  void showEvent(QShowEvent* event) override;
  void reject() override;

private:
  QProgressBar* progressBar_ = nullptr;
  QPushButton* buttonCancel_ = nullptr;
  bool cancelRequested_ = false;
};
