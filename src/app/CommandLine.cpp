#include "app/CommandLine.h"

#include <QFileInfo>

namespace {

const QString kImagesPathOption = QStringLiteral("--images-path");
const QString kSavePrefix = QStringLiteral("-SAVE");
const QString kAnimatePrefix = QStringLiteral("-ANIM");
constexpr int kMaxDataArguments = 3;

bool StartsWithUpper(const QString& argument, const QString& prefix)
{
  return argument.toUpper().startsWith(prefix);
}

bool IsLatestWord(const QString& argument)
{
  const QString upper = argument.toUpper();
  return upper == QLatin1String("-LATEST") || upper == QLatin1String("-LATEST-NORTH") ||
         upper == QLatin1String("-LATEST-SOUTH");
}

QString Misplaced(const QString& argument)
{
  if (IsLatestWord(argument) || StartsWithUpper(argument, kSavePrefix) || StartsWithUpper(argument, kAnimatePrefix)) {
    return QStringLiteral("%1 is out of place (FILE or -LATEST first, then -SAVE, then -ANIM)").arg(argument);
  }
  return argument.startsWith(QLatin1Char('-')) ? QStringLiteral("unknown option %1").arg(argument)
                                               : QStringLiteral("unexpected argument %1").arg(argument);
}

// Why the data arguments cannot be carried out; empty when they can.
// Argument 1 may be a file whose name begins with '-'; an empty argument
// counts as not given.
QString CheckDataArguments(const QStringList& data)
{
  if (data.size() > kMaxDataArguments) {
    return Misplaced(data[kMaxDataArguments]);
  }
  const QString source = data.value(0);
  if (source.startsWith(QLatin1Char('-')) && !IsLatestWord(source) && !QFileInfo::exists(source)) {
    return Misplaced(source);
  }
  const QString save = data.value(1);
  // "FILE -ANIM" asks for animations without "-SAVE"; taken as such, so
  // that it can be answered.
  const bool animateSecond = data.size() == 2 && StartsWithUpper(save, kAnimatePrefix);
  if (!save.isEmpty() && !StartsWithUpper(save, kSavePrefix) && !animateSecond) {
    return Misplaced(save);
  }
  const QString animate = data.value(2);
  if (!animate.isEmpty() && !StartsWithUpper(animate, kAnimatePrefix)) {
    return Misplaced(animate);
  }
  if (source.isEmpty() && !(save.isEmpty() && animate.isEmpty())) {
    return QStringLiteral("%1 needs a data file or -LATEST before it").arg(save.isEmpty() ? animate : save);
  }
  return {};
}
const QString kStatisticsOption = QStringLiteral("--stats");

}  // namespace

TCommandLine ParseCommandLine(const QStringList& arguments)
{
  TCommandLine result;
  for (int i = 0; i < arguments.size(); ++i) {
    const QString& argument = arguments[i];
    if (argument == QLatin1String("--version")) {
      result.ShowVersion = true;
    } else if (argument == QLatin1String("--help")) {
      result.ShowHelp = true;
    } else if (argument == QLatin1String("--dated-names")) {
      result.DatedNames = true;
    } else if (argument == kImagesPathOption) {
      if (i + 1 >= arguments.size()) {
        result.Error = kImagesPathOption + QLatin1String(" needs a folder");
        return result;
      }
      result.ImagesPath = arguments[++i];
    } else if (argument.startsWith(kImagesPathOption + QLatin1Char('='))) {
      result.ImagesPath = argument.mid(kImagesPathOption.size() + 1);
    } else if (argument == kStatisticsOption) {
      if (i + 1 >= arguments.size()) {
        result.Error = kStatisticsOption + QLatin1String(" needs a file name");
        return result;
      }
      result.StatisticsFile = arguments[++i];
    } else if (argument.startsWith(kStatisticsOption + QLatin1Char('='))) {
      result.StatisticsFile = argument.mid(kStatisticsOption.size() + 1);
    } else if (argument.startsWith(QLatin1String("--"))) {
      result.Error = QStringLiteral("unknown option %1").arg(argument);
      return result;
    } else {
      result.Arguments.append(argument);
    }
  }
  result.Error = CheckDataArguments(result.Arguments);
  return result;
}

bool IsUnattendedRun(const TCommandLine& commandLine)
{
  return StartsWithUpper(commandLine.Arguments.value(1), kSavePrefix);
}

bool AnimationIgnored(const TCommandLine& commandLine)
{
  const QStringList& data = commandLine.Arguments;
  return !IsUnattendedRun(commandLine) &&
         (StartsWithUpper(data.value(1), kAnimatePrefix) || StartsWithUpper(data.value(2), kAnimatePrefix));
}

QString CommandLineUsage()
{
  return QStringLiteral(
    "Usage: norvant [--images-path FOLDER] [--dated-names] [--stats FILE.CSV] [FILE | -LATEST | -LATEST-NORTH | -LATEST-SOUTH]\n"
    "               [-SAVE | -SAVE:FOLDER] [-ANIM]\n"
    "  -SAVE                 save a picture of every loaded product beside its data, then end\n"
    "  -SAVE:FOLDER          the same into FOLDER, created (with its parents) when missing\n"
    "  -ANIM                 with -SAVE, also write an animation of every saved product\n"
    "  --images-path FOLDER  use FOLDER (the folder holding SAF) for this run only\n"
    "  --dated-names         with -SAVE, name pictures and animations by product,\n"
    "                        hemisphere and date (conc-nh-20160110.png)\n"
    "  --stats FILE.CSV      with -SAVE, append date, hemisphere, ice extent and area\n"
    "                        (million km2) and hole fraction of every concentration\n"
    "                        picture written, each animation frame included\n"
    "  --version             print the version and exit\n"
    "Exit status: 0 all written, 1 something asked for was not done, 2 bad command line or no display.\n");
}
