#include "SettingsTestSupport.h"
#include "settings/RegistryFormGeometry.h"
#include "settings/RememberedCheckState.h"

using FormGeometryStorage = TemporarySettings;

TEST_F(FormGeometryStorage, FirstRunReadsTheCurrentGeometryAndStoresNothingUntilTheEnd)
{
  const TFormGeometry current{fsNormal, 10, 20, 816, 639, 800, 600};
  {
    TRegistryFormGeometry storage(current);
    EXPECT_EQ(storage.Stored(), current);
    EXPECT_FALSE(SettingExists(QStringLiteral("FormState")));
  }
  EXPECT_TRUE(SettingExists(QStringLiteral("FormState")));
}

TEST_F(FormGeometryStorage, SevenValuesUnderTheirNamesRoundTrip)
{
  const TFormGeometry closed{fsMaximised, -8, 31, 1040, 790, 1024, 748};
  const std::pair<const char*, int> expected[] = {
      {"FormState", 2},          {"FormLeft", -8},         {"FormTop", 31},           {"FormWidth", 1040},
      {"FormHeight", 790},       {"FormClientWidth", 1024}, {"FormClientHeight", 748},
  };
  {
    TRegistryFormGeometry storage(TFormGeometry{});
    storage.Store(TFormGeometry{fsNormal, 5, 5, 50, 50, 40, 40}); // while the window moved
    storage.Store(closed);                                        // the latest store counts
    // Written at once, so a run killed now keeps them.
    for (const auto& [name, value] : expected)
      EXPECT_EQ(Stored(QString::fromLatin1(name)).toInt(), value) << name;
  }
  for (const auto& [name, value] : expected)
    EXPECT_EQ(Stored(QString::fromLatin1(name)).toInt(), value) << name;

  TRegistryFormGeometry next(TFormGeometry{fsNormal, 1, 2, 3, 4, 5, 6});
  EXPECT_EQ(next.Stored(), closed);
}

TEST_F(FormGeometryStorage, MalformedValueFallsBackToTheCurrentOne)
{
  Plant(QStringLiteral("FormLeft"), QStringLiteral("left of centre"));
  Plant(QStringLiteral("FormTop"), 77);
  TRegistryFormGeometry storage(TFormGeometry{fsNormal, 10, 20, 30, 40, 50, 60});
  EXPECT_EQ(storage.Stored().Left, 10);
  EXPECT_EQ(storage.Stored().Top, 77);
}

using RememberedCheck = TemporarySettings;

TEST_F(RememberedCheck, InitialStateUntilStoredThenTheStoredOne)
{
  {
    TRememberedCheckState state;
    EXPECT_TRUE(state.Load(QStringLiteral("ShowBoundaries"), true));
    EXPECT_TRUE(state.Load(QStringLiteral("Other"), false)); // loads once
    EXPECT_EQ(state.ValueName(), QStringLiteral("ShowBoundaries"));
    state.Store(false);
  }
  EXPECT_EQ(Stored(QStringLiteral("ShowBoundaries")).toInt(), 0);
  TRememberedCheckState next;
  EXPECT_FALSE(next.Load(QStringLiteral("ShowBoundaries"), true));
}

TEST_F(RememberedCheck, NamelessBoxStoresNothing)
{
  TRememberedCheckState nameless;
  EXPECT_TRUE(nameless.Load(QString(), true));
  EXPECT_FALSE(nameless.IsLoaded());
  nameless.Store(false);
  EXPECT_TRUE(OpenProgramSettings()->allKeys().isEmpty());
}
