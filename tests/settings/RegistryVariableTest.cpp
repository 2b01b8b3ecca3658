// The stored settings: values survive from one run to the next, a malformed
// value gives the default and is rewritten, unchanged values are not
// written again, and the window geometry and check boxes ride on the same
// store. Every test runs in a temporary settings folder.
#include "SettingsTestSupport.h"
#include "settings/RegistryFormGeometry.h"
#include "settings/RegistryVariable.h"
#include "settings/RememberedCheckState.h"

#include <sys/stat.h>

using RegistryVariable = TemporarySettings;

TEST_F(RegistryVariable, ValuesWrittenByOneRunAreReadByTheNext)
{
  {
    TRegistryBoolean flag(QStringLiteral("ShowGrid"), true);
    TRegistryInteger frames(QStringLiteral("AnimationFrames"), 7);
    TRegistryString folder(QStringLiteral("CurrentDataPath"), QStringLiteral("x"));
    TRegistryString empty(QStringLiteral("AnimationSavePath"), QStringLiteral("x"));
    flag.Value = false;
    frames.Value = -2147483647 - 1;
    folder.Value = QStringLiteral("C:\\Data, old\\@images\\");
    empty.Value.clear();
  }
  TRegistryBoolean flag(QStringLiteral("ShowGrid"), true);
  TRegistryInteger frames(QStringLiteral("AnimationFrames"), 7);
  TRegistryString folder(QStringLiteral("CurrentDataPath"), QStringLiteral("unused"));
  TRegistryString empty(QStringLiteral("AnimationSavePath"), QStringLiteral("default"));
  EXPECT_FALSE(flag.Value);
  EXPECT_EQ(frames.Value, -2147483647 - 1);
  EXPECT_EQ(folder.Value, QStringLiteral("C:\\Data, old\\@images\\"));
  EXPECT_EQ(empty.Value, QString());
}

TEST_F(RegistryVariable, MalformedStoredValuesGiveTheDefaultAndAreRewrittenAsIntegers)
{
  const QVariant malformed[] = {QStringLiteral("seven"), QStringLiteral("12abc"), QString(),
                                QStringLiteral("2147483648"), QStringLiteral("3.5"),
                                QStringList{QStringLiteral("1"), QStringLiteral("2")}};
  int n = 0;
  for (const QVariant& stored : malformed) {
    const QString name = QStringLiteral("Value%1").arg(n++);
    Plant(name, stored);
    {
      TRegistryInteger value(name, 330);
      EXPECT_EQ(value.Value, 330) << n;
    }
    bool isInteger = false;
    EXPECT_EQ(Stored(name).toString().toInt(&isInteger), 330) << n;
    EXPECT_TRUE(isInteger) << n;
  }
  // A boolean reads any non-zero integer as true and stores 0 or 1.
  Plant(QStringLiteral("A"), 5);
  Plant(QStringLiteral("C"), QStringLiteral("true"));
  {
    TRegistryBoolean a(QStringLiteral("A"), false);
    TRegistryBoolean c(QStringLiteral("C"), false);
    EXPECT_TRUE(a.Value);
    EXPECT_FALSE(c.Value);
  }
  EXPECT_EQ(Stored(QStringLiteral("A")).toString(), QStringLiteral("1"));
  EXPECT_EQ(Stored(QStringLiteral("C")).toString(), QStringLiteral("0"));
}

TEST_F(RegistryVariable, AValueStoredAlreadyIsNotWrittenAgainButAChangedOneIs)
{
  // The store is rewritten whole through a new file, so a rewrite shows as
  // a new file identity.
  auto identity = []() -> ino_t {
    struct stat status {};
    return ::stat(OpenProgramSettings()->fileName().toLocal8Bit().constData(), &status) == 0 ? status.st_ino : 0;
  };
  {
    TRegistryInteger frames(QStringLiteral("AnimationFrames"), 7);
    TRegistryString folder(QStringLiteral("CurrentDataPath"), QStringLiteral("/data/"));
  }
  const ino_t first = identity();
  ASSERT_NE(first, 0u);
  {
    TRegistryInteger frames(QStringLiteral("AnimationFrames"), 3);
    TRegistryString folder(QStringLiteral("CurrentDataPath"), QString());
  }
  EXPECT_EQ(identity(), first) << "unchanged values rewrote the store";
  {
    TRegistryInteger frames(QStringLiteral("AnimationFrames"), 3);
    frames.Value = 8;
  }
  EXPECT_NE(identity(), first);
  EXPECT_EQ(Stored(QStringLiteral("AnimationFrames")).toInt(), 8);
}

TEST_F(RegistryVariable, WithoutStoreOnFreeNothingIsWrittenOrDeleted)
{
  Plant(QStringLiteral("Zoomed"), 1);
  {
    TRegistryBoolean zoomed(QStringLiteral("Zoomed"), false);
    TRegistryInteger frames(QStringLiteral("AnimationFrames"), 7);
    zoomed.StoreOnFree = frames.StoreOnFree = false;
    zoomed.DeleteOnFree = true;
    frames.Value = 30;
  }
  EXPECT_EQ(OpenProgramSettings()->allKeys(), QStringList{QStringLiteral("Zoomed")});
}

TEST_F(RegistryVariable, SiblingProgramsAreReadFromTheirOwnSettings)
{
  const QString pro = QStringLiteral("Feedkeeper-P"), plain = QStringLiteral("Feedkeeper");
  OpenVendorSettings(pro)->clear();
  OpenVendorSettings(plain)->clear();
  Plant(plain, QStringLiteral("ImagesPath"), QStringLiteral("D:\\plain\\images\\"));
  Plant(pro, QStringLiteral("ImagesPath"), QString());  // an empty value counts as none
  EXPECT_EQ(FeedkeeperImagesPath(), QStringLiteral("D:\\plain\\images\\"));
  Plant(pro, QStringLiteral("ImagesPath"), QStringLiteral("E:\\pro\\images\\"));
  EXPECT_EQ(FeedkeeperImagesPath(), QStringLiteral("E:\\pro\\images\\"));
  Plant(plain, QStringLiteral("FormState"), 2);
  EXPECT_FALSE(SettingExists(QStringLiteral("FormState")));
  OpenVendorSettings(pro)->clear();
  OpenVendorSettings(plain)->clear();
}

TEST_F(RegistryVariable, WindowGeometryAndCheckBoxesRoundTrip)
{
  const TFormGeometry closed{fsMaximised, -8, 31, 1040, 790, 1024, 748};
  {
    TRegistryFormGeometry storage(TFormGeometry{});
    storage.Store(TFormGeometry{fsNormal, 5, 5, 50, 50, 40, 40});
    storage.Store(closed);  // the latest store counts, written at once
    EXPECT_EQ(Stored(QStringLiteral("FormLeft")).toInt(), -8);
    TRememberedCheckState state;
    EXPECT_TRUE(state.Load(QStringLiteral("ShowBoundaries"), true));
    state.Store(false);
  }
  Plant(QStringLiteral("FormTop"), QStringLiteral("left of centre"));
  const TRegistryFormGeometry next(TFormGeometry{fsNormal, 1, 2, 3, 4, 5, 6});
  EXPECT_EQ(next.Stored(), (TFormGeometry{fsMaximised, -8, 2, 1040, 790, 1024, 748}));
  TRememberedCheckState state;
  EXPECT_FALSE(state.Load(QStringLiteral("ShowBoundaries"), true));
  TRememberedCheckState nameless;
  EXPECT_TRUE(nameless.Load(QString(), true));
  nameless.Store(false);
  EXPECT_EQ(OpenProgramSettings()->allKeys().filter(QStringLiteral("Form")).size(), 7);
}
