// Overlays on a product-sized picture (760 x 1120, the northern 10 km
// sea-ice grid): the graticule with its labels, the shipped boundaries, and
// both together as the display draws them for every picture.
#include "imaging/Canvas.h"
#include "mapping/GridPlacement.h"
#include "mapping/Mapping.h"
#include "overlays/CartogList.h"
#include "overlays/Graticule.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>

namespace {

constexpr int kWidth = 760, kHeight = 1120;
constexpr std::uint32_t kSilver = 0xC0C0C0, kWhite = 0xFFFFFF, kBlack = 0;

struct TScene {
  TMapping mapping;
  TCartogList boundaries;
  TExtBitmap picture{kWidth, kHeight};

  TScene()
  {
    mapping.SetKind(pkPolarStereographic);
    mapping.SetCentreLon(-45);
    mapping.SetCentreLat(60);
    mapping.SetHeight(728);
    mapping.SetWidth(kWidth);
    mapping.SetLatSpan(0);
    // The grid's first point (top-left cell centre), as PROJ inverts it.
    PlaceFirstGridPoint(mapping, 168.338007f, 31.037078f, kHeight, true);
    boundaries.LoadFromFile(NORVANT_SOURCE_DIR "/data/Countries.dat");
    boundaries.Mapping = &mapping;
    picture.SetPaletteSize(8);
    picture.Palette()[0] = {0, 0, 96};
    picture.Palette()[1] = {255, 255, 255};
    picture.Palette()[2] = {0, 0, 0};
    picture.Palette()[3] = {192, 192, 192};
  }

  void Graticule()
  {
    DrawGraticuleOnBitmap(&picture, mapping, 10, 5, kWhite, kSilver, 0, 0, false, {}, kBlack);
  }
  void Boundaries()
  {
    TCanvas(picture).SetPenColour(kSilver);
    boundaries.DrawOnBitmap(&picture, 0, 0);
  }
};

TScene& Scene()
{
  static TScene scene;
  return scene;
}

void BM_Graticule(benchmark::State& state)
{
  TScene& scene = Scene();
  for (auto _ : state) {
    scene.picture.Fill(0);
    scene.Graticule();
    benchmark::DoNotOptimize(scene.picture.Pixels().data());
  }
}
BENCHMARK(BM_Graticule)->Unit(benchmark::kMillisecond);

void BM_Boundaries(benchmark::State& state)
{
  TScene& scene = Scene();
  std::size_t points = 0;
  for (const TLineSegment& s : scene.boundaries.Segments()) points += s.Points.size();
  for (auto _ : state) {
    scene.picture.Fill(0);
    scene.Boundaries();
    benchmark::DoNotOptimize(scene.picture.Pixels().data());
  }
  state.counters["segments"] = static_cast<double>(scene.boundaries.Count());
  state.counters["points"] = static_cast<double>(points);
}
BENCHMARK(BM_Boundaries)->Unit(benchmark::kMillisecond);

// What the display does for each picture with grid and boundaries on.
void BM_GraticuleAndBoundaries(benchmark::State& state)
{
  TScene& scene = Scene();
  for (auto _ : state) {
    scene.picture.Fill(0);
    scene.Graticule();
    scene.Boundaries();
    benchmark::DoNotOptimize(scene.picture.Pixels().data());
  }
}
BENCHMARK(BM_GraticuleAndBoundaries)->Unit(benchmark::kMillisecond);

void BM_LoadBoundaryFile(benchmark::State& state)
{
  for (auto _ : state) {
    TCartogList list;
    list.LoadFromFile(NORVANT_SOURCE_DIR "/data/Countries.dat");
    benchmark::DoNotOptimize(list.Count());
  }
}
BENCHMARK(BM_LoadBoundaryFile)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
  // Label text is rasterised through Qt's fonts.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
