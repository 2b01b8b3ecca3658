// Readers of boundary records, GSHHS shorelines, GPX tracks and segment
// text: layouts, byte orders and what each does with broken input.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "overlays/CartogCountries.h"
#include "overlays/GpxReader.h"
#include "overlays/GshhsReader.h"

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

// GSHHS polygons run in 0..360: one across 180 (Chukotka, Fiji) must stay
// in view of a box on either side of it, and its bounds must not turn
// inside out.
TEST(GshhsShorelines, PolygonAcross180OverlapsAViewOnEitherSide)
{
  std::vector<TLineSegment> segments;
  ASSERT_TRUE(
      ReadGshhsShorelines(MakeGshhs({{1, 0, {{177, 66}, {185, 65}, {188, 67}, {177, 66}}}}, false), segments).ok);
  ASSERT_EQ(segments.size(), 1u);
  const TLineSegment& s = segments[0];
  EXPECT_LE(s.MinLon, s.MaxLon) << s.MinLon << " .. " << s.MaxLon;
  EXPECT_TRUE(s.Overlaps(60, 70, 170, 179)) << "east of 180";
  EXPECT_TRUE(s.Overlaps(60, 70, -178, -170)) << "west of 180";
  EXPECT_FALSE(s.Overlaps(70, 80, 170, 179)) << "latitudes still cull";
}

TEST(LineSegment, LongitudeBoundsAfterWrapping)
{
  struct Case {
    std::vector<float> lons;
    float minLon, maxLon;
  } cases[] = {
      {{10, 20}, 10, 20},           // nothing to do
      {{-170, 170}, -170, 170},     // already in range, wide
      {{350, 355}, -10, -5},        // wholly east of 180
      {{180, 185}, -180, 180},      // 180 itself is in range: across
      {{170, 190}, -180, 180},      // across 180
      {{190, 600}, -180, 180},      // wider than a turn
      {{181, 181}, -179, -179},
  };
  for (const Case& c : cases) {
    TLineSegment s;
    for (const float lon : c.lons) s.AddPoint(lon, 0);
    s.WrapLonBounds();
    EXPECT_FLOAT_EQ(s.MinLon, c.minLon) << c.lons.front() << ".." << c.lons.back();
    EXPECT_FLOAT_EQ(s.MaxLon, c.maxLon) << c.lons.front() << ".." << c.lons.back();
    EXPECT_EQ(s.Points.front().lon, c.lons.front());
  }
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

// ---------------------------------------------------------------- GPX

namespace {
// One track of two segments, as different programs write it.
const std::vector<std::vector<TSegmentPoint>> kTrack = {
    {{10.25f, 60.5f}, {11, 61}, {12.125f, 61.75f}},
    {{151.25f, -33.5f}, {-170, 65.5f}},
};

std::string PrettyTrack(const std::string& newline)
{
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>" + newline +
         "<gpx version=\"1.1\" creator=\"test\" xmlns=\"http://www.topografix.com/GPX/1/1\">" + newline +
         "  <trk>" + newline + "    <name>Two legs</name>" + newline + "    <trkseg>" + newline +
         "      <trkpt lat=\"60.5\" lon=\"10.25\">" + newline + "        <ele>3</ele>" + newline +
         "        <time>2026-12-05T12:00:00Z</time>" + newline + "      </trkpt>" + newline +
         "      <trkpt lat=\"61\" lon=\"11\"/>" + newline +
         "      <trkpt lat=\"61.75\" lon=\"12.125\"></trkpt>" + newline + "    </trkseg>" + newline +
         "    <trkseg>" + newline + "      <trkpt lat=\"-33.5\" lon=\"151.25\"/>" + newline +
         "      <trkpt lat=\"65.5\" lon=\"-170\"/>" + newline + "    </trkseg>" + newline + "  </trk>" + newline +
         "</gpx>" + newline;
}

const std::string kOneLineTrack =
    "<?xml version=\"1.0\"?><gpx version=\"1.1\" creator=\"test\"><trk><trkseg><trkpt lat=\"60.5\" "
    "lon=\"10.25\"><ele>3</ele></trkpt><trkpt lat=\"61\" lon=\"11\"/><trkpt lat=\"61.75\" lon=\"12.125\"/></trkseg>"
    "<trkseg><trkpt lat=\"-33.5\" lon=\"151.25\"/><trkpt lat=\"65.5\" lon=\"-170\"/></trkseg></trk></gpx>";

// Attributes in the other order, one per line, a namespace prefix on every
// element, and the coordinates with a sign and blanks.
const std::string kPrefixedTrack =
    "<?xml version='1.0'?>\n<gpx:gpx xmlns:gpx='http://www.topografix.com/GPX/1/0' version='1.0'>\n"
    "<gpx:trk><gpx:trkseg>\n"
    "<gpx:trkpt\n    lon=\"10.25\"\n    lat=\"60.5\"\n><gpx:ele>3</gpx:ele></gpx:trkpt>\n"
    "<gpx:trkpt lon=\"+11\" lat=\" 61 \"/><gpx:trkpt lon=\"12.125\" lat=\"61.75\"/>\n"
    "</gpx:trkseg>\n<gpx:trkseg><gpx:trkpt lon=\"151.25\" lat=\"-33.5\"/>\n"
    "<gpx:trkpt lon='-170' lat='65.5'/></gpx:trkseg></gpx:trk></gpx:gpx>\n";

std::vector<std::vector<TSegmentPoint>> PointsOf(const std::vector<TLineSegment>& segments)
{
  std::vector<std::vector<TSegmentPoint>> out;
  for (const TLineSegment& s : segments) out.push_back(s.Points);
  return out;
}

std::string Joined(const std::vector<std::string>& lines)
{
  std::string out;
  for (const std::string& line : lines) out += line + "\n";
  return out;
}
}  // namespace

TEST(GpxTracks, EveryLineLayoutGivesTheSameSegments)
{
  const struct {
    const char* name;
    std::string text;
  } layouts[] = {
      {"pretty-printed", PrettyTrack("\n")},
      {"on one line", kOneLineTrack},
      {"CRLF line ends", PrettyTrack("\r\n")},
      {"gpx: namespace prefix", kPrefixedTrack},
      {"UTF-8 byte-order mark", "\xEF\xBB\xBF" + kOneLineTrack},
  };
  for (const auto& layout : layouts) {
    std::vector<TLineSegment> segments;
    const auto status = ReadGpxTracks(FromText(layout.text), segments);
    EXPECT_TRUE(status.ok) << layout.name << ": " << status.error;
    EXPECT_EQ(PointsOf(segments), kTrack) << layout.name;
    for (const TLineSegment& s : segments) EXPECT_EQ(s.SegType, 1) << layout.name;
  }
}

// A track from 170°E to 190°E (170°W) covers 170..180 and -180..-170: its
// box must overlap a view of either side, or culling drops it.
TEST(GpxTracks, TrackAcross180OverlapsAViewOnEitherSide)
{
  std::vector<TLineSegment> segments;
  ASSERT_TRUE(ReadGpxTracks(FromText("<trkseg><trkpt lat=\"60\" lon=\"170\"/><trkpt lat=\"61\" lon=\"175\"/>"
                                     "<trkpt lat=\"62\" lon=\"190\"/></trkseg>"),
                            segments)
                  .ok);
  ASSERT_EQ(segments.size(), 1u);
  const TLineSegment& s = segments[0];
  EXPECT_LE(s.MinLon, s.MaxLon) << "box turned inside out: " << s.MinLon << " .. " << s.MaxLon;
  EXPECT_TRUE(s.Overlaps(55, 65, 165, 179)) << "east of 180";
  EXPECT_TRUE(s.Overlaps(55, 65, -179, -165)) << "west of 180";
  EXPECT_FLOAT_EQ(s.Points[2].lon, 190);
}

TEST(GpxTracks, PointWithABadNumberIsSkippedWithOneLogLine)
{
  const std::string gpx =
      "<gpx><trk><trkseg>\n"
      "<trkpt lat=\"1\" lon=\"2\"/>\n"
      "<trkpt lat=\"6O.5\" lon=\"2\"/>\n"
      "<trkpt lat=\"60\" lon=\"2.5e\"/>\n"
      "<trkpt lat=\"\" lon=\"2\"/>\n"
      "<trkpt lat=\"nan\" lon=\"inf\"/>\n"
      "<trkpt lat=\"1e999\" lon=\"2\"/>\n"
      "<trkpt lat=\"" + std::string(150, '1') + "\" lon=\"2\"/>\n"
      "<trkpt lon=\"2\"/>\n"
      "<trkpt lat=\"3\" lon=\"4\"/>\n"
      "</trkseg></trk></gpx>\n";
  std::vector<TLineSegment> segments;
  const auto status = ReadGpxTracks(FromText(gpx), segments);
  ASSERT_TRUE(status.ok) << status.error;
  EXPECT_EQ(PointsOf(segments), (std::vector<std::vector<TSegmentPoint>>{{{2, 1}, {4, 3}}}));
  ASSERT_EQ(status.log.size(), 7u) << Joined(status.log);
  for (std::size_t i = 0; i < status.log.size(); ++i)
    EXPECT_EQ(status.log[i].find("GPX line " + std::to_string(i + 3) + ": track point skipped"), 0u)
        << status.log[i];
  EXPECT_NE(status.log[0].find("6O.5"), std::string::npos) << status.log[0];
  EXPECT_NE(status.log[6].find("no lat"), std::string::npos) << status.log[6];

  // Many bad points: ten lines, then one that counts the rest.
  std::string many = "<trkseg>";
  for (int i = 0; i < 25; ++i) many += "<trkpt lat=\"x\" lon=\"1\"/>";
  many += "<trkpt lat=\"1\" lon=\"1\"/></trkseg>";
  segments.clear();
  const auto manyStatus = ReadGpxTracks(FromText(many), segments);
  EXPECT_TRUE(manyStatus.ok);
  EXPECT_EQ(segments.size(), 1u);
  ASSERT_EQ(manyStatus.log.size(), 11u) << Joined(manyStatus.log);
  EXPECT_EQ(manyStatus.log.back(), "GPX: 15 more track points skipped");
}

TEST(GpxTracks, FileThatIsNotWellFormedKeepsEarlierSegmentsAndSaysWhereItStopped)
{
  const std::string first = "<gpx><trk><trkseg><trkpt lat=\"1\" lon=\"2\"/></trkseg>\n";
  struct Case {
    const char* name;
    std::string text;
    const char* where;
  } cases[] = {
      {"tags crossed", first + "<trkseg><trkpt lat=\"3\" lon=\"4\"></trkseg>\n", "GPX line 2, column "},
      {"cut inside a point", first + "<trkseg><trkpt lat=\"3\" l", "GPX line 2, column "},
      {"segment never closed", first + "<trkseg><trkpt lat=\"3\" lon=\"4\"/>\n</trk></gpx>\n", "GPX line 3, column "},
      {"quote missing", first + "\n\n<trkseg><trkpt lat=\"60 lon=\"2\"/></trkseg></trk></gpx>", "GPX line 4, column "},
      {"undefined entity", first + "<trkseg><trkpt lat=\"&x;\" lon=\"2\"/></trkseg></trk></gpx>", "GPX line 2, column "},
  };
  for (const Case& c : cases) {
    std::vector<TLineSegment> segments;
    const auto status = ReadGpxTracks(FromText(c.text), segments);
    EXPECT_FALSE(status.ok) << c.name;
    EXPECT_EQ(status.error.find(c.where), 0u) << c.name << ": " << status.error;
    EXPECT_NE(status.error.find("1 track segment before it kept"), std::string::npos) << c.name << ": " << status.error;
    EXPECT_EQ(PointsOf(segments), (std::vector<std::vector<TSegmentPoint>>{{{2, 1}}})) << c.name;
    EXPECT_FALSE(status.log.empty()) << c.name;
  }
}

TEST(GpxTracks, EntityExpansionIsLimited)
{
  // "Billion laughs": each entity ten of the one before; &e; would be 10^5
  // copies of a 32-character string.
  std::string gpx = "<?xml version=\"1.0\"?>\n<!DOCTYPE gpx [\n<!ENTITY a \"" + std::string(32, 'a') + "\">\n";
  for (char e = 'b'; e <= 'f'; ++e) {
    gpx += std::string("<!ENTITY ") + e + " \"";
    for (int i = 0; i < 10; ++i) gpx += std::string("&") + static_cast<char>(e - 1) + ";";
    gpx += "\">\n";
  }
  gpx += "]>\n<gpx><trk><trkseg><trkpt lat=\"1\" lon=\"2\"/></trkseg>\n<trkseg><trkpt lat=\"3\" lon=\"4\"/>"
         "<desc>&f;</desc></trkseg></trk></gpx>\n";
  std::vector<TLineSegment> segments;
  const auto status = ReadGpxTracks(FromText(gpx), segments);
  EXPECT_FALSE(status.ok);
  EXPECT_EQ(status.error.find("GPX line 11, column "), 0u) << status.error;
  EXPECT_NE(status.error.find("expansion limit"), std::string::npos) << status.error;
  EXPECT_EQ(PointsOf(segments), (std::vector<std::vector<TSegmentPoint>>{{{2, 1}}}));
  ASSERT_EQ(status.log.size(), 2u) << Joined(status.log);
  EXPECT_NE(status.log[0].find("declares 6 entities; each may expand to at most 1024 characters"), std::string::npos)
      << status.log[0];

  // Entities within the limit expand as XML says they must.
  const std::string small =
      "<!DOCTYPE gpx [<!ENTITY lat \"60.5\">]><gpx><trkseg><trkpt lat=\"&lat;\" lon=\"1&#48;\"/></trkseg></gpx>";
  segments.clear();
  ASSERT_TRUE(ReadGpxTracks(FromText(small), segments).ok);
  EXPECT_EQ(PointsOf(segments), (std::vector<std::vector<TSegmentPoint>>{{{10, 60.5f}}}));
}

TEST(GpxTracks, ManyReferencesToALongEntityAreRefusedBeforeAnyExpands)
{
  // Each reference stays within the per-reference limit, but 1 MiB of them
  // would make some 350 million characters of text.
  std::string gpx = "<!DOCTYPE gpx [<!ENTITY e \"" + std::string(1000, 'x') + "\">]>\n<gpx><desc>";
  while (gpx.size() < (1u << 20)) gpx += "&e;";
  gpx += "</desc><trk><trkseg><trkpt lat=\"1\" lon=\"2\"/></trkseg></trk></gpx>";
  std::vector<TLineSegment> segments;
  const auto status = ReadGpxTracks(FromText(gpx), segments);
  EXPECT_FALSE(status.ok);
  EXPECT_EQ(status.error.find("GPX line 1, column "), 0u) << status.error;
  EXPECT_NE(status.error.find("entity references could expand to"), std::string::npos) << status.error;
  EXPECT_TRUE(segments.empty());
  EXPECT_EQ(status.log.size(), 2u) << Joined(status.log);

  // A few references to short entities are read.
  const std::string few =
      "<!DOCTYPE gpx [<!ENTITY who \"Kari &amp; Ola\"><!ENTITY lat \"61\">]>"
      "<gpx><trk><name>&who;</name><trkseg><trkpt lat=\"&lat;\" lon=\"5\"/></trkseg></trk></gpx>";
  TGpxLimits limits;
  limits.EntityText = 4 * limits.EntityExpansion;  // three "&" in the file
  ASSERT_TRUE(ReadGpxTracks(FromText(few), segments, limits).ok);
  EXPECT_EQ(PointsOf(segments), (std::vector<std::vector<TSegmentPoint>>{{{5, 61}}}));
}

TEST(GpxTracks, NestingDepthIsLimited)
{
  std::string gpx = "<gpx><trk><trkseg><trkpt lat=\"1\" lon=\"2\"/></trkseg><trkseg><trkpt lat=\"3\" lon=\"4\"/>";
  for (int i = 0; i < 100000; ++i) gpx += "<x>";
  std::vector<TLineSegment> segments;
  TGpxLimits limits;
  const auto status = ReadGpxTracks(FromText(gpx), segments, limits);
  EXPECT_FALSE(status.ok);
  EXPECT_NE(status.error.find("nested deeper than 64 levels"), std::string::npos) << status.error;
  EXPECT_EQ(PointsOf(segments), (std::vector<std::vector<TSegmentPoint>>{{{2, 1}}}));
  ASSERT_EQ(status.log.size(), 1u) << Joined(status.log);
  EXPECT_EQ(status.log[0], status.error);

  // Real files nest a handful of levels.
  segments.clear();
  limits.Depth = 5;  // gpx, trk, trkseg, trkpt, ele
  EXPECT_TRUE(ReadGpxTracks(FromText(PrettyTrack("\n")), segments, limits).ok);
  limits.Depth = 4;
  segments.clear();
  EXPECT_FALSE(ReadGpxTracks(FromText(PrettyTrack("\n")), segments, limits).ok);
}

TEST(GpxTracks, PointCountIsLimitedAndThePointsBeforeTheLimitAreKept)
{
  TGpxLimits limits;
  limits.Points = 4;
  std::vector<TLineSegment> segments;
  const auto status = ReadGpxTracks(FromText(kOneLineTrack), segments, limits);
  EXPECT_FALSE(status.ok);
  EXPECT_NE(status.error.find("more than 4 track points; the rest of the file is not read"), std::string::npos)
      << status.error;
  EXPECT_EQ(PointsOf(segments),
            (std::vector<std::vector<TSegmentPoint>>{kTrack[0], {kTrack[1][0]}}));
  ASSERT_EQ(status.log.size(), 1u) << Joined(status.log);

  limits.Points = 5;
  segments.clear();
  EXPECT_TRUE(ReadGpxTracks(FromText(kOneLineTrack), segments, limits).ok);
  EXPECT_EQ(PointsOf(segments), kTrack);
  EXPECT_EQ(TGpxLimits().Points, 5'000'000);
}

