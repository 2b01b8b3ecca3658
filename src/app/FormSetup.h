#pragma once
// TFormSetup: edits the data folder, the picture format and the animation
// parameters. The dialog works on its own copies; the caller takes them
// back only when the dialog closes with OK.
#include <QDialog>

#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

class TFormSetup : public QDialog {
  Q_OBJECT

public:
  static constexpr int kMinFrames = 2, kMaxFrames = 365;
  static constexpr int kMinInterval = 1, kMaxInterval = 28;
  static constexpr int kMinFrameMsec = 10, kMaxFrameMsec = 1000, kFrameMsecStep = 10;

  explicit TFormSetup(QWidget* parent = nullptr);

  // The dialog's copies of the six settings.
  int FrameMsec = 330;
  int FrameCount = 7;
  int FrameInterval = 1;
  QString AnimationSavePath;
  QString CurrentDataPath;
  bool SaveAsGif = false;

  // Asks for a folder starting at the edit's folder; the choice, with a
  // trailing separator, replaces the edit's text. Replaceable for tests.
  std::function<QString(QWidget* parent, const QString& title, const QString& start)> ChooseFolder;

  // Why the controls cannot be taken as they stand; empty when they can.
  QString ValidationError() const;

  void ButtonOKClick();

protected:
  void showEvent(QShowEvent* event) override;

private:
  void BrowseForFolder(QLineEdit* edit, const QString& title);
  void EditFolderExit(QLineEdit* edit);
  void UpdateFolderNote();

  QLineEdit* editCurrentDataPath_ = nullptr;
  QLabel* labelDataPathNote_ = nullptr;
  QCheckBox* checkBoxSaveAsGif_ = nullptr;
  QSpinBox* editNumFrames_ = nullptr;
  QSpinBox* editAnimationInterval_ = nullptr;
  QSpinBox* editFrameDuration_ = nullptr;
  QLineEdit* editAnimOutputPath_ = nullptr;
  QPushButton* buttonOK_ = nullptr;
  QPushButton* buttonCancel_ = nullptr;
};
