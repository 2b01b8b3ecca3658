#include "app/FormMain.h"

#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QCloseEvent>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QCursor>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QTabBar>
#include <QVBoxLayout>

#include "about/AboutBox.h"
#include "app/BusyCursor.h"
#include "app/FormMainDays.h"
#include "app/FormMainOutput.h"
#include "app/FormSetup.h"
#include "app/LegendBox.h"
#include "app/PictureView.h"
#include "app/RegistryFormInfo.h"
#include "app/vkrCheckBox.h"
#include "app/workflow/Batch.h"
#include "app/workflow/LatLonText.h"
#include "settings/SettingsStore.h"

namespace {

constexpr int kSidePanelWidth = 150;
constexpr int kPanelMargin = 6;
constexpr int kReadOutPadding = 4;
constexpr int kDataReadOutLines = 2;  // a class name may take two lines

// The platform's key for the action, or `fallback` where the platform has
// none (Quit on Windows, Save As on some desktops).
void SetStandardShortcut(QAction& action, QKeySequence::StandardKey key, QKeyCombination fallback)
{
  QList<QKeySequence> keys = QKeySequence::keyBindings(key);
  if (keys.isEmpty()) {
    keys.append(QKeySequence(fallback));
  }
  action.setShortcuts(keys);
}

QString OpenDialogFilters()
{
  QString concentration = "*_CONC_*.grb *_CONC_*.grb.gz multi_conc_2*.grb";
  QString sst = "S-OSI_-FRA_*SST_FIELD-*gz sst*.grb";
#ifndef Q_OS_WIN
  // The dialog matches names with the file system's case rules; the data
  // folders hold both spellings.
  concentration += " *_conc_*.grb *_conc_*.grb.gz MULTI_CONC_2*.grb";
  sst += " s-osi_-fra_*sst_field-*gz SST*.grb";
#endif
  return QString("Data files (*.grb *.grib *.grb2 *.nc *.gz);;Sea-ice concentration data (%1);;"
                 "Sea surface temperature data (%2)")
    .arg(concentration, sst);
}

}  // namespace

void TMessageBoxSink::ShowMessage(const QString& text)
{
  if (ToStandardError) {
    TStderrMessageSink().ShowMessage(text);
    return;
  }
  // The workflow tells the user only what went wrong.
  QMessageBox::warning(parent_, TFormMain::kProgramTitle, text);
}

TFormMain::TFormMain(QStringList arguments, const QString& imagesPath, QWidget* parent)
  : QMainWindow(parent), arguments_(std::move(arguments))
{
  setObjectName("FormMain");
  setFont(QApplication::font());
  setWindowTitle(kBaseCaption);
  resize(kInitialWidth, kInitialHeight);
  setMinimumHeight(kMinimumHeight);

  settings_ = std::make_unique<TViewerSettings>();
  if (!imagesPath.isEmpty()) {
    settings_->OverrideImagesPath(imagesPath);
  }
  centred_ = !SettingExists("FormState");
  formInfo_ = std::make_unique<TRegistryFormInfo>(this);
  workflow_ = std::make_unique<TWorkflow>(*settings_, messageSink_);
  workflow_->OnDisplayChanged = [this] { ShowDisplay(); };

  BuildMenu();
  BuildClientArea();
  workflow_->SetDisplayOptions(CurrentDisplayOptions());
  new TFormMainOutput(*this);  // saving, animations and the command line; a child of the window
  UpdateSaveItems();
  new TFormMainDays(*this);    // View, Previous day and Next day; a child of the window

  timerLoad_.setObjectName("TimerLoad");
  timerLoad_.setSingleShot(true);
  timerLoad_.setInterval(kLoadDelayMsec);
  connect(&timerLoad_, &QTimer::timeout, this, &TFormMain::TimerLoadTimer);

  // Moving or resizing stores the geometry at most once a second.
  timerStoreGeometry_.setSingleShot(true);
  timerStoreGeometry_.setInterval(kGeometryStoreDelayMsec);
  connect(&timerStoreGeometry_, &QTimer::timeout, this, &TFormMain::StoreGeometry);
}

TFormMain::~TFormMain()
{
  // The settings store themselves as they go; the window geometry last.
  workflow_.reset();
  settings_.reset();
  formInfo_.reset();
}

void TFormMain::BuildMenu()
{
  auto addItem = [this](QMenu* menu, const QString& caption, const char* name) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    return action;
  };
  auto addHidden = [&](QMenu* menu, const QString& caption, const char* name) {
    addItem(menu, caption, name)->setVisible(false);
  };

  QMenu* file = menuBar()->addMenu("&File");
  file->setObjectName("MenuFile");
  QAction* open = addItem(file, "&Open...", "MenuFileOpen");
  SetStandardShortcut(*open, QKeySequence::Open, Qt::CTRL | Qt::Key_O);
  connect(open, &QAction::triggered, this, &TFormMain::MenuFileOpenClick);
  QAction* openLatest = addItem(file, "Open lates&t", "MenuFileOpenLatest");
  openLatest->setShortcut(Qt::Key_F5);
  connect(openLatest, &QAction::triggered, this, &TFormMain::MenuFileOpenLatestClick);
  connect(addItem(file, "Open latest, northern polar", "MenuFileOpenLatestNorthern"), &QAction::triggered, this,
          &TFormMain::MenuFileOpenLatestNorthernClick);
  connect(addItem(file, "Open latest, southern polar", "MenuFileOpenLatestSouthern"), &QAction::triggered, this,
          &TFormMain::MenuFileOpenLatestSouthernClick);
  // Saving and animating are wired by the picture-output code; until then
  // the items are shown but cannot be chosen.
  QAction* save = addItem(file, "&Save", "MenuFileSave");
  SetStandardShortcut(*save, QKeySequence::Save, Qt::CTRL | Qt::Key_S);
  save->setEnabled(false);
  QAction* saveAs = addItem(file, "Save &As...", "MenuFileSaveAs");
  SetStandardShortcut(*saveAs, QKeySequence::SaveAs, Qt::CTRL | Qt::SHIFT | Qt::Key_S);
  saveAs->setEnabled(false);
  addHidden(file, "&Print...", "MenuFilePrint");
  addHidden(file, "P&rint Setup...", "MenuFilePrintSetup");
  file->addSeparator();
  QAction* exit = addItem(file, "E&xit", "MenuFileExit");
  SetStandardShortcut(*exit, QKeySequence::Quit, Qt::CTRL | Qt::Key_Q);
  connect(exit, &QAction::triggered, this, &QWidget::close);

  QMenu* tools = menuBar()->addMenu("&Tools");
  tools->setObjectName("MenuTools");
  QMenu* animate = tools->addMenu("&Animate");
  animate->setObjectName("MenuToolsAnimate");
  addItem(animate, "Sea-ice &Concentration", "MenuAnimateConc")->setEnabled(false);
  addItem(animate, "Sea-ice &Edge", "MenuAnimateEdge")->setEnabled(false);
  addItem(animate, "Sea-ice &Type", "MenuAnimateType")->setEnabled(false);
  addItem(animate, "&Sea-surface temperature", "MenuAnimateSST")->setEnabled(false);
  addItem(tools, "&View animation", "MenuToolsViewAnimation")->setEnabled(false);
  tools->addSeparator();
  connect(addItem(tools, "&Setup", "MenuToolsSetup"), &QAction::triggered, this, &TFormMain::MenuToolsSetupClick);

  QMenu* help = menuBar()->addMenu("&Help");
  help->setObjectName("MenuHelp");
  addHidden(help, "&Contents", "MenuHelpContents");
  addHidden(help, "&Search for Help On...", "MenuHelpSearch");
  addHidden(help, "&How to Use Help", "MenuHelpHowToUse");
  connect(addItem(help, "&About...", "MenuHelpAbout"), &QAction::triggered, this, &TFormMain::MenuHelpAboutClick);
}

TvkrCheckBox* TFormMain::AddCheckBox(QWidget* parent, const QString& caption, const QString& namedAs,
                                     bool initial, bool redraws)
{
  auto* box = new TvkrCheckBox(caption, namedAs, parent);
  box->setObjectName("CheckBox" + namedAs);
  box->setChecked(initial);
  box->Loaded();
  if (redraws) {
    connect(box, &QCheckBox::clicked, this, &TFormMain::TabControlDisplayChange);
  }
  parent->layout()->addWidget(box);
  return box;
}

void TFormMain::BuildClientArea()
{
  auto* client = new QWidget(this);
  auto* column = new QVBoxLayout(client);
  column->setContentsMargins(2, 2, 2, 2);
  column->setSpacing(0);

  tabControlDisplay_ = new QTabBar(client);
  tabControlDisplay_->setObjectName("TabControlDisplay");
  for (std::string_view caption : kProductTabCaptions) {
    tabControlDisplay_->addTab(QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())));
  }
  tabControlDisplay_->setExpanding(false);
  column->addWidget(tabControlDisplay_);

  auto* row = new QHBoxLayout;
  column->addLayout(row, 1);

  scrollBoxDisplay_ = new QScrollArea(client);
  scrollBoxDisplay_->setObjectName("ScrollBoxDisplay");
  scrollBoxDisplay_->setWidgetResizable(false);
  // A picture smaller than the box sits in its middle.
  scrollBoxDisplay_->setAlignment(Qt::AlignCenter);
  imageDisplay_ = new TPictureView;
  scrollBoxDisplay_->setWidget(imageDisplay_);
  row->addWidget(scrollBoxDisplay_, 1);

  auto* side = new QWidget(client);
  auto* panel = new QVBoxLayout(side);
  panel->setContentsMargins(kPanelMargin, 0, 0, 0);
  paintBoxScale_ = new TLegendBox(side);
  panel->addWidget(paintBoxScale_);
  labelIceStatistics_ = new QLabel(side);
  labelIceStatistics_->setObjectName("LabelIceStatistics");
  panel->addWidget(labelIceStatistics_);
  labelLocation_ = new QLabel("Cursor location", side);
  labelLocation_->setObjectName("LabelLocation");
  panel->addWidget(labelLocation_);
  labelDataAtCursor_ = new QLabel("Data at cursor", side);
  labelDataAtCursor_->setObjectName("LabelDataAtCursor");
  labelDataAtCursor_->setWordWrap(true);
  labelDataAtCursor_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  // The read-out keeps its space whether the mouse is over the picture or
  // not, so the check boxes below never move under the pointer; the panel
  // is wide enough for the longest position on one line.
  const QFontMetrics metrics = labelLocation_->fontMetrics();
  labelLocation_->setFixedHeight(metrics.lineSpacing() + kReadOutPadding);
  labelDataAtCursor_->setFixedHeight(kDataReadOutLines * metrics.lineSpacing() + kReadOutPadding);
  // The figures under the legend keep their three lines' room on every tab,
  // so that the check boxes below never move.
  constexpr int kIceStatisticsLines = 3;
  labelIceStatistics_->setFixedHeight(kIceStatisticsLines * metrics.lineSpacing() + kReadOutPadding);
  QSizePolicy keepRoom = labelIceStatistics_->sizePolicy();
  keepRoom.setRetainSizeWhenHidden(true);
  labelIceStatistics_->setSizePolicy(keepRoom);
  const int widestLocation = metrics.horizontalAdvance(FormatLatLon(1, -89.9, -179.9));
  side->setFixedWidth(std::max(kSidePanelWidth, widestLocation + kPanelMargin + kReadOutPadding));
  panel->addWidget(labelDataAtCursor_);
  checkBoxShowBoundaries_ = AddCheckBox(side, "Show boundaries", "ShowBoundaries", true, true);
  checkBoxShowGrid_ = AddCheckBox(side, "Show grid", "ShowGrid", true, true);
  checkBoxZoomed_ = AddCheckBox(side, "Zoom", "Zoomed", false, true);
  checkBoxLargeText_ = AddCheckBox(side, "Large text", "LargeText", false, true);
  checkBoxSaveWithOverlay_ = AddCheckBox(side, "Save with overlay", "SaveWithOverlay", false, false);
  panel->addStretch(1);
  row->addWidget(side);

  setCentralWidget(client);

  connect(tabControlDisplay_, &QTabBar::currentChanged, this, [this] { TabControlDisplayChange(); });
  connect(imageDisplay_, &TPictureView::MouseMovedOnPicture, this, &TFormMain::ImageDisplayMouseMove);
  connect(imageDisplay_, &TPictureView::MouseLeftPicture, this, &TFormMain::ImageDisplayMouseLeave);
  connect(imageDisplay_, &TPictureView::Clicked, this, &TFormMain::ImageDisplayClick);
  // The picture may move under a still mouse (wheel, keys).
  connect(scrollBoxDisplay_->horizontalScrollBar(), &QScrollBar::valueChanged, this, &TFormMain::ReadOutUnderMouse);
  connect(scrollBoxDisplay_->verticalScrollBar(), &QScrollBar::valueChanged, this, &TFormMain::ReadOutUnderMouse);
}

TDisplayOptions TFormMain::CurrentDisplayOptions() const
{
  TDisplayOptions options;
  options.Zoomed = checkBoxZoomed_->isChecked();
  options.ShowGrid = checkBoxShowGrid_->isChecked();
  options.ShowBoundaries = checkBoxShowBoundaries_->isChecked();
  options.LargeText = checkBoxLargeText_->isChecked();
  options.FontPoints = font().pointSize() > 0 ? font().pointSize() : options.FontPoints;
  return options;
}

void TFormMain::showEvent(QShowEvent* event)
{
  QMainWindow::showEvent(event);
  if (shownOnce_) {
    return;
  }
  shownOnce_ = true;
  if (centred_) {
    if (const QScreen* screen = this->screen()) {
      const QRect area = screen->availableGeometry();
      move(area.center() - QPoint(width() / 2, height() / 2));
    }
  } else {
    formInfo_->RestoreForm();
  }
  labelDataAtCursor_->clear();
  labelLocation_->clear();
  if (!arguments_.isEmpty() && !arguments_.first().isEmpty()) {
    timerLoad_.start();
  }
}

void TFormMain::closeEvent(QCloseEvent* event)
{
  StoreGeometry();
  QMainWindow::closeEvent(event);
}

void TFormMain::StoreGeometry()
{
  timerStoreGeometry_.stop();
  // Before the first show the window has not taken its place yet.
  if (shownOnce_) {
    formInfo_->Store();
  }
}

void TFormMain::GeometryChanged()
{
  if (shownOnce_ && isVisible() && !timerStoreGeometry_.isActive()) {
    timerStoreGeometry_.start();
  }
}

void TFormMain::moveEvent(QMoveEvent* event)
{
  QMainWindow::moveEvent(event);
  GeometryChanged();
}

void TFormMain::resizeEvent(QResizeEvent* event)
{
  QMainWindow::resizeEvent(event);
  GeometryChanged();
}

void TFormMain::changeEvent(QEvent* event)
{
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange) {
    GeometryChanged();
  }
}

void TFormMain::TimerLoadTimer()
{
  timerLoad_.stop();
  if (arguments_.isEmpty() || arguments_.first().isEmpty()) {
    return;
  }
  if (CommandLineHandler) {
    CommandLineHandler(*this, arguments_);
    return;
  }
  const QString first = arguments_.first();
  const QFileInfo file(first);
  if (file.isFile()) {
    LoadAndShow(file.canonicalFilePath(), kMaskAll);
  }
  const QString upper = first.toUpper();
  if (!file.isFile() && !upper.startsWith("-LATEST")) {
    messageSink_.ShowMessage(FileNotFoundMessage(first));
  }
  if (upper == "-LATEST") {
    OpenLatest(THemisphere::Either);
  } else if (upper == "-LATEST-NORTH") {
    OpenLatest(THemisphere::Northern);
  } else if (upper == "-LATEST-SOUTH") {
    OpenLatest(THemisphere::Southern);
  }
}

void TFormMain::MenuFileOpenClick()
{
  QFileDialog dialog(this, "Choose sea-ice concentration file", settings_->DataFolder.Value, OpenDialogFilters());
  dialog.setObjectName("OpenDialog");
  dialog.setFileMode(QFileDialog::ExistingFile);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
    return;
  }
  QCoreApplication::processEvents();
  const QString chosen = dialog.selectedFiles().first();
  settings_->DataFolder.Value = WithTrailingSeparator(QFileInfo(chosen).absolutePath());
  LoadAndShow(QDir::toNativeSeparators(chosen), kMaskAll);
}

void TFormMain::MenuFileOpenLatestClick() { OpenLatest(THemisphere::Either); }
void TFormMain::MenuFileOpenLatestNorthernClick() { OpenLatest(THemisphere::Northern); }
void TFormMain::MenuFileOpenLatestSouthernClick() { OpenLatest(THemisphere::Southern); }

void TFormMain::OpenLatest(THemisphere hemisphere)
{
  RememberScroll();
  TBusyCursor busy;
  workflow_->SetDisplayOptions(CurrentDisplayOptions());
  if (!workflow_->OpenLatest(hemisphere)) {
    messageSink_.ShowMessage(NoDataFilesMessage(settings_->ImagesPath(), true));
    return;
  }
  settings_->StoreAll();  // the folder the data came from
  ReportFailedLoad();
}

void TFormMain::LoadAndShow(const QString& fileName, unsigned mask)
{
  RememberScroll();
  TBusyCursor busy;
  workflow_->SetDisplayOptions(CurrentDisplayOptions());
  workflow_->LoadProducts(fileName, mask);
  settings_->StoreAll();
  ReportFailedLoad();
}

void TFormMain::ReportFailedLoad()
{
  // A missing sibling is normal; a load where nothing at all could be read
  // is worth saying why.
  const TWorkflow::TLoadReport& report = workflow_->LastLoad();
  if (report.Tried > 0 && report.Loaded == 0) {
    messageSink_.ShowMessage("Could not load " + report.FirstError);
  }
}

void TFormMain::TabControlDisplayChange()
{
  RememberScroll();
  workflow_->SetDisplayOptions(CurrentDisplayOptions());
  workflow_->SelectTab(tabControlDisplay_->currentIndex());
  workflow_->Render();
}

void TFormMain::ReadOutUnderMouse()
{
  const QPoint at = imageDisplay_->mapFromGlobal(QCursor::pos());
  if (imageDisplay_->rect().contains(at) && imageDisplay_->isVisible()) {
    ImageDisplayMouseMove(at.x(), at.y());
  }
}

void TFormMain::ShowDisplay()
{
  const bool firstPicture = !pictureShownOnce_ && workflow_->DisplayBitmap().Height() > 0;
  pictureShownOnce_ = pictureShownOnce_ || firstPicture;
  {
    const QSignalBlocker blocker(tabControlDisplay_);
    tabControlDisplay_->setCurrentIndex(workflow_->SelectedTab());
  }
  imageDisplay_->SetBitmap(workflow_->DisplayBitmap());
  UpdateCaption();
  UpdateSaveItems();
  paintBoxScale_->SetLegend(workflow_->Legend(workflow_->SelectedTab(), TLegendBox::kHeight));
  UpdateIceStatistics();
  if (firstPicture) {
    // Once more when the layout has settled: the scroll bars that appear
    // with the picture narrow the view.
    CentreScroll();
    QTimer::singleShot(0, this, &TFormMain::CentreScroll);
  } else {
    RestoreScroll();
  }
  emit DisplayShown();
}

void TFormMain::CentreScroll()
{
  // The pole and the ice are in the middle of the polar grids.
  for (QScrollBar* bar : {scrollBoxDisplay_->horizontalScrollBar(), scrollBoxDisplay_->verticalScrollBar()}) {
    bar->setValue(bar->minimum() + (bar->maximum() - bar->minimum()) / 2);
  }
}

void TFormMain::UpdateSaveItems()
{
  // Saving needs the picture-output code and a product on the shown tab.
  const bool savable = TFormMainOutput::Of(*this) != nullptr && workflow_->Data(workflow_->SelectedTab()) != nullptr;
  for (const char* name : {"MenuFileSave", "MenuFileSaveAs"}) {
    if (auto* action = findChild<QAction*>(name)) {
      action->setEnabled(savable);
    }
  }
}

// The figures under the concentration legend, one per line to fit the
// panel; the whole line as the tooltip.
void TFormMain::UpdateIceStatistics()
{
  const std::optional<TIceStatistics> statistics =
    workflow_->SelectedTab() == prConcentration ? workflow_->ConcentrationStatistics() : std::nullopt;
  const QString text = statistics ? IceStatisticsText(*statistics) : QString();
  labelIceStatistics_->setText(QString(text).replace("  ", "\n"));
  labelIceStatistics_->setToolTip(text);
  labelIceStatistics_->setVisible(statistics.has_value());
}

void TFormMain::UpdateCaption()
{
  const QString shown = workflow_->DisplayedFileName();
  if (shown.isEmpty()) {
    setWindowTitle(kBaseCaption);
  } else {
    setWindowTitle(QString(kBaseCaption) + " - " + QFileInfo(shown).completeBaseName());
  }
}

void TFormMain::RememberScroll()
{
  scrollX_ = scrollBoxDisplay_->horizontalScrollBar()->value();
  scrollY_ = scrollBoxDisplay_->verticalScrollBar()->value();
}

void TFormMain::RestoreScroll()
{
  scrollBoxDisplay_->horizontalScrollBar()->setValue(scrollX_);
  scrollBoxDisplay_->verticalScrollBar()->setValue(scrollY_);
}

void TFormMain::ImageDisplayClick()
{
  if (imageDisplay_->Stretched()) {
    imageDisplay_->SetStretched(false);
    return;
  }
  const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  imageDisplay_->SetStretched(true, QSize(std::max(1, scrollBoxDisplay_->width() - bar),
                                          std::max(1, scrollBoxDisplay_->height() - bar)));
  labelLocation_->clear();
  labelDataAtCursor_->clear();
}

void TFormMain::ImageDisplayMouseMove(int x, int y)
{
  if (imageDisplay_->Stretched()) {
    return;
  }
  const TReadOut readOut = workflow_->ReadOutAt(x, y);
  labelLocation_->setText(readOut.Location);
  if (readOut.Data) {
    labelDataAtCursor_->setText(*readOut.Data);
  }
}

void TFormMain::ImageDisplayMouseLeave()
{
  labelLocation_->clear();
  labelDataAtCursor_->clear();
}

void TFormMain::MenuToolsSetupClick()
{
  TFormSetup setup(this);
  setup.FrameMsec = settings_->FrameMsec.Value;
  setup.FrameCount = settings_->FrameCount.Value;
  setup.FrameInterval = settings_->FrameInterval.Value;
  setup.CurrentDataPath = settings_->CurrentDataPath.Value;
  setup.AnimationSavePath = settings_->AnimationSavePath.Value;
  setup.SaveAsGif = settings_->SaveAsGif.Value;
  if (setup.exec() != QDialog::Accepted) {
    return;
  }
  if (setup.CurrentDataPath != settings_->CurrentDataPath.Value) {
    settings_->ClearImagesPathOverride();
  }
  settings_->FrameMsec.Value = setup.FrameMsec;
  settings_->FrameCount.Value = setup.FrameCount;
  settings_->FrameInterval.Value = setup.FrameInterval;
  settings_->CurrentDataPath.Value = setup.CurrentDataPath;
  settings_->AnimationSavePath.Value = setup.AnimationSavePath;
  settings_->SaveAsGif.Value = setup.SaveAsGif;
  settings_->StoreAll();
}

void TFormMain::MenuHelpAboutClick()
{
  TAboutBox about(this);
  about.exec();
}
