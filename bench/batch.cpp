// The unattended run on a generated data tree: load the four newest
// products, render them and write four PNG pictures, measured side by side
// with one gdal_translate of a single concentration file to PNG (the whole
// process, as a user runs it); and an animation of 30 days, reported per
// frame. Wall-clock times, since the reference runs in a child process.
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <memory>

#include "app/workflow/Animation.h"
#include "app/workflow/Batch.h"
#include "app/workflow/MessageSink.h"
#include "app/workflow/ViewerSettings.h"
#include "app/workflow/Workflow.h"
#include "mapping/CartogList.h"

namespace {

constexpr int kAnimationDays = 30;

// 31 days ending yesterday, made once per build and day by the project's own
// tool; empty when it could not be run.
const QString& ImagesPath()
{
  static const QString path = [] {
    const QDate end = QDateTime::currentDateTimeUtc().date().addDays(-1);
    const QString folder = QString(NORVANT_BINARY_DIR) + "/bench-samples/days31-" + end.toString("yyyyMMdd");
    if (!QFileInfo(folder + "/SAF").isDir()) {
      std::fprintf(stderr, "Making the sample tree in %s ...\n", qPrintable(folder));
      QProcess tool;
      tool.setProcessChannelMode(QProcess::ForwardedErrorChannel);
      tool.setStandardOutputFile(QProcess::nullDevice());
      tool.start("/usr/bin/python3", {QString(NORVANT_SOURCE_DIR) + "/tools/make_sample_tree.py", folder + ".part",
                                      "--days", QString::number(kAnimationDays + 1), "--end", end.toString(Qt::ISODate)});
      if (!tool.waitForFinished(1800000) || tool.exitCode() != 0 || !QDir().rename(folder + ".part", folder)) {
        return QString();
      }
    }
    return QDir::toNativeSeparators(folder + "/");
  }();
  return path;
}

// A workflow as the program's window sets it up: default display options,
// the boundary file beside the program, the sample tree as images folder.
struct TSetup {
  TViewerSettings Settings;
  TCollectingMessageSink Messages;
  std::unique_ptr<TWorkflow> Workflow;

  TSetup()
  {
    Settings.OverrideImagesPath(ImagesPath());
    Workflow = std::make_unique<TWorkflow>(Settings, Messages);
    Workflow->Boundaries().LoadFromFile(std::string(NORVANT_BINARY_DIR) + "/Countries.dat");
  }
};

void BatchLatestFourPictures(benchmark::State& state)
{
  if (ImagesPath().isEmpty()) {
    state.SkipWithError("the sample tree could not be made");
    return;
  }
  QTemporaryDir out;
  const TBatchCommand command = ParseBatchCommand({"-LATEST", "-SAVE:" + out.path()});
  int written = 0;
  for (auto _ : state) {
    TSetup setup;
    setup.Workflow->OpenLatest(THemisphere::Either);
    const TBatchOutcome outcome = RunBatchLoop(*setup.Workflow, command, TSaveOverlays{});
    written = static_cast<int>(outcome.Written.size());
  }
  if (written != 4) {
    state.SkipWithError("the run did not write four pictures");
  }
}
BENCHMARK(BatchLatestFourPictures)->Unit(benchmark::kMillisecond)->UseRealTime();

// The reference: GDAL's command-line converter on one concentration file,
// the whole process each time as a user would run it.
void GdalTranslateOneConcentration(benchmark::State& state)
{
  const QString program = QStandardPaths::findExecutable("gdal_translate");
  if (program.isEmpty()) {
    state.SkipWithError("gdal_translate is not installed (Debian package gdal-bin)");
    return;
  }
  const QDate end = QDateTime::currentDateTimeUtc().date().addDays(-1);
  const QString file = ImagesPath() + "SAF/" + end.toString("yyyy/MM/dd/") + "S-OSI_-NOR_-MULT-GL_SH_CONC__-" +
                       end.toString("yyyyMMdd") + "1200Z.grb";
  QTemporaryDir out;
  for (auto _ : state) {
    QProcess gdal;
    gdal.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    gdal.setStandardOutputFile(QProcess::nullDevice());
    gdal.start(program, {"-q", "-of", "PNG", "-ot", "Byte", "-scale", file, out.filePath("conc.png")});
    if (!gdal.waitForFinished(60000) || gdal.exitCode() != 0) {
      state.SkipWithError("gdal_translate could not convert the file");
      return;
    }
  }
}
BENCHMARK(GdalTranslateOneConcentration)->Unit(benchmark::kMillisecond)->UseRealTime();

void Animation30Days(benchmark::State& state)
{
  if (ImagesPath().isEmpty()) {
    state.SkipWithError("the sample tree could not be made");
    return;
  }
  QTemporaryDir out;
  TSetup setup;
  setup.Settings.FrameCount.Value = kAnimationDays;
  setup.Workflow->OpenLatest(THemisphere::Southern);
  const QString source = setup.Workflow->AnimationSource(prConcentration);
  std::int64_t frames = 0;
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    const TAnimationResult result = MakeAnimation(*setup.Workflow, prConcentration, out.path());
    if (!result.Written() || result.Frames != kAnimationDays) {
      state.SkipWithError("the animation did not get all its frames");
      return;
    }
    frames += result.Frames;
  }
  const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
  state.counters["ms_per_frame"] = frames > 0 ? elapsed.count() / static_cast<double>(frames) : 0.0;
}
BENCHMARK(Animation30Days)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
  // Text needs a GUI application; no display is needed. The settings go to
  // a temporary folder, never the user's own.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir settings;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
