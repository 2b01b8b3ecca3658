// Boundaries and tracks drawn through a mapping: the shipped Countries.dat
// on the northern sea-ice grid against PROJ, date-line wrapping, closing,
// culling, segment types and long runs.
#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <string>
#include <vector>

#include "BoundaryNorthGrid.h"
#include "imaging/Canvas.h"
#include "overlays/CartogCountries.h"
#include "overlays/CartogList.h"
#include "support/CountriesRecords.h"

using namespace overlaytest;

namespace {
using Bytes = std::vector<std::uint8_t>;

Bytes Records(std::initializer_list<std::pair<std::uint8_t, std::vector<std::int16_t>>> records)
{
  Bytes out;
  for (const auto& [type, minutes] : records) PutCountriesRecord(out, type, minutes);
  return out;
}

// A mapping of the whole globe, one pixel per degree by default: kind 1.
struct GlobeMapping : TMapping {
  explicit GlobeMapping(int width = 360, int height = 180)
  {
    SetKind(pkCylindricalFull);
    SetWidth(width);
    SetHeight(height);
  }
};

void Draw(const TCartogList& list, TExtBitmap& picture)
{
  TCanvas canvas(picture);
  canvas.SetPenColour(0xC0C0C0u);
  list.DrawOnBitmap(&picture, 0, 0);
}

Bytes Track(const std::vector<std::pair<float, float>>& lonLats)
{
  std::string gpx = "<trkseg>\n";
  for (const auto& [lon, lat] : lonLats)
    gpx += "<trkpt lat=\"" + std::to_string(lat) + "\" lon=\"" + std::to_string(lon) + "\"/>\n";
  gpx += "</trkseg>\n";
  return Bytes(gpx.begin(), gpx.end());
}
}  // namespace

TEST(BoundaryDraw, ShippedCoastsLandWhereProjPutsTheirPoints)
{
  TNorthGrid grid;
  ASSERT_TRUE(grid.placed);
  TCartogList list;
  ASSERT_TRUE(list.LoadFromFile(NORVANT_SOURCE_DIR "/data/Countries.dat")) << list.LastError();
  list.Mapping = &grid.mapping;
  TExtBitmap picture = MakePicture();
  Draw(list, picture);

  const struct {
    const char* name;
    float west, east, south, north;
  } regions[] = {
      {"Svalbard", 10, 35, 76, 81},
      {"Iceland", -25, -13, 63, 67},
      {"Greenland", -75, -10, 59, 84},
  };
  for (const auto& r : regions) {
    int checked = 0, missed = 0;
    for (const TLineSegment& s : list.Segments()) {
      if (s.SegType != 0 || s.MinLon < r.west || s.MaxLon > r.east || s.MinLat < r.south || s.MaxLat > r.north)
        continue;
      for (const TSegmentPoint& p : s.Points) {
        const TPixelF expected = grid.Reference(p.lon, p.lat);
        ++checked;
        if (!HasIndexNear(picture, expected.x, expected.y, kSilver)) ++missed;
      }
    }
    EXPECT_GT(checked, 50) << r.name;
    EXPECT_EQ(missed, 0) << r.name << ": " << missed << " of " << checked << " coast points without a line";
  }
  // Nothing is drawn where PROJ puts open sea: the middle of the Norwegian
  // Sea and the pole.
  EXPECT_FALSE(HasIndexNear(picture, grid.Reference(0, 70).x, grid.Reference(0, 70).y, kSilver, 3));
  EXPECT_FALSE(HasIndexNear(picture, grid.Reference(0, 90).x, grid.Reference(0, 90).y, kSilver, 3));
}

TEST(BoundaryDraw, LineCrossingTheDateLineIsNotDrawnAcrossThePicture)
{
  const GlobeMapping globe;
  TCartogList list;
  // Along 10°S from 170°E to 170°W, then back north: an open ring.
  ASSERT_TRUE(list.LoadFromBytes(Records({{0, {10200, -600, 10740, -600, -10740, -600, -10200, -600, -10200, 600}}}),
                                 "Countries.dat"));
  list.Mapping = &globe;
  TExtBitmap picture = MakePicture(360, 180);
  Draw(list, picture);
  int y10s = 0, x = 0;
  ASSERT_TRUE(globe.LatLonToPixel(0, -10, x, y10s));
  for (int column = 20; column < 340; ++column)
    ASSERT_NE(picture.ScanLine(y10s)[column], kSilver) << "stroke across the picture at column " << column;
  EXPECT_TRUE(HasIndexNear(picture, 355, y10s, kSilver));
  EXPECT_TRUE(HasIndexNear(picture, 5, y10s, kSilver));
  // The ring is closed on the western side only, back at its first point.
  EXPECT_TRUE(HasIndexNear(picture, 10, y10s - 10, kSilver));
}

TEST(BoundaryDraw, LineCrossingTheDateLineNearThePoleStaysInOnePiece)
{
  TNorthGrid grid;
  TCartogList list;
  ASSERT_TRUE(list.LoadFromBytes(Records({{0, {10500, 4500, -10500, 4500}}}), "Countries.dat"));
  list.ClosePolygons = false;
  list.Mapping = &grid.mapping;
  TExtBitmap picture = MakePicture();
  Draw(list, picture);
  const TPixelF a = grid.Reference(175, 75), b = grid.Reference(-175, 75), mid = grid.Reference(180, 75);
  EXPECT_TRUE(HasIndexNear(picture, a.x, a.y, kSilver));
  EXPECT_TRUE(HasIndexNear(picture, mid.x, mid.y, kSilver));
  EXPECT_LE(CountIndex(picture, kSilver), static_cast<int>(std::hypot(a.x - b.x, a.y - b.y)) + 2);
}

TEST(BoundaryDraw, RunsLongerThanOnePolylineCallJoinWithoutGaps)
{
  constexpr int kWidth = 16384;
  const GlobeMapping globe(kWidth, 180);
  std::vector<std::pair<float, float>> points;
  for (int i = 0; i < 20000; ++i) points.emplace_back(static_cast<float>(-179.99 + i * (359.98 / 19999)), 0.0f);
  TCartogList list;
  ASSERT_TRUE(list.LoadFromBytes(Track(points), "long.gpx")) << list.LastError();
  list.ClosePolygons = false;
  list.Mapping = &globe;
  TExtBitmap picture = MakePicture(kWidth, 180);
  Draw(list, picture);
  int x0 = 0, x1 = 0, y = 0;
  globe.LatLonToPixel(-179.99f, 0, x0, y);
  globe.LatLonToPixel(179.99f, 0, x1, y);
  ASSERT_GT(x1 - x0, TCartogList::kMaxPolylinePoints);
  for (int x = x0; x < x1; ++x) ASSERT_EQ(picture.ScanLine(y)[x], kSilver) << "gap at column " << x;
}

// The cull box leaves out segments outside it but never the Antarctic; a
// track from 170°E to 170°W is in view of a box on either side of the date
// line (its bounding box turned inside out once hid it from both).
TEST(BoundaryDraw, CullBoxKeepsTheAntarcticAndTracksAcross180)
{
  const GlobeMapping globe;
  const Bytes records = Records({{0, {600, 3600, 1200, 3600}},     // 10..20°E at 60°N
                                 {0, {-6000, 600, -5400, 600}},    // 100..90°W at 10°N
                                 {0, {6000, -4500, 6600, -4500}}});  // 75°S
  const Bytes track = Track({{170, 60}, {175, 60}, {185, 60}, {190, 60}});
  const struct {
    const Bytes* data;
    const char* fileName;
    std::array<float, 4> box;
    std::vector<std::pair<float, float>> drawn, left;
  } cases[] = {
      {&records, "Countries.dat", {50, 70, 0, 30}, {{15, 60}, {105, -75}}, {{-95, 10}}},
      {&track, "t.gpx", {50, 70, 160, 179}, {{172.5f, 60}}, {}},
      {&track, "t.gpx", {50, 70, -179, -160}, {{-172.5f, 60}}, {}},
  };
  for (const auto& c : cases) {
    TCartogList list;
    ASSERT_TRUE(list.LoadFromBytes(*c.data, c.fileName));
    list.ClosePolygons = false;
    list.Mapping = &globe;
    list.CullBox = c.box;
    TExtBitmap picture = MakePicture(360, 180);
    Draw(list, picture);
    int x = 0, y = 0;
    for (const auto& [lon, lat] : c.drawn) {
      globe.LatLonToPixel(lon, lat, x, y);
      EXPECT_TRUE(HasIndexNear(picture, x, y, kSilver)) << lon << "," << lat;
    }
    for (const auto& [lon, lat] : c.left) {
      globe.LatLonToPixel(lon, lat, x, y);
      EXPECT_FALSE(HasIndexNear(picture, x, y, kSilver, 3)) << lon << "," << lat;
    }
  }
}

// A mapping that puts point i of a segment (its longitude) at column
// Columns[i] of row 16, however far out.
struct ScriptedMapping : TMapping {
  ScriptedMapping()
  {
    SetKind(pkCylindricalFull);
    SetWidth(64);
    SetHeight(32);
  }
  bool LatLonToPixel(float lon, float, int& x, int& y) const override
  {
    x = Columns.at(static_cast<std::size_t>(lon));
    y = 16;
    return true;
  }
  std::vector<int> Columns;
};

// Far-out pixels lie near the ends of the int range: their distance must be
// measured without overflow (undefined behaviour, and a wrapped distance of
// a few pixels joined two points from opposite ends across the picture).
TEST(BoundaryDraw, FarOutPointsAreNeverJoinedAcrossThePicture)
{
  constexpr int kFar = std::numeric_limits<int>::max() - 7;
  struct Case {
    const char* name;
    std::vector<int> columns;
    int xShift;
    bool close;
  } cases[] = {
      {"from the far right to the far left", {kFar, -kFar}, 0, false},
      {"from the far left to the far right", {-kFar, kFar}, 0, false},
      {"closing from the far left to the far right", {kFar, 30, -kFar}, 0, true},
      {"shifted beyond the int range", {kFar, 20, 40}, 10, false},
  };
  for (const Case& c : cases) {
    ScriptedMapping mapping;
    mapping.Columns = c.columns;
    TCartogList list;
    std::vector<std::pair<float, float>> points;
    for (std::size_t i = 0; i < c.columns.size(); ++i) points.emplace_back(static_cast<float>(i), 0.0f);
    ASSERT_TRUE(list.LoadFromBytes(Track(points), "far.gpx"));
    list.Mapping = &mapping;
    list.ClosePolygons = c.close;
    TExtBitmap picture = MakePicture(64, 32);
    TCanvas canvas(picture);
    canvas.SetPenColour(0xC0C0C0u);
    list.DrawOnCanvas(canvas, c.xShift, 0);
    int across = 0;
    for (int x = 0; x < 64; ++x) across += picture.ScanLine(16)[x] == kSilver;
    if (c.xShift == 0) {
      EXPECT_EQ(across, 0) << c.name << ": a stroke across the picture";
    } else {
      // The point pushed beyond the int range is left out; the two in the
      // picture are joined.
      EXPECT_EQ(across, 20) << c.name;
    }
  }
}
