#pragma once
// The stored part of a window's geometry: state, position and size as seven
// integer settings. Kept apart from any widget so that the storage rules can
// be exercised without a window; TRegistryFormInfo applies it to one.
#include "settings/RegistryVariable.h"

#include <array>
#include <memory>

enum TFormState : std::int32_t { fsNormal = 0, fsMinimised = 1, fsMaximised = 2 };

struct TFormGeometry {
  std::int32_t State = fsNormal;
  std::int32_t Left = 0;
  std::int32_t Top = 0;
  std::int32_t Width = 0; // outer size: stored, never applied
  std::int32_t Height = 0;
  std::int32_t ClientWidth = 0;
  std::int32_t ClientHeight = 0;
  friend bool operator==(const TFormGeometry&, const TFormGeometry&) = default;
};

class TRegistryFormGeometry {
public:
  // Reads "FormState", "FormLeft", "FormTop", "FormWidth", "FormHeight",
  // "FormClientWidth", "FormClientHeight", in this order, each defaulting to
  // the window's current value.
  explicit TRegistryFormGeometry(const TFormGeometry& current);
  // Stores whatever the settings hold (the last geometry given to Store,
  // else what was read).
  ~TRegistryFormGeometry();
  TRegistryFormGeometry(const TRegistryFormGeometry&) = delete;
  TRegistryFormGeometry& operator=(const TRegistryFormGeometry&) = delete;

  // What was read (or the defaults), then the last geometry stored.
  TFormGeometry Stored() const;

  // Takes the window's geometry and writes all seven values now, in the
  // order they were read; called again, it writes the newer geometry.
  void Store(const TFormGeometry& current);

private:
  enum { kState, kLeft, kTop, kWidth, kHeight, kClientWidth, kClientHeight, kCount };
  std::array<std::unique_ptr<TRegistryInteger>, kCount> settings_;
  void FreeInOrder();
};
