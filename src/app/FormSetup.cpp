#include "app/FormSetup.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/workflow/ViewerSettings.h"

namespace {

QSpinBox* MakeSpinBox(QWidget* parent, const char* name, int minimum, int maximum, int step)
{
  auto* box = new QSpinBox(parent);
  box->setObjectName(name);
  box->setRange(minimum, maximum);
  box->setSingleStep(step);
  return box;
}

QLineEdit* MakeFolderEdit(QWidget* parent, const char* name)
{
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  edit->setMinimumWidth(320);
  return edit;
}

QString DefaultFolderPicker(QWidget* parent, const QString& title, const QString& start)
{
  return QFileDialog::getExistingDirectory(parent, title, start);
}

}  // namespace

TFormSetup::TFormSetup(QWidget* parent) : QDialog(parent), ChooseFolder(DefaultFolderPicker)
{
  setObjectName("FormSetup");
  setWindowTitle("brows");
  auto* layout = new QVBoxLayout(this);

  auto* labelCurrentDataPath = new QLabel("Choose the \"images\" folder above the SAF folder", this);
  labelCurrentDataPath->setObjectName("LabelCurrentDataPath");
  labelCurrentDataPath->setToolTip("The folder Feedkeeper calls \"Processed image files location\"");
  layout->addWidget(labelCurrentDataPath);
  auto* dataRow = new QHBoxLayout;
  editCurrentDataPath_ = MakeFolderEdit(this, "EditCurrentDataPath");
  auto* browseData = new QPushButton("Browse...", this);
  browseData->setObjectName("ButtonBrowseCurrentData");
  browseData->setAutoDefault(false);
  dataRow->addWidget(editCurrentDataPath_, 1);
  dataRow->addWidget(browseData);
  layout->addLayout(dataRow);
  labelDataPathNote_ = new QLabel(this);
  labelDataPathNote_->setObjectName("LabelDataPathNote");
  layout->addWidget(labelDataPathNote_);

  checkBoxSaveAsGif_ = new QCheckBox("Save single images in GIF format", this);
  checkBoxSaveAsGif_->setObjectName("CheckBoxSaveAsGif");
  layout->addWidget(checkBoxSaveAsGif_);

  auto* group = new QGroupBox(" Animation control ", this);
  group->setObjectName("GroupBoxAnimation");
  auto* form = new QFormLayout(group);
  editNumFrames_ = MakeSpinBox(group, "EditNumFrames", kMinFrames, kMaxFrames, 1);
  editAnimationInterval_ = MakeSpinBox(group, "EditAnimationInterval", kMinInterval, kMaxInterval, 1);
  editFrameDuration_ = MakeSpinBox(group, "EditFrameDuration", kMinFrameMsec, kMaxFrameMsec, kFrameMsecStep);
  form->addRow("Number of frames", editNumFrames_);
  form->addRow("Frame interval (days)", editAnimationInterval_);
  form->addRow("Frame duration (ms)", editFrameDuration_);
  form->addRow(new QLabel("Choose folder to save animations (optional)", group));
  auto* animRow = new QHBoxLayout;
  editAnimOutputPath_ = MakeFolderEdit(group, "EditAnimOutputPath");
  auto* browseAnim = new QPushButton("Browse...", group);
  browseAnim->setObjectName("ButtonBrowseAnimOutputPath");
  browseAnim->setAutoDefault(false);
  animRow->addWidget(editAnimOutputPath_, 1);
  animRow->addWidget(browseAnim);
  form->addRow(animRow);
  layout->addWidget(group);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttonOK_ = new QPushButton("OK", this);
  buttonOK_->setObjectName("ButtonOK");
  // Enter takes what was typed; Escape cancels.
  buttonOK_->setDefault(true);
  buttonCancel_ = new QPushButton("Cancel", this);
  buttonCancel_->setObjectName("ButtonCancel");
  buttonCancel_->setAutoDefault(false);
  buttons->addWidget(buttonOK_);
  buttons->addWidget(buttonCancel_);
  layout->addLayout(buttons);

  connect(browseData, &QPushButton::clicked, this,
          [this] { BrowseForFolder(editCurrentDataPath_, "Choose folder above SAF data"); });
  connect(browseAnim, &QPushButton::clicked, this,
          [this] { BrowseForFolder(editAnimOutputPath_, "Choose folder for saving animations"); });
  connect(editCurrentDataPath_, &QLineEdit::editingFinished, this, [this] { EditFolderExit(editCurrentDataPath_); });
  connect(editAnimOutputPath_, &QLineEdit::editingFinished, this, [this] { EditFolderExit(editAnimOutputPath_); });
  connect(editCurrentDataPath_, &QLineEdit::textChanged, this, [this] { UpdateFolderNote(); });
  connect(buttonOK_, &QPushButton::clicked, this, &TFormSetup::ButtonOKClick);
  connect(buttonCancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void TFormSetup::showEvent(QShowEvent* event)
{
  editAnimOutputPath_->setText(AnimationSavePath);
  editCurrentDataPath_->setText(CurrentDataPath);
  checkBoxSaveAsGif_->setChecked(SaveAsGif);
  editNumFrames_->setValue(FrameCount);
  editAnimationInterval_->setValue(FrameInterval);
  editFrameDuration_->setValue(FrameMsec);
  UpdateFolderNote();
  QDialog::showEvent(event);
}

void TFormSetup::EditFolderExit(QLineEdit* edit)
{
  // An empty box stays empty: an empty animation folder means the data
  // folder, and an empty data folder means "not chosen yet".
  edit->setText(WithTrailingSeparator(edit->text().trimmed()));
}

void TFormSetup::BrowseForFolder(QLineEdit* edit, const QString& title)
{
  const QString chosen = ChooseFolder(this, title, edit->text());
  if (!chosen.isEmpty()) {
    edit->setText(WithTrailingSeparator(chosen));
  }
}

void TFormSetup::UpdateFolderNote()
{
  const QString folder = editCurrentDataPath_->text().trimmed();
  const bool missing = !folder.isEmpty() && !QFileInfo(folder).isDir();
  labelDataPathNote_->setText(missing ? "This folder does not exist (yet): data searches will find nothing."
                                      : QString());
}

QString TFormSetup::ValidationError() const
{
  const QString data = editCurrentDataPath_->text().trimmed();
  if (!data.isEmpty() && QFileInfo(data).exists() && !QFileInfo(data).isDir()) {
    return QString("The images folder is a file, not a folder:\n%1").arg(QDir::toNativeSeparators(data));
  }
  const QString animation = editAnimOutputPath_->text().trimmed();
  if (!animation.isEmpty() && !QFileInfo(animation).isDir()) {
    return QString("The folder for animations does not exist:\n%1").arg(QDir::toNativeSeparators(animation));
  }
  return {};
}

void TFormSetup::ButtonOKClick()
{
  EditFolderExit(editCurrentDataPath_);
  EditFolderExit(editAnimOutputPath_);
  const QString error = ValidationError();
  if (!error.isEmpty()) {
    QMessageBox::warning(this, windowTitle(), error);
    return;
  }
  AnimationSavePath = editAnimOutputPath_->text();
  CurrentDataPath = editCurrentDataPath_->text();
  SaveAsGif = checkBoxSaveAsGif_->isChecked();
  FrameCount = editNumFrames_->value();
  FrameInterval = editAnimationInterval_->value();
  FrameMsec = editFrameDuration_->value();
  accept();
}
