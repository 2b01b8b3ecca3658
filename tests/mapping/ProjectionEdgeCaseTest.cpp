// Rules of the projection model that PROJ cannot check: placement by the
// first grid point, longitudes half a turn away, faulty arithmetic, the
// copy rules of the special mappings, zoom regions and the readers' grid
// values.
#include "mapping/DwdLmeMapping.h"
#include "mapping/GeostationaryMapping.h"
#include "mapping/GridPlacement.h"
#include "mapping/Mapping.h"
#include "mapping/ProjGrids.h"
#include "mapping/ProjMapping.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

void Polar(TMapping& m, float centreLat, int width, int height)
{
  m.SetKind(pkPolarStereographic);
  m.SetCentreLon(-45);
  m.SetCentreLat(centreLat);
  m.SetHeight(height);
  m.SetWidth(width);
  m.SetLatSpan(0);
}

void Conic(TMapping& m)
{
  m.SetKind(pkLambertConformal);
  m.SetCentreLon(-95);
  m.SetCentreLat(37.5f);
  m.SetStdParallel1(25);
  m.SetStdParallel2(50);
  m.SetWidth(760);
  m.SetHeight(1120);
}

TEST(ProjectionEdgeCase, FirstGridPointLandsOnBottomLeftOrTopLeftPixel)
{
  for (const bool conic : {false, true}) {
    for (const bool topDown : {false, true}) {
      TMapping m;
      conic ? Conic(m) : Polar(m, 60, 760, 700);
      m.SetXOffset(17);  // stale offsets must not leak into the placement
      m.SetYOffset(-5);
      const float lon = conic ? -133.46f : 168.35f, lat = conic ? 12.19f : 30.98f;
      ASSERT_TRUE(PlaceFirstGridPoint(m, lon, lat, 1120, topDown));
      float x = -1, y = -1;
      m.LatLonToPixelF(lon, lat, x, y);
      EXPECT_NEAR(x, 0, 1e-3) << conic << topDown;
      EXPECT_NEAR(y, topDown ? 0 : 1119, 1e-3) << conic << topDown;
    }
  }
  TMapping unknown;  // kind 0 places nothing and keeps no offsets
  unknown.SetHeight(10);
  unknown.SetWidth(10);
  unknown.SetXOffset(3);
  EXPECT_FALSE(PlaceFirstGridPoint(unknown, 10, 10, 10, false));
  EXPECT_EQ(unknown.XOffsetF(), 0);
}

TEST(ProjectionEdgeCase, PointBetweenPixelCentresDoesNotShiftTheGridByHalfAPixel)
{
  // The unplaced pole sits half a pixel off a pixel centre, so a rounded
  // placement would move every grid point by half a pixel.
  TMapping m;
  Polar(m, 60, 760, 700);
  float x = 0, y = 0;
  ASSERT_TRUE(m.LatLonToPixelF(0, 90, x, y));
  ASSERT_NEAR(y - std::floor(y), 0.5, 1e-3);
  ASSERT_TRUE(PlaceFirstGridPoint(m, 0, 90, 1120, true));
  TMapping display;  // the offsets survive a copy unrounded
  display.Assign(m);
  display.LatLonToPixelF(0, 90, x, y);
  EXPECT_NEAR(x, 0, 1e-4);
  EXPECT_NEAR(y, 0, 1e-4);
}

TEST(ProjectionEdgeCase, LongitudeDifferenceOfHalfATurnStaysOnItsSide)
{
  // Full Mercator puts a difference of d degrees at x = W (d + 180) / 360.
  const struct {
    float lon;
    int x;
  } cases[] = {{180, 720}, {-180, 0}, {190, 20}, {-190, 700}, {540, 720}, {370, 380}, {-900, 0}};
  for (const auto& c : cases) {
    TMapping m;
    m.SetKind(pkMercatorFull);
    m.SetWidth(720);
    m.SetHeight(720);
    int x = -1, y = -1;
    ASSERT_TRUE(m.LatLonToPixel(c.lon, 0, x, y)) << c.lon;
    EXPECT_EQ(x, c.x) << c.lon;
    EXPECT_EQ(y, 360) << c.lon;
  }
}

TEST(ProjectionEdgeCase, FaultyArithmeticEndsInFalseNotGarbage)
{
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  for (int kind = 1; kind < kProjectionKindCount; ++kind) {
    TMapping m;
    m.SetKind(kind);
    m.SetWidth(500);
    m.SetHeight(400);
    m.SetLonSpan(30);
    m.SetLatSpan(20);
    m.SetCentreLat(45);
    int x = 0, y = 0;
    float fx = 0, fy = 0;
    EXPECT_FALSE(m.LatLonToPixel(nan, 10, x, y)) << kind;
    EXPECT_FALSE(m.LatLonToPixel(10, nan, x, y)) << kind;
    EXPECT_FALSE(m.LatLonToPixelF(inf, 10, fx, fy)) << kind;
  }
  // The pole opposite a polar stereographic picture lies at infinity.
  TMapping polar;
  Polar(polar, 60, 760, 1120);
  int x = 0, y = 0;
  EXPECT_FALSE(polar.LatLonToPixel(0, -90, x, y));
  // A zero latitude span makes the zoomed Mercator slope 0/0; the last
  // consistent constants stay.
  TMapping m;
  m.SetKind(pkMercatorZoomed);
  m.SetWidth(600);
  m.SetHeight(400);
  m.SetLonSpan(60);
  m.SetLatSpan(40);
  m.SetCentreLat(50);
  float before = 0, after = 0, fy = 0;
  ASSERT_TRUE(m.LatLonToPixelF(0, 60, fy, before));
  m.SetLatSpan(0);
  m.SetLatSpan(40);
  ASSERT_TRUE(m.LatLonToPixelF(0, 60, fy, after));
  EXPECT_EQ(before, after);
}

// Off the disc nothing is read; the disc constants follow the grid values.
TEST(ProjectionEdgeCase, DiscsReadNothingOffTheLimb)
{
  TMapping ortho;  // a disc of radius Scale x Width = 800 pixels
  ortho.SetKind(pkOrthographic);
  ortho.SetWidth(1000);
  ortho.SetHeight(1000);
  ortho.SetCentreLat(45);
  float lon = 0, lat = 0;
  EXPECT_TRUE(ortho.PixelToLatLon(500 + 790, 500, lon, lat));
  EXPECT_FALSE(ortho.PixelToLatLon(500 + 810, 500, lon, lat));
  TGeostationaryMapping disc;
  disc.SetCentreColumn(1855.5f);
  disc.SetCentreLine(1855.5f);
  disc.SetDiscSize(3712, 3712);
  EXPECT_FLOAT_EQ(disc.ColumnFactor(), 208.16554f);
  EXPECT_TRUE(disc.PixelToLatLon(1856, 1856, lon, lat));
  EXPECT_FALSE(disc.PixelToLatLon(0, 0, lon, lat));
  EXPECT_FALSE(disc.PixelToLatLon(3711, 3711, lon, lat));
  EXPECT_FLOAT_EQ(TGeostationaryMapping::SubSatelliteLonFromGrid(41500000), 41.5f);
  EXPECT_FLOAT_EQ(TGeostationaryMapping::SubSatelliteLonFromGrid(-3400000), -3.4f);
  EXPECT_FLOAT_EQ(TGeostationaryMapping::SubSatelliteLonFromGrid(57), 57.0f);
  EXPECT_FLOAT_EQ(TGeostationaryMapping::CentreFromGrid(1857000, 3712, false), 1856.0f);
  EXPECT_FLOAT_EQ(TGeostationaryMapping::CentreFromGrid(1857000, 3712, true), 1855.0f);
}

// Copies and clones of the special mappings keep their projection; a copy
// into a plain mapping takes only the base settings.
TEST(ProjectionEdgeCase, CopiesKeepTheProjectionOnlyInTheirOwnClass)
{
  TGeostationaryMapping disc;
  disc.SetCentreLon(41.5f);
  disc.SetCentreColumn(1856);
  disc.SetCentreLine(1856);
  disc.SetDiscSize(3712, 3712);
  disc.SetXOffset(3);
  TDwdLmeMapping rotated;
  rotated.SetWidth(173);
  rotated.SetHeight(165);
  rotated.SetRotLatFirst(-20);
  rotated.SetRotLatLast(21);
  rotated.SetRotLonFirst(-19);
  rotated.SetRotLonLast(24);
  rotated.SetPoleLat(32.5f);
  rotated.SetPoleLon(190);
  auto proj = LambertConformalMapping(TEarth::Sphere(6367470), 30, 60, -10, nullptr);
  ASSERT_TRUE(proj && proj->PlacePoint(-30, 20, 0, 39, 40000, 40000, 50, 40));
  TGeostationaryMapping discCopy;
  discCopy.Assign(disc);
  TDwdLmeMapping rotatedCopy;
  rotatedCopy.Assign(rotated);
  TProjMapping projCopy;
  projCopy.Assign(*proj);
  const struct {
    const TMapping& source;
    std::unique_ptr<TMapping> clone;
    const TMapping& copy;
  } cases[] = {{disc, disc.Clone(), discCopy}, {rotated, rotated.Clone(), rotatedCopy}, {*proj, proj->Clone(), projCopy}};
  for (const auto& c : cases) {
    const bool projBacked = &c.source == proj.get();
    for (const auto& [x, y] : {std::pair{20, 30}, std::pair{100, 120}, std::pair{40, 10}}) {
      float lon = 0, lat = 0, cloneLon = 0, cloneLat = 0, copyLon = 0, copyLat = 0;
      const bool found = c.source.PixelToLatLon(x, y, lon, lat);
      EXPECT_EQ(c.clone->PixelToLatLon(x, y, cloneLon, cloneLat), found);
      EXPECT_EQ(c.copy.PixelToLatLon(x, y, copyLon, copyLat), found);
      EXPECT_EQ(lon, cloneLon);
      EXPECT_EQ(lon, copyLon);
      EXPECT_EQ(lat, copyLat);
    }
    TMapping plain;
    plain.Assign(c.source);
    EXPECT_TRUE(projBacked || !plain.CanDraw());
    EXPECT_EQ(plain.Width(), c.source.Width());
  }
  EXPECT_EQ(disc.Clone()->GetDrawWidth(), 3712);

  // A plain copy keeps explicit parallels, and the centre longitude that
  // the zoomed cylindrical kind clears when its kind is set.
  TMapping conic;
  conic.SetKind(pkLambertConformal);
  conic.SetCentreLat(45);
  conic.SetStdParallel1(30);
  conic.SetStdParallel2(60);
  TMapping conicCopy;
  conicCopy.Assign(conic);
  EXPECT_EQ(conicCopy.StdParallel1(), 30);
  EXPECT_EQ(conicCopy.StdParallel2(), 60);
  TMapping window;
  window.SetKind(pkCylindricalZoomed);
  window.SetCentreLon(33);
  TMapping windowCopy;
  windowCopy.Assign(window);
  windowCopy.Assign(windowCopy);
  EXPECT_EQ(windowCopy.CentreLon(), 33);
}

// The zoomed display doubles the size and shifts by half a doubled pixel.
TEST(ProjectionEdgeCase, ZoomedProjBackedMappingScalesCells)
{
  auto mapping = PolarStereographicMapping(TEarth::Ellipsoid(6378273, 6356889.449), 70, -45, false, nullptr);
  ASSERT_TRUE(mapping && mapping->PlacePoint(-80.73, 33.972, 0, 1119, 10000, 10000, 760, 1120));
  float lon = 0, lat = 0, x = 0, y = 0;
  ASSERT_TRUE(mapping->PixelToLatLon(400, 300, lon, lat));
  const auto zoomed = mapping->Clone();
  zoomed->SetWidth(2 * mapping->GetWidth());
  zoomed->SetHeight(2 * mapping->GetHeight());
  zoomed->SetXOffsetF(2 * mapping->XOffsetF() + 0.5f);
  zoomed->SetYOffsetF(2 * mapping->YOffsetF() - 0.5f);
  ASSERT_TRUE(zoomed->LatLonToPixelF(lon, lat, x, y));
  EXPECT_NEAR(x, 800.5, 1e-2);
  EXPECT_NEAR(y, 600.5, 1e-2);
}

TEST(ProjectionEdgeCase, ProjBackedMappingRefusesWhatIsNotAProjection)
{
  std::string error;
  EXPECT_FALSE(TProjMapping::Create("+proj=nonsense", std::nullopt, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(TProjMapping::Create("+proj=longlat +ellps=WGS84", std::nullopt, &error));
  EXPECT_FALSE(PolarStereographicMapping(TEarth::Sphere(100), 60, 0, false, &error));
  EXPECT_FALSE(PolarStereographicMapping(TEarth::Sphere(6371000), -60, 0, false, &error));
  EXPECT_FALSE(LambertConformalMapping(TEarth::Sphere(6371000), 30, -30, 0, &error));
}

TEST(ProjectionEdgeCase, VanDerGrintenZoomRegionsCentreTheirPart)
{
  // Regions 1-4 are quarters, 5-13 ninths, row by row from the top left.
  TMapping whole;
  whole.SetKind(pkVanDerGrinten);
  whole.SetWidth(900);
  whole.SetHeight(600);
  for (int region = 1; region <= 13; ++region) {
    TMapping m;
    m.Assign(whole);
    m.SetZoomRegion(region);
    const int mx = region <= 4 ? 225 + 450 * ((region - 1) % 2) : 150 + 300 * ((region - 5) % 3);
    const int my = region <= 4 ? 150 + 300 * ((region - 1) / 2) : 100 + 200 * ((region - 5) / 3);
    float lon = 0, lat = 0, x = 0, y = 0;
    ASSERT_TRUE(whole.PixelToLatLon(mx, my, lon, lat)) << region;
    ASSERT_TRUE(m.LatLonToPixelF(lon, lat, x, y)) << region;
    EXPECT_NEAR(x, 450, 0.01) << region;
    EXPECT_NEAR(y, 300, 0.01) << region;
  }
}

}  // namespace
