// Readers of boundary records, GSHHS shorelines and GPX tracks: layouts,
// byte orders and what each does with broken input.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "overlays/CartogCountries.h"
#include "overlays/GpxReader.h"
#include "overlays/GshhsReader.h"
#include "support/CountriesRecords.h"

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
    // Full area, container and ancestor; a version word and a spare; or
    // greenwich and source, by header generation.
    const std::vector<int> tail = p.headerBytes == 44 ? std::vector{0, 0, 0} : p.headerBytes == 40 ? std::vector{3, 0} : std::vector{0};
    for (const int word : tail) PutI32(out, word, bigEndian);
    for (const auto& [lon, lat] : p.points) {
      PutI32(out, std::llround(lon * 1e6), bigEndian);
      PutI32(out, std::llround(lat * 1e6), bigEndian);
    }
  }
  return out;
}

// A boundary record whose count word may lie.
Bytes CountriesRecord(std::int32_t count, std::uint8_t type, const std::vector<std::int16_t>& minutes)
{
  Bytes out;
  PutCountriesRecord(out, type, minutes);
  for (int i = 0; i < 4; ++i) out[i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(count) >> 8 * i);
  return out;
}

Bytes Concat(std::initializer_list<Bytes> parts)
{
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}
}  // namespace

// Drawn coasts follow the points as read: the reading is checked here.
TEST(CountriesRecords, ConvertsMinutesToDegrees)
{
  std::vector<TLineSegment> segments;
  ASSERT_TRUE(ReadCountriesRecords(CountriesRecord(3, 4, {600, 3600, 660, -3600, -30, 3660}), segments).ok);
  ASSERT_EQ(segments.size(), 1u);
  EXPECT_EQ(segments[0].SegType, 4);
  EXPECT_EQ(segments[0].Points, (std::vector<TSegmentPoint>{{10, 60}, {11, -60}, {-0.5f, 61}}));
}

// A big-endian count that is a multiple of 256 must not pass for a
// little-endian one.
TEST(GshhsShorelines, BothByteOrdersGiveTheSameSegments)
{
  std::vector<TGshhsPolygon> polygons = {{1, 5000, {{15.5, 78.25}, {16.75, 78.5}, {15.5, 78.25}}},
                                         {2, 150, {{-20.125, 64.5}, {-19.5, 64.75}}},
                                         {3, 10, {}}};
  for (int i = 0; i < 256; ++i) polygons[2].points.push_back({i * 0.01, 60 + i * 0.01});
  std::vector<TLineSegment> little, big;
  ASSERT_TRUE(ReadGshhsShorelines(MakeGshhs(polygons, false), little).ok);
  ASSERT_TRUE(ReadGshhsShorelines(MakeGshhs(polygons, true), big).ok);
  ASSERT_EQ(little.size(), 3u);
  for (std::size_t i = 0; i < little.size(); ++i) EXPECT_EQ(big[i].Points, little[i].Points) << i;
  EXPECT_EQ(little[0].Points[1], (TSegmentPoint{16.75f, 78.5f}));
  EXPECT_EQ(big[2].Count(), 256);
}

// Every header generation is read; land and islands in lakes are kept,
// lakes only from 10 km² up.
TEST(GshhsShorelines, HeaderGenerationsAndLevels)
{
  const std::vector<std::pair<double, double>> pts = {{1.5, 2.5}, {3.5, 4.5}};
  const struct {
    int headerBytes, version, level, area;
    bool kept;
  } cases[] = {{36, 0, 1, 0, true},     {40, 0, 1, 0, true},     {44, 7, 1, 0, true},     {44, 9, 1, 0, true},
               {44, 12, 1, 0, true},    {44, 7, 2, 99, false},   {44, 7, 2, 100, true},   {44, 7, 3, 0, true},
               {44, 7, 4, 100000, false}, {44, 7, 0, 1000, false}};
  for (const auto& c : cases) {
    const TGshhsPolygon p{c.level, c.area, pts, c.headerBytes, c.version};
    std::vector<TLineSegment> segments;
    const auto status = ReadGshhsShorelines(MakeGshhs({p, p}, false), segments);
    ASSERT_TRUE(status.ok) << c.headerBytes << ": " << status.error;
    ASSERT_EQ(segments.size(), c.kept ? 2u : 0u) << c.headerBytes << " level " << c.level << " area " << c.area;
    EXPECT_TRUE(!c.kept || segments[1].Points == (std::vector<TSegmentPoint>{{1.5f, 2.5f}, {3.5f, 4.5f}}));
  }
}

// GSHHS polygons run in 0..360: one wholly east of 180 (Alaska) must stay
// in view of a box there. (One across 180 is drawn in the cull-box test.)
TEST(GshhsShorelines, PolygonWhollyEastOf180OverlapsTheViewItLiesIn)
{
  std::vector<TLineSegment> segments;
  ASSERT_TRUE(ReadGshhsShorelines(MakeGshhs({{1, 0, {{190, 66}, {195, 67}}}}, false), segments).ok);
  ASSERT_EQ(segments.size(), 1u);
  EXPECT_TRUE(segments[0].Overlaps(60, 70, -172, -163));
  EXPECT_FALSE(segments[0].Overlaps(60, 70, -160, -150));
}

// A broken boundary or shoreline file ends with a reason and keeps the
// records completed before the fault; nothing is allocated for a count the
// file cannot hold.
TEST(BinaryBoundaryFiles, BrokenFilesEndWithReasonAndKeepCompletedRecords)
{
  using TReader = TCartogReadStatus (*)(std::span<const std::uint8_t>, std::vector<TLineSegment>&);
  const TReader records = ReadCountriesRecords, shorelines = ReadGshhsShorelines;
  const Bytes record = CountriesRecord(2, 0, {0, 0, 60, 60});
  const std::vector<std::pair<double, double>> pts = {{1, 1}, {2, 2}, {3, 3}};
  const Bytes polygon = MakeGshhs({{1, 0, pts}}, false);
  TGshhsPolygon absurd{1, 0, pts}, huge{1, 0, pts};
  absurd.claimedCount = 0x7FFFFFF0;
  huge.claimedCount = 0xFFFFFFFF;
  const struct {
    const char* name;
    TReader read;
    Bytes data;
    bool ok;
    std::size_t segments;
  } cases[] = {
      {"records ending after points", records, record, true, 1},
      {"records: header alone at the end is discarded", records, Concat({record, CountriesRecord(7, 0, {})}), true, 1},
      {"records: header cut short", records, Concat({record, Bytes{1, 0, 0}}), false, 1},
      {"records: points cut short", records, Concat({record, CountriesRecord(3, 0, {1, 2, 3, 4, 5})}), false, 1},
      {"records: absurd count", records, Concat({record, CountriesRecord(0x7FFFFFFF, 0, {1, 2})}), false, 1},
      {"records: negative count", records, Concat({CountriesRecord(-2, 0, {1, 2, 3, 4}), record}), false, 0},
      {"records: empty", records, {}, true, 0},
      {"shoreline shorter than a header", shorelines, Bytes(20, 0), false, 0},
      {"shoreline: second header cut short", shorelines, Concat({polygon, Bytes(30, 0)}), false, 1},
      {"shoreline: points cut short", shorelines, Bytes(polygon.begin(), polygon.end() - 3), false, 0},
      {"shoreline: absurd count", shorelines, Concat({polygon, MakeGshhs({absurd}, false)}), false, 1},
      {"shoreline: count beyond 32-bit sizes", shorelines, Concat({polygon, MakeGshhs({huge}, true)}), false, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<TLineSegment> segments;
    const auto status = c.read(c.data, segments);
    EXPECT_EQ(status.ok, c.ok);
    EXPECT_EQ(status.error.empty(), c.ok);
    EXPECT_EQ(segments.size(), c.segments);
  }
}

namespace {
using Tracks = std::vector<std::vector<TSegmentPoint>>;

// One track of two segments, as different programs write it.
const Tracks kTrack = {{{10.25f, 60.5f}, {11, 61}, {12.125f, 61.75f}}, {{151.25f, -33.5f}, {-170, 65.5f}}};

const std::string kPrettyTrack = R"(<?xml version="1.0" encoding="UTF-8"?>
<gpx version="1.1" creator="test" xmlns="http://www.topografix.com/GPX/1/1">
  <trk>
    <trkseg>
      <trkpt lat="60.5" lon="10.25">
        <ele>3</ele>
      </trkpt>
      <trkpt lat="61" lon="11"/>
      <trkpt lat="61.75" lon="12.125"></trkpt>
    </trkseg>
    <trkseg>
      <trkpt lat="-33.5" lon="151.25"/>
      <trkpt lat="65.5" lon="-170"/>
    </trkseg>
  </trk>
</gpx>
)";

const std::string kOneLineTrack =
    R"(<?xml version="1.0"?><gpx version="1.1" creator="test"><trk><trkseg><trkpt lat="60.5" lon="10.25">)"
    R"(<ele>3</ele></trkpt><trkpt lat="61" lon="11"/><trkpt lat="61.75" lon="12.125"/></trkseg>)"
    R"(<trkseg><trkpt lat="-33.5" lon="151.25"/><trkpt lat="65.5" lon="-170"/></trkseg></trk></gpx>)";

// Attributes in the other order, one per line, a namespace prefix on every
// element, and the coordinates with a sign and blanks.
const std::string kPrefixedTrack = R"(<?xml version='1.0'?>
<gpx:gpx xmlns:gpx='http://www.topografix.com/GPX/1/0' version='1.0'><gpx:trk><gpx:trkseg>
<gpx:trkpt
    lon="10.25"
    lat="60.5"
><gpx:ele>3</gpx:ele></gpx:trkpt>
<gpx:trkpt lon="+11" lat=" 61 "/><gpx:trkpt lon="12.125" lat="61.75"/>
</gpx:trkseg>
<gpx:trkseg><gpx:trkpt lon="151.25" lat="-33.5"/>
<gpx:trkpt lon='-170' lat='65.5'/></gpx:trkseg></gpx:trk></gpx:gpx>
)";

std::string WithCrLf(std::string text)
{
  for (std::size_t at = 0; (at = text.find('\n', at)) != std::string::npos; at += 2) text.insert(at, 1, '\r');
  return text;
}

Tracks PointsOf(const std::vector<TLineSegment>& segments)
{
  Tracks out;
  for (const TLineSegment& s : segments) out.push_back(s.Points);
  return out;
}
}  // namespace

TEST(GpxTracks, EveryLineLayoutGivesTheSameSegments)
{
  const struct {
    const char* name;
    std::string text;
  } layouts[] = {
      {"pretty-printed", kPrettyTrack},
      {"on one line", kOneLineTrack},
      {"CRLF line ends", WithCrLf(kPrettyTrack)},
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

// Each point with a bad number is skipped with a log line; after ten lines
// one more counts the rest.
TEST(GpxTracks, PointsWithABadNumberAreSkippedAndLogged)
{
  std::string gpx = "<gpx><trk><trkseg>\n<trkpt lat=\"1\" lon=\"2\"/>\n";
  const std::pair<std::string, std::string> bad[] = {
      {"6O.5", "2"}, {"60", "2.5e"}, {"", "2"}, {"nan", "inf"}, {"1e999", "2"}, {std::string(150, '1'), "2"}};
  for (const auto& [lat, lon] : bad) gpx += "<trkpt lat=\"" + lat + "\" lon=\"" + lon + "\"/>\n";
  gpx += "<trkpt lon=\"2\"/>\n<trkpt lat=\"3\" lon=\"4\"/>\n</trkseg></trk></gpx>\n";
  std::vector<TLineSegment> segments;
  auto status = ReadGpxTracks(FromText(gpx), segments);
  ASSERT_TRUE(status.ok) << status.error;
  EXPECT_EQ(PointsOf(segments), (Tracks{{{2, 1}, {4, 3}}}));
  EXPECT_EQ(status.log.size(), 7u);

  std::string many = "<trkseg>";
  for (int i = 0; i < 25; ++i) many += "<trkpt lat=\"x\" lon=\"1\"/>";
  segments.clear();
  status = ReadGpxTracks(FromText(many + "<trkpt lat=\"1\" lon=\"1\"/></trkseg>"), segments);
  EXPECT_TRUE(status.ok);
  EXPECT_EQ(segments.size(), 1u);
  ASSERT_EQ(status.log.size(), 11u);
  EXPECT_NE(status.log.back().find("15 more"), std::string::npos) << status.log.back();
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
    EXPECT_EQ(PointsOf(segments), (Tracks{{{2, 1}}})) << c.name;
  }
}

// Limits on entity expansion, nesting and the number of points stop a
// hostile or runaway file; the segments read before the stop are kept, and
// files within the limits read as XML says they must.
TEST(GpxTracks, EntityNestingAndPointLimits)
{
  // "Billion laughs": each entity ten of the one before; &f; would be 10^5
  // copies of a 32-character string.
  std::string laughs = "<!DOCTYPE gpx [\n<!ENTITY a \"" + std::string(32, 'a') + "\">\n";
  for (char e = 'b'; e <= 'f'; ++e) {
    laughs += std::string("<!ENTITY ") + e + " \"";
    for (int i = 0; i < 10; ++i) laughs += std::string("&") + static_cast<char>(e - 1) + ";";
    laughs += "\">\n";
  }
  laughs += "]>\n<gpx><trk><trkseg><trkpt lat=\"1\" lon=\"2\"/></trkseg>\n<trkseg><trkpt lat=\"3\" lon=\"4\"/>"
            "<desc>&f;</desc></trkseg></trk></gpx>\n";
  // Each reference within the per-reference limit, but 1 MiB of them would
  // make some 350 million characters.
  std::string references = "<!DOCTYPE gpx [<!ENTITY e \"" + std::string(1000, 'x') + "\">]>\n<gpx><desc>";
  while (references.size() < (1u << 20)) references += "&e;";
  references += "</desc><trk><trkseg><trkpt lat=\"1\" lon=\"2\"/></trkseg></trk></gpx>";
  std::string deep = "<gpx><trk><trkseg><trkpt lat=\"1\" lon=\"2\"/></trkseg><trkseg><trkpt lat=\"3\" lon=\"4\"/>";
  for (int i = 0; i < 100000; ++i) deep += "<x>";
  struct Case {
    const char* name;
    std::string text;
    TGpxLimits limits;
    const char* error;  // nullptr: read whole
    Tracks kept;
  } cases[] = {
      {"entity expansion", laughs, {}, "expansion limit", {{{2, 1}}}},
      {"entity references", references, {}, "entity references could expand to", {}},
      {"nesting", deep, {}, "nested deeper than 64 levels", {{{2, 1}}}},
      {"nesting of a real file", kPrettyTrack, {.Depth = 4}, "nested deeper than 4", {}},
      {"points", kOneLineTrack, {.Points = 4}, "more than 4 track points", {kTrack[0], {kTrack[1][0]}}},
      {"small entities",
       "<!DOCTYPE gpx [<!ENTITY lat \"60.5\">]><gpx><trkseg><trkpt lat=\"&lat;\" lon=\"1&#48;\"/></trkseg></gpx>",
       {}, nullptr, {{{10, 60.5f}}}},
      {"few references",
       "<!DOCTYPE gpx [<!ENTITY who \"Kari &amp; Ola\"><!ENTITY lat \"61\">]>"
       "<gpx><trk><name>&who;</name><trkseg><trkpt lat=\"&lat;\" lon=\"5\"/></trkseg></trk></gpx>",
       {.EntityText = 4 * TGpxLimits{}.EntityExpansion}, nullptr, {{{5, 61}}}},  // three "&" in the file
      {"depth of a real file", kPrettyTrack, {.Depth = 5}, nullptr, kTrack},  // gpx, trk, trkseg, trkpt, ele
      {"points within the limit", kOneLineTrack, {.Points = 5}, nullptr, kTrack},
  };
  for (const Case& c : cases) {
    std::vector<TLineSegment> segments;
    const auto status = ReadGpxTracks(FromText(c.text), segments, c.limits);
    EXPECT_EQ(status.ok, c.error == nullptr) << c.name << ": " << status.error;
    if (c.error) {
      EXPECT_NE(status.error.find(c.error), std::string::npos) << c.name << ": " << status.error;
    }
    EXPECT_EQ(PointsOf(segments), c.kept) << c.name;
  }
}
