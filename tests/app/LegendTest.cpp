// The SST legend: which palette entries the bar shows and where the degree
// ticks sit for a known scale.
#include "app/workflow/Workflow.h"

#include <gtest/gtest.h>

namespace {

std::array<TRgb, 256> NumberedPalette()
{
  std::array<TRgb, 256> palette{};
  for (int i = 0; i < 256; ++i) {
    palette[static_cast<std::size_t>(i)] = {static_cast<std::uint8_t>(i), 0, 0};
  }
  return palette;
}

TEST(SstLegend, BarShowsEntriesOneTo253HighestAtTheTop)
{
  const auto rows = SstBarRows(NumberedPalette(), 289);
  ASSERT_EQ(rows.size(), 289u);
  int lowest = 256, highest = -1;
  for (std::size_t y = 0; y < rows.size(); ++y) {
    if (rows[y]) {
      lowest = std::min(lowest, int{rows[y]->r});
      highest = std::max(highest, int{rows[y]->r});
    }
  }
  EXPECT_EQ(lowest, 1);
  EXPECT_EQ(highest, 253);
  EXPECT_FALSE(rows[0]);  // k = 0
  EXPECT_FALSE(rows[2]);  // k = 1
  ASSERT_TRUE(rows[3]);   // k = 2
  EXPECT_EQ(rows[3]->r, 253);
  ASSERT_TRUE(rows[287]);  // k = 254
  EXPECT_EQ(rows[287]->r, 1);
  EXPECT_FALSE(rows[288]);  // k = 255
}

struct TickCase {
  float minK, maxK;
  int height;
  std::array<int, 7> ys;
};

// y = round((255 - round((t + 273.15 - min) * 255 / (max - min))) * h / 256),
// both roundings to nearest with halves to even.
const TickCase kTickCases[] = {
  {271.15f, 306.15f, 289, {{271, 230, 190, 148, 107, 65, 25}}},
  {273.15f, 273.15f + 25.5f, 256, {{255, 205, 155, 105, 55, 5, -45}}},
};

TEST(SstLegend, TicksSitAtTheRoundedScalePositions)
{
  for (const TickCase& c : kTickCases) {
    const auto ticks = SstTicks(c.minK, c.maxK, c.height);
    ASSERT_EQ(ticks.size(), 7u);
    for (std::size_t i = 0; i < 7; ++i) {
      EXPECT_EQ(ticks[i].Y, c.ys[i]) << "tick " << i * 5;
      EXPECT_EQ(ticks[i].Text, QString::number(static_cast<int>(i) * 5) + QString::fromUtf8("\u00B0C"));
    }
  }
}

TEST(SstLegend, EmptyScaleHasNoTicks)
{
  EXPECT_TRUE(SstTicks(280.0f, 280.0f, 289).empty());
  EXPECT_TRUE(SstTicks(290.0f, 280.0f, 289).empty());
}

}  // namespace
