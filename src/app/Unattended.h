#pragma once
// The unattended run ("-SAVE") without a window: loads what argument 1
// names, saves a picture (and with "-ANIM" an animation) of every loaded
// product, prints what was written and what went wrong, and returns the
// exit status. Needs a QGuiApplication (text is drawn with Qt's fonts);
// builds no widget and waits on no timer.
#include <QString>

#include "app/CommandLine.h"
#include "app/workflow/Workflow.h"

// The display and save options as the window's check boxes last stood,
// read without writing anything back.
struct TRememberedOptions {
  TDisplayOptions Display;
  bool SaveWithOverlay = false;
};
TRememberedOptions ReadRememberedOptions();

// Runs the whole unattended run; 0 when every picture and animation asked
// for was written.
int RunUnattended(const TCommandLine& commandLine);
