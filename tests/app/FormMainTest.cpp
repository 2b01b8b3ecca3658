// The real main window on the offscreen platform: start with empty
// settings, open the newest sample data, switch tabs, zoom, read out under
// the mouse, keep settings and geometry between runs, survive bad input.
#include "app/AppTestSupport.h"
#include "app/FormMain.h"
#include "app/FormSetup.h"
#include "app/LegendBox.h"
#include "app/PictureView.h"
#include "app/ReadOutReference.h"
#include "grib/GribData.h"
#include "support/SampleTree.h"

#include <QAction>
#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QTabBar>
#include <QTest>

namespace {

class MainWindow : public ViewerSettingsTest {
protected:
  void SetUp() override
  {
    ViewerSettingsTest::SetUp();
    ASSERT_FALSE(SampleImagesPath().isEmpty()) << "the sample tree could not be made";
  }

  std::unique_ptr<TFormMain> Start(QStringList arguments = {}, const QString& imagesPath = {})
  {
    auto window = std::make_unique<TFormMain>(std::move(arguments), imagesPath);
    window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    return window;
  }
  static void Trigger(TFormMain& window, const char* action)
  {
    QAction* item = window.findChild<QAction*>(action);
    ASSERT_NE(item, nullptr) << action;
    item->trigger();
  }
  template <class T>
  static T* Part(TFormMain& window, const char* name)
  {
    T* part = window.findChild<T*>(name);
    EXPECT_NE(part, nullptr) << name;
    return part;
  }
  // A mouse move as the window system delivers it to the widget.
  static void MoveMouse(QWidget* widget, QPoint at)
  {
    QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
  }
  // Clicks the box on its indicator (the widget is wider than its text).
  static void ClickBox(QCheckBox* box) { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2)); }
  static void SaveScreenshot(TFormMain& window, const QString& name)
  {
    QDir().mkpath(QString(NORVANT_BINARY_DIR) + "/screenshots");
    window.grab().save(QString(NORVANT_BINARY_DIR) + "/screenshots/" + name);
  }

  TScopedUtcClock clock{SampleMorning()};
  ModalAnswerer modal;
};

TEST_F(MainWindow, FindsTheSampleThroughFeedkeeperAndOpensTheNewestOfAllFour)
{
  Plant("Feedkeeper-P", "ImagesPath", SampleImagesPath());
  auto window = Start();
  EXPECT_EQ(window->windowTitle(), "Norvant - Brenmark");
  Trigger(*window, "MenuFileOpenLatest");
  EXPECT_TRUE(modal.Texts.isEmpty()) << modal.Texts.join("; ").toStdString();
  for (int product = 0; product < kProductCount; ++product) {
    EXPECT_NE(window->Workflow().Data(product), nullptr) << product;
  }
  auto* tabs = Part<QTabBar>(*window, "TabControlDisplay");
  EXPECT_EQ(tabs->currentIndex(), prSst);
  EXPECT_EQ(window->windowTitle(), "Norvant - Brenmark - S-OSI_-FRA_-MULT-MAPSST_FIELD-202612051200Z.grb");
  EXPECT_EQ(window->Settings().CurrentDataPath.Value, SampleImagesPath());
}

TEST_F(MainWindow, EveryTabShowsItsProductAndLegend)
{
  // The boundary file beside the program, found as the sibling Trakwise's.
  Plant("App Paths", "Trakwise", QString(NORVANT_BINARY_DIR) + "/norvant");
  auto window = Start({}, SampleImagesPath());
  Trigger(*window, "MenuFileOpenLatest");
  auto* tabs = Part<QTabBar>(*window, "TabControlDisplay");
  auto* picture = Part<TPictureView>(*window, "ImageDisplay");
  auto* legend = Part<TLegendBox>(*window, "PaintBoxScale");
  const char* shots[] = {"screenshot-conc.png", "screenshot-edge.png", "screenshot-type.png", "screenshot-sst.png"};
  const std::size_t classRows[] = {12, 5, 6, 0};
  for (int tab = 0; tab < kProductCount; ++tab) {
    SCOPED_TRACE(tab);
    tabs->setCurrentIndex(tab);
    const TGribData* data = window->Workflow().Data(tab);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(picture->Image().size(), QSize(data->Bitmap().Width(), data->Bitmap().Height()));
    EXPECT_EQ(picture->Image().format(), QImage::Format_Indexed8);
    EXPECT_EQ(window->windowTitle(),
              "Norvant - Brenmark - " + QFileInfo(window->Workflow().FileName(tab)).completeBaseName());
    EXPECT_EQ(legend->Legend().Swatches.size(), classRows[tab]);
    QTest::qWait(20);
    SaveScreenshot(*window, shots[tab]);
  }
  EXPECT_FALSE(legend->Legend().Bar.empty());
  EXPECT_EQ(legend->Legend().Labels.size(), 7u);

  // The day before holds a complex-packed SST field.
  window->LoadAndShow(SampleDay(4) + "S-OSI_-FRA_-MULT-MAPSST_FIELD-202612041200Z.grb.gz", kMaskAll);
  EXPECT_EQ(tabs->currentIndex(), prSst);
  EXPECT_TRUE(modal.Texts.isEmpty());
  QTest::qWait(20);
  SaveScreenshot(*window, "screenshot-sst-complex.png");
  OpenVendorSettings("App Paths")->remove("Trakwise");
}

TEST_F(MainWindow, TheSetupDialogPointsAnEmptyStartAtTheSampleTree)
{
  auto window = Start();
  Trigger(*window, "MenuFileOpenLatest");
  ASSERT_EQ(modal.Texts.size(), 1);
  EXPECT_TRUE(modal.Texts.first().startsWith("No data files were found")) << modal.Texts.first().toStdString();
  modal.onDialog = [](QDialog& dialog) {
    dialog.findChild<QLineEdit*>("EditCurrentDataPath")->setText(SampleImagesPath());
    dialog.findChild<QPushButton*>("ButtonOK")->click();
  };
  Trigger(*window, "MenuToolsSetup");
  EXPECT_EQ(window->Settings().CurrentDataPath.Value, SampleImagesPath());
  Trigger(*window, "MenuFileOpenLatest");
  EXPECT_EQ(modal.Texts.size(), 1);
  EXPECT_NE(window->Workflow().Data(prConcentration), nullptr);
}

TEST_F(MainWindow, ZoomBoxDoublesThePicture)
{
  auto window = Start({}, SampleImagesPath());
  Trigger(*window, "MenuFileOpenLatestSouthern");
  auto* picture = Part<TPictureView>(*window, "ImageDisplay");
  const QSize natural = picture->Image().size();
  auto* zoom = Part<QCheckBox>(*window, "CheckBoxZoomed");
  ClickBox(zoom);
  EXPECT_TRUE(zoom->isChecked());
  EXPECT_EQ(picture->Image().size(), natural * 2);
  ClickBox(zoom);
  EXPECT_EQ(picture->Image().size(), natural);
}

TEST_F(MainWindow, MouseOverAGridPointShowsWhatProjAndEcCodesSay)
{
  auto window = Start({}, SampleImagesPath());
  const QString file = SampleDay(5) + "S-OSI_-NOR_-MULT-GL_SH_CONC__-202612051200Z.grb";
  window->LoadAndShow(file, kMaskAll);
  auto* picture = Part<TPictureView>(*window, "ImageDisplay");
  auto* scroll = Part<QScrollArea>(*window, "ScrollBoxDisplay");
  auto* location = Part<QLabel>(*window, "LabelLocation");
  auto* data = Part<QLabel>(*window, "LabelDataAtCursor");
  const TReadOutReference reference(file);
  for (const auto& point : kReadOutPoints) {
    SCOPED_TRACE(testing::Message() << "pixel " << point[0] << "," << point[1]);
    scroll->ensureVisible(point[0], point[1], 10, 10);
    MoveMouse(picture, QPoint(point[0], point[1]));
    reference.Check(point[0], point[1], location->text(), data->text());
  }
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(picture, &leave);
  EXPECT_TRUE(location->text().isEmpty());
  EXPECT_TRUE(data->text().isEmpty());
}

TEST_F(MainWindow, SettingsAndGeometryOfOneRunAreThereAtTheNext)
{
  {
    auto window = Start({}, SampleImagesPath());
    window->move(40, 50);
    window->resize(820, 610);
    ClickBox(Part<QCheckBox>(*window, "CheckBoxZoomed"));
    ClickBox(Part<QCheckBox>(*window, "CheckBoxShowGrid"));
    window->Settings().FrameCount.Value = 30;
    window->Settings().SaveAsGif.Value = true;
    window->close();
  }
  EXPECT_TRUE(SettingExists("FormState"));
  EXPECT_EQ(Stored("AnimationFrames").toInt(), 30);
  auto window = Start();
  EXPECT_EQ(window->pos(), QPoint(40, 50));
  EXPECT_EQ(window->size(), QSize(820, 610));
  EXPECT_TRUE(Part<QCheckBox>(*window, "CheckBoxZoomed")->isChecked());
  EXPECT_FALSE(Part<QCheckBox>(*window, "CheckBoxShowGrid")->isChecked());
  EXPECT_TRUE(Part<QCheckBox>(*window, "CheckBoxShowBoundaries")->isChecked());
  EXPECT_EQ(window->Settings().FrameCount.Value, 30);
  EXPECT_TRUE(window->Settings().SaveAsGif.Value);
  // The sample folder was for that run only.
  EXPECT_TRUE(window->Settings().CurrentDataPath.Value.isEmpty());
}

TEST_F(MainWindow, BadInputSaysWhyAndLeavesTheWindowUsable)
{
  Plant("CurrentDataPath", "/home/me/images/");
  QTemporaryDir scratch;
  QDir().mkpath(scratch.filePath("empty/SAF"));
  auto window = Start({}, scratch.filePath("empty"));
  Trigger(*window, "MenuFileOpenLatest");
  window->Settings().OverrideImagesPath(scratch.filePath("missing"));
  Trigger(*window, "MenuFileOpenLatestNorthern");
  ASSERT_EQ(modal.Texts.size(), 2);
  EXPECT_TRUE(modal.Texts[0].startsWith("No data files were found"));
  EXPECT_TRUE(modal.Texts[1].startsWith("No data files were found"));

  QFile text(scratch.filePath("NH_CONC_notes.grb"));
  ASSERT_TRUE(text.open(QIODevice::WriteOnly));
  text.write("not a GRIB file\n");
  text.close();
  window->LoadAndShow(text.fileName(), kMaskAll);
  ASSERT_EQ(modal.Texts.size(), 3);
  EXPECT_TRUE(modal.Texts[2].startsWith("Could not load ")) << modal.Texts[2].toStdString();
  EXPECT_TRUE(modal.Texts[2].contains("NH_CONC_notes.grb"));

  window->LoadAndShow(SampleDay(5) + "S-OSI_-NOR_-MULT-GL_NH_CONC_Q-202612051200Z.grb", kMaskAll);
  ASSERT_EQ(modal.Texts.size(), 4);
  EXPECT_EQ(modal.Texts[3], "Sorry - reading of quality files is not supported");

  // Still usable: the sample loads and shows.
  window->Settings().OverrideImagesPath(SampleImagesPath());
  Trigger(*window, "MenuFileOpenLatestSouthern");
  EXPECT_EQ(modal.Texts.size(), 4);
  EXPECT_FALSE(Part<TPictureView>(*window, "ImageDisplay")->Image().isNull());
  window->close();
  window.reset();
  EXPECT_EQ(Stored("CurrentDataPath").toString(), "/home/me/images/");
}

TEST_F(MainWindow, FirstArgumentLoadsTheNewestDataOrTheNamedFile)
{
  {
    auto window = Start({"-LATEST"}, SampleImagesPath());
    QTRY_VERIFY_WITH_TIMEOUT(window->Workflow().Data(prSst) != nullptr, 3000);
    EXPECT_NE(window->Workflow().Data(prConcentration), nullptr);
  }
  const QString edge = SampleDay(3) + "S-OSI_-NOR_-MULT-GL_NH_EDGE__-202612031200Z.grb.gz";
  auto window = Start({edge}, SampleImagesPath());
  QTRY_VERIFY_WITH_TIMEOUT(window->Workflow().Data(prConcentration) != nullptr, 3000);
  EXPECT_EQ(QFileInfo(window->Workflow().FileName(prConcentration)).fileName(),
            "S-OSI_-NOR_-MULT-GL_NH_CONC__-202612031200Z.grb.gz");
  EXPECT_EQ(window->Workflow().Data(prSst), nullptr);
  EXPECT_EQ(Part<QTabBar>(*window, "TabControlDisplay")->currentIndex(), prConcentration);
}

}  // namespace
