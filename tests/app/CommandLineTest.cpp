// The command line: data arguments that look like options stay arguments.
#include "app/CommandLine.h"
#include "app/DisplayCheck.h"
#include "app/QuietMessages.h"

#include <tuple>
#include <utility>

#include <gtest/gtest.h>

namespace {

// The program's own options are taken out wherever they stand; the data
// arguments that look like options stay, in order.
TEST(CommandLine, OwnOptionsAreTakenOutAndDataArgumentsStayInOrder)
{
  const struct {
    QStringList arguments;
    QStringList data;
    QString imagesPath;
    bool version, dated, unattended;
  } rows[] = {
    {{"-LATEST", "--images-path", "/tmp/s", "-SAVE:/tmp/out", "-ANIM"}, {"-LATEST", "-SAVE:/tmp/out", "-ANIM"},
     "/tmp/s", false, false, true},
    {{"--images-path=/data/images", "--version"}, {}, "/data/images", true, false, false},
    {{"-LATEST-NORTH", "--dated-names", "-save:/tmp/out"}, {"-LATEST-NORTH", "-save:/tmp/out"}, "", false, true, true},
    {{"-LATEST"}, {"-LATEST"}, "", false, false, false},
    {{"-SAVE"}, {"-SAVE"}, "", false, false, false},
  };
  for (const auto& row : rows) {
    const TCommandLine line = ParseCommandLine(row.arguments);
    SCOPED_TRACE(qPrintable(row.arguments.join(' ')));
    EXPECT_EQ(line.Arguments, row.data);
    EXPECT_EQ(line.ImagesPath, row.imagesPath);
    EXPECT_EQ(line.ShowVersion, row.version);
    EXPECT_EQ(line.DatedNames, row.dated);
    EXPECT_EQ(IsUnattendedRun(line), row.unattended);
  }
  EXPECT_FALSE(ParseCommandLine({"--images-path"}).Error.isEmpty());
}

// Every argument is either used or refused: nothing is silently ignored.
TEST(CommandLine, UnknownOrMisplacedArgumentsAreRefused)
{
  struct TRow {
    QStringList arguments;
    QString error;  // expected error, empty when the line is accepted
  };
  const TRow rows[] = {
    {{"-LATEST", "-SAVE:/tmp/out", "-ANIM"}, ""},
    {{"-latest-south", "-savex", "-animation"}, ""},
    {{"/data/conc.grb"}, ""},
    {{"/data/conc.grb", "-ANIM"}, ""},  // answered as "-ANIM without -SAVE"
    {{}, ""},
    {{"-FOO"}, "unknown option -FOO"},
    {{"--bogus", "-LATEST"}, "unknown option --bogus"},
    {{"-LATEST", "--images-path=/x", "--dated"}, "unknown option --dated"},
    {{"-LATEST", "-FOO"}, "unknown option -FOO"},
    {{"-LATEST", "out"}, "unexpected argument out"},
    {{"-LATEST", "-SAVE", "-FOO"}, "unknown option -FOO"},
    {{"-LATEST", "-SAVE", "-ANIM", "extra"}, "unexpected argument extra"},
    {{"-LATEST", "-ANIM", "-SAVE"}, "-ANIM is out of place (FILE or -LATEST first, then -SAVE, then -ANIM)"},
    {{"-SAVE:/tmp/out"}, "-SAVE:/tmp/out is out of place (FILE or -LATEST first, then -SAVE, then -ANIM)"},
    {{"-LATEST", "-LATEST"}, "-LATEST is out of place (FILE or -LATEST first, then -SAVE, then -ANIM)"},
    {{"", "-SAVE"}, "-SAVE needs a data file or -LATEST before it"},
  };
  for (const TRow& row : rows) {
    EXPECT_EQ(ParseCommandLine(row.arguments).Error, row.error) << qPrintable(row.arguments.join(' '));
  }
}

TEST(CommandLine, AnimationWithoutSaveIsNotedAsIgnored)
{
  const std::pair<QStringList, bool> rows[] = {
    {{"-LATEST", "-ANIM"}, true},
    {{"/data/conc.grb", "", "-animate"}, true},
    {{"-LATEST", "-SAVE", "-ANIM"}, false},
    {{"-LATEST"}, false},
  };
  for (const auto& [arguments, ignored] : rows) {
    EXPECT_EQ(AnimationIgnored(ParseCommandLine(arguments)), ignored) << qPrintable(arguments.join(' '));
  }
}

TEST(DisplayCheck, WindowOnlyWhereAScreenCanBeReached)
{
  struct TRow {
    TDisplayEnvironment environment;
    bool canShow;
  };
  const TRow rows[] = {
    {{"", "", "", false}, false},          // a cron shell
    {{"", ":0", "", false}, true},
    {{"", "", "wayland-0", false}, true},
    {{"offscreen", ":0", "", false}, false},  // an invisible window never ends
    {{"minimal", "", "", false}, false},
    {{"offscreen:fontengine=freetype", "", "", true}, false},
    {{"xcb", "", "wayland-0", false}, false},  // xcb would abort without DISPLAY
    {{"xcb", ":1", "", false}, true},
    {{"wayland;xcb", ":1", "", false}, true},
    {{"wayland", ":1", "", false}, false},
    {{"linuxfb", "", "", false}, true},
    {{"", "", "", true}, true},  // Windows and macOS
  };
  for (const TRow& row : rows) {
    const QString why = WhyNoDisplay(row.environment);
    EXPECT_EQ(why.isEmpty(), row.canShow) << qPrintable(row.environment.Platform) << " DISPLAY="
                                          << qPrintable(row.environment.Display) << ": " << qPrintable(why);
  }
}

TEST(QuietMessages, OnlyThePlatformNotesOfAScreenlessRunAreDropped)
{
  const std::tuple<QtMsgType, QString, bool> rows[] = {
    {QtWarningMsg, "This plugin does not support propagateSizeHints()", true},
    {QtWarningMsg, "QStandardPaths: XDG_RUNTIME_DIR not set, defaulting to '/tmp/runtime-root'", true},
    {QtWarningMsg, "Could not store setting \"Zoomed\" in /x/norvant.conf", false},
    {QtWarningMsg, "QStandardPaths: wrong permissions on runtime directory /run/user/1000", false},
    {QtCriticalMsg, "This plugin does not support propagateSizeHints()", false},
    {QtWarningMsg, "", false},
  };
  for (const auto& [type, message, noise] : rows) {
    EXPECT_EQ(IsPlatformNoise(type, message), noise) << qPrintable(message);
  }
}

}  // namespace
