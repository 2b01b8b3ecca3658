#pragma once
// TFormMain: the main window. It shows what the workflow holds: one tab per
// product, the picture in a scroll box, the legend, the cursor read-out and
// the display options; every action is forwarded to the workflow.
#include <QMainWindow>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>

#include "app/workflow/MessageSink.h"
#include "app/workflow/ViewerSettings.h"
#include "app/workflow/Workflow.h"

class QAction;
class QLabel;
class QMenu;
class QScrollArea;
class QTabBar;
class TLegendBox;
class TPictureView;
class TRegistryFormInfo;
class TvkrCheckBox;

// Messages of the interactive window: a modal box over the window.
class TMessageBoxSink : public TMessageSink {
public:
  explicit TMessageBoxSink(QWidget* parent) : parent_(parent) {}
  void ShowMessage(const QString& text) override;
  // An unattended run has nobody to click a box away.
  bool ToStandardError = false;

private:
  QWidget* parent_;
};

class TFormMain : public QMainWindow {
  Q_OBJECT

public:
  static constexpr char kBaseCaption[] = "Norvant - Brenmark";
  // The title of the program's message boxes.
  static constexpr char kProgramTitle[] = "Norvant";
  static constexpr int kInitialWidth = 900;
  static constexpr int kInitialHeight = 640;
  static constexpr int kMinimumHeight = 460;
  static constexpr int kLoadDelayMsec = 800;

  // `arguments` are the data arguments of the command line (argument 1
  // first); `imagesPath`, when not empty, replaces the stored images folder
  // for this run.
  explicit TFormMain(QStringList arguments = {}, const QString& imagesPath = {},
                     QWidget* parent = nullptr);
  ~TFormMain() override;

  TWorkflow& Workflow() { return *workflow_; }
  TViewerSettings& Settings() { return *settings_; }

  // Runs the command line when the load timer fires; the default loads the
  // file or the newest data named by argument 1.
  std::function<void(TFormMain&, const QStringList&)> CommandLineHandler;
  const QStringList& Arguments() const { return arguments_; }
  QTimer& TimerLoad() { return timerLoad_; }

  // Handlers, public so that the command line and tests can run them.
  void MenuFileOpenClick();
  void MenuFileOpenLatestClick();
  void MenuFileOpenLatestNorthernClick();
  void MenuFileOpenLatestSouthernClick();
  void MenuToolsSetupClick();
  void MenuHelpAboutClick();
  void TabControlDisplayChange();
  void ImageDisplayClick();
  void ImageDisplayMouseMove(int x, int y);
  void ImageDisplayMouseLeave();
  void TimerLoadTimer();
  void LoadAndShow(const QString& fileName, unsigned mask);

  // Batch mode: messages go to standard error instead of a box.
  void SetBatchMode(bool batch) { messageSink_.ToStandardError = batch; }

  // The options of the display check boxes.
  TDisplayOptions CurrentDisplayOptions() const;

  // Writes the window's geometry now (when it closes, a second after it
  // moved, when the session ends).
  void StoreGeometry();
  static constexpr int kGeometryStoreDelayMsec = 1000;

signals:
  // The picture, caption and legend show what the workflow now holds.
  void DisplayShown();

protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

private:
  void BuildMenu();
  void BuildClientArea();
  TvkrCheckBox* AddCheckBox(QWidget* parent, const QString& caption, const QString& namedAs,
                            bool initial, bool redraws);
  void ShowDisplay();
  void RememberScroll();
  void RestoreScroll();
  void CentreScroll();
  void ReadOutUnderMouse();
  void UpdateCaption();
  void UpdateSaveItems();
  void UpdateIceStatistics();
  void OpenLatest(THemisphere hemisphere);
  void ReportFailedLoad();
  void GeometryChanged();

  QStringList arguments_;
  std::unique_ptr<TViewerSettings> settings_;
  TMessageBoxSink messageSink_{this};
  std::unique_ptr<TWorkflow> workflow_;
  std::unique_ptr<TRegistryFormInfo> formInfo_;
  bool centred_ = false;
  bool shownOnce_ = false;
  bool pictureShownOnce_ = false;  // the first picture opens at its centre
  int scrollX_ = 0;
  int scrollY_ = 0;
  QTimer timerLoad_;
  QTimer timerStoreGeometry_;

  QTabBar* tabControlDisplay_ = nullptr;
  QScrollArea* scrollBoxDisplay_ = nullptr;
  TPictureView* imageDisplay_ = nullptr;
  TLegendBox* paintBoxScale_ = nullptr;
  QLabel* labelIceStatistics_ = nullptr;
  QLabel* labelLocation_ = nullptr;
  QLabel* labelDataAtCursor_ = nullptr;
  TvkrCheckBox* checkBoxLargeText_ = nullptr;
  TvkrCheckBox* checkBoxSaveWithOverlay_ = nullptr;
  TvkrCheckBox* checkBoxShowBoundaries_ = nullptr;
  TvkrCheckBox* checkBoxShowGrid_ = nullptr;
  TvkrCheckBox* checkBoxZoomed_ = nullptr;
};
