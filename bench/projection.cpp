// Every pixel of the northern 10 km sea-ice grid (760 x 1120) read out to
// latitude/longitude and projected back: the cursor read-out and overlay
// drawing load of one picture.
#include "mapping/GridPlacement.h"
#include "mapping/Mapping.h"
#include "mapping/ProjGrids.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int kColumns = 760;
constexpr int kRows = 1120;

void ConfigureNorthernGrid(TMapping& mapping)
{
  mapping.SetKind(pkPolarStereographic);
  mapping.SetCentreLon(-45);
  mapping.SetCentreLat(60);
  mapping.SetHeight(700);
  mapping.SetWidth(kColumns);
  mapping.SetLatSpan(0);
  PlaceFirstGridPoint(mapping, 168.35f, 30.98f, kRows, true);
}

void BM_NorthernGridPixelRoundTrip(benchmark::State& state)
{
  TMapping mapping;
  ConfigureNorthernGrid(mapping);
  for (auto _ : state) {
    long sum = 0;
    for (int y = 0; y < kRows; ++y) {
      for (int x = 0; x < kColumns; ++x) {
        float lon = 0, lat = 0;
        int px = 0, py = 0;
        if (mapping.PixelToLatLon(x, y, lon, lat) && mapping.LatLonToPixel(lon, lat, px, py))
          sum += px + py;
      }
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kColumns * kRows);
}
BENCHMARK(BM_NorthernGridPixelRoundTrip)->Unit(benchmark::kMillisecond);

// The same grid as its files state it: the Hughes 1980 ellipsoid, true at
// 70 degrees, computed by PROJ through the radius table.
void BM_NorthernGridPixelRoundTripHughes(benchmark::State& state)
{
  auto mapping = PolarStereographicMapping(TEarth::Ellipsoid(6378273, 6356889.449), 70, -45, false, nullptr);
  if (!mapping || !mapping->PlacePoint(168.35, 30.98, 0, 0, 10000, 10000, kColumns, kRows)) {
    state.SkipWithError("PROJ refused the grid");
    return;
  }
  for (auto _ : state) {
    long sum = 0;
    for (int y = 0; y < kRows; ++y) {
      for (int x = 0; x < kColumns; ++x) {
        float lon = 0, lat = 0;
        int px = 0, py = 0;
        if (mapping->PixelToLatLon(x, y, lon, lat) && mapping->LatLonToPixel(lon, lat, px, py))
          sum += px + py;
      }
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kColumns * kRows);
}
BENCHMARK(BM_NorthernGridPixelRoundTripHughes)->Unit(benchmark::kMillisecond);

void BM_NorthernGridForward(benchmark::State& state)
{
  TMapping mapping;
  ConfigureNorthernGrid(mapping);
  for (auto _ : state) {
    long sum = 0;
    for (int lat = 0; lat < kRows; ++lat) {
      for (int lon = 0; lon < kColumns; ++lon) {
        int px = 0, py = 0;
        if (mapping.LatLonToPixel(lon * 0.47f - 180, 30 + lat * 0.0535f, px, py))
          sum += px + py;
      }
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kColumns * kRows);
}
BENCHMARK(BM_NorthernGridForward)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
