#pragma once
// The hourglass for the lifetime of the object, while the window loads,
// saves or builds an animation.
#include <QGuiApplication>

class TBusyCursor {
public:
  TBusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
  ~TBusyCursor() { QGuiApplication::restoreOverrideCursor(); }
  TBusyCursor(const TBusyCursor&) = delete;
  TBusyCursor& operator=(const TBusyCursor&) = delete;
};
