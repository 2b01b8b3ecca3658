// The boundary list: which reader a file goes to, what replaces and what
// appends, and where the boundary file is looked for.
#include <gtest/gtest.h>

#include <QSettings>
#include <QTemporaryDir>
#include <fstream>
#include <string>
#include <vector>

#include "overlays/CartogCountries.h"
#include "overlays/CartogDefaultFile.h"
#include "overlays/CartogList.h"
#include "settings/SettingsStore.h"
#include "support/CountriesRecords.h"

namespace {
using Bytes = std::vector<std::uint8_t>;

Bytes FromText(const std::string& text)
{
  return Bytes(text.begin(), text.end());
}

Bytes OneRecord(std::uint8_t type = 0)
{
  Bytes out;
  const std::vector<std::int16_t> minutes = {600, 3600, 660, 3600, 660, 3660};
  PutCountriesRecord(out, type, minutes);
  return out;
}

// A GSHHS file with one 36-byte-header record of two points.
Bytes OneShoreline()
{
  Bytes out(36, 0);
  out[4] = 2;  // count
  out[8] = 1;  // level
  for (int i = 0; i < 16; ++i) out.push_back(static_cast<std::uint8_t>(i == 3 ? 1 : 0));
  return out;
}

const std::string kGpx = "<trkseg>\n<trkpt lat=\"60\" lon=\"5\"/>\n<trkpt lat=\"61\" lon=\"6\"/>\n</trkseg>\n";

void WriteFile(const std::string& path, const Bytes& data)
{
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
}
}  // namespace

TEST(CartogList, ChoosesTheReaderByFirstBytesAndExtension)
{
  struct Case {
    const char* name;
    Bytes data;
    std::string fileName;
    bool ok;
    std::uint8_t format;
    bool closePolygons;
    int segments;
  } cases[] = {
      {"boundary records", OneRecord(), "Countries.dat", true, cfBoundaryRecords, true, 1},
      {"records whatever the extension", OneRecord(), "borders.txt", true, cfBoundaryRecords, true, 1},
      {"zero first word is a shoreline file", OneShoreline(), "Countries.dat", true, cfShorelineBinary, false, 1},
      {"gpx extension in any case", FromText(kGpx), "walk.GpX", true, cfGpx, false, 1},
      {"segment text refused", FromText("# -b\n1 2\n3 4\n"), "a.txt", false, cfBoundaryRecords, true, 0},
      {"too short for anything", Bytes{1, 2, 3}, "a.dat", false, cfBoundaryRecords, true, 0},
  };
  for (const Case& c : cases) {
    TCartogList list;
    EXPECT_EQ(list.LoadFromBytes(c.data, c.fileName), c.ok) << c.name << ": " << list.LastError();
    EXPECT_EQ(list.FileFormat, c.format) << c.name;
    EXPECT_EQ(list.ClosePolygons, c.closePolygons) << c.name;
    EXPECT_EQ(list.Count(), c.segments) << c.name;
  }
}

// Tracks append to what is loaded while boundary files replace it; what
// the GPX reader passed over reaches the caller: skipped points as log lines
// of a successful load, a fault as LastError with the segments before it
// kept.
TEST(CartogList, TracksAppendBoundaryFilesReplaceAndTheReadersLogReachesTheCaller)
{
  TCartogList list;
  ASSERT_TRUE(list.LoadFromBytes(OneRecord(), "Countries.dat"));
  ASSERT_TRUE(list.LoadFromBytes(FromText("<trkseg><trkpt lat=\"x\" lon=\"1\"/>" + kGpx.substr(8)), "t.gpx"));
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Segment(0).SegType, 0);
  EXPECT_EQ(list.Segment(1).SegType, 1);
  EXPECT_EQ(list.MaxPoints, 3);
  ASSERT_EQ(list.ReadLog().size(), 1u);
  EXPECT_NE(list.ReadLog()[0].find("track point skipped"), std::string::npos) << list.ReadLog()[0];

  EXPECT_FALSE(list.LoadFromBytes(FromText(kGpx + "<trkseg><trkpt lat=\"1\" lon=\"1\">"), "cut.gpx"));
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list.LastError().rfind("cut.gpx: GPX line 5, column ", 0), 0u) << list.LastError();

  ASSERT_TRUE(list.LoadFromBytes(OneRecord(4), "Countries.dat"));
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Segment(0).SegType, 4);
  EXPECT_TRUE(list.ReadLog().empty());
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.MaxPoints, 0);
}

TEST(BoundaryFileLookup, FindsTheFileBesideTrakwise)
{
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string folder = dir.path().toStdString() + "/";
  const auto appPaths = OpenVendorSettings("App Paths");
  appPaths->setValue("Trakwise", QString::fromStdString(folder + "Trakwise.exe"));
  appPaths->sync();
  // The test programs have no Countries.dat beside them.
  EXPECT_EQ(TCartogList().DefaultFileName, "");
  WriteFile(folder + "Countries.dat", OneRecord());
  EXPECT_EQ(TCartogList().DefaultFileName, folder + "Countries.dat");
  appPaths->remove("Trakwise");
  appPaths->sync();
  EXPECT_EQ(TCartogList().DefaultFileName, "");
}

TEST(CartogList, EveryTruncationOrFlippedByteEndsCleanly)
{
  Bytes countries = OneRecord();
  const Bytes second = OneRecord(4);
  countries.insert(countries.end(), second.begin(), second.end());
  const Bytes shoreline = OneShoreline();
  const Bytes gpx = FromText(kGpx + kGpx);
  struct Case {
    const char* name;
    const Bytes* data;
    std::string fileName;
  } cases[] = {{"records", &countries, "Countries.dat"}, {"shoreline", &shoreline, "s.b"}, {"gpx", &gpx, "t.gpx"}};
  for (const Case& c : cases) {
    for (std::size_t length = 0; length <= c.data->size(); ++length) {
      TCartogList list;
      const bool ok = list.LoadFromBytes(std::span(c.data->data(), length), c.fileName);
      EXPECT_EQ(ok, list.LastError().empty()) << c.name << " cut at " << length;
      std::size_t points = 0;
      for (const TLineSegment& s : list.Segments()) points += s.Points.size();
      EXPECT_LE(points * 4, length) << c.name << " cut at " << length;
    }
    for (std::size_t at = 0; at < c.data->size(); ++at) {
      Bytes flipped = *c.data;
      flipped[at] ^= 0xFF;
      TCartogList list;
      const bool ok = list.LoadFromBytes(flipped, c.fileName);
      EXPECT_EQ(ok, list.LastError().empty()) << c.name << " flipped at " << at;
    }
  }
}
