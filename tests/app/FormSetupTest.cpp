// The setup dialog: its copies go in and come back only with OK; folders get
// their separator; ranges and folders are checked.
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

TEST_F(SetupDialog, FolderTypedWithoutSeparatorGetsOneAndEmptyStaysEmpty)
{
  WhenShown(dialog, [&] {
    auto* data = Child<QLineEdit>(dialog, "EditCurrentDataPath");
    data->setText("/data/other");
    emit data->editingFinished();
    EXPECT_EQ(data->text(), QDir::toNativeSeparators("/data/other/"));
    auto* anim = Child<QLineEdit>(dialog, "EditAnimOutputPath");
    anim->setText("");
    emit anim->editingFinished();
    EXPECT_EQ(anim->text(), "");
    Child<QPushButton>(dialog, "ButtonOK")->click();
  });
  EXPECT_EQ(dialog.exec(), QDialog::Accepted);
  EXPECT_EQ(dialog.CurrentDataPath, QDir::toNativeSeparators("/data/other/"));
  EXPECT_EQ(dialog.AnimationSavePath, "");
}

TEST_F(SetupDialog, RefusesAMissingAnimationFolderButAcceptsAMissingDataFolder)
{
  dialog.CurrentDataPath = "/no/such/images/";
  dialog.AnimationSavePath = "/no/such/animations/";
  WhenShown(dialog, [this] {
    EXPECT_FALSE(dialog.ValidationError().isEmpty());
    Child<QLineEdit>(dialog, "EditAnimOutputPath")->clear();
    EXPECT_TRUE(dialog.ValidationError().isEmpty());
    Child<QPushButton>(dialog, "ButtonOK")->click();
  });
  EXPECT_EQ(dialog.exec(), QDialog::Accepted);
  EXPECT_EQ(dialog.CurrentDataPath, "/no/such/images/");
}

}  // namespace
