// Rules of the projection model that PROJ cannot check: longitudes half a
// turn away, faulty arithmetic, the limb of a disc and definitions that are
// no projection.
#include "mapping/Mapping.h"
#include "mapping/ProjGrids.h"
#include "mapping/ProjMapping.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

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
  polar.SetKind(pkPolarStereographic);
  polar.SetCentreLon(-45);
  polar.SetCentreLat(60);
  polar.SetHeight(1120);
  polar.SetWidth(760);
  polar.SetLatSpan(0);
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

// Off the orthographic disc (radius Scale x Width = 800 pixels) nothing is
// read.
TEST(ProjectionEdgeCase, OrthographicDiscReadsNothingOffTheLimb)
{
  TMapping ortho;
  ortho.SetKind(pkOrthographic);
  ortho.SetWidth(1000);
  ortho.SetHeight(1000);
  ortho.SetCentreLat(45);
  float lon = 0, lat = 0;
  EXPECT_TRUE(ortho.PixelToLatLon(500 + 790, 500, lon, lat));
  EXPECT_FALSE(ortho.PixelToLatLon(500 + 810, 500, lon, lat));
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
