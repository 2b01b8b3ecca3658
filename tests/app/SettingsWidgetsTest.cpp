#include "app/RegistryFormInfo.h"
#include "app/vkrCheckBox.h"
#include "settings/SettingsTestSupport.h"

#include <QApplication>

using RememberedCheckBox = TemporarySettings;

TEST_F(RememberedCheckBox, RestoringTheStateFiresNoHandler)
{
  Plant(QStringLiteral("CheckBoxShowGrid"), 0);
  TvkrCheckBox box;
  box.setObjectName(QStringLiteral("CheckBoxShowGrid"));
  box.setChecked(true); // the state the form starts with
  int handled = 0;
  QObject::connect(&box, &QCheckBox::clicked, [&] { ++handled; });
  QObject::connect(&box, &QCheckBox::toggled, [&] { ++handled; });
  QObject::connect(&box, &QCheckBox::stateChanged, [&] { ++handled; });

  box.Loaded();
  EXPECT_FALSE(box.isChecked());
  EXPECT_EQ(handled, 0);

  box.click(); // the handlers themselves stay connected
  EXPECT_EQ(handled, 3);
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
