#pragma once
// The program's command line: the data arguments ("-LATEST", a file name,
// "-SAVE", "-ANIM"; their first letters may look like options, so they are
// taken as they stand) and a few options of this program's own.
#include <QString>
#include <QStringList>

// Exit statuses, so that scripts and cron jobs can tell what went wrong.
enum TExitStatus : int {
  esSuccess = 0,  // everything asked for was done
  esFailed = 1,   // the run could not do all it was asked (nothing loaded, a file not written)
  esUsage = 2,    // the command line cannot be carried out as given
};

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
  // Why the command line cannot be used; the program then prints it with
  // the usage text and ends with esUsage.
  QString Error;
};

// Parses the arguments after the program name. An option it does not know,
// a data argument out of place (argument 2 not "-SAVE…", argument 3 not
// "-ANIM…") or a fourth data argument is an error.
TCommandLine ParseCommandLine(const QStringList& arguments);

// True when the data arguments ask for the unattended run (argument 2
// begins "-SAVE").
bool IsUnattendedRun(const TCommandLine& commandLine);

// True when "-ANIM" is given (as argument 3, or as argument 2 in place of
// "-SAVE") without the unattended run: the window has no use for it.
bool AnimationIgnored(const TCommandLine& commandLine);

QString CommandLineUsage();
