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

void DrawNorthGraticule(const TNorthGrid& grid, TExtBitmap& picture, bool noLabels,
                        TSpecialParallels special = {})
{
  DrawGraticuleOnBitmap(&picture, grid.mapping, 10, 5, kWhiteColour, kSilverColour, 0, 0, noLabels, special, 0);
}

bool InsidePicture(const TPixelF& p)
{
  return p.x >= 1 && p.y >= 1 && p.x <= kColumns - 2 && p.y <= kRows - 2;
}

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

TEST(Graticule, ParallelAndMeridianLieWhereProjPutsThem)
{
  TNorthGrid grid;
  ASSERT_TRUE(grid.placed);
  TExtBitmap picture = MakePicture();
  DrawNorthGraticule(grid, picture, true);
  int checked = 0;
  // The 70°N parallel all round (the picture holds it whole), at every
  // degree and between them.
  for (double lon = -180; lon < 180; lon += 0.5) {
    const TPixelF p = grid.Reference(lon, 70);
    ASSERT_TRUE(InsidePicture(p)) << lon;
    EXPECT_TRUE(HasIndexNear(picture, p.x, p.y, kSilver)) << "70N at lon " << lon;
    ++checked;
  }
  // The prime meridian from the last parallel drawn (85°N) to the
  // picture's edge.
  for (double lat = 85; lat > 20; lat -= 0.5) {
    const TPixelF p = grid.Reference(0, lat);
    if (!InsidePicture(p)) break;
    EXPECT_TRUE(HasIndexNear(picture, p.x, p.y, kSilver)) << "0E at lat " << lat;
    ++checked;
  }
  EXPECT_GT(checked, 800);
  // Between the lines nothing is drawn: 72.5°N between meridians.
  const TPixelF gap = grid.Reference(5, 72.5);
  EXPECT_FALSE(HasIndexNear(picture, gap.x, gap.y, kSilver, 2));
}

TEST(Graticule, PolarViewDrawsThe180MeridianAndClosesItsCircles)
{
  TNorthGrid grid;
  TExtBitmap picture = MakePicture();
  DrawNorthGraticule(grid, picture, true);
  for (double lat : {84.0, 80.0, 70.0, 62.0}) {
    const TPixelF p = grid.Reference(180, lat);
    EXPECT_TRUE(HasIndexNear(picture, p.x, p.y, kSilver)) << "180 at lat " << lat;
  }
  for (double lon : {179.5, -179.5}) {
    const TPixelF p = grid.Reference(lon, 65);
    EXPECT_TRUE(HasIndexNear(picture, p.x, p.y, kSilver)) << "65N at lon " << lon;
  }
}

TEST(Graticule, LabelsAreDrawnWholeInsideThePicture)
{
  TNorthGrid grid;
  TExtBitmap picture = MakePicture();
  DrawNorthGraticule(grid, picture, false);
  const int w = picture.Width(), h = picture.Height();
  for (int x = 0; x < w; ++x) {
    for (int y : {0, h - 1}) {
      EXPECT_NE(picture.ScanLine(y)[x], kWhite) << x << "," << y;
      EXPECT_NE(picture.ScanLine(y)[x], kBlack) << x << "," << y;
    }
  }
  for (int y = 0; y < h; ++y) {
    for (int x : {0, w - 1}) {
      EXPECT_NE(picture.ScanLine(y)[x], kWhite) << x << "," << y;
      EXPECT_NE(picture.ScanLine(y)[x], kBlack) << x << "," << y;
    }
  }
  // Meridian labels sit on the 60°N parallel, parallel labels left of the
  // meridian nearest the centre (40°W for an orientation of -45).
  TCanvas canvas(picture);
  canvas.Font().name = "Small Fonts";
  canvas.Font().size = 7;
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
  TCanvas canvas(picture);
  canvas.Font().name = "Small Fonts";
  canvas.Font().size = 7;
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
    const ZoomedMapping mapping(c.centreLon, c.lonSpan, c.centreLat, c.latSpan, 200, 100);
    TExtBitmap picture = MakePicture(200, 100);
    DrawGraticuleOnBitmap(&picture, mapping, 10, 5, kWhiteColour, kSilverColour, 0, 0, false, {}, 0);
    SUCCEED();
  }
}

namespace {

// Every label rectangle drawn, and the place kept clear for the stamp.
struct TLabelRun {
  std::vector<TRect> labels;
  TRect stamp;
  TExtBitmap picture;
};

TLabelRun DrawWithStamp(const TMapping& mapping, int width, int height)
{
  TLabelRun run;
  run.picture = MakePicture(width, height);
  run.stamp = {0, height - 15, 170, height};
  TGraticuleStyle style;
  style.keepClear.push_back(run.stamp);
  style.drawnLabels = &run.labels;
  DrawGraticuleOnBitmap(&run.picture, mapping, style);
  return run;
}

// The global lat-lon grids as the decoder describes them: columns and rows
// less one pixel, spans from the first to the last grid point.
struct TGlobeCase {
  const char* name;
  int width, height;
  float lonSpan, latSpan;
};
constexpr TGlobeCase kGlobes[] = {
    {"720 x 360 half-degree SST", 720, 360, 359.5f, 179.5f},
    {"1001 x 501 SST", 1001, 501, 360.0f, 180.0f},
};

}  // namespace

TEST(GraticuleLabels, NoLabelOverlapsAnotherOrTheStamp)
{
  for (const TGlobeCase& c : kGlobes) {
    SCOPED_TRACE(c.name);
    const ZoomedMapping mapping(0, c.lonSpan, 0, c.latSpan, c.width - 1, c.height - 1);
    const TLabelRun run = DrawWithStamp(mapping, c.width, c.height);
    EXPECT_GE(run.labels.size(), 8u);
    for (std::size_t i = 0; i < run.labels.size(); ++i) {
      EXPECT_FALSE(RectsIntersect(run.labels[i], run.stamp)) << "label " << i << " over the stamp";
      for (std::size_t j = i + 1; j < run.labels.size(); ++j)
        EXPECT_FALSE(RectsIntersect(run.labels[i], run.labels[j])) << "labels " << i << " and " << j;
    }
  }
  TNorthGrid grid;
  const TLabelRun north = DrawWithStamp(grid.mapping, kColumns, kRows);
  EXPECT_GE(north.labels.size(), 20u);
  for (std::size_t i = 0; i < north.labels.size(); ++i)
    for (std::size_t j = i + 1; j < north.labels.size(); ++j)
      EXPECT_FALSE(RectsIntersect(north.labels[i], north.labels[j])) << "northern labels " << i << " and " << j;
}

TEST(GraticuleLabels, CrowdedLinesAreThinnedSoAWorldMapGets30DegreeLines)
{
  const ZoomedMapping mapping(0, 359.5f, 0, 179.5f, 719, 359);
  TExtBitmap picture = MakePicture(720, 360);
  DrawGraticuleOnBitmap(&picture, mapping, 10, 5, kWhiteColour, kSilverColour, 0, 0, true, {}, 0);
  auto meridianAt = [&](float lon) {
    int x = 0, y = 0;
    mapping.LatLonToPixel(lon, 0, x, y);
    return picture.ScanLine(110)[x] == kSilver;  // a row between parallels
  };
  auto parallelAt = [&](float lat) {
    int x = 0, y = 0;
    mapping.LatLonToPixel(15, lat, x, y);  // a column between meridians
    return picture.ScanLine(y)[x] == kSilver;
  };
  for (float lon : {-60.0f, -30.0f, 0.0f, 30.0f, 90.0f}) EXPECT_TRUE(meridianAt(lon)) << lon;
  for (float lon : {-10.0f, 10.0f, 20.0f, 40.0f}) EXPECT_FALSE(meridianAt(lon)) << lon;
  for (float lat : {-60.0f, -30.0f, 0.0f, 30.0f, 60.0f}) EXPECT_TRUE(parallelAt(lat)) << lat;
  for (float lat : {-5.0f, 5.0f, 10.0f, 15.0f, 45.0f, 85.0f}) EXPECT_FALSE(parallelAt(lat)) << lat;
}

TEST(GraticuleLabels, SpaciousPolarGridKeepsEveryLineButNoStarAtThePole)
{
  TNorthGrid grid;
  TExtBitmap picture = MakePicture();
  DrawNorthGraticule(grid, picture, true);
  // Every 10° meridian and 5° parallel of the 10 km grid is still drawn.
  for (double lon : {-170.0, -10.0, 10.0, 100.0}) {
    const TPixelF p = grid.Reference(lon, 72.5);
    EXPECT_TRUE(HasIndexNear(picture, p.x, p.y, kSilver)) << "meridian " << lon;
  }
  for (double lat : {65.0, 75.0, 85.0}) {
    const TPixelF p = grid.Reference(25, lat);
    EXPECT_TRUE(HasIndexNear(picture, p.x, p.y, kSilver)) << "parallel " << lat;
  }
  // Inside the 85° circle the meridians no longer run on to the pole.
  for (double lon = -180; lon < 180; lon += 10) {
    const TPixelF p = grid.Reference(lon, 87.5);
    EXPECT_FALSE(HasIndexNear(picture, p.x, p.y, kSilver)) << "meridian " << lon << " at 87.5N";
  }
}
