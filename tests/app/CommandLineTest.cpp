// The command line: data arguments that look like options stay arguments,
// and where a window can be shown.
#include "app/CommandLine.h"
#include "app/DisplayCheck.h"
#include "app/QuietMessages.h"

#include <tuple>
#include <utility>

#include <gtest/gtest.h>

namespace {

// The program's own options are taken out wherever they stand; the data
// arguments that look like options stay, in order. "-ANIM" without "-SAVE"
// is noted as ignored.
TEST(CommandLine, OwnOptionsAreTakenOutAndDataArgumentsStayInOrder)
{
  const struct {
    QStringList arguments;
    QStringList data;
    QString imagesPath, statistics;
    bool version, dated, unattended, animationIgnored;
  } rows[] = {
    {{"-LATEST", "--images-path", "/tmp/s", "-SAVE:/tmp/out", "-ANIM"}, {"-LATEST", "-SAVE:/tmp/out", "-ANIM"},
     "/tmp/s", "", false, false, true, false},
    {{"--images-path=/data/images", "--version"}, {}, "/data/images", "", true, false, false, false},
    {{"-LATEST-NORTH", "--dated-names", "-save:/tmp/out"}, {"-LATEST-NORTH", "-save:/tmp/out"}, "", "", false, true,
     true, false},
    {{"-LATEST", "-SAVE", "--stats", "ice.csv"}, {"-LATEST", "-SAVE"}, "", "ice.csv", false, false, true, false},
    {{"--stats=a b.csv", "-LATEST", "-SAVE"}, {"-LATEST", "-SAVE"}, "", "a b.csv", false, false, true, false},
    {{"-LATEST", "-ANIM"}, {"-LATEST", "-ANIM"}, "", "", false, false, false, true},
    {{"/data/conc.grb", "", "-animate"}, {"/data/conc.grb", "", "-animate"}, "", "", false, false, false, true},
    {{"-SAVE"}, {"-SAVE"}, "", "", false, false, false, false},
  };
  for (const auto& row : rows) {
    const TCommandLine line = ParseCommandLine(row.arguments);
    SCOPED_TRACE(qPrintable(row.arguments.join(' ')));
    EXPECT_EQ(line.Arguments, row.data);
    EXPECT_EQ(std::tuple(line.ImagesPath, line.StatisticsFile), std::tuple(row.imagesPath, row.statistics));
    EXPECT_EQ(std::tuple(line.ShowVersion, line.DatedNames, IsUnattendedRun(line), AnimationIgnored(line)),
              std::tuple(row.version, row.dated, row.unattended, row.animationIgnored));
  }
  for (const QStringList& missing : {QStringList{"--images-path"}, QStringList{"-LATEST", "-SAVE", "--stats"}}) {
    EXPECT_FALSE(ParseCommandLine(missing).Error.isEmpty()) << qPrintable(missing.join(' '));
  }
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
