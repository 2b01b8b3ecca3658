// Saving and animating from the main window on the offscreen platform:
// File, Save and Save As (driven with the chosen name), the overlays of a
// saved picture, the animation items with their progress window, Cancel and
// the animation viewer.
#include <QAction>
#include <QCheckBox>
#include <QMovie>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "app/AppTestSupport.h"
#include "app/BatchTestSupport.h"
#include "app/FormMain.h"
#include "app/FormMainOutput.h"
#include "app/FormProgress.h"
#include "app/FormViewAnimation.h"
#include "grib/GribData.h"

namespace {

class SaveFromWindow : public ViewerSettingsTest {
protected:
  void SetUp() override
  {
    ViewerSettingsTest::SetUp();
    ASSERT_TRUE(out_.isValid());
    ASSERT_FALSE(GapTreeImagesPath().isEmpty()) << "the sample tree could not be made";
    window_ = std::make_unique<TFormMain>(QStringList{}, GapTreeImagesPath());
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    output_ = TFormMainOutput::Of(*window_);
    ASSERT_NE(output_, nullptr);
    window_->Settings().DataFolder.Value = QDir::toNativeSeparators(out_.path() + "/");
  }
  void TearDown() override
  {
    window_.reset();
    ViewerSettingsTest::TearDown();
  }

  void LoadNorth() { window_->LoadAndShow(GapTreeFile(0, "NH", GapTreeEnd()), kMaskAll); }
  void Trigger(const char* name)
  {
    QAction* action = window_->findChild<QAction*>(name);
    ASSERT_NE(action, nullptr) << name;
    ASSERT_TRUE(action->isEnabled()) << name;
    action->trigger();
  }
  void SetBox(const char* name, bool checked)
  {
    auto* box = window_->findChild<QCheckBox*>(name);
    ASSERT_NE(box, nullptr) << name;
    if (box->isChecked() != checked) {
      box->click();
    }
  }
  QString Out(const QString& name) const { return QDir::toNativeSeparators(out_.filePath(name)); }
  QStringList OutputFiles() const { return QDir(out_.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name); }

  QTemporaryDir out_;
  std::unique_ptr<TFormMain> window_;
  TFormMainOutput* output_ = nullptr;
};

TEST_F(SaveFromWindow, SaveWritesProductPictureUnderDefaultNameInDataFolder)
{
  LoadNorth();
  ModalAnswerer answers;
  Trigger("MenuFileSave");
  EXPECT_EQ(answers.Texts, QStringList{"Saved to " + Out("conc.png")});
  QString report;
  EXPECT_TRUE(PngcheckAccepts(Out("conc.png"), &report)) << qPrintable(report);
  const std::optional<TRgbPicture> saved = ReadPngWithLibpng(Out("conc.png"));
  ASSERT_TRUE(saved);
  // Without "Save with overlay": the product's own picture, no grid, no stamp.
  EXPECT_TRUE(*saved == RgbOf(window_->Workflow().Data(prConcentration)->Bitmap()));
  EXPECT_FALSE(*saved == RgbOf(window_->Workflow().DisplayBitmap()));
}

TEST_F(SaveFromWindow, SavedPictureWithOverlayEqualsDisplayedOne)
{
  LoadNorth();
  SetBox("CheckBoxSaveWithOverlay", true);
  ModalAnswerer answers;
  // As Save As does with a name ending in ".GIF".
  EXPECT_TRUE(output_->SaveSelectedProduct(Out("shown.GIF")).Written);
  EXPECT_EQ(answers.Texts, QStringList{"Saved to " + Out("shown.GIF")});
  const std::optional<TGifReadBack> gif = ReadGifWithGiflib(Out("shown.GIF"));
  ASSERT_TRUE(gif);
  EXPECT_EQ(gif->Version, "GIF87a");
  ASSERT_EQ(gif->Frames.size(), 1u);
  EXPECT_TRUE(gif->Frames[0] == RgbOf(window_->Workflow().DisplayBitmap()));
}

TEST_F(SaveFromWindow, SaveAsNameWithoutExtensionGetsPngUnderThatName)
{
  LoadNorth();
  ModalAnswerer answers;
  ASSERT_TRUE(output_->SaveSelectedProduct(Out("picture")).Written);
  EXPECT_EQ(OutputFiles(), QStringList{"picture"});
  QFile file(Out("picture"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.read(8), QByteArray("\x89PNG\r\n\x1a\n", 8));
}

TEST_F(SaveFromWindow, FailedSaveShowsReasonAndNoSavedMessage)
{
  LoadNorth();
  window_->Settings().DataFolder.Value = "/proc/";
  ModalAnswerer answers;
  Trigger("MenuFileSave");
  ASSERT_EQ(answers.Texts.size(), 1);
  EXPECT_TRUE(answers.Texts[0].startsWith("Cannot create " + QDir::toNativeSeparators("/proc/conc.png")))
    << qPrintable(answers.Texts[0]);
}

// The viewer plays the frames and shows, on screen, the ice figures of the
// frame showing.
TEST_F(SaveFromWindow, AnimateWritesFramesOfDaysPresentAndViewerPlaysThem)
{
  window_->Settings().FrameCount.Value = kGapTreeDays;
  LoadNorth();
  ModalAnswerer answers;
  Trigger("MenuAnimateConc");
  ASSERT_EQ(answers.Texts.size(), 1);
  EXPECT_EQ(answers.Texts[0], QString("Animation saved to: %1\n%2 frames; no data for %3")
                                .arg(Out("sea-ice-conc-anim.gif"))
                                .arg(kGapTreeDays - 1)
                                .arg(GapTreeSkipped().toString(Qt::ISODate)));
  EXPECT_FALSE(output_->FormProgress().isVisible());
  EXPECT_EQ(output_->FormProgress().Position(), 100);
  // The display ends on the loaded day.
  EXPECT_EQ(window_->Workflow().SelectedTab(), prConcentration);
  EXPECT_TRUE(window_->Workflow().DisplayedFileName().contains(GapTreeEnd().toString("yyyyMMdd")));
  const QStringList texts = AnimationFrameTexts(output_->LastAnimation());
  ASSERT_EQ(texts.size(), kGapTreeDays - 1);

  Trigger("MenuToolsViewAnimation");
  TFormViewAnimation& viewer = output_->FormViewAnimation();
  EXPECT_TRUE(viewer.isVisible());
  QMovie& movie = viewer.Movie();
  EXPECT_TRUE(movie.isValid());
  EXPECT_EQ(movie.frameCount(), kGapTreeDays - 1);
  EXPECT_EQ(movie.state(), QMovie::Running);
  auto* label = viewer.findChild<QLabel*>("LabelFrameFigures");
  ASSERT_NE(label, nullptr);
  EXPECT_TRUE(label->isVisible());
  // The frames skip the missing day: the third and last is the loaded day.
  movie.setPaused(true);
  for (int steps = 0; movie.currentFrameNumber() != 2 && steps < 2 * kGapTreeDays; ++steps) {
    ASSERT_TRUE(movie.jumpToNextFrame());
  }
  ASSERT_EQ(movie.currentFrameNumber(), 2);
  EXPECT_EQ(label->text(), texts[2]);
  EXPECT_TRUE(label->text().startsWith(GapTreeEnd().toString(Qt::ISODate) + " NH  Extent ")) << qPrintable(texts[2]);
}

TEST_F(SaveFromWindow, CancelStopsAnimationAndWritesNothing)
{
  window_->Settings().FrameCount.Value = kGapTreeDays;
  LoadNorth();
  const QString loaded = window_->Workflow().DisplayedFileName();
  TFormProgress& progress = output_->FormProgress();
  auto* bar = progress.findChild<QProgressBar*>("ProgressBar");
  ASSERT_NE(bar, nullptr);
  QObject::connect(bar, &QProgressBar::valueChanged, &progress, [&progress](int value) {
    if (value > 0 && value < 100) {
      progress.ButtonCancel()->click();
    }
  });
  ModalAnswerer answers;
  Trigger("MenuAnimateConc");
  EXPECT_EQ(output_->LastAnimation().Outcome, TAnimationResult::TOutcome::Cancelled);
  EXPECT_TRUE(OutputFiles().isEmpty());
  EXPECT_TRUE(answers.Texts.isEmpty());
  EXPECT_TRUE(output_->AnimationFile().isEmpty());
  EXPECT_FALSE(progress.isVisible());
  // The display is back on the day the run started from.
  EXPECT_EQ(window_->Workflow().DisplayedFileName(), loaded);
}

TEST_F(SaveFromWindow, AnimateWithoutDataAsksForDataFirst)
{
  ModalAnswerer answers;
  Trigger("MenuAnimateSST");
  EXPECT_EQ(answers.Texts, QStringList{"Please load some data before animating"});
  EXPECT_TRUE(OutputFiles().isEmpty());
  // Nothing to show yet: the viewer stays closed.
  Trigger("MenuToolsViewAnimation");
  EXPECT_FALSE(output_->FormViewAnimation().isVisible());
}

}  // namespace
