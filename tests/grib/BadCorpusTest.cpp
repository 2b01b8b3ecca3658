// Every file of tests/data/bad (see its MANIFEST) through the reader that
// would meet it: a broken file must be refused with a reason, the sound
// files kept beside them must decode, and no file may crash the reader,
// hang it or make it read out of bounds (the sanitizer build runs these).
#include <gtest/gtest.h>

#include <QFile>
#include <QString>

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "grib/FileReading.h"
#include "grib/GribData.h"
#include "mapping/CartogList.h"

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
    TGribData data;
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

  if (bad.reader == "grib" && bad.outcome == "constant") {
    TGribData data;
    data.LowerPriority = false;
    ASSERT_TRUE(data.LoadFromStream(ReadBytes(path))) << data.Log.join('\n').toStdString();
    const auto pixels = data.Bitmap().Pixels();
    ASSERT_FALSE(pixels.empty());
    EXPECT_TRUE(std::all_of(pixels.begin(), pixels.end(), [&](std::uint8_t p) { return p == pixels[0]; }));
  } else if (bad.reader == "grib" && bad.outcome == "decodes") {
    TGribData data;
    data.LowerPriority = false;
    ASSERT_TRUE(data.LoadFromStream(ReadBytes(path))) << data.Log.join('\n').toStdString();
    EXPECT_EQ(data.Bitmap().Width(), data.Width);
    EXPECT_EQ(data.Bitmap().Height(), data.Height);
  } else if (bad.outcome == "known-fault") {
    TGribData data;
    data.LowerPriority = false;
    // Read for memory safety; the outcome is not yet the sound one.
    data.LoadFromStream(ReadBytes(path));
    GTEST_SKIP() << bad.reason;
  } else if (bad.reader == "grib") {
    ExpectRefusedMessage(ReadBytes(path));
  } else if (bad.reader == "gzip") {
    // The whole file path, with the real caps: the bomb must stop at the
    // un-gzip cap rather than take the memory it asks for.
    std::vector<std::uint8_t> bytes;
    QString error;
    if (ReadDataFile(QString::fromStdString(path), bytes, error)) {
      EXPECT_TRUE(error.isEmpty());
      ExpectRefusedMessage(bytes);
    } else {
      EXPECT_FALSE(error.isEmpty());
      EXPECT_TRUE(bytes.empty());
    }
  } else if (bad.outcome == "no-track") {
    TCartogList list;
    list.LoadFromFile(path);
    EXPECT_EQ(list.Count(), 0);
  } else {
    TCartogList list;
    EXPECT_FALSE(list.LoadFromFile(path));
    EXPECT_FALSE(list.LastError().empty());
  }
}

INSTANTIATE_TEST_SUITE_P(File, BadCorpus, testing::ValuesIn(ReadManifest()), TestName);

TEST(BadCorpusManifest, ListsEveryFileWithAReason)
{
  const std::vector<TBadFile> rows = ReadManifest();
  ASSERT_GE(rows.size(), 100u);
  for (const TBadFile& row : rows) {
    EXPECT_FALSE(row.reason.empty()) << row.file;
    static const std::set<std::string> kOutcomes = {"reject", "constant", "decodes", "no-track", "known-fault"};
    EXPECT_TRUE(kOutcomes.contains(row.outcome)) << row.file;
  }
}

}  // namespace
