#pragma once
// Gives each test its own program name in the temporary settings folder the
// test runner set up, and clears those settings before and after.
#include "settings/SettingsStore.h"

#include <QSettings>
#include <gtest/gtest.h>

class TemporarySettings : public ::testing::Test {
protected:
  void SetUp() override
  {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    SetSettingsProgramName(QStringLiteral("norvant-test-%1-%2").arg(info->test_suite_name(), info->name()));
    OpenProgramSettings()->clear();
  }
  void TearDown() override
  {
    OpenProgramSettings()->clear();
    SetSettingsProgramName(QString());
  }

  // Writes a value behind the program's back, as a hand edit or an older
  // version would have left it.
  static void Plant(const QString& program, const QString& name, const QVariant& value)
  {
    auto settings = OpenVendorSettings(program);
    settings->setValue(name, value);
    settings->sync();
  }
  static void Plant(const QString& name, const QVariant& value) { Plant(SettingsProgramName(), name, value); }

  static QVariant Stored(const QString& name) { return OpenProgramSettings()->value(name); }
};
