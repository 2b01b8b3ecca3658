#pragma once
// Settings of the viewer's own tests: a fresh program key per test and no
// stored images folder of the data collector unless a test plants one.
#include "settings/SettingsTestSupport.h"

class ViewerSettingsTest : public TemporarySettings {
protected:
  void SetUp() override
  {
    TemporarySettings::SetUp();
    ClearSiblings();
  }
  void TearDown() override
  {
    ClearSiblings();
    TemporarySettings::TearDown();
  }
  static void ClearSiblings()
  {
    for (const char* program : {"Feedkeeper-P", "Feedkeeper"}) {
      auto settings = OpenVendorSettings(program);
      settings->clear();
      settings->sync();
    }
  }
};
