#pragma once
// The unattended run: what the data arguments ask for, and the loop that
// saves a picture (and optionally an animation) of every loaded product.
#include <QString>
#include <QStringList>

#include "app/workflow/Saving.h"

class TAnimationProgress;
class TWorkflow;

// The data arguments, compared in upper case. Argument 1 names a file or
// one of the "-LATEST" words; argument 2 starting "-SAVE" asks for the batch
// run (and "-SAVE:" names its folder); argument 3 starting "-ANIM" adds the
// animations.
struct TBatchCommand {
  enum class TLatest { None, Either, Northern, Southern };

  QString Source;  // argument 1 as given
  TLatest Latest = TLatest::None;
  bool Save = false;
  bool HasSaveFolder = false;  // argument 2 starts "-SAVE:"
  QString SaveFolder;          // what follows "-SAVE:", as given
  bool Animate = false;
  // "--dated-names": pictures and animations named by product, hemisphere
  // and date of the data instead of the fixed names.
  bool DatedNames = false;
  // "--stats FILE.csv": a line of extent and area is appended to this file
  // for every concentration picture written (each frame of an animation).
  QString StatisticsFile;
};

TBatchCommand ParseBatchCommand(const QStringList& arguments);

// What the user is told when the newest-file search finds nothing: the full
// path of the "SAF" folder searched, and where to choose another (the
// window's Tools > Setup, or --images-path for a run from the command line).
QString NoDataFilesMessage(const QString& imagesPath, bool inWindow);

// What the user is told when argument 1 names no existing file:
// "File not found: <name as given>".
QString FileNotFoundMessage(const QString& name);

// The folder "-SAVE:" names, made ready for writing: created with its
// parents when it is missing. A folder that cannot be made is an error,
// never a reason to write somewhere else: a mistyped folder in a crontab
// must not go unnoticed while pictures pile up beside the data.
struct TSaveFolder {
  QString Folder;  // native separators and a trailing one; empty for plain "-SAVE"
  QString Error;   // why the folder cannot be used
  bool Usable() const { return Error.isEmpty(); }
};
TSaveFolder PrepareSaveFolder(const TBatchCommand& command);

// The name expanded to an absolute path whose every component is spelled as
// it is stored on disk. A component that is not there gives the error
// "Path <partial path> does not exist!".
struct TLongFileName {
  QString Name;  // native separators
  QString Error;
  bool Found() const { return Error.isEmpty(); }
};
TLongFileName GetLongFileName(const QString& name);

// What a batch run did. Every loaded product asks for one picture, and with
// "-ANIM" one animation; the run succeeds only when all of them were written.
struct TBatchOutcome {
  int ProductsLoaded = 0;
  int Requested = 0;
  QStringList Written;   // files written, native separators
  QStringList Failures;  // one line per file not written, with the reason
  QStringList Notes;     // things worth knowing that did not fail the run

  bool Succeeded() const { return ProductsLoaded > 0 && Failures.isEmpty() && Written.size() == Requested; }
  int ExitStatus() const { return Succeeded() ? 0 : 1; }
};

// The batch loop over the four products, on data already loaded: renders
// each product's tab with the workflow's display options, saves the picture
// under its default name and, when asked, builds its animation. A failure
// with one product does not stop the others; a "-SAVE:" folder that cannot
// be made stops the run before anything is written.
TBatchOutcome RunBatchLoop(TWorkflow& workflow, const TBatchCommand& command, const TSaveOverlays& overlays,
                           TAnimationProgress* progress = nullptr);

// The lines a run ends with: each file written (for standard output), and
// each note and failure, and why nothing was written when nothing was
// loaded (for standard error).
struct TBatchSummary {
  QStringList Written;
  QStringList Problems;
};
TBatchSummary BatchSummary(const TBatchOutcome& outcome);
