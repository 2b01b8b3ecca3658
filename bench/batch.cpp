// The unattended run on a generated data tree: load the four newest
// products, render them and write four PNG pictures, measured side by side
// with one gdal_translate of a single concentration file to PNG (the whole
// process, as a user runs it); and an animation of 30 days, reported per
// frame. Wall-clock times, since the reference runs in a child process.
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
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
#include "overlays/CartogList.h"

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

QString NewestSouthernConcentration();

// The reference: GDAL's command-line converter on one concentration file,
// the whole process each time as a user would run it.
void GdalTranslateOneConcentration(benchmark::State& state)
{
  const QString program = QStandardPaths::findExecutable("gdal_translate");
  if (program.isEmpty()) {
    state.SkipWithError("gdal_translate is not installed (Debian package gdal-bin)");
    return;
  }
  const QString file = NewestSouthernConcentration();
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

// The program itself, as cron or a user runs it: a new process, no window,
// on the same concentration file as the gdal_translate reference (three
// products, three pictures) and on "-LATEST" (four products, four pictures).
void RunNorvant(benchmark::State& state, const QStringList& arguments, int pictures)
{
  if (ImagesPath().isEmpty()) {
    state.SkipWithError("the sample tree could not be made");
    return;
  }
  const QString program = QString(NORVANT_BINARY_DIR) + "/norvant";
  QTemporaryDir out;
  QTemporaryDir config;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("XDG_CONFIG_HOME", config.path());
  for (auto _ : state) {
    QProcess norvant;
    norvant.setProcessEnvironment(environment);
    norvant.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    norvant.setStandardOutputFile(QProcess::nullDevice());
    norvant.start(program, QStringList{"--images-path", ImagesPath()} + arguments + QStringList{"-SAVE:" + out.path()});
    if (!norvant.waitForFinished(60000) || norvant.exitCode() != 0) {
      state.SkipWithError("norvant did not write its pictures");
      return;
    }
  }
  if (QDir(out.path()).entryList(QDir::Files).size() != pictures) {
    state.SkipWithError("norvant did not write the pictures asked for");
  }
}

QString NewestSouthernConcentration()
{
  const QDate end = QDateTime::currentDateTimeUtc().date().addDays(-1);
  return ImagesPath() + "SAF/" + end.toString("yyyy/MM/dd/") + "S-OSI_-NOR_-MULT-GL_SH_CONC__-" +
         end.toString("yyyyMMdd") + "1200Z.grb";
}

// One process run to its end; its wall time in milliseconds, or a negative
// number when it failed.
double TimedRun(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment)
{
  QProcess process;
  process.setProcessEnvironment(environment);
  process.setStandardOutputFile(QProcess::nullDevice());
  process.setStandardErrorFile(QProcess::nullDevice());
  const auto start = std::chrono::steady_clock::now();
  process.start(program, arguments);
  if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
    return -1;
  }
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// The goal side by side: each iteration runs one gdal_translate of the
// concentration file and then "norvant FILE -SAVE:dir" on it (three
// products, three pictures), so both meet the same load on the machine.
void NorvantBesideGdalTranslate(benchmark::State& state)
{
  const QString gdal = QStandardPaths::findExecutable("gdal_translate");
  if (gdal.isEmpty() || ImagesPath().isEmpty()) {
    state.SkipWithError("gdal_translate or the sample tree is missing");
    return;
  }
  const QString file = NewestSouthernConcentration();
  QTemporaryDir out;
  QTemporaryDir config;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("XDG_CONFIG_HOME", config.path());
  const QString norvant = QString(NORVANT_BINARY_DIR) + "/norvant";
  double gdalMs = 0, norvantMs = 0;
  std::int64_t runs = 0;
  for (auto _ : state) {
    const double g = TimedRun(gdal, {"-q", "-of", "PNG", "-ot", "Byte", "-scale", file, out.filePath("gdal.png")},
                              environment);
    const double n = TimedRun(norvant, {file, "-SAVE:" + out.path()}, environment);
    if (g < 0 || n < 0) {
      state.SkipWithError("a run failed");
      return;
    }
    gdalMs += g;
    norvantMs += n;
    ++runs;
  }
  state.counters["gdal_ms"] = gdalMs / static_cast<double>(runs);
  state.counters["norvant_ms"] = norvantMs / static_cast<double>(runs);
  state.counters["norvant_per_gdal"] = norvantMs / gdalMs;
}
BENCHMARK(NorvantBesideGdalTranslate)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

void NorvantProcessOneFile(benchmark::State& state)
{
  RunNorvant(state, {NewestSouthernConcentration()}, 3);
}
BENCHMARK(NorvantProcessOneFile)->Unit(benchmark::kMillisecond)->UseRealTime();

void NorvantProcessLatest(benchmark::State& state) { RunNorvant(state, {"-LATEST"}, 4); }
BENCHMARK(NorvantProcessLatest)->Unit(benchmark::kMillisecond)->UseRealTime();

// A year of daily pictures as an archive run makes them: 365 runs of
// "norvant FILE -SAVE:dir --dated-names", two at a time under GNU parallel.
// The tree holds 31 days, so the runs go round its concentration files of
// both hemispheres; each run loads and writes as much as any other day's.
void YearOfDailyPicturesWithParallel(benchmark::State& state)
{
  constexpr int kRuns = 365;
  const QString parallel = QStandardPaths::findExecutable("parallel");
  if (parallel.isEmpty()) {
    state.SkipWithError("GNU parallel is not installed (Debian package parallel)");
    return;
  }
  if (ImagesPath().isEmpty()) {
    state.SkipWithError("the sample tree could not be made");
    return;
  }
  QStringList files;
  const QDate end = QDateTime::currentDateTimeUtc().date().addDays(-1);
  for (int k = 0; files.size() < kRuns; ++k) {
    const QDate day = end.addDays(-(k % (kAnimationDays + 1)));
    const QString folder = ImagesPath() + "SAF/" + day.toString("yyyy/MM/dd/");
    const QString stamp = day.toString("yyyyMMdd") + "1200Z";
    files.append(k % 2 == 0 ? folder + "S-OSI_-NOR_-MULT-GL_SH_CONC__-" + stamp + ".grb"
                            : folder + "S-OSI_-NOR_-MULT-GL_NH_CONC__-" + stamp + ".grb.gz");
  }
  QTemporaryDir out;
  QTemporaryDir config;
  QFile list(out.filePath("files.txt"));
  if (!list.open(QIODevice::WriteOnly)) {
    state.SkipWithError("the file list could not be written");
    return;
  }
  list.write(files.join('\n').toLocal8Bit() + '\n');
  list.close();
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("XDG_CONFIG_HOME", config.path());
  const QString program = QString(NORVANT_BINARY_DIR) + "/norvant";
  for (auto _ : state) {
    QProcess run;
    run.setProcessEnvironment(environment);
    run.setStandardOutputFile(QProcess::nullDevice());
    run.setStandardErrorFile(QProcess::nullDevice());
    run.start(parallel, {"--will-cite", "-j", "2", "-a", list.fileName(), program, "{}", "-SAVE:" + out.path(),
                         "--dated-names"});
    if (!run.waitForFinished(600000) || run.exitCode() != 0) {
      state.SkipWithError("a run under parallel failed");
      return;
    }
  }
  state.counters["runs"] = kRuns;
}
BENCHMARK(YearOfDailyPicturesWithParallel)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

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
