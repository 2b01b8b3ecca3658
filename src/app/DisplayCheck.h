#pragma once
// Whether the window can be shown at all, decided before Qt is started: a
// window on the offscreen platform is invisible and never ends, and the X11
// platform without a display aborts the program.
#include <QString>

struct TDisplayEnvironment {
  QString Platform;        // QT_QPA_PLATFORM, possibly a ';'-separated list
  QString Display;         // DISPLAY
  QString WaylandDisplay;  // WAYLAND_DISPLAY
  bool DesktopSystem = false;  // Windows and macOS always have their desktop
};

TDisplayEnvironment CurrentDisplayEnvironment();

// Why no window can be shown in that environment; empty when one can.
QString WhyNoDisplay(const TDisplayEnvironment& environment);
