#pragma once
// The program's command line: the data arguments ("-LATEST", a file name,
// "-SAVE", "-ANIM"; their first letters may look like options, so they are
// taken as they stand) and a few options of this program's own.
#include <QString>
#include <QStringList>

struct TCommandLine {
  // The data arguments, in order; argument 1 is Arguments.value(0).
  QStringList Arguments;
  // "--images-path DIR": the folder holding "SAF" for this run only.
  QString ImagesPath;
  // "--dated-names": the batch run names its pictures and animations by
  // product, hemisphere and date of the data ("conc-nh-20160110.png").
  bool DatedNames = false;
  // "--stats FILE.csv": the unattended run appends the extent and area of
  // every concentration picture it writes to this file.
  QString StatisticsFile;
  bool ShowVersion = false;
  bool ShowHelp = false;
  QString Error;
};

// Parses the arguments after the program name.
TCommandLine ParseCommandLine(const QStringList& arguments);

// True when the data arguments ask for the unattended run (argument 2
// begins "-SAVE").
bool IsUnattendedRun(const TCommandLine& commandLine);

QString CommandLineUsage();
