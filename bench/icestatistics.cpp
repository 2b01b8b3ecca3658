// Sea-ice extent and area of a northern concentration field (760 x 1120 on
// the Hughes 1980 ellipsoid, true at 70 degrees): the figures of each new
// day with the grid's cell areas cached, and the once-per-grid cost of the
// cell areas themselves.
#include "imaging/CellAreas.h"
#include "imaging/IceStatistics.h"
#include "mapping/ProjGrids.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr int kColumns = 760;
constexpr int kRows = 1120;
constexpr std::uint8_t kMissing = 103;

std::unique_ptr<TProjMapping> NorthernGrid()
{
  auto mapping = PolarStereographicMapping(TEarth::Ellipsoid(6378273, 6356889.449), 70, -45, false, nullptr);
  mapping->SetFrame({-3845000, 5845000, 10000, 10000, kColumns, kRows});
  return mapping;
}

// Ice thickening towards the pole, a pole hole, and a band of land.
std::vector<std::uint8_t> NorthernField(const TProjMapping& mapping)
{
  std::vector<std::uint8_t> codes(static_cast<std::size_t>(kColumns) * kRows);
  for (int r = 0; r < kRows; ++r) {
    for (int c = 0; c < kColumns; ++c) {
      double lon = 0, lat = 0;
      mapping.FromPlane(-3845000 + c * 10000.0, 5845000 - r * 10000.0, lon, lat);
      std::uint8_t code = static_cast<std::uint8_t>(std::clamp((lat - 60) * 5, 0.0, 100.0));
      if (lat > 87.5)
        code = kMissing;
      else if (std::fmod(lon + 360, 40) < 4)
        code = kConcentrationLandCode;
      codes[static_cast<std::size_t>(r) * kColumns + c] = code;
    }
  }
  return codes;
}

void BM_ExtentAndAreaWithCachedCellAreas(benchmark::State& state)
{
  const auto mapping = NorthernGrid();
  const auto areas = TCellAreas::Compute(*mapping);
  const std::vector<std::uint8_t> codes = NorthernField(*mapping);
  for (auto _ : state) {
    const TIceStatistics s = ComputeIceStatistics(codes, areas->Km2(), kMissing);
    benchmark::DoNotOptimize(s.AreaKm2);
  }
  state.SetItemsProcessed(state.iterations() * kColumns * kRows);
}
BENCHMARK(BM_ExtentAndAreaWithCachedCellAreas)->Unit(benchmark::kMillisecond);

void BM_CellAreasOfTheGrid(benchmark::State& state)
{
  const auto mapping = NorthernGrid();
  for (auto _ : state) {
    const auto areas = TCellAreas::Compute(*mapping);
    benchmark::DoNotOptimize(areas.get());
  }
}
BENCHMARK(BM_CellAreasOfTheGrid)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
