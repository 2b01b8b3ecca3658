#include "app/CommandLine.h"

namespace {

const QString kImagesPathOption = QStringLiteral("--images-path");
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
    } else {
      result.Arguments.append(argument);
    }
  }
  return result;
}

bool IsUnattendedRun(const TCommandLine& commandLine)
{
  return commandLine.Arguments.value(1).toUpper().startsWith(QLatin1String("-SAVE"));
}

QString CommandLineUsage()
{
  return QStringLiteral(
    "Usage: norvant [--images-path FOLDER] [--dated-names] [--stats FILE.CSV] [FILE | -LATEST | -LATEST-NORTH | -LATEST-SOUTH]\n"
    "               [-SAVE | -SAVE:FOLDER] [-ANIM]\n"
    "  --images-path FOLDER  use FOLDER (the folder holding SAF) for this run only\n"
    "  --dated-names         with -SAVE, name pictures and animations by product,\n"
    "                        hemisphere and date (conc-nh-20160110.png)\n"
    "  --stats FILE.CSV      with -SAVE, append date, hemisphere, ice extent and area\n"
    "                        (million km2) and hole fraction of every concentration\n"
    "                        picture written, each animation frame included\n"
    "  --version             print the version and exit\n");
}
