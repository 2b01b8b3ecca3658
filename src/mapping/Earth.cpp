#include "mapping/Earth.h"

#include <cmath>
#include <cstdio>

namespace {
constexpr double kLowestAxis = 6.15e6;
constexpr double kHighestAxis = 6.57e6;
}  // namespace

bool TEarth::Plausible() const
{
  return std::isfinite(a) && std::isfinite(b) && a >= kLowestAxis && a <= kHighestAxis && b >= kLowestAxis &&
         b <= a;
}

std::string TEarth::ProjParameters() const
{
  char text[96];
  if (IsSphere())
    std::snprintf(text, sizeof text, "+R=%.17g", a);
  else
    std::snprintf(text, sizeof text, "+a=%.17g +b=%.17g", a, b);
  return text;
}
