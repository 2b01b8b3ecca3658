#include <cmath>

#include "app/workflow/Workflow.h"

namespace {

// The bar shows palette entries 1..253: entry 0 is the no-data black and
// 254, 255 are the overlay colours.
constexpr int kFirstBarStep = 2;
constexpr int kLastBarStep = 254;
constexpr int kTickStepCelsius = 5;
constexpr int kHighestTickCelsius = 30;
constexpr double kKelvinAtZeroCelsius = 273.15;

}  // namespace

std::vector<std::optional<TRgb>> SstBarRows(const std::array<TRgb, 256>& palette, int boxHeight)
{
  std::vector<std::optional<TRgb>> rows(static_cast<std::size_t>(std::max(boxHeight, 0)));
  for (int y = boxHeight - 1; y >= 0; --y) {
    const int k = y * 256 / boxHeight;
    if (k >= kFirstBarStep && k <= kLastBarStep) {
      rows[static_cast<std::size_t>(y)] = palette[static_cast<std::size_t>(255 - k)];
    }
  }
  return rows;
}

std::vector<TLegendTick> SstTicks(float minKelvin, float maxKelvin, int boxHeight)
{
  std::vector<TLegendTick> ticks;
  const double span = static_cast<double>(maxKelvin) - static_cast<double>(minKelvin);
  if (!(span > 0) || boxHeight <= 0) {
    return ticks;
  }
  for (int t = 0; t <= kHighestTickCelsius; t += kTickStepCelsius) {
    // std::nearbyint rounds halves to even in the default rounding mode.
    const double c = std::nearbyint((t + kKelvinAtZeroCelsius - minKelvin) * 255.0 / span);
    const int y = static_cast<int>(std::nearbyint((255.0 - c) * boxHeight / 256.0));
    ticks.push_back({y, QString::number(t) + QString::fromUtf8("\u00B0C")});
  }
  return ticks;
}
