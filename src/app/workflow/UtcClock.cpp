#include "app/workflow/UtcClock.h"

#include <utility>

namespace {

TUtcClock& ClockOverride()
{
  static TUtcClock clock;
  return clock;
}

} // namespace

QDateTime UtcNow()
{
  const TUtcClock& clock = ClockOverride();
  return clock ? clock().toUTC() : QDateTime::currentDateTimeUtc();
}

void SetUtcClockOverride(TUtcClock clock)
{
  ClockOverride() = std::move(clock);
}

TScopedUtcClock::TScopedUtcClock(TUtcClock clock) : previous_(ClockOverride())
{
  ClockOverride() = std::move(clock);
}

TScopedUtcClock::TScopedUtcClock(const QDateTime& fixedUtc)
    : TScopedUtcClock(TUtcClock([fixedUtc] { return fixedUtc; }))
{
}

TScopedUtcClock::~TScopedUtcClock()
{
  ClockOverride() = std::move(previous_);
}
