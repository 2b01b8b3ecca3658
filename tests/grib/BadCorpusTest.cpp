// Every file of tests/data/bad (see its MANIFEST) through the reader that
// would meet it: a broken file must be refused with a reason, the sound
// files kept beside them must decode, and no file may crash the reader,
// hang it or make it read out of bounds (the sanitizer build runs these).
#include <gtest/gtest.h>

#include <QFile>
#include <QString>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "grib/DataFile.h"
#include "grib/FileReading.h"
#include "grib/GribData.h"
#include "imaging/ColourTableBuild.h"
#include "overlays/CartogList.h"

namespace {

const std::string kBadDir = NORVANT_SOURCE_DIR "/tests/data/bad/";

struct TBadFile {
  std::string file, reader, outcome, reason;
};

std::vector<TBadFile> ReadManifest() {
  std::vector<TBadFile> rows;
  std::ifstream in(kBadDir + "MANIFEST");
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#')
      continue;
    std::istringstream fields(line);
    TBadFile& row = rows.emplace_back();
    std::getline(std::getline(std::getline(fields, row.file, '\t'), row.reader, '\t'), row.outcome, '\t');
    std::getline(fields, row.reason);
  }
  return rows;
}

void PrintTo(const TBadFile& bad, std::ostream* out) { *out << bad.file; }

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Decodes as the viewer does; a refusal must give its reason, framed by
// the stream and, for GRIB, by the exact length too.
bool Decodes(std::span<const std::uint8_t> bytes, const std::string& file) {
  TGribData data(BuildColourTable);
  if (DecodeDataFile(data, bytes, QString::fromStdString(file)))
    return true;
  EXPECT_FALSE(data.Log.isEmpty() || data.Log.last().trimmed().isEmpty());
  if (!file.ends_with(".nc")) {
    TGribData exact(BuildColourTable);
    EXPECT_FALSE(exact.LoadFromStream(bytes, true));
    EXPECT_FALSE(exact.Log.isEmpty());
  }
  return false;
}

class BadCorpus : public testing::TestWithParam<TBadFile> {};

TEST_P(BadCorpus, EndsAsTheManifestSays) {
  const TBadFile& bad = GetParam();
  SCOPED_TRACE(bad.file + ": " + bad.reason);
  const std::string path = kBadDir + bad.file;
  ASSERT_TRUE(QFile::exists(QString::fromStdString(path))) << "run tools/make_bad_corpus.py";
  const bool sound = bad.outcome == "decodes" || bad.outcome == "constant";
  if (bad.reader == "grib" || bad.reader == "netcdf") {
    EXPECT_EQ(Decodes(ReadBytes(path), bad.file), sound);
  } else if (bad.reader == "gzip") {
    // The whole file path, with the real caps: a bomb must stop at the
    // un-gzip cap rather than take the memory it asks for.
    std::vector<std::uint8_t> bytes;
    QString error;
    const bool read = ReadDataFile(QString::fromStdString(path), bytes, error);
    EXPECT_EQ(error.isEmpty(), read);
    EXPECT_EQ(read && Decodes(bytes, bad.file), sound) << error.toStdString();
  } else {
    TCartogList list;
    const bool loaded = list.LoadFromFile(path);
    EXPECT_TRUE(bad.outcome == "no-track" ? list.Count() == 0 : !loaded && !list.LastError().empty());
  }
  if (bad.outcome == "constant") {
    TGribData data(BuildColourTable);
    ASSERT_TRUE(data.LoadFromStream(ReadBytes(path)));
    const auto pixels = data.Bitmap().Pixels();
    EXPECT_TRUE(std::ranges::all_of(pixels, [&](std::uint8_t p) { return p == pixels[0]; }));
  }
}

INSTANTIATE_TEST_SUITE_P(File, BadCorpus, testing::ValuesIn(ReadManifest()), [](const auto& info) {
  std::string name = info.param.file;
  std::ranges::replace_if(name, [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
  return name;
});

// Other producers' flags and broken netCDF structure are refused, or read,
// for the reason that applies, not for whatever check happens to come first.
TEST(BadCorpusReasons, TheLogSaysWhatWasWrongOrSkipped) {
  const struct {
    const char* file;
    bool decodes;
    const char* logged;
  } cases[] = {
    {"g1-first-lat-91.grb", false, "beyond the pole"},
    {"g1-first-lat-minus-91.grb", false, "beyond the pole"},
    {"g1-first-lat-7fffff.grb", false, "beyond the pole"},
    {"g1-first-lat-missing.grb", false, "beyond the pole"},
    {"g1-latlon-last-lat-minus-91.grb", false, "beyond the pole"},
    {"g2-first-lat-91.grb", false, "beyond the pole"},
    {"g2-first-lat-7fffffff.grb", false, "beyond the pole"},
    {"g2-first-lat-missing.grb", false, "beyond the pole"},
    {"g2-latlon-first-lat-91.grb", false, "beyond the pole"},
    {"g2-latlon-last-lat-minus-91.grb", false, "beyond the pole"},
    {"g1-dy-zero.grb", false, "cannot be mapped"},
    {"g2-dy-zero.grb", false, "cannot be mapped"},
    {"g1-latlon-no-lat-span.grb", false, "span no distance"},
    {"g2-binary-scale-1280.grb", false, "beyond the number range"},
    {"g1-data-flag-octet14.grb", false, "octet 14"},
    {"g1-unused-bits-eat-data.grb", false, "unused"},
    {"g1-bms-unused-200.grb", false, "200 unused bits"},
    {"g1-bms-unused-eat-bits.grb", false, "119 bits for 120 grid points"},
    {"g1-bulletin-header.grb", true, "Skipped 42 bytes"},
    {"g1-extended-gds-42.grb", true, "too short"},
    {"g1-scanning-columns.grb", true, "column by column"},
    {"nc-no-data-variable.nc", false, "No product"},
    {"nc-grid-mapping-missing.nc", false, "\"Polar_Stereographic_Grid\" is missing"},
    {"nc-no-grid-mapping.nc", false, "has no grid_mapping"},
    {"nc-x-dimension-1.nc", false, "has no spacing"},
    {"nc-time-dimension-0.nc", false, "\"time\" is empty"},
    {"nc-x-dimension-1e9.nc", false, "the header needs"},
    {"nc-x-dimension-1e9-hdf5.nc", false, "beyond what can be shown"},
    {"nc-coordinate-too-long.nc", false, "does not run along its dimension"},
    {"nc-scale-factor-zero.nc", false, "scale_factor is zero"},
    {"nc-scale-factor-nan.nc", false, "not a number"},
    {"nc-classic-cut-in-data.nc", false, "the header needs"},
    {"nc-classic-cut-in-header.nc", false, "header cut short"},
    {"nc-hdf5-cut-in-half.nc", false, "cannot be opened"},
    {"nc-hdf5-signature-only.nc", false, "cannot be opened"},
    {"nc-text.nc", false, "GRIB"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    TGribData data(BuildColourTable);
    EXPECT_EQ(DecodeDataFile(data, ReadBytes(kBadDir + c.file), QLatin1String(c.file)), c.decodes);
    EXPECT_TRUE(data.Log.join('\n').contains(QLatin1String(c.logged))) << data.Log.join('\n').toStdString();
  }
}

}  // namespace
