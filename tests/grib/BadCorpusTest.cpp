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

std::vector<TBadFile> ReadManifest()
{
  std::vector<TBadFile> rows;
  std::ifstream in(kBadDir + "MANIFEST");
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    TBadFile row;
    std::getline(fields, row.file, '\t');
    std::getline(fields, row.reader, '\t');
    std::getline(fields, row.outcome, '\t');
    std::getline(fields, row.reason);
    rows.push_back(row);
  }
  return rows;
}

void PrintTo(const TBadFile& bad, std::ostream* out) { *out << bad.file; }

std::vector<std::uint8_t> ReadBytes(const std::string& path)
{
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string TestName(const testing::TestParamInfo<TBadFile>& info)
{
  std::string name = info.param.file;
  std::replace_if(name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
  return name;
}

// Decodes as the viewer does and, for a refusal, checks the log says why.
void ExpectRefusedMessage(std::span<const std::uint8_t> bytes)
{
  for (const bool exactLength : {false, true}) {
    TGribData data(BuildColourTable);
    data.LowerPriority = false;
    EXPECT_FALSE(data.LoadFromStream(bytes, exactLength)) << "exact length " << exactLength;
    ASSERT_FALSE(data.Log.isEmpty());
    EXPECT_FALSE(data.Log.last().trimmed().isEmpty());
  }
}

class BadCorpus : public testing::TestWithParam<TBadFile> {};

TEST_P(BadCorpus, EndsAsTheManifestSays)
{
  const TBadFile& bad = GetParam();
  SCOPED_TRACE(bad.file + ": " + bad.reason);
  const std::string path = kBadDir + bad.file;
  ASSERT_TRUE(QFile::exists(QString::fromStdString(path))) << "run tools/make_bad_corpus.py";
  TGribData data(BuildColourTable);
  data.LowerPriority = false;
  if (bad.outcome == "known-fault") {
    data.LoadFromStream(ReadBytes(path));  // read for memory safety; the outcome is not yet the sound one
    GTEST_SKIP() << bad.reason;
  } else if (bad.reader == "grib" && (bad.outcome == "constant" || bad.outcome == "decodes")) {
    ASSERT_TRUE(data.LoadFromStream(ReadBytes(path))) << data.Log.join('\n').toStdString();
    const auto pixels = data.Bitmap().Pixels();
    ASSERT_EQ(pixels.size(), static_cast<std::size_t>(data.Width) * data.Height);
    if (bad.outcome == "constant") {
      EXPECT_TRUE(std::ranges::all_of(pixels, [&](std::uint8_t p) { return p == pixels[0]; }));
    }
  } else if (bad.reader == "netcdf") {
    const bool decoded = DecodeDataFile(data, ReadBytes(path), QString::fromStdString(bad.file));
    EXPECT_EQ(decoded, bad.outcome == "decodes") << data.Log.join('\n').toStdString();
    ASSERT_FALSE(data.Log.isEmpty());
    EXPECT_FALSE(data.Log.last().trimmed().isEmpty());
  } else if (bad.reader == "grib") {
    ExpectRefusedMessage(ReadBytes(path));
  } else if (bad.reader == "gzip") {
    // The whole file path, with the real caps: a bomb must stop at the
    // un-gzip cap rather than take the memory it asks for.
    std::vector<std::uint8_t> bytes;
    QString error;
    const bool read = ReadDataFile(QString::fromStdString(path), bytes, error);
    EXPECT_EQ(error.isEmpty(), read);
    if (bad.outcome == "decodes") {
      ASSERT_TRUE(read) << error.toStdString();
      EXPECT_TRUE(data.LoadFromStream(bytes)) << data.Log.join('\n').toStdString();
    } else if (read) {
      ExpectRefusedMessage(bytes);
    } else {
      EXPECT_TRUE(bytes.empty());
    }
  } else {
    TCartogList list;
    const bool loaded = list.LoadFromFile(path);
    if (bad.outcome == "no-track") {
      EXPECT_EQ(list.Count(), 0);
    } else {
      EXPECT_FALSE(loaded);
      EXPECT_FALSE(list.LastError().empty());
    }
  }
}

INSTANTIATE_TEST_SUITE_P(File, BadCorpus, testing::ValuesIn(ReadManifest()), TestName);

// The geometry and packing flags that other producers' files carry are
// refused, or read, for the reason that applies, not for whatever check
// happens to come first.
TEST(BadCorpusReasons, TheLogSaysWhatWasWrongOrSkipped)
{
  const struct {
    const char* file;
    bool decodes;
    const char* logged;
  } cases[] = {
      {"g1-first-lat-91.grb", false, "beyond the pole"},           {"g1-first-lat-minus-91.grb", false, "beyond the pole"},
      {"g1-first-lat-7fffff.grb", false, "beyond the pole"},       {"g1-first-lat-missing.grb", false, "beyond the pole"},
      {"g1-latlon-last-lat-minus-91.grb", false, "beyond the pole"}, {"g2-first-lat-91.grb", false, "beyond the pole"},
      {"g2-first-lat-7fffffff.grb", false, "beyond the pole"},     {"g2-first-lat-missing.grb", false, "beyond the pole"},
      {"g2-latlon-first-lat-91.grb", false, "beyond the pole"},    {"g2-latlon-last-lat-minus-91.grb", false, "beyond the pole"},
      {"g1-dy-zero.grb", false, "cannot be mapped"},               {"g2-dy-zero.grb", false, "cannot be mapped"},
      {"g1-latlon-no-lat-span.grb", false, "span no distance"},
      {"g2-binary-scale-1280.grb", false, "Scale factors give values beyond the number range"},
      {"g1-data-flag-octet14.grb", false, "additional flags at octet 14"},
      {"g1-unused-bits-eat-data.grb", false, "unused"},
      {"g1-bms-unused-200.grb", false, "200 unused bits"},
      {"g1-bms-unused-eat-bits.grb", false, "Bit map holds 119 bits for 120 grid points"},
      {"g1-bulletin-header.grb", true, "Skipped 42 bytes before the GRIB message"},
      {"g1-extended-gds-42.grb", true, "Extended GDS of 42 bytes is too short"},
      {"g1-scanning-columns.grb", true, "Points stored column by column"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    TGribData data(BuildColourTable);
    data.LowerPriority = false;
    EXPECT_EQ(data.LoadFromStream(ReadBytes(kBadDir + c.file)), c.decodes);
    const QString log = data.Log.join('\n');
    EXPECT_TRUE(log.contains(QLatin1String(c.logged))) << log.toStdString();
  }
}

}  // namespace
