#include "app/FormProgress.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kBarWidth = 300;

}  // namespace

TFormProgress::TFormProgress(QWidget* parent) : QDialog(parent)
{
  setObjectName("FormProgress");
  setWindowTitle("Animating...");
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint);
  setWindowModality(Qt::ApplicationModal);

  auto* column = new QVBoxLayout(this);
  progressBar_ = new QProgressBar(this);
  progressBar_->setObjectName("ProgressBar");
  progressBar_->setRange(0, 100);
  progressBar_->setTextVisible(false);
  progressBar_->setMinimumWidth(kBarWidth);
  column->addWidget(progressBar_);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttonCancel_ = new QPushButton("Cancel", this);
  buttonCancel_->setObjectName("ButtonCancel");
  buttons->addWidget(buttonCancel_);
  column->addLayout(buttons);
  connect(buttonCancel_, &QPushButton::clicked, this, [this] { cancelRequested_ = true; });
}

void TFormProgress::SetPosition(int percent) { progressBar_->setValue(std::clamp(percent, 0, 100)); }

int TFormProgress::Position() const { return progressBar_->value(); }

void TFormProgress::showEvent(QShowEvent* event)
{
  QDialog::showEvent(event);
  SetPosition(0);
}

void TFormProgress::reject()
{
  // Escape and the window's close box stop the run like the button.
  cancelRequested_ = true;
}

void TFormProgress::Started()
{
  cancelRequested_ = false;
  show();
  QCoreApplication::processEvents();
}

void TFormProgress::Advanced(int percent)
{
  SetPosition(percent);
  QCoreApplication::processEvents();
}

void TFormProgress::Finished() { hide(); }
