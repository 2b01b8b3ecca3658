#pragma once
// Saves a window's state, position and size when destroyed and puts them
// back on request (state 0 normal, 1 minimised, 2 maximised).
#include "settings/RegistryFormGeometry.h"

#include <QPointer>
#include <QWidget>

class TRegistryFormInfo {
public:
  // Reads the stored geometry, the window's current one being the default.
  explicit TRegistryFormInfo(QWidget* form);
  // Stores the window's geometry once more.
  ~TRegistryFormInfo();
  TRegistryFormInfo(const TRegistryFormInfo&) = delete;
  TRegistryFormInfo& operator=(const TRegistryFormInfo&) = delete;

  // Applies the stored state, client position and client size; the outer
  // size is kept only for reference. A position off every screen (a screen
  // since removed) puts the window in the middle of the primary screen.
  void RestoreForm();

  // Stores now (while the window moves, and when it closes); may be called
  // any number of times.
  void Store();

  // The window's geometry in stored form: the client area's position and
  // size and the frame's size; for a maximised or minimised window,
  // position and size are those it returns to when shown normally.
  static TFormGeometry GeometryOf(const QWidget& form);

  // `client` when at least a corner of it that one can grab is on a
  // screen, else the same size (at most the screen's) centred on the
  // primary screen.
  static QRect OnSomeScreen(const QRect& client);
  static constexpr int kMinimumVisible = 40;

private:
  QPointer<QWidget> form_;
  TRegistryFormGeometry storage_;
};
