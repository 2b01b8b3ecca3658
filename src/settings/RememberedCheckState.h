#pragma once
// The stored part of a check box that remembers whether it was ticked: one
// Boolean setting under the box's NamedAs, or its own object name when
// NamedAs is empty.
#include "settings/RegistryVariable.h"

#include <memory>

class TRememberedCheckState {
public:
  // The value name a box is remembered under.
  static QString SettingName(const QString& namedAs, const QString& ownName);

  // Reads the remembered state, the initial state being the default, and
  // returns it. Only the first call reads; later ones return the same value.
  // An empty name reads nothing and stores nothing.
  bool Load(const QString& name, bool initialState);
  bool IsLoaded() const { return setting_ != nullptr; }
  QString ValueName() const;

  // Stores the state now, as the user changes it, so that it outlives a
  // run that is killed; does nothing when never loaded.
  void Write(bool checked);

  // Stores the box's state at its end; does nothing when never loaded.
  void Store(bool checked);

private:
  std::unique_ptr<TRegistryBoolean> setting_;
};
