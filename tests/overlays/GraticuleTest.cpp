// The graticule: lines on the pixels PROJ gives for the northern sea-ice
// grid, labels that stay whole inside the picture, label texts, the
// date-line split of zoomed cylindrical views and the empty cases.
#include <gtest/gtest.h>

#include <QString>

#include "BoundaryNorthGrid.h"
#include "imaging/Canvas.h"
#include "overlays/Graticule.h"

using namespace overlaytest;

namespace {
constexpr std::uint32_t kWhiteColour = 0xFFFFFF;
constexpr std::uint32_t kSilverColour = 0xC0C0C0;

void DrawNorthGraticule(const TNorthGrid& grid, TExtBitmap& picture, bool noLabels)
{
  DrawGraticuleOnBitmap(&picture, grid.mapping, 10, 5, kWhiteColour, kSilverColour, 0, 0, noLabels, {}, 0);
}

bool InsidePicture(const TPixelF& p)
{
  return p.x >= 1 && p.y >= 1 && p.x <= kColumns - 2 && p.y <= kRows - 2;
}

// The canvas the labels are measured with.
struct LabelCanvas : TCanvas {
  explicit LabelCanvas(TExtBitmap& picture) : TCanvas(picture)
  {
    Font().name = "Small Fonts";
    Font().size = 7;
  }
};

// A cylindrical view zoomed on a box: kind 2.
struct ZoomedMapping : TMapping {
  ZoomedMapping(float centreLon, float lonSpan, float centreLat, float latSpan, int width, int height)
  {
    SetKind(pkCylindricalZoomed);
    SetWidth(width);
    SetHeight(height);
    SetCentreLon(centreLon);
    SetLonSpan(lonSpan);
    SetCentreLat(centreLat);
    SetLatSpan(latSpan);
  }
};
}  // namespace

// On the northern grid every 10° meridian and 5° parallel lies where PROJ
// puts it: the 70°N parallel all round (closed across 180), the prime
// meridian from 85°N to the edge, the 180 meridian; nothing between the
// lines, and no star of meridians inside the 85° circle.
TEST(Graticule, NorthernLinesLieWhereProjPutsThem)
{
  TNorthGrid grid;
  ASSERT_TRUE(grid.placed);
  TExtBitmap picture = MakePicture();
  DrawNorthGraticule(grid, picture, true);
  auto drawn = [&](double lon, double lat, int radius = 1) {
    const TPixelF p = grid.Reference(lon, lat);
    return HasIndexNear(picture, p.x, p.y, kSilver, radius);
  };
  for (double lon = -180; lon < 180; lon += 0.5) EXPECT_TRUE(drawn(lon, 70)) << "70N at lon " << lon;
  for (double lat = 85; InsidePicture(grid.Reference(0, lat)); lat -= 0.5) EXPECT_TRUE(drawn(0, lat)) << lat;
  for (double lat : {84.0, 80.0, 62.0}) EXPECT_TRUE(drawn(180, lat)) << "180 at lat " << lat;
  for (double lon : {-170.0, -10.0, 100.0}) EXPECT_TRUE(drawn(lon, 72.5)) << "meridian " << lon;
  for (double lat : {65.0, 75.0}) EXPECT_TRUE(drawn(25, lat)) << "parallel " << lat;
  EXPECT_FALSE(drawn(5, 72.5, 2));
  for (double lon = -180; lon < 180; lon += 10) EXPECT_FALSE(drawn(lon, 87.5)) << "meridian " << lon << " at 87.5N";
}

TEST(Graticule, LabelsAreDrawnWholeInsideThePicture)
{
  TNorthGrid grid;
  TExtBitmap picture = MakePicture();
  DrawNorthGraticule(grid, picture, false);
  const int w = picture.Width(), h = picture.Height();
  auto label = [&](int x, int y) { return picture.ScanLine(y)[x] == kWhite || picture.ScanLine(y)[x] == kBlack; };
  int onEdge = 0;
  for (int x = 0; x < w; ++x) onEdge += label(x, 0) + label(x, h - 1);
  for (int y = 0; y < h; ++y) onEdge += label(0, y) + label(w - 1, y);
  EXPECT_EQ(onEdge, 0) << "label pixels on the picture's edge";
  // Meridian labels sit on the 60°N parallel, parallel labels left of the
  // meridian nearest the centre (40°W for an orientation of -45).
  LabelCanvas canvas(picture);
  const TPixelF meridian0 = grid.Reference(0, 60), parallel70 = grid.Reference(-40, 70);
  const int w70 = canvas.TextWidth(ParallelLabel(70));
  EXPECT_TRUE(HasIndexNear(picture, meridian0.x, meridian0.y, kWhite, 4));
  EXPECT_TRUE(HasIndexNear(picture, parallel70.x - 4 * w70 / 5, parallel70.y, kWhite, 4));
  EXPECT_FALSE(HasIndexNear(picture, parallel70.x + w70, parallel70.y, kWhite, 3));
  EXPECT_GT(CountIndex(picture, kBlack), CountIndex(picture, kWhite)) << "labels without a halo";
}

TEST(Graticule, ZoomedViewAcrossTheDateLineDrawsBothSides)
{
  // 150°E .. 170°W over 400 pixels: 10 pixels a degree.
  const ZoomedMapping mapping(170, 40, 60, 20, 400, 200);
  TExtBitmap picture = MakePicture(400, 200);
  DrawGraticuleOnBitmap(&picture, mapping, 10, 5, kWhiteColour, kSilverColour, 0, 0, true, {}, 0);
  const int row = 75;  // 62.5°N, between two parallels
  for (int lon : {160, 170, 180}) {
    int x = 0, y = 0;
    mapping.LatLonToPixel(static_cast<float>(lon), 60, x, y);
    EXPECT_EQ(picture.ScanLine(row)[x], kSilver) << "meridian " << lon << " at column " << x;
  }
  EXPECT_NE(picture.ScanLine(row)[250], kSilver);
}

TEST(Graticule, MeridianLabelsRunningOffTheSidesAreLeftOut)
{
  // Whole globe, labels along the bottom at the x of each meridian; the
  // only parallel is the equator, whose label is far from the bottom.
  TMapping globe;
  globe.SetKind(pkCylindricalFull);
  globe.SetWidth(360);
  globe.SetHeight(180);
  TExtBitmap picture = MakePicture(360, 180);
  DrawGraticuleOnBitmap(&picture, globe, 10, 90, kWhiteColour, kSilverColour, 0, 0, false, {}, 0);
  LabelCanvas canvas(picture);
  const int h = canvas.TextHeight(MeridianLabel(0));
  const int labelY = 180 - 3 * h / 4;
  EXPECT_TRUE(HasIndexNear(picture, 180, labelY, kWhite, 4)) << "0° label";
  EXPECT_FALSE(HasIndexNear(picture, 352, labelY, kWhite, 6)) << "170°E label runs over the right edge";
  EXPECT_FALSE(HasIndexNear(picture, 3, labelY, kWhite, 3)) << "170°W label starts left of 0";
}

TEST(Graticule, AbsurdCentresAndSpansDrawWithoutOverflow)
{
  struct Case {
    float centreLon, lonSpan, centreLat, latSpan;
  } cases[] = {
      {0, 1e30f, 0, 1e30f},
      {1e30f, 40, -1e30f, 20},
      {std::nanf(""), 40, 0, std::nanf("")},
      {170, -1e20f, 60, 20},
  };
  for (const Case& c : cases) {
    TExtBitmap picture = MakePicture(200, 100);
    DrawGraticuleOnBitmap(&picture, ZoomedMapping(c.centreLon, c.lonSpan, c.centreLat, c.latSpan, 200, 100), 10, 5,
                          kWhiteColour, kSilverColour, 0, 0, false, {}, 0);
  }
}

// On the northern grid, crowded with labels, none overlaps another or the
// place kept clear for the stamp (the SST world map is checked in the
// display workflow).
TEST(GraticuleLabels, NoLabelOverlapsAnotherOrTheStamp)
{
  TNorthGrid grid;
  TExtBitmap picture = MakePicture();
  const TRect stamp{0, kRows - 15, 170, kRows};
  std::vector<TRect> labels;
  TGraticuleStyle style;
  style.keepClear.push_back(stamp);
  style.drawnLabels = &labels;
  DrawGraticuleOnBitmap(&picture, grid.mapping, style);
  EXPECT_GE(labels.size(), 20u);
  for (std::size_t i = 0; i < labels.size(); ++i) {
    EXPECT_FALSE(RectsIntersect(labels[i], stamp)) << "label " << i << " over the stamp";
    for (std::size_t j = i + 1; j < labels.size(); ++j)
      EXPECT_FALSE(RectsIntersect(labels[i], labels[j])) << "labels " << i << " and " << j;
  }
}

TEST(GraticuleLabels, CrowdedLinesAreThinnedSoAWorldMapGets30DegreeLines)
{
  const ZoomedMapping mapping(0, 359.5f, 0, 179.5f, 719, 359);
  TExtBitmap picture = MakePicture(720, 360);
  DrawGraticuleOnBitmap(&picture, mapping, 10, 5, kWhiteColour, kSilverColour, 0, 0, true, {}, 0);
  // Meridians on a row between parallels, parallels on a column between
  // meridians.
  const std::pair<float, bool> meridians[] = {{-60, true}, {-30, true}, {0, true}, {90, true},
                                              {-10, false}, {10, false}, {20, false}, {40, false}};
  const std::pair<float, bool> parallels[] = {{-60, true}, {-30, true}, {0, true}, {60, true}, {-5, false},
                                              {5, false},  {15, false}, {45, false}, {85, false}};
  int x = 0, y = 0;
  for (const auto& [lon, drawn] : meridians) {
    mapping.LatLonToPixel(lon, 0, x, y);
    EXPECT_EQ(picture.ScanLine(110)[x] == kSilver, drawn) << "meridian " << lon;
  }
  for (const auto& [lat, drawn] : parallels) {
    mapping.LatLonToPixel(15, lat, x, y);
    EXPECT_EQ(picture.ScanLine(y)[x] == kSilver, drawn) << "parallel " << lat;
  }
}
