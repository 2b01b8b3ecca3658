// The stored settings: strings survive from one run to the next, a
// malformed value gives the default and is rewritten, unchanged values are
// not written again. Every test runs in a temporary settings folder.
#include "SettingsTestSupport.h"
#include "settings/RegistryVariable.h"

#include <sys/stat.h>

using RegistryVariable = TemporarySettings;

// Commas, "@" and backslashes mean something to the settings file
// format; an empty string is a value, not an absent one.
TEST_F(RegistryVariable, StringsWrittenByOneRunAreReadByTheNext)
{
  {
    TRegistryString folder(QStringLiteral("CurrentDataPath"), QStringLiteral("x"));
    TRegistryString empty(QStringLiteral("AnimationSavePath"), QStringLiteral("x"));
    folder.Value = QStringLiteral("C:\\Data, old\\@images\\");
    empty.Value.clear();
  }
  TRegistryString folder(QStringLiteral("CurrentDataPath"), QStringLiteral("unused"));
  TRegistryString empty(QStringLiteral("AnimationSavePath"), QStringLiteral("default"));
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

// An empty images folder of the pro version counts as none, and the plain
// version's settings are never taken for the program's own.
TEST_F(RegistryVariable, SiblingProgramsAreReadFromTheirOwnSettings)
{
  const QString pro = QStringLiteral("Feedkeeper-P"), plain = QStringLiteral("Feedkeeper");
  Plant(plain, QStringLiteral("ImagesPath"), QStringLiteral("D:\\plain\\images\\"));
  Plant(pro, QStringLiteral("ImagesPath"), QString());
  Plant(plain, QStringLiteral("FormState"), 2);
  EXPECT_EQ(FeedkeeperImagesPath(), QStringLiteral("D:\\plain\\images\\"));
  EXPECT_FALSE(SettingExists(QStringLiteral("FormState")));
  OpenVendorSettings(pro)->clear();
  OpenVendorSettings(plain)->clear();
}
