// The setup dialog: its copies go in and come back only with OK; folders get
// their separator and are checked.
#include "app/AppTestSupport.h"
#include "app/FormSetup.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

namespace {

// Runs `act` on the dialog once it is shown modally.
void WhenShown(TFormSetup& dialog, std::function<void()> act)
{
  QTimer::singleShot(0, &dialog, [&dialog, act] {
    if (dialog.isVisible()) {
      act();
    }
  });
}

class SetupDialog : public ::testing::Test {
protected:
  void SetUp() override
  {
    dialog.CurrentDataPath = "/data/images/";
    dialog.FrameCount = 7;
  }
  TFormSetup dialog;
};

TEST_F(SetupDialog, CancelAndEscapeDiscardEveryChange)
{
  for (const bool escape : {false, true}) {
    SCOPED_TRACE(escape);
    WhenShown(dialog, [this, escape] {
      Child<QSpinBox>(dialog, "EditNumFrames")->setValue(30);
      if (escape) {
        QTest::keyClick(&dialog, Qt::Key_Escape);
      } else {
        Child<QPushButton>(dialog, "ButtonCancel")->click();
      }
    });
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    EXPECT_EQ(dialog.FrameCount, 7);
  }
}

// A missing animation folder is refused, a missing data folder is not; a
// folder typed without a separator gets one, an empty one stays empty.
TEST_F(SetupDialog, RefusesAMissingAnimationFolderButAcceptsAMissingDataFolder)
{
  dialog.AnimationSavePath = "/no/such/animations/";
  WhenShown(dialog, [this] {
    EXPECT_FALSE(dialog.ValidationError().isEmpty());
    Child<QLineEdit>(dialog, "EditAnimOutputPath")->clear();
    Child<QLineEdit>(dialog, "EditCurrentDataPath")->setText("/no/such/images");
    EXPECT_TRUE(dialog.ValidationError().isEmpty());
    Child<QPushButton>(dialog, "ButtonOK")->click();
  });
  EXPECT_EQ(dialog.exec(), QDialog::Accepted);
  EXPECT_EQ(dialog.CurrentDataPath, QDir::toNativeSeparators("/no/such/images/"));
  EXPECT_EQ(dialog.AnimationSavePath, "");
}

}  // namespace
