// Test entry point shared by every suite: a QGuiApplication on the offscreen
// platform (fonts for the canvas need one) and settings kept in a temporary
// folder, never the user's own.
#include <QGuiApplication>
#ifdef NORVANT_WIDGET_TESTS
#include <QApplication>
#endif
#include <QSettings>
#ifdef _WIN32
#include "settings/SettingsStore.h"
#endif
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir settingsDir;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());
#ifdef _WIN32
  SetSettingsFormat(QSettings::IniFormat); // the registry ignores setPath
#endif
#ifdef NORVANT_WIDGET_TESTS
  QApplication app(argc, argv);
#else
  QGuiApplication app(argc, argv);
#endif
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
