#include "app/RegistryFormInfo.h"
#include "app/vkrCheckBox.h"
#include "settings/SettingsTestSupport.h"

#include <QApplication>
#include <memory>

using RememberedCheckBox = TemporarySettings;

TEST_F(RememberedCheckBox, RestoringTheStateFiresNoHandler)
{
  Plant(QStringLiteral("CheckBoxShowGrid"), 0);
  TvkrCheckBox box;
  box.setObjectName(QStringLiteral("CheckBoxShowGrid"));
  box.setChecked(true); // initial state
  int handled = 0;
  QObject::connect(&box, &QCheckBox::clicked, [&] { ++handled; });
  QObject::connect(&box, &QCheckBox::toggled, [&] { ++handled; });
  QObject::connect(&box, &QCheckBox::stateChanged, [&] { ++handled; });

  box.Loaded();
  EXPECT_FALSE(box.isChecked());
  EXPECT_EQ(handled, 0);
  EXPECT_EQ(box.NamedAs(), QStringLiteral("CheckBoxShowGrid"));

  box.click(); // the handlers themselves stay connected
  EXPECT_EQ(handled, 3);
}

TEST_F(RememberedCheckBox, StateIsStoredWhenTheBoxIsDestroyed)
{
  {
    TvkrCheckBox box(QStringLiteral("Show grid"), QStringLiteral("ShowGrid"));
    box.setObjectName(QStringLiteral("CheckBoxShowGrid"));
    box.setChecked(true);
    box.Loaded();
    EXPECT_TRUE(box.isChecked());
    box.setChecked(false);
  }
  EXPECT_EQ(Stored(QStringLiteral("ShowGrid")).toInt(), 0);
  EXPECT_FALSE(SettingExists(QStringLiteral("CheckBoxShowGrid")));

  TvkrCheckBox next(QStringLiteral("Show grid"), QStringLiteral("ShowGrid"));
  next.setChecked(true);
  next.Loaded();
  EXPECT_FALSE(next.isChecked());
}

TEST_F(RememberedCheckBox, BoxNeverLoadedLeavesNoSetting)
{
  {
    TvkrCheckBox box(QStringLiteral("Zoom"), QStringLiteral("Zoomed"));
    box.setChecked(true);
  }
  EXPECT_FALSE(SettingExists(QStringLiteral("Zoomed")));
}

using FormInfo = TemporarySettings;

TEST_F(FormInfo, WindowClosedMaximisedStoresTwoAndReopensMaximised)
{
  {
    QWidget window;
    window.move(50, 60);
    window.resize(640, 480);
    window.show();
    TRegistryFormInfo info(&window);
    window.showMaximized();
    QApplication::processEvents();
    ASSERT_TRUE(window.isMaximized());
    info.Store();
  }
  EXPECT_EQ(Stored(QStringLiteral("FormState")).toInt(), fsMaximised);
  // The size it returns to, not the size of the whole screen.
  EXPECT_EQ(Stored(QStringLiteral("FormClientWidth")).toInt(), 640);
  EXPECT_EQ(Stored(QStringLiteral("FormClientHeight")).toInt(), 480);

  QWidget window;
  TRegistryFormInfo info(&window);
  info.RestoreForm();
  window.show();
  QApplication::processEvents();
  EXPECT_TRUE(window.isMaximized());
  window.showNormal();
  QApplication::processEvents();
  EXPECT_EQ(window.size(), QSize(640, 480));
}

TEST_F(FormInfo, NormalWindowReopensWhereAndAsLargeAsItWasClosed)
{
  {
    QWidget window;
    TRegistryFormInfo info(&window);
    window.move(120, 90);
    window.resize(700, 500);
    window.show();
    QApplication::processEvents();
  } // the info goes first and stores the shown geometry
  EXPECT_EQ(Stored(QStringLiteral("FormState")).toInt(), fsNormal);

  QWidget window;
  TRegistryFormInfo info(&window);
  info.RestoreForm();
  window.show();
  QApplication::processEvents();
  EXPECT_FALSE(window.isMaximized());
  EXPECT_EQ(window.size(), QSize(700, 500));
  EXPECT_EQ(window.pos(), QPoint(120, 90));
}

TEST_F(FormInfo, WindowClosedMinimisedStoresOneButReopensNormal)
{
  Plant(QStringLiteral("FormState"), fsMinimised);
  Plant(QStringLiteral("FormClientWidth"), 300);
  Plant(QStringLiteral("FormClientHeight"), 200);
  QWidget window;
  TRegistryFormInfo info(&window);
  info.RestoreForm();
  EXPECT_FALSE(window.windowState() & Qt::WindowMinimized);
  EXPECT_EQ(window.size(), QSize(300, 200));
}

TEST_F(FormInfo, WindowDestroyedFirstStillStoresTheValuesRead)
{
  Plant(QStringLiteral("FormLeft"), 33);
  std::unique_ptr<TRegistryFormInfo> info;
  {
    QWidget window;
    info = std::make_unique<TRegistryFormInfo>(&window);
  }
  info.reset();
  EXPECT_EQ(Stored(QStringLiteral("FormLeft")).toInt(), 33);
  EXPECT_TRUE(SettingExists(QStringLiteral("FormClientHeight")));
}
