#pragma once
// A workflow over the gap tree of one format (GRIB or netCDF), started as
// the program's window starts it: the boundary file beside the program.
// Folders for the settings and the pictures written come with it.
#include <QTemporaryDir>

#include <memory>
#include <string>
#include <vector>

#include "app/AppTestSupport.h"
#include "app/BatchTestSupport.h"
#include "app/workflow/MessageSink.h"
#include "app/workflow/ViewerSettings.h"
#include "app/workflow/Workflow.h"
#include "overlays/CartogList.h"

class GapTreeWorkflowTest : public ViewerSettingsTest {
protected:
  explicit GapTreeWorkflowTest(QString format = "grib") : format_(std::move(format)) {}

  void SetUp() override
  {
    ViewerSettingsTest::SetUp();
    ASSERT_TRUE(config_.isValid() && out_.isValid());
    images_ = GapTreeImagesPath(format_);
    ASSERT_FALSE(images_.isEmpty()) << "the " << qPrintable(format_) << " sample tree could not be made";
    settings_ = std::make_unique<TViewerSettings>();
    workflow_ = std::make_unique<TWorkflow>(*settings_, messages_);
    workflow_->Boundaries().LoadFromFile(std::string(NORVANT_BINARY_DIR) + "/Countries.dat");
  }

  // The picture the display shows for a product's file.
  TRgbPicture Displayed(int product, const QString& file)
  {
    const bool shown = workflow_->LoadProducts(file, ProductMask(product)) && workflow_->SelectedTab() == product;
    EXPECT_TRUE(shown) << qPrintable(file);
    return shown ? RgbOf(workflow_->DisplayBitmap()) : TRgbPicture{};
  }

  // An animation of the tree's days as displayed, oldest first, without
  // the day left out; `fileOfDay` names the product's file of a day.
  template <class FileOfDay>
  std::vector<TRgbPicture> DisplayedFrames(int product, FileOfDay fileOfDay)
  {
    std::vector<TRgbPicture> frames;
    for (int back = kGapTreeDays - 1; back >= 0; --back) {
      if (const QDate day = GapTreeEnd().addDays(-back); day != GapTreeSkipped()) {
        frames.push_back(Displayed(product, fileOfDay(day)));
      }
    }
    return frames;
  }

  void TearDown() override
  {
    workflow_.reset();
    settings_.reset();
    ViewerSettingsTest::TearDown();
  }

  const QString format_;
  QTemporaryDir config_;
  QTemporaryDir out_;
  QString images_;
  TCollectingMessageSink messages_;
  std::unique_ptr<TViewerSettings> settings_;
  std::unique_ptr<TWorkflow> workflow_;
};
