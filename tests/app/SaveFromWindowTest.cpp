// Saving and animating from the main window on the offscreen platform:
// File, Save and Save As (driven with the chosen name), the overlays of a
// saved picture, the animation items with their progress window, Cancel and
// the animation viewer.
#include <QCheckBox>
#include <QMovie>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "app/AppTestSupport.h"
#include "app/BatchTestSupport.h"
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
    window_ = StartWindow({}, GapTreeImagesPath());
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
  void Trigger(const char* name) { ::Trigger(*window_, name); }
  QString Out(const QString& name) const { return QDir::toNativeSeparators(out_.filePath(name)); }
  QStringList OutputFiles() const { return QDir(out_.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name); }

  QTemporaryDir out_;
  std::unique_ptr<TFormMain> window_;
  TFormMainOutput* output_ = nullptr;
};

// File, Save writes the product's own picture (no grid, no stamp) under its
// default name in the data folder; Save As with a name without extension
// writes a PNG under that very name; a folder that cannot be written says why.
TEST_F(SaveFromWindow, SaveWritesTheProductPictureOrSaysWhyNot)
{
  LoadNorth();
  const std::vector product{RgbOf(window_->Workflow().Data(prConcentration)->Bitmap())};
  ModalAnswerer answers;
  Trigger("MenuFileSave");
  ASSERT_TRUE(output_->SaveSelectedProduct(Out("picture")).Written);
  window_->Settings().DataFolder.Value = "/proc/";
  Trigger("MenuFileSave");
  ASSERT_EQ(answers.Texts.size(), 3);
  EXPECT_EQ(answers.Texts.mid(0, 2), (QStringList{"Saved to " + Out("conc.png"), "Saved to " + Out("picture")}));
  EXPECT_TRUE(answers.Texts[2].startsWith("Cannot create " + QDir::toNativeSeparators("/proc/conc.png")))
    << qPrintable(answers.Texts[2]);
  EXPECT_EQ(OutputFiles(), (QStringList{"conc.png", "picture"}));
  EXPECT_TRUE(FramesOf(Out("conc.png")) == product);
  const std::optional<TReadBack> picture = ReadBack(Out("picture"));
  EXPECT_TRUE(picture && picture->Version == "PNG" && picture->Frames == product);
}

TEST_F(SaveFromWindow, SavedPictureWithOverlayEqualsDisplayedOne)
{
  LoadNorth();
  Child<QCheckBox>(*window_, "CheckBoxSaveWithOverlay")->setChecked(true);
  ModalAnswerer answers;
  // As Save As does with a name ending in ".GIF".
  EXPECT_TRUE(output_->SaveSelectedProduct(Out("shown.GIF")).Written);
  EXPECT_EQ(answers.Texts, QStringList{"Saved to " + Out("shown.GIF")});
  const std::optional<TReadBack> gif = ReadBack(Out("shown.GIF"));
  ASSERT_TRUE(gif);
  EXPECT_EQ(gif->Version, "GIF87a");
  EXPECT_TRUE(gif->Frames == std::vector{RgbOf(window_->Workflow().DisplayBitmap())});
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
  // The display ends on the loaded day.
  EXPECT_TRUE(window_->Workflow().DisplayedFileName().contains(GapTreeEnd().toString("yyyyMMdd")));
  const QStringList texts = AnimationFrameTexts(output_->LastAnimation());
  ASSERT_EQ(texts.size(), kGapTreeDays - 1);

  Trigger("MenuToolsViewAnimation");
  TFormViewAnimation& viewer = output_->FormViewAnimation();
  EXPECT_TRUE(viewer.isVisible());
  QMovie& movie = viewer.Movie();
  EXPECT_EQ(movie.state(), QMovie::Running);
  auto* label = Child<QLabel>(viewer, "LabelFrameFigures");
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
  QObject::connect(Child<QProgressBar>(progress, "ProgressBar"), &QProgressBar::valueChanged, &progress, [&progress](int value) {
    if (value > 0 && value < 100) {
      progress.ButtonCancel()->click();
    }
  });
  ModalAnswerer answers;
  Trigger("MenuAnimateConc");
  EXPECT_EQ(output_->LastAnimation().Outcome, TAnimationResult::TOutcome::Cancelled);
  EXPECT_TRUE(OutputFiles().isEmpty());
  EXPECT_TRUE(answers.Texts.isEmpty());
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
