// The real program started as cron starts it: no display, a private home,
// no XDG_RUNTIME_DIR. Whatever the arguments, it ends at once with a status
// a script can act on, says why on standard error, writes only what was
// asked, and leaves the settings file exactly as it was.
#include <QDirIterator>
#include <QTemporaryDir>

#include "app/BatchTestSupport.h"

namespace {

// A safety cap for a hang, as the command line must never wait on anyone.
constexpr int kCaseCapMsec = 10000;

const QByteArray kPlantedSettings = "[General]\nShowGrid=0\nAnimationFrames=3\nFormLeft=109\n";

struct TCase {
  const char* name;
  QStringList arguments;  // "<out>" stands for the output folder, "<file>" for a sample file
  const char* platform;   // QT_QPA_PLATFORM, empty for none
  int status;
  QStringList errorHas;  // texts standard error must hold; none: it must be empty
  QStringList written;   // files below the output folder afterwards
  bool plantSettings;    // false: there is no settings file, and none may appear
};

class CommandLineEndToEnd : public ::testing::Test {
protected:
  void SetUp() override
  {
    ASSERT_TRUE(home_.isValid() && out_.isValid());
    settingsFile_ = home_.path() + "/.config/Ostrand/norvant.conf";
  }

  QStringList Expand(QStringList arguments) const
  {
    return arguments.replaceInStrings("<out>", out_.path()).replaceInStrings("<file>", GapTreeFile(0, "NH", GapTreeEnd()));
  }

  TRun Run(const QStringList& arguments, const QString& platform) const
  {
    QProcessEnvironment environment =
      ScreenlessEnvironment({"XDG_RUNTIME_DIR", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"});
    environment.insert("HOME", home_.path());
    if (!platform.isEmpty()) {
      environment.insert("QT_QPA_PLATFORM", platform);
    }
    return RunNorvant(arguments, environment, kCaseCapMsec, {}, home_.path());
  }

  void PlantSettings() const
  {
    ASSERT_TRUE(QDir().mkpath(QFileInfo(settingsFile_).path()));
    QFile file(settingsFile_);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(kPlantedSettings);
  }

  QStringList Written() const
  {
    QStringList files;
    QDirIterator it(out_.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
      files.append(QDir(out_.path()).relativeFilePath(it.next()));
    }
    files.sort();
    return files;
  }

  QTemporaryDir home_;
  QTemporaryDir out_;
  QString settingsFile_;
};

TEST_F(CommandLineEndToEnd, EveryArgumentCombinationEndsAtOnceWithItsStatus)
{
  ASSERT_FALSE(GapTreeImagesPath().isEmpty()) << "the sample tree could not be made";
  const QString procFolder = QString("/proc/norvant-%1/out").arg(QCoreApplication::applicationPid());
  const TCase cases[] = {
    {"help", {"--help"}, "", 0, {}, {}, true},
    {"version", {"--version"}, "", 0, {}, {}, true},
    {"nothing found", {"-LATEST", "-SAVE:<out>"}, "", 1, {"nothing was saved"}, {}, true},
    {"missing file", {"/missing.grb", "-SAVE:<out>/new"}, "", 1, {"File not found: /missing.grb"}, {}, true},
    {"missing file, window", {"/missing.grb"}, "", 2, {"the window cannot be shown"}, {}, true},
    {"unknown option", {"-FOO"}, "", 2, {"unknown option -FOO", "Usage:"}, {}, true},
    {"unknown long option", {"--bogus", "<file>", "-SAVE:<out>"}, "", 2, {"unknown option --bogus", "Usage:"}, {}, true},
    {"unknown option offscreen", {"<file>", "-FOO"}, "offscreen", 2, {"unknown option -FOO"}, {}, true},
    {"-ANIM alone", {"<file>", "-ANIM"}, "", 2, {"the window cannot be shown"}, {}, true},
    {"-ANIM alone offscreen", {"<file>", "-ANIM"}, "offscreen", 2, {"the window cannot be shown"}, {}, true},
    {"window offscreen", {"-LATEST", "", "-ANIM"}, "offscreen", 2, {"the window cannot be shown", "offscreen"}, {}, true},
    {"new nested folder", {"<file>", "-SAVE:<out>/a/b/c"}, "", 0, {}, {"a/b/c/conc.png", "a/b/c/edge.png", "a/b/c/type.png"}, true},
    {"new nested folder, no settings yet", {"<file>", "-SAVE:<out>/d/e"}, "", 0, {}, {"d/e/conc.png", "d/e/edge.png", "d/e/type.png"}, false},
    {"save into a file", {"<file>", "-SAVE:/etc/passwd"}, "", 1, {"Cannot save into /etc/passwd: it is a file"}, {}, true},
    {"folder under /proc", {"<file>", "-SAVE:" + procFolder}, "", 1, {"Cannot create the folder " + procFolder + ": "}, {}, true},
  };
  for (const TCase& row : cases) {
    SCOPED_TRACE(row.name);
    QDir(out_.path()).removeRecursively();
    ASSERT_TRUE(QDir().mkpath(out_.path()));
    QDir(home_.path() + "/.config").removeRecursively();
    if (row.plantSettings) {
      PlantSettings();
    }
    const TRun result = Run(Expand(row.arguments), row.platform);
    ASSERT_TRUE(result.Finished) << "still running after " << kCaseCapMsec << " ms";
    EXPECT_EQ(result.ExitCode, row.status) << qPrintable(result.Err);
    if (row.errorHas.isEmpty()) {
      EXPECT_EQ(result.Err, "");
    }
    for (const QString& text : row.errorHas) {
      EXPECT_TRUE(result.Err.contains(text)) << "missing \"" << qPrintable(text) << "\" in: " << qPrintable(result.Err);
    }
    EXPECT_EQ(Written(), row.written);
    for (const QString& file : row.written) {
      EXPECT_TRUE(result.Out.contains("Saved " + QDir::toNativeSeparators(out_.filePath(file))))
        << qPrintable(result.Out);
    }
    if (row.status != 0) {
      EXPECT_FALSE(result.Out.contains("Saved")) << qPrintable(result.Out);
    }
    if (row.plantSettings) {
      QFile settings(settingsFile_);
      ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
      EXPECT_EQ(settings.readAll(), kPlantedSettings);
    } else {
      EXPECT_FALSE(QFileInfo::exists(home_.path() + "/.config/Ostrand"));
    }
  }
  EXPECT_FALSE(QFileInfo::exists(QFileInfo(procFolder).path()));
}

}  // namespace
