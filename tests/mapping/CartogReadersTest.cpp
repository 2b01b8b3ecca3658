// Readers of boundary records, GSHHS shorelines, GPX tracks and segment
// text: layouts, byte orders and what each does with broken input.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "mapping/CartogCountries.h"
#include "mapping/CartogSegmentText.h"
#include "mapping/GpxReader.h"
#include "mapping/GshhsReader.h"

namespace {
using Bytes = std::vector<std::uint8_t>;

Bytes FromText(const std::string& text)
{
  return Bytes(text.begin(), text.end());
}

void PutI32(Bytes& out, std::int64_t value, bool bigEndian)
{
  const auto v = static_cast<std::uint32_t>(value);
  for (int i = 0; i < 4; ++i) {
    const int shift = bigEndian ? 24 - 8 * i : 8 * i;
    out.push_back(static_cast<std::uint8_t>(v >> shift));
  }
}

struct TGshhsPolygon {
  int level = 1;
  int area = 1000;  // tenths of km²
  std::vector<std::pair<double, double>> points;  // lon, lat degrees
  int headerBytes = 44;
  int version = 7;
  std::int64_t claimedCount = -1;  // -1: the real count
};

// Writes records the way the public GSHHS files lay them out.
Bytes MakeGshhs(const std::vector<TGshhsPolygon>& polygons, bool bigEndian)
{
  Bytes out;
  int id = 0;
  for (const TGshhsPolygon& p : polygons) {
    PutI32(out, id++, bigEndian);
    PutI32(out, p.claimedCount >= 0 ? p.claimedCount : static_cast<std::int64_t>(p.points.size()), bigEndian);
    const int flag = p.headerBytes == 44 ? (p.level | p.version << 8) : p.level;
    PutI32(out, flag, bigEndian);
    for (int i = 0; i < 4; ++i) PutI32(out, 0, bigEndian);  // west, east, south, north
    PutI32(out, p.area, bigEndian);
    if (p.headerBytes == 44) {
      for (int i = 0; i < 3; ++i) PutI32(out, 0, bigEndian);  // full area, container, ancestor
    } else if (p.headerBytes == 40) {
      PutI32(out, 3, bigEndian);  // version word
      PutI32(out, 0, bigEndian);
    } else {
      PutI32(out, 0, bigEndian);  // greenwich and source
    }
    for (const auto& [lon, lat] : p.points) {
      PutI32(out, std::llround(lon * 1e6), bigEndian);
      PutI32(out, std::llround(lat * 1e6), bigEndian);
    }
  }
  return out;
}

Bytes CountriesRecord(std::int32_t count, std::uint8_t type, std::vector<std::int16_t> minutes)
{
  Bytes out;
  PutI32(out, count, false);
  out.push_back(type);
  for (std::int16_t v : minutes) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>((static_cast<std::uint16_t>(v) >> 8) & 0xFF));
  }
  return out;
}

Bytes Concat(std::initializer_list<Bytes> parts)
{
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}
}  // namespace

TEST(CountriesRecords, ConvertsMinutesToDegreesAndWidensBounds)
{
  std::vector<TLineSegment> segments;
  const auto status = ReadCountriesRecords(CountriesRecord(3, 0, {600, 3600, 660, 3600, 660, 3660}), segments);
  ASSERT_TRUE(status.ok) << status.error;
  ASSERT_EQ(segments.size(), 1u);
  const TLineSegment& s = segments[0];
  EXPECT_EQ(s.SegType, 0);
  EXPECT_EQ(s.Points, (std::vector<TSegmentPoint>{{10, 60}, {11, 60}, {11, 61}}));
  EXPECT_FLOAT_EQ(s.MinLon, 10);
  EXPECT_FLOAT_EQ(s.MaxLon, 11);
  EXPECT_FLOAT_EQ(s.MinLat, 60);
  EXPECT_FLOAT_EQ(s.MaxLat, 61);
}

TEST(CountriesRecords, WriterAndReaderAgreeOnNegativeMinutes)
{
  Bytes data;
  const std::vector<std::int16_t> minutes = {-10800, -5400, 10800, 5400, -1, 1};
  AppendCountriesRecord(data, 4, minutes);
  std::vector<TLineSegment> segments;
  ASSERT_TRUE(ReadCountriesRecords(data, segments).ok);
  ASSERT_EQ(segments.size(), 1u);
  EXPECT_EQ(segments[0].SegType, 4);
  EXPECT_EQ(segments[0].Points, (std::vector<TSegmentPoint>{{-180, -90}, {180, 90}, {-1 / 60.0f, 1 / 60.0f}}));
}

TEST(CountriesRecords, BrokenFilesEndWithReasonAndKeepCompletedRecords)
{
  const Bytes good = CountriesRecord(2, 0, {0, 0, 60, 60});
  struct Case {
    const char* name;
    Bytes data;
    bool ok;
    std::size_t segments;
  } cases[] = {
      {"ends after points", good, true, 1},
      {"header alone at the end is discarded", Concat({good, CountriesRecord(7, 0, {})}), true, 1},
      {"header cut short", Concat({good, Bytes{1, 0, 0}}), false, 1},
      {"points cut short", Concat({good, CountriesRecord(3, 0, {1, 2, 3, 4, 5})}), false, 1},
      {"absurd count", Concat({good, CountriesRecord(0x7FFFFFFF, 0, {1, 2})}), false, 1},
      {"negative count", Concat({CountriesRecord(-2, 0, {1, 2, 3, 4}), good}), false, 0},
      {"empty", {}, true, 0},
  };
  for (const Case& c : cases) {
    std::vector<TLineSegment> segments;
    const auto status = ReadCountriesRecords(c.data, segments);
    EXPECT_EQ(status.ok, c.ok) << c.name;
    EXPECT_EQ(status.error.empty(), c.ok) << c.name;
    EXPECT_EQ(segments.size(), c.segments) << c.name;
  }
}

TEST(GshhsShorelines, BothByteOrdersGiveTheSameSegments)
{
  const std::vector<TGshhsPolygon> polygons = {
      {1, 5000, {{15.5, 78.25}, {16.75, 78.5}, {15.5, 78.25}}},
      {2, 150, {{-20.125, 64.5}, {-19.5, 64.75}, {-20.125, 64.5}}},
      {3, 10, {{100, 10}, {101, 11}}},
  };
  std::vector<TLineSegment> little, big;
  ASSERT_TRUE(ReadGshhsShorelines(MakeGshhs(polygons, false), little).ok);
  ASSERT_TRUE(ReadGshhsShorelines(MakeGshhs(polygons, true), big).ok);
  ASSERT_EQ(little.size(), 3u);
  ASSERT_EQ(big.size(), little.size());
  for (std::size_t i = 0; i < little.size(); ++i) {
    EXPECT_EQ(big[i].Points, little[i].Points) << i;
    EXPECT_EQ(big[i].SegType, 1);
    EXPECT_EQ(little[i].SegType, 1);
  }
  EXPECT_FLOAT_EQ(little[0].Points[1].lon, 16.75f);
  EXPECT_FLOAT_EQ(little[1].Points[0].lat, 64.5f);
}

TEST(GshhsShorelines, BigEndianCountThatIsAMultipleOf256IsNotMistakenForLittleEndian)
{
  TGshhsPolygon polygon{1, 5000, {}};
  for (int i = 0; i < 256; ++i) polygon.points.push_back({i * 0.01, 60 + i * 0.01});
  std::vector<TLineSegment> big;
  ASSERT_TRUE(ReadGshhsShorelines(MakeGshhs({polygon}, true), big).ok);
  ASSERT_EQ(big.size(), 1u);
  EXPECT_EQ(big[0].Count(), 256);
  EXPECT_FLOAT_EQ(big[0].Points[255].lat, static_cast<float>(60 + 2.55));
}

TEST(GshhsShorelines, KeepsLandAndIslandsInLakesAndOnlyLargeLakes)
{
  const std::vector<std::pair<double, double>> pts = {{1, 1}, {2, 2}};
  struct Case {
    int level, area;
    bool kept;
  } cases[] = {{1, 0, true}, {2, 99, false}, {2, 100, true}, {3, 0, true}, {4, 100000, false}, {0, 1000, false}};
  for (const Case& c : cases) {
    std::vector<TLineSegment> segments;
    ASSERT_TRUE(ReadGshhsShorelines(MakeGshhs({{c.level, c.area, pts}}, false), segments).ok);
    EXPECT_EQ(segments.size(), c.kept ? 1u : 0u) << "level " << c.level << " area " << c.area;
  }
}

TEST(GshhsShorelines, ReadsEveryHeaderGeneration)
{
  const std::vector<std::pair<double, double>> pts = {{1.5, 2.5}, {3.5, 4.5}};
  struct Case {
    int headerBytes, version;
  } cases[] = {{36, 0}, {40, 0}, {44, 7}, {44, 9}, {44, 12}};
  for (const Case& c : cases) {
    TGshhsPolygon p{1, 0, pts, c.headerBytes, c.version};
    std::vector<TLineSegment> segments;
    const auto status = ReadGshhsShorelines(MakeGshhs({p, p}, false), segments);
    ASSERT_TRUE(status.ok) << c.headerBytes << ": " << status.error;
    ASSERT_EQ(segments.size(), 2u) << c.headerBytes;
    EXPECT_EQ(segments[1].Points, (std::vector<TSegmentPoint>{{1.5f, 2.5f}, {3.5f, 4.5f}})) << c.headerBytes;
  }
}

TEST(GshhsShorelines, EasternLongitudeBoundsAreBroughtBelow180)
{
  std::vector<TLineSegment> segments;
  ASSERT_TRUE(ReadGshhsShorelines(MakeGshhs({{1, 0, {{350, 70}, {355, 71}}}}, false), segments).ok);
  ASSERT_EQ(segments.size(), 1u);
  EXPECT_FLOAT_EQ(segments[0].Points[0].lon, 350);
  EXPECT_FLOAT_EQ(segments[0].MinLon, -10);
  EXPECT_FLOAT_EQ(segments[0].MaxLon, -5);
}

TEST(GshhsShorelines, BrokenFilesEndWithReason)
{
  const std::vector<std::pair<double, double>> pts = {{1, 1}, {2, 2}, {3, 3}};
  const Bytes good = MakeGshhs({{1, 0, pts}}, false);
  TGshhsPolygon absurd{1, 0, pts};
  absurd.claimedCount = 0x7FFFFFF0;
  TGshhsPolygon huge{1, 0, pts};
  huge.claimedCount = 0xFFFFFFFF;
  struct Case {
    const char* name;
    Bytes data;
    std::size_t segments;
  } cases[] = {
      {"shorter than a header", Bytes(20, 0), 0},
      {"second header cut short", Concat({good, Bytes(30, 0)}), 1},
      {"points cut short", Bytes(good.begin(), good.end() - 3), 0},
      {"absurd count", Concat({good, MakeGshhs({absurd}, false)}), 1},
      {"count beyond 32-bit sizes", Concat({good, MakeGshhs({huge}, true)}), 1},
  };
  for (const Case& c : cases) {
    std::vector<TLineSegment> segments;
    const auto status = ReadGshhsShorelines(c.data, segments);
    EXPECT_FALSE(status.ok) << c.name;
    EXPECT_FALSE(status.error.empty()) << c.name;
    EXPECT_EQ(segments.size(), c.segments) << c.name;
  }
}

TEST(GpxTracks, EachTrackSegmentBecomesOneSegment)
{
  const std::string gpx =
      "<?xml version=\"1.0\"?>\r\n<gpx><trk>\r\n"
      "  <TRKSEG>\r\n"
      "    <trkpt lat=\"60.5\" lon=\"10.25\"><ele>3</ele></trkpt>\r\n"
      "    <trkpt lon=\"11\" lat=\"61\"></trkpt>\r\n"
      "  </trkseg>\r\n"
      "  <trkseg>\n"
      "    <trkpt lat=\"70\"\n"
      "           lon=\"20\"></trkpt>\n"
      "    <trkpt lat=\"-33.5\" lon=\"+151.25\"/>\n"
      "  </trkseg>\n"
      "  <trkseg>\n  </trkseg>\n"
      "</trk></gpx>";
  std::vector<TLineSegment> segments;
  const auto status = ReadGpxTracks(FromText(gpx), segments);
  ASSERT_TRUE(status.ok) << status.error;
  ASSERT_EQ(segments.size(), 2u);
  EXPECT_EQ(segments[0].Points, (std::vector<TSegmentPoint>{{10.25f, 60.5f}, {11, 61}}));
  EXPECT_EQ(segments[0].SegType, 1);
  // The point written over two lines is not a point.
  EXPECT_EQ(segments[1].Points, (std::vector<TSegmentPoint>{{151.25f, -33.5f}}));
}

TEST(GpxTracks, EasternLongitudeKeepsItsValueButNotItsBounds)
{
  std::vector<TLineSegment> segments;
  ASSERT_TRUE(ReadGpxTracks(FromText("<trkseg>\n<trkpt lat=\"50\" lon=\"190.5\">\n</trkseg>\n"), segments).ok);
  ASSERT_EQ(segments.size(), 1u);
  EXPECT_FLOAT_EQ(segments[0].Points[0].lon, 190.5f);
  EXPECT_FLOAT_EQ(segments[0].MinLon, -169.5f);
  EXPECT_FLOAT_EQ(segments[0].MaxLon, -169.5f);
}

TEST(GpxTracks, BrokenTracksEndWithReasonAndKeepEarlierSegments)
{
  const std::string first = "<trkseg>\n<trkpt lat=\"1\" lon=\"2\">\n</trkseg>\n";
  struct Case {
    const char* name;
    std::string text;
  } cases[] = {
      {"latitude not a number", "<trkseg>\n<trkpt lat=\"6O.5\" lon=\"2\">\n</trkseg>\n"},
      {"longitude with trailing text", "<trkseg>\n<trkpt lat=\"60\" lon=\"2.5e\">\n</trkseg>\n"},
      {"empty value", "<trkseg>\n<trkpt lat=\"\" lon=\"2\">\n</trkseg>\n"},
      {"not finite", "<trkseg>\n<trkpt lat=\"nan\" lon=\"inf\">\n</trkseg>\n"},
      {"overflowing number", "<trkseg>\n<trkpt lat=\"1e999\" lon=\"2\">\n</trkseg>\n"},
      {"value without closing quote", "<trkseg>\n<trkpt lat=\"60 lon=\"2>\n</trkseg>\n"},
      {"missing closing tag", "<trkseg>\n<trkpt lat=\"60\" lon=\"2\">\n"},
      {"over-long value", "<trkseg>\n<trkpt lat=\"" + std::string(150, '1') + "\" lon=\"2\">\n</trkseg>\n"},
  };
  for (const Case& c : cases) {
    std::vector<TLineSegment> segments;
    const auto status = ReadGpxTracks(FromText(first + c.text), segments);
    EXPECT_FALSE(status.ok) << c.name;
    EXPECT_NE(status.error.find("GPX line"), std::string::npos) << c.name << ": " << status.error;
    EXPECT_EQ(segments.size(), 1u) << c.name;
  }
}

TEST(SegmentText, MarkerLinesSeparateSegments)
{
  std::vector<TLineSegment> segments;
  const auto status = ReadSegmentText(FromText("# -b\n1 2\n3,4\n# -b\n\n-5.5\t6.5\n"), segments);
  ASSERT_TRUE(status.ok) << status.error;
  ASSERT_EQ(segments.size(), 2u);
  EXPECT_EQ(segments[0].Points, (std::vector<TSegmentPoint>{{1, 2}, {3, 4}}));
  EXPECT_EQ(segments[1].Points, (std::vector<TSegmentPoint>{{-5.5f, 6.5f}}));
  EXPECT_FALSE(ReadSegmentText(FromText("# -b\n1 x\n"), segments).ok);
  EXPECT_FALSE(ReadSegmentText(FromText("# -b\n1 2 3\n"), segments).ok);
}
