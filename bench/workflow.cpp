// "Open latest" on the sample tree: find the newest files, read them (gzip
// included), decode four products and render the picture shown, as the
// window does. Also one product's render on its own, plain and zoomed.
#include "app/workflow/UtcClock.h"
#include "app/workflow/Workflow.h"
#include "settings/SettingsStore.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QGuiApplication>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// Two days of both hemispheres and SST, ending on a fixed date; the clock
// is pinned to the morning after so the search finds them.
const QString& SampleImages()
{
  static const QString path = [] {
    const QString folder = QString(NORVANT_BINARY_DIR) + "/bench-sample";
    if (!QDir(folder + "/SAF").exists()) {
      QProcess::execute("/usr/bin/python3", {QString(NORVANT_SOURCE_DIR) + "/tools/make_sample_tree.py", folder,
                                             "--days", "2", "--end", "2026-12-05"});
    }
    return folder;
  }();
  return path;
}

struct TBenchViewer {
  TBenchViewer()
  {
    settings.OverrideImagesPath(SampleImages());
  }
  TViewerSettings settings;
  TStderrMessageSink messages;
  TWorkflow workflow{settings, messages};
};

void BM_OpenLatestFourProducts(benchmark::State& state)
{
  TBenchViewer viewer;
  for (auto _ : state) {
    if (!viewer.workflow.OpenLatest(THemisphere::Either) || viewer.workflow.LastLoad().Loaded != 4) {
      state.SkipWithError("the sample tree did not load");
      break;
    }
  }
}
BENCHMARK(BM_OpenLatestFourProducts)->Unit(benchmark::kMillisecond);

void BM_OpenLatestNorthernGzip(benchmark::State& state)
{
  TBenchViewer viewer;
  for (auto _ : state) {
    if (!viewer.workflow.OpenLatest(THemisphere::Northern)) {
      state.SkipWithError("the sample tree did not load");
      break;
    }
  }
}
BENCHMARK(BM_OpenLatestNorthernGzip)->Unit(benchmark::kMillisecond);

void BM_RenderNorthernConcentration(benchmark::State& state)
{
  TBenchViewer viewer;
  TDisplayOptions options;
  options.Zoomed = state.range(0) != 0;
  viewer.workflow.SetDisplayOptions(options);
  if (!viewer.workflow.OpenLatest(THemisphere::Northern)) {
    state.SkipWithError("the sample tree did not load");
    return;
  }
  viewer.workflow.SelectTab(prConcentration);
  for (auto _ : state) {
    viewer.workflow.Render();
    benchmark::DoNotOptimize(viewer.workflow.DisplayBitmap().Pixels().data());
  }
}
BENCHMARK(BM_RenderNorthernConcentration)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
  // Text needs a GUI application; no display is needed. The settings go to
  // a temporary folder, never the user's own; the boundary file is the one
  // beside the program.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir settingsFolder;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsFolder.path());
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsFolder.path());
  QGuiApplication app(argc, argv);
  SetSettingsProgramName("norvant-bench");
  OpenVendorSettings("App Paths")->setValue("Trakwise", QString(NORVANT_BINARY_DIR) + "/norvant");
  const TScopedUtcClock clock(QDateTime(QDate(2026, 12, 6), QTime(6, 0), Qt::UTC));
  if (SampleImages().isEmpty()) {
    return 1;
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
