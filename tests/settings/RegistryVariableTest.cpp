#include "SettingsTestSupport.h"
#include "settings/RegistryVariable.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <initializer_list>
#include <memory>

#include <sys/stat.h>

using RegistryVariable = TemporarySettings;

TEST_F(RegistryVariable, SettingsLandInTheTemporaryFolderNeverTheUsersOwn)
{
  {
    TRegistryInteger probe(QStringLiteral("Probe"), 5);
  }
  const QString file = OpenProgramSettings()->fileName();
  EXPECT_TRUE(QFileInfo::exists(file)) << file.toStdString();
  EXPECT_TRUE(file.startsWith(QDir::tempPath())) << file.toStdString();
  const QString userConfig = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  EXPECT_FALSE(file.startsWith(userConfig + u'/')) << file.toStdString();
  EXPECT_EQ(QFileInfo(file).dir().dirName(), QStringLiteral("Ostrand"));
}

TEST_F(RegistryVariable, ProgramNameDefaultsToTheExecutableBaseName)
{
  SetSettingsProgramName(QString());
  EXPECT_EQ(SettingsProgramName(), QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName());
}

TEST_F(RegistryVariable, ValuesWrittenByOneInstanceAreReadByTheNext)
{
  {
    TRegistryBoolean flag(QStringLiteral("ShowGrid"), true);
    TRegistryInteger frames(QStringLiteral("AnimationFrames"), 7);
    TRegistryString folder(QStringLiteral("CurrentDataPath"), QString());
    EXPECT_TRUE(flag.Value);
    EXPECT_EQ(frames.Value, 7);
    EXPECT_EQ(folder.Value, QString());
    flag.Value = false;
    frames.Value = -2147483647 - 1;
    folder.Value = QStringLiteral("C:\\Data, old\\@images\\");
  }
  TRegistryBoolean flag(QStringLiteral("ShowGrid"), true);
  TRegistryInteger frames(QStringLiteral("AnimationFrames"), 7);
  TRegistryString folder(QStringLiteral("CurrentDataPath"), QStringLiteral("unused"));
  EXPECT_FALSE(flag.Value);
  EXPECT_EQ(frames.Value, -2147483647 - 1);
  EXPECT_EQ(folder.Value, QStringLiteral("C:\\Data, old\\@images\\"));
}

TEST_F(RegistryVariable, NothingIsStoredBeforeFreeingUnlessWriteValueIsCalled)
{
  auto frames = std::make_unique<TRegistryInteger>(QStringLiteral("AnimationFrames"), 7);
  frames->Value = 30;
  EXPECT_FALSE(SettingExists(QStringLiteral("AnimationFrames")));
  EXPECT_TRUE(frames->WriteValue());
  EXPECT_EQ(Stored(QStringLiteral("AnimationFrames")).toInt(), 30);
  frames->Value = 31;
  frames.reset();
  EXPECT_EQ(Stored(QStringLiteral("AnimationFrames")).toInt(), 31);
}

TEST_F(RegistryVariable, EmptyStringsSurviveTheRoundTrip)
{
  {
    TRegistryString path(QStringLiteral("AnimationSavePath"), QStringLiteral("x"));
    path.Value.clear();
  }
  EXPECT_TRUE(SettingExists(QStringLiteral("AnimationSavePath")));
  TRegistryString path(QStringLiteral("AnimationSavePath"), QStringLiteral("default"));
  EXPECT_EQ(path.Value, QString());
}

TEST_F(RegistryVariable, DeleteOnFreeRemovesTheValue)
{
  Plant(QStringLiteral("Zoomed"), 1);
  {
    TRegistryBoolean zoomed(QStringLiteral("Zoomed"), false);
    EXPECT_TRUE(zoomed.Value);
    zoomed.DeleteOnFree = true;
  }
  EXPECT_FALSE(SettingExists(QStringLiteral("Zoomed")));
}

TEST_F(RegistryVariable, WithoutStoreOnFreeNoKindWritesOrDeletesAnything)
{
  Plant(QStringLiteral("Zoomed"), 1);
  {
    TRegistryBoolean zoomed(QStringLiteral("Zoomed"), false);
    TRegistryInteger frames(QStringLiteral("AnimationFrames"), 7);
    TRegistryString folder(QStringLiteral("DataFolder"), QStringLiteral("/data/"));
    for (TRegistryVariable* variable : std::initializer_list<TRegistryVariable*>{&zoomed, &frames, &folder})
      variable->StoreOnFree = false;
    zoomed.Value = false;
    zoomed.DeleteOnFree = true;
    frames.Value = 30;
  }
  EXPECT_EQ(OpenProgramSettings()->allKeys(), QStringList{QStringLiteral("Zoomed")});
  EXPECT_EQ(Stored(QStringLiteral("Zoomed")).toInt(), 1);
}

TEST_F(RegistryVariable, MalformedStoredValuesGiveTheDefaultAndAreRewrittenAsIntegers)
{
  struct Case {
    const char* name;
    QVariant stored;
  };
  const Case cases[] = {
      {"Text", QStringLiteral("seven")},
      {"TrailingJunk", QStringLiteral("12abc")},
      {"Empty", QString()},
      {"TooLarge", QStringLiteral("2147483648")},
      {"Fraction", QStringLiteral("3.5")},
      {"List", QStringList{QStringLiteral("1"), QStringLiteral("2")}},
  };
  for (const Case& c : cases) {
    const QString name = QString::fromLatin1(c.name);
    Plant(name, c.stored);
    {
      TRegistryInteger value(name, 330);
      EXPECT_EQ(value.Value, 330) << c.name;
      TRegistryBoolean flag(name + QStringLiteral("Flag"), true);
    }
    bool isInteger = false;
    EXPECT_EQ(Stored(name).toString().toInt(&isInteger), 330) << c.name;
    EXPECT_TRUE(isInteger) << c.name;
  }
}

TEST_F(RegistryVariable, BooleanReadsAnyNonZeroIntegerAsTrueAndStoresZeroOrOne)
{
  Plant(QStringLiteral("A"), 5);
  Plant(QStringLiteral("B"), 0);
  Plant(QStringLiteral("C"), QStringLiteral("true")); // not an integer: default
  {
    TRegistryBoolean a(QStringLiteral("A"), false);
    TRegistryBoolean b(QStringLiteral("B"), true);
    TRegistryBoolean c(QStringLiteral("C"), false);
    EXPECT_TRUE(a.Value);
    EXPECT_FALSE(b.Value);
    EXPECT_FALSE(c.Value);
  }
  EXPECT_EQ(Stored(QStringLiteral("A")).toString(), QStringLiteral("1"));
  EXPECT_EQ(Stored(QStringLiteral("B")).toString(), QStringLiteral("0"));
  EXPECT_EQ(Stored(QStringLiteral("C")).toString(), QStringLiteral("0"));
}

TEST_F(RegistryVariable, TwoProgramNamesKeepSeparateSettings)
{
  SetSettingsProgramName(QStringLiteral("norvant-test-copy-one"));
  {
    TRegistryInteger frames(QStringLiteral("AnimationFrames"), 7);
    frames.Value = 12;
  }
  SetSettingsProgramName(QStringLiteral("norvant-test-copy-two"));
  {
    TRegistryInteger frames(QStringLiteral("AnimationFrames"), 7);
    EXPECT_EQ(frames.Value, 7);
  }
  SetSettingsProgramName(QStringLiteral("norvant-test-copy-one"));
  {
    TRegistryInteger frames(QStringLiteral("AnimationFrames"), 7);
    EXPECT_EQ(frames.Value, 12);
  }
  OpenProgramSettings()->clear();
  SetSettingsProgramName(QStringLiteral("norvant-test-copy-two"));
  OpenProgramSettings()->clear();
}

using SiblingSettings = TemporarySettings;

TEST_F(SiblingSettings, FeedkeeperImagesFolderPrefersTheProfessionalEdition)
{
  const QString value = QStringLiteral("ImagesPath");
  const QString pro = QStringLiteral("Feedkeeper-P"), plain = QStringLiteral("Feedkeeper");
  OpenVendorSettings(pro)->clear();
  OpenVendorSettings(plain)->clear();
  EXPECT_EQ(FeedkeeperImagesPath(), QString());

  Plant(plain, value, QStringLiteral("D:\\plain\\images\\"));
  EXPECT_EQ(FeedkeeperImagesPath(), QStringLiteral("D:\\plain\\images\\"));

  Plant(pro, value, QString()); // an empty value counts as none
  EXPECT_EQ(FeedkeeperImagesPath(), QStringLiteral("D:\\plain\\images\\"));

  Plant(pro, value, QStringLiteral("E:\\pro\\images\\"));
  EXPECT_EQ(FeedkeeperImagesPath(), QStringLiteral("E:\\pro\\images\\"));
  EXPECT_EQ(ReadSiblingSetting(pro, QStringLiteral("Missing")), QString());

  OpenVendorSettings(pro)->clear();
  OpenVendorSettings(plain)->clear();
}

TEST_F(SiblingSettings, AppPathsAreReadFromTheirOwnKeyOfTheVendor)
{
  auto appPaths = OpenVendorSettings(QStringLiteral("App Paths"));
  appPaths->clear();
  appPaths->sync();
  EXPECT_EQ(ReadAppPath(QStringLiteral("Trakwise")), QString());
  Plant(QStringLiteral("App Paths"), QStringLiteral("Trakwise"), QStringLiteral("C:\\Tools\\Trakwise.exe"));
  EXPECT_EQ(ReadAppPath(QStringLiteral("Trakwise")), QStringLiteral("C:\\Tools\\Trakwise.exe"));
  EXPECT_EQ(QFileInfo(OpenVendorSettings(QStringLiteral("App Paths"))->fileName()).completeBaseName(),
            QStringLiteral("App Paths"));
  appPaths->clear();
}

TEST_F(SiblingSettings, SettingExistsLooksOnlyAtThisProgram)
{
  Plant(QStringLiteral("Feedkeeper"), QStringLiteral("FormState"), 2);
  EXPECT_FALSE(SettingExists(QStringLiteral("FormState")));
  Plant(QStringLiteral("FormState"), 2);
  EXPECT_TRUE(SettingExists(QStringLiteral("FormState")));
  OpenVendorSettings(QStringLiteral("Feedkeeper"))->clear();
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
    TRegistryBoolean grid(QStringLiteral("ShowGrid"), true);
    TRegistryString folder(QStringLiteral("CurrentDataPath"), QStringLiteral("/data/"));
  }
  const ino_t first = identity();
  ASSERT_NE(first, 0u);
  {
    TRegistryInteger frames(QStringLiteral("AnimationFrames"), 3);
    TRegistryBoolean grid(QStringLiteral("ShowGrid"), false);
    TRegistryString folder(QStringLiteral("CurrentDataPath"), QString());
  }
  EXPECT_EQ(identity(), first) << "unchanged values rewrote the store";
  {
    TRegistryInteger frames(QStringLiteral("AnimationFrames"), 3);
    frames.Value = 8;
  }
  EXPECT_NE(identity(), first);
  EXPECT_EQ(Stored(QStringLiteral("AnimationFrames")).toInt(), 8);
  Plant(QStringLiteral("ShowGrid"), QStringLiteral("yes"));  // malformed: rewritten in the right form
  {
    TRegistryBoolean grid(QStringLiteral("ShowGrid"), true);
  }
  EXPECT_EQ(Stored(QStringLiteral("ShowGrid")).toInt(), 1);
}
