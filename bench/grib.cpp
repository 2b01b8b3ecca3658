// Decoding a product: Norvant's LoadFromStream beside ecCodes'
// codes_handle_new_from_message + codes_get_double_array on the same bytes.
#include <benchmark/benchmark.h>
#include <eccodes.h>

#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "grib/FileReading.h"
#include "grib/GribData.h"
#include "imaging/ColourTableBuild.h"

namespace {

using TBytes = std::vector<std::uint8_t>;

TBytes ReadFirst(const QString& folder, const QString& pattern) {
  QDirIterator it(folder, {pattern}, QDir::Files, QDirIterator::Subdirectories);
  TBytes bytes;
  QString error;
  if (!it.hasNext() || !ReadDataFile(it.next(), bytes, error)) {
    std::fprintf(stderr, "no sample file %s\n", qPrintable(pattern));
    std::exit(1);
  }
  return bytes;
}

std::size_t U24(const TBytes& b, std::size_t at) { return (b[at] << 16) | (b[at + 1] << 8) | b[at + 2]; }

// The northern concentration message with its 8-bit values widened to 16
// bits (same packed integers, so the same field).
TBytes WidenedTo16Bits(const TBytes& message) {
  std::size_t at = 8;
  const std::uint8_t flags = message[at + 7];
  at += U24(message, at);
  if (flags & 0x80)
    at += U24(message, at);
  if (flags & 0x40)
    at += U24(message, at);
  const std::size_t bdsLength = U24(message, at);
  const std::size_t count = ((bdsLength - 11) * 8 - (message[at + 3] & 0x0F)) / 8;
  TBytes out(message.begin(), message.begin() + static_cast<std::ptrdiff_t>(at + 11));
  out[at + 10] = 16;
  for (std::size_t i = 0; i < count; ++i) {
    out.push_back(0);
    out.push_back(message[at + 11 + i]);
  }
  const std::size_t newLength = 11 + 2 * count;
  out[at] = static_cast<std::uint8_t>(newLength >> 16);
  out[at + 1] = static_cast<std::uint8_t>(newLength >> 8);
  out[at + 2] = static_cast<std::uint8_t>(newLength);
  out[at + 3] &= 0xF0;
  for (char c : {'7', '7', '7', '7'})
    out.push_back(static_cast<std::uint8_t>(c));
  out[4] = static_cast<std::uint8_t>(out.size() >> 16);
  out[5] = static_cast<std::uint8_t>(out.size() >> 8);
  out[6] = static_cast<std::uint8_t>(out.size());
  return out;
}

// Sample products written once by the project's sample tool: the newest
// day has the simple-packed SST, the day before the complex-packed one.
const std::map<std::string, TBytes>& Products() {
  static const std::map<std::string, TBytes> products = [] {
    QTemporaryDir folder;
    QProcess tool;
    tool.start(QStringLiteral("/usr/bin/python3"),
               {QStringLiteral(NORVANT_SOURCE_DIR "/tools/make_sample_tree.py"), folder.path(),
                QStringLiteral("--days"), QStringLiteral("2"), QStringLiteral("--end"), QStringLiteral("2026-12-01")});
    if (!tool.waitForFinished(300000) || tool.exitCode() != 0) {
      std::fprintf(stderr, "make_sample_tree.py failed\n");
      std::exit(1);
    }
    std::map<std::string, TBytes> p;
    p["conc8"] = ReadFirst(folder.path(), QStringLiteral("*_NH_CONC__-202612011200Z.grb.gz"));
    p["conc16"] = WidenedTo16Bits(p["conc8"]);
    p["sst12"] = ReadFirst(folder.path(), QStringLiteral("*MAPSST_FIELD-202612011200Z.grb.gz"));
    p["sstComplex"] = ReadFirst(folder.path(), QStringLiteral("*MAPSST_FIELD-202611301200Z.grb.gz"));
    return p;
  }();
  return products;
}

void Norvant(benchmark::State& state, const char* product) {
  const TBytes& bytes = Products().at(product);
  for (auto _ : state) {
    TGribData data(BuildColourTable);
    data.LowerPriority = false;
    if (!data.LoadFromStream(bytes))
      state.SkipWithError("decode failed");
    benchmark::DoNotOptimize(data.Bitmap().Pixels().data());
  }
}

void EcCodes(benchmark::State& state, const char* product) {
  const TBytes& bytes = Products().at(product);
  std::vector<double> values;
  for (auto _ : state) {
    codes_handle* h = codes_handle_new_from_message(nullptr, bytes.data(), bytes.size());
    size_t size = 0;
    codes_get_size(h, "values", &size);
    values.resize(size);
    codes_get_double_array(h, "values", values.data(), &size);
    benchmark::DoNotOptimize(values.data());
    codes_handle_delete(h);
  }
}

}  // namespace

BENCHMARK_CAPTURE(Norvant, Concentration8Bit760x1120, "conc8")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(EcCodes, Concentration8Bit760x1120, "conc8")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Norvant, Concentration16Bit760x1120, "conc16")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(EcCodes, Concentration16Bit760x1120, "conc16")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Norvant, Sst12BitGrib2, "sst12")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(EcCodes, Sst12BitGrib2, "sst12")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Norvant, SstComplexPacked, "sstComplex")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(EcCodes, SstComplexPacked, "sstComplex")->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
