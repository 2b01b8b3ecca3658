#pragma once
// Idle priority while decoding, so a long decode does not slow the rest of the
// desktop. Only done where it can be undone: Windows priority classes. An
// unprivileged Linux process can lower its niceness but never raise it again,
// so there both calls do nothing.
#include <cstdint>

using TPriorityClass = std::uint32_t;

// When lower is true and the current class can be read, switches to the idle
// class and returns the previous one; otherwise returns 0.
TPriorityClass SetIdlePriority(bool lower);

// Puts back a class returned by SetIdlePriority; 0 does nothing.
void RestorePriority(TPriorityClass previous);

// Idle priority for the lifetime of the object.
class TIdlePriorityScope {
public:
  explicit TIdlePriorityScope(bool lower = true) : previous_(SetIdlePriority(lower)) {}
  ~TIdlePriorityScope() { RestorePriority(previous_); }
  TIdlePriorityScope(const TIdlePriorityScope&) = delete;
  TIdlePriorityScope& operator=(const TIdlePriorityScope&) = delete;

private:
  TPriorityClass previous_;
};
