// The real main window on the offscreen platform: open the newest sample
// data, switch tabs, zoom, read out under the mouse, survive bad input.
#include "app/AppTestSupport.h"
#include "app/LegendBox.h"
#include "app/PictureView.h"
#include "app/ReadOutReference.h"
#include "grib/GribData.h"
#include "support/SampleTree.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollArea>
#include <QTabBar>

namespace {

class MainWindow : public ViewerSettingsTest {
protected:
  void SetUp() override
  {
    ViewerSettingsTest::SetUp();
    ASSERT_FALSE(SampleImagesPath().isEmpty()) << "the sample tree could not be made";
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

TEST_F(MainWindow, EveryTabShowsItsProductAndLegend)
{
  // The boundary file beside the program, found as the sibling Trakwise's.
  Plant("App Paths", "Trakwise", QString(NORVANT_BINARY_DIR) + "/norvant");
  auto window = StartWindow({}, SampleImagesPath());
  Trigger(*window, "MenuFileOpenLatest");
  auto* tabs = Child<QTabBar>(*window, "TabControlDisplay");
  auto* picture = Child<TPictureView>(*window, "ImageDisplay");
  auto* legend = Child<TLegendBox>(*window, "PaintBoxScale");
  const char* shots[] = {"screenshot-conc.png", "screenshot-edge.png", "screenshot-type.png", "screenshot-sst.png"};
  const std::size_t classRows[] = {12, 5, 6, 0};
  for (int tab = 0; tab < kProductCount; ++tab) {
    SCOPED_TRACE(tab);
    tabs->setCurrentIndex(tab);
    const TGribData* data = window->Workflow().Data(tab);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(picture->Image().size(), QSize(data->Bitmap().Width(), data->Bitmap().Height()));
    EXPECT_EQ(window->windowTitle(),
              "Norvant - Brenmark - " + QFileInfo(window->Workflow().FileName(tab)).completeBaseName());
    EXPECT_EQ(legend->Legend().Swatches.size(), classRows[tab]);
    QTest::qWait(20);
    SaveScreenshot(*window, shots[tab]);
  }
  EXPECT_FALSE(legend->Legend().Bar.empty());

  // The day before holds a complex-packed SST field.
  window->LoadAndShow(SampleDay(4) + "S-OSI_-FRA_-MULT-MAPSST_FIELD-202612041200Z.grb.gz", kMaskAll);
  EXPECT_EQ(tabs->currentIndex(), prSst);
  EXPECT_TRUE(modal.Texts.isEmpty());
  QTest::qWait(20);
  SaveScreenshot(*window, "screenshot-sst-complex.png");
  OpenVendorSettings("App Paths")->remove("Trakwise");
}

TEST_F(MainWindow, ZoomBoxDoublesThePicture)
{
  auto window = StartWindow({}, SampleImagesPath());
  Trigger(*window, "MenuFileOpenLatestSouthern");
  auto* picture = Child<TPictureView>(*window, "ImageDisplay");
  const QSize natural = picture->Image().size();
  auto* zoom = Child<QCheckBox>(*window, "CheckBoxZoomed");
  ClickBox(zoom);
  EXPECT_EQ(picture->Image().size(), natural * 2);
  ClickBox(zoom);
  EXPECT_EQ(picture->Image().size(), natural);
}

TEST_F(MainWindow, MouseOverAGridPointShowsWhatProjAndEcCodesSay)
{
  auto window = StartWindow({}, SampleImagesPath());
  const QString file = SampleDay(5) + "S-OSI_-NOR_-MULT-GL_SH_CONC__-202612051200Z.grb";
  window->LoadAndShow(file, kMaskAll);
  auto* picture = Child<TPictureView>(*window, "ImageDisplay");
  auto* scroll = Child<QScrollArea>(*window, "ScrollBoxDisplay");
  auto* location = Child<QLabel>(*window, "LabelLocation");
  auto* data = Child<QLabel>(*window, "LabelDataAtCursor");
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

// A file that does not open and a quality file each say why in a box and
// leave the products, picture and caption of the last good one; so does an
// empty or missing tree. The folders given for the run are never stored.
TEST_F(MainWindow, BadInputSaysWhyAndKeepsWhatWasShown)
{
  Plant("CurrentDataPath", "/home/me/images/");
  Plant("DataFolder", "/home/me/last/");
  auto window = StartWindow({}, SampleImagesPath());
  window->LoadAndShow(SampleDay(5) + "S-OSI_-NOR_-MULT-GL_SH_EDGE__-202612051200Z.grb", kMaskAll);
  const TWorkflow& shown = window->Workflow();
  const QString caption = window->windowTitle();
  const TGribData* edge = shown.Data(prEdge);
  const QString file = shown.DisplayedFileName();
  ASSERT_TRUE(caption.endsWith("S-OSI_-NOR_-MULT-GL_SH_CONC__-202612051200Z")) << caption.toStdString();

  QTemporaryDir scratch;
  QFile bad(scratch.filePath("S-OSI_-NOR_-MULT-GL_NH_CONC__-202612051200Z.grb.gz"));
  ASSERT_TRUE(bad.open(QIODevice::WriteOnly) && bad.write("this is not gzip") > 0);
  bad.close();
  window->LoadAndShow(bad.fileName(), kMaskAll);
  window->LoadAndShow(SampleDay(5) + "S-OSI_-NOR_-MULT-GL_NH_CONC_Q-202612051200Z.grb", kMaskAll);
  QDir().mkpath(scratch.filePath("empty/SAF"));
  window->Settings().OverrideImagesPath(scratch.filePath("empty"));
  Trigger(*window, "MenuFileOpenLatest");
  window->Settings().OverrideImagesPath(scratch.filePath("missing"));
  Trigger(*window, "MenuFileOpenLatestNorthern");
  const char* const causes[] = {"NH_CONC__-202612051200Z.grb.gz", "quality files", "No data files were found",
                                "No data files were found"};
  ASSERT_EQ(modal.Texts.size(), 4) << modal.Texts.join("; ").toStdString();
  for (int k = 0; k < 4; ++k) {
    EXPECT_TRUE(modal.Texts[k].contains(causes[k])) << modal.Texts[k].toStdString();
  }
  EXPECT_EQ(window->windowTitle(), caption);
  EXPECT_EQ(shown.Data(prEdge), edge);
  EXPECT_EQ(shown.DisplayedFileName(), file);
  window->close();
  window.reset();
  EXPECT_EQ(Stored("CurrentDataPath").toString(), "/home/me/images/");
  EXPECT_EQ(Stored("DataFolder").toString(), "/home/me/last/");
}

TEST_F(MainWindow, FirstArgumentLoadsTheNewestDataOrTheNamedFile)
{
  {
    auto window = StartWindow({"-LATEST"}, SampleImagesPath());
    QTRY_VERIFY_WITH_TIMEOUT(window->Workflow().Data(prSst) != nullptr, 3000);
    EXPECT_NE(window->Workflow().Data(prConcentration), nullptr);
  }
  {
    // A missing file is named in a warning over the window, which stays open.
    auto window = StartWindow({"/missing.grb"});
    window->TimerLoad().stop();
    window->TimerLoadTimer();
    EXPECT_EQ(modal.Texts, QStringList{"File not found: " + QDir::toNativeSeparators("/missing.grb")});
    EXPECT_TRUE(window->isVisible());
  }
  const QString edge = SampleDay(3) + "S-OSI_-NOR_-MULT-GL_NH_EDGE__-202612031200Z.grb.gz";
  auto window = StartWindow({edge}, SampleImagesPath());
  QTRY_VERIFY_WITH_TIMEOUT(window->Workflow().Data(prConcentration) != nullptr, 3000);
  EXPECT_TRUE(window->Workflow().FileName(prConcentration).endsWith("NH_CONC__-202612031200Z.grb.gz"));
  EXPECT_EQ(window->Workflow().Data(prSst), nullptr);
  EXPECT_EQ(Child<QTabBar>(*window, "TabControlDisplay")->currentIndex(), prConcentration);
}

}  // namespace
