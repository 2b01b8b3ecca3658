// Loading the northern 760 x 1120 concentration as a netCDF-4 file (16-bit,
// zlib-compressed chunks) beside the same day's GRIB file (.grb.gz): the
// file read, inflated and decoded into a picture, as "Open" does. And the
// reference: one gdal_translate of the netCDF file to PNG, the whole
// process each time.
#include <benchmark/benchmark.h>

#include <QDirIterator>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

#include "grib/DataFile.h"
#include "grib/FileReading.h"
#include "grib/GribData.h"
#include "imaging/ColourTableBuild.h"

namespace {

// The newest day of a one-day sample tree in each format, made once.
QString SampleFile(const char* format, const char* pattern)
{
  static QTemporaryDir grib, netcdf;
  QTemporaryDir& folder = QLatin1String(format) == QLatin1String("grib") ? grib : netcdf;
  QDirIterator it(folder.path(), {QLatin1String(pattern)}, QDir::Files, QDirIterator::Subdirectories);
  if (it.hasNext())
    return it.next();
  QProcess tool;
  tool.setStandardOutputFile(QProcess::nullDevice());
  tool.start("/usr/bin/python3", {NORVANT_SOURCE_DIR "/tools/make_sample_tree.py", folder.path(), "--days", "1",
                                  "--end", "2026-12-01", "--format", format});
  const bool ran = tool.waitForFinished(600000) && tool.exitCode() == 0;
  QDirIterator made(folder.path(), {QLatin1String(pattern)}, QDir::Files, QDirIterator::Subdirectories);
  if (!ran || !made.hasNext()) {
    std::fprintf(stderr, "make_sample_tree.py --format %s made no %s\n", format, pattern);
    std::exit(1);
  }
  return made.next();
}

QString NetCdfConcentration() { return SampleFile("netcdf", "ice_conc_nh_polstere-100_multi_*.nc"); }
QString GribConcentration() { return SampleFile("grib", "*_NH_CONC__-*.grb.gz"); }

void LoadFile(benchmark::State& state, const QString& file)
{
  for (auto _ : state) {
    std::vector<std::uint8_t> bytes;
    QString error;
    TGribData data(BuildColourTable);
    data.LowerPriority = false;
    if (!ReadDataFile(file, bytes, error) || !DecodeDataFile(data, bytes, file)) {
      state.SkipWithError("the file did not load");
      return;
    }
    benchmark::DoNotOptimize(data.Bitmap().Pixels().data());
  }
}

void LoadNetCdfConcentration(benchmark::State& state) { LoadFile(state, NetCdfConcentration()); }
void LoadGribConcentration(benchmark::State& state) { LoadFile(state, GribConcentration()); }

void GdalTranslateNetCdfConcentration(benchmark::State& state)
{
  const QString program = QStandardPaths::findExecutable("gdal_translate");
  if (program.isEmpty()) {
    state.SkipWithError("gdal_translate is not installed (Debian package gdal-bin)");
    return;
  }
  const QString source = "NETCDF:\"" + NetCdfConcentration() + "\":ice_conc";
  QTemporaryDir out;
  for (auto _ : state) {
    QProcess gdal;
    gdal.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    gdal.setStandardOutputFile(QProcess::nullDevice());
    gdal.start(program, {"-q", "-of", "PNG", "-ot", "Byte", "-scale", source, out.filePath("conc.png")});
    if (!gdal.waitForFinished(60000) || gdal.exitCode() != 0) {
      state.SkipWithError("gdal_translate could not convert the file");
      return;
    }
  }
}

}  // namespace

BENCHMARK(LoadNetCdfConcentration)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadGribConcentration)->Unit(benchmark::kMillisecond);
BENCHMARK(GdalTranslateNetCdfConcentration)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
