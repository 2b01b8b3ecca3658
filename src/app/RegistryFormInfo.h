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
  // Stores the window's geometry unless Store was called already.
  ~TRegistryFormInfo();
  TRegistryFormInfo(const TRegistryFormInfo&) = delete;
  TRegistryFormInfo& operator=(const TRegistryFormInfo&) = delete;

  // Applies the stored state, position and client size; the outer size is
  // kept only for reference.
  void RestoreForm();

  // Stores now (from the window's close handling, while it still exists).
  void Store();

  // The window's geometry in stored form: for a maximised or minimised
  // window, position and size are those it returns to when shown normally.
  static TFormGeometry GeometryOf(const QWidget& form);

private:
  QPointer<QWidget> form_;
  TRegistryFormGeometry storage_;
};
