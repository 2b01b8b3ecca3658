#pragma once
// The current UTC date and time. Everything that asks "what day is it" (the
// newest-file search, the animation dates) goes through UtcNow, so tests can
// pin the date with one override.
#include <QDateTime>
#include <functional>

using TUtcClock = std::function<QDateTime()>;

// The system's UTC clock, or the override when one is set.
QDateTime UtcNow();

// The single override point: tests install a fixed clock here; an empty
// function restores the system clock. Prefer TScopedUtcClock.
void SetUtcClockOverride(TUtcClock clock);

// Installs a clock for the lifetime of the object and restores the previous
// one afterwards.
class TScopedUtcClock {
public:
  explicit TScopedUtcClock(TUtcClock clock);
  explicit TScopedUtcClock(const QDateTime& fixedUtc);
  ~TScopedUtcClock();
  TScopedUtcClock(const TScopedUtcClock&) = delete;
  TScopedUtcClock& operator=(const TScopedUtcClock&) = delete;

private:
  TUtcClock previous_;
};
