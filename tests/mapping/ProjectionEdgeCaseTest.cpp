// Set-up rules, limits and faults of the projection model.
#include "mapping/Mapping.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

constexpr double kEarthRadiusKm = 6378.135;

TMapping& Polar(TMapping& m, float centreLat, int width, int height)
{
  m.SetKind(pkPolarStereographic);
  m.SetCentreLon(-45);
  m.SetCentreLat(centreLat);
  m.SetHeight(height);
  m.SetWidth(width);
  m.SetLatSpan(0);
  return m;
}

TEST(ProjectionEdgeCase, KindNamesFollowTheKindNumbers)
{
  const char* names[] = {"Unknown", "Cylindrical equidistant (full)", "Cylindrical equidistant (zoomed)",
                         "Azimuthal equidistant", "Azimuthal equidistant (wide)", "Mercator (full)",
                         "Mercator (zoomed)", "Orthographic", "Linearised Orthographic", "Polar Stereographic",
                         "Lambert Conformal Conic", "Gnomonic", "Van der Grinten", "Great Circle", "Linear-based"};
  for (int kind = 0; kind < kProjectionKindCount; ++kind)
    EXPECT_EQ(ProjectionKindName(kind), names[kind]) << kind;
  EXPECT_EQ(ProjectionKindName(-1), "Unknown");
  EXPECT_EQ(ProjectionKindName(15), "Unknown");
}

TEST(ProjectionEdgeCase, OnlyDrawableKindsSayTheyCanDraw)
{
  for (int kind = 0; kind < kProjectionKindCount; ++kind) {
    TMapping m;
    m.SetKind(kind);
    const bool expected = kind != 0 && kind != 8 && kind != 14;
    EXPECT_EQ(m.CanDraw(), expected) << kind;
  }
}

TEST(ProjectionEdgeCase, SetKindAppliesItsDefaultScale)
{
  struct TCase {
    int kind;
    float scale;
  };
  for (const TCase c : {TCase{3, 0.75f}, TCase{4, 0.4f}, TCase{11, 0.4f}, TCase{7, 0.8f}, TCase{8, 0.8f},
                        TCase{9, 1.7f}, TCase{13, 0.2f}, TCase{12, 0.155f}}) {
    TMapping m;
    m.SetKind(c.kind);
    EXPECT_FLOAT_EQ(m.Scale(), c.scale) << c.kind;
  }
  TMapping mercator;
  mercator.SetCentreLon(30);
  mercator.SetKind(pkMercatorFull);
  EXPECT_EQ(mercator.CentreLon(), 0);
  EXPECT_EQ(mercator.LonSpan(), 360);
}

TEST(ProjectionEdgeCase, PolarDefaultsPutThePoleAboveTheMiddleRow)
{
  TMapping m;
  Polar(m, 60, 800, 1000);
  m.SetXOffset(7);
  m.SetYOffset(-3);
  EXPECT_FLOAT_EQ(m.Scale(), 1.7f);
  EXPECT_FLOAT_EQ(m.PolarOffset(), 0.425f);
  int x = 0, y = 0;
  ASSERT_TRUE(m.LatLonToPixel(123, 90, x, y));
  EXPECT_EQ(x, 400 + 7);
  EXPECT_EQ(y, 500 - 425 + 3);
  // The central meridian runs straight down from the pole.
  int x60 = 0, y60 = 0;
  ASSERT_TRUE(m.LatLonToPixel(-45, 60, x60, y60));
  EXPECT_EQ(x60, x);
  EXPECT_GT(y60, y);
}

TEST(ProjectionEdgeCase, SouthernLongitudesRunClockwiseRoundAPoleAboveTheMiddle)
{
  TMapping m;
  Polar(m, -60, 800, 1000);
  ASSERT_TRUE(m.Southern());
  int poleX = 0, poleY = 0, x = 0, y = 0;
  ASSERT_TRUE(m.LatLonToPixel(0, -90, poleX, poleY));
  EXPECT_EQ(poleY, 500 + 425);  // the middle row is 500; y grows downward
  // Central meridian up, 90 degrees east to the right, 180 down.
  ASSERT_TRUE(m.LatLonToPixel(-45, -70, x, y));
  EXPECT_EQ(x, poleX);
  EXPECT_LT(y, poleY);
  ASSERT_TRUE(m.LatLonToPixel(45, -70, x, y));
  EXPECT_GT(x, poleX);
  EXPECT_EQ(y, poleY);
  ASSERT_TRUE(m.LatLonToPixel(135, -70, x, y));
  EXPECT_EQ(x, poleX);
  EXPECT_GT(y, poleY);
}

TEST(ProjectionEdgeCase, PolePixelReadsAsThePole)
{
  for (const float centreLat : {60.0f, -60.0f}) {
    TMapping m;
    Polar(m, centreLat, 800, 1000);
    int x = 0, y = 0;
    ASSERT_TRUE(m.LatLonToPixel(0, centreLat > 0 ? 90 : -90, x, y));
    float lon = 0, lat = 0;
    ASSERT_TRUE(m.PixelToLatLon(x, y, lon, lat));
    EXPECT_FLOAT_EQ(lat, centreLat > 0 ? 90 : -90);
    EXPECT_FLOAT_EQ(lon, -45);
  }
}

TEST(ProjectionEdgeCase, ZeroCentreLatitudeOfPoleCentredKindsCountsAsSouthern)
{
  for (const int kind : {pkPolarStereographic, pkLambertConformal}) {
    TMapping m;
    m.SetKind(kind);
    m.SetCentreLat(0);
    EXPECT_FLOAT_EQ(m.CentreLat(), -0.001f) << kind;
    EXPECT_TRUE(m.Southern()) << kind;
    m.SetCentreLat(0.0001f);
    EXPECT_FLOAT_EQ(m.CentreLat(), 0.001f) << kind;
    EXPECT_FALSE(m.Southern()) << kind;
  }
  TMapping other;
  other.SetKind(pkOrthographic);
  other.SetCentreLat(0);
  EXPECT_EQ(other.CentreLat(), 0);
}

TEST(ProjectionEdgeCase, CentreLatitudeSetsAbsoluteParallels)
{
  TMapping m;
  m.SetKind(pkLambertConformal);
  m.SetCentreLat(-45);
  EXPECT_EQ(m.StdParallel1(), 45);
  EXPECT_EQ(m.StdParallel2(), 45);
  m.SetStdParallel1(-30);
  EXPECT_EQ(m.StdParallel1(), 30);
}

TEST(ProjectionEdgeCase, LongitudeDifferenceOfHalfATurnStaysOnItsSide)
{
  // Full Mercator puts a difference of d degrees at x = W (d + 180) / 360.
  struct TCase {
    float centreLon, lon;
    int x;
  };
  const TCase cases[] = {
    {0, 180, 720}, {0, -180, 0}, {0, 190, 20}, {0, -190, 700}, {0, 540, 720}, {0, 370, 380}, {0, -900, 0},
  };
  for (const TCase c : cases) {
    TMapping m;
    m.SetKind(pkMercatorFull);
    m.SetWidth(720);
    m.SetHeight(720);
    m.SetCentreLon(c.centreLon);
    int x = -1, y = -1;
    ASSERT_TRUE(m.LatLonToPixel(c.lon, 0, x, y)) << c.lon;
    EXPECT_EQ(x, c.x) << c.lon;
    EXPECT_EQ(y, 360) << c.lon;
  }
}

TEST(ProjectionEdgeCase, LatitudeSpanIsCappedExceptForTheGreatCircle)
{
  for (int kind = 0; kind < kProjectionKindCount; ++kind) {
    TMapping m;
    m.SetKind(kind);
    m.SetLatSpan(200);
    EXPECT_EQ(m.LatSpan(), kind == pkGreatCircle ? 200 : 180) << kind;
  }
}

// A point straight south of the centre at the given distance.
float LatAtDistance(float centreLat, double km) { return static_cast<float>(centreLat - km / kEarthRadiusKm * 180 / M_PI); }

TEST(ProjectionEdgeCase, PointsBeyondAKindsReachAreNotShown)
{
  struct TCase {
    int kind;
    double reachKm;
  };
  for (const TCase c : {TCase{3, 12000}, TCase{4, 12000}, TCase{7, 6300}, TCase{8, 6300}, TCase{10, 10000},
                        TCase{11, 12000}}) {
    TMapping m;
    m.SetKind(c.kind);
    m.SetWidth(1000);
    m.SetHeight(1000);
    m.SetCentreLon(20);
    m.SetCentreLat(c.kind == 11 ? 0 : 70);
    if (c.kind == 11) {
      // The gnomonic plane ends at its horizon first; look east along the
      // equator, where 12000 km lies past it.
      int x = 0, y = 0;
      EXPECT_TRUE(m.LatLonToPixel(20 + 80, 0, x, y));
      EXPECT_FALSE(m.LatLonToPixel(20 + 100, 0, x, y));
      EXPECT_EQ(x, 500);  // an unshown gnomonic point yields the centre
      EXPECT_EQ(y, 500);
      continue;
    }
    int x = 0, y = 0;
    EXPECT_TRUE(m.LatLonToPixel(20, LatAtDistance(70, c.reachKm - 20), x, y)) << c.kind;
    EXPECT_FALSE(m.LatLonToPixel(20, LatAtDistance(70, c.reachKm + 20), x, y)) << c.kind;
  }
}

TEST(ProjectionEdgeCase, ZoomedMercatorHidesPointsOffThePictureButFullMercatorNever)
{
  TMapping zoomed;
  zoomed.SetKind(pkMercatorZoomed);
  zoomed.SetWidth(600);
  zoomed.SetHeight(400);
  zoomed.SetLonSpan(60);
  zoomed.SetLatSpan(40);
  zoomed.SetCentreLon(10);
  zoomed.SetCentreLat(50);
  int x = 0, y = 0;
  EXPECT_TRUE(zoomed.LatLonToPixel(10, 50, x, y));
  EXPECT_FALSE(zoomed.LatLonToPixel(50, 50, x, y));
  EXPECT_FALSE(zoomed.LatLonToPixel(10, 75, x, y));
  EXPECT_FALSE(zoomed.LatLonToPixel(10, 15, x, y));

  TMapping full;
  full.SetKind(pkMercatorFull);
  full.SetWidth(600);
  full.SetHeight(400);
  for (const float lat : {-89.0f, -60.0f, 0.0f, 85.0f, 89.0f})
    EXPECT_TRUE(full.LatLonToPixel(170, lat, x, y)) << lat;
}

TEST(ProjectionEdgeCase, OrthographicReadOutFailsOutsideTheDisc)
{
  TMapping m;
  m.SetKind(pkOrthographic);
  m.SetWidth(1000);
  m.SetHeight(1000);
  m.SetCentreLat(45);
  float lon = 0, lat = 0;
  EXPECT_TRUE(m.PixelToLatLon(500, 500, lon, lat));
  EXPECT_FLOAT_EQ(lat, 45);
  // The disc has a radius of Scale x Width = 800 pixels.
  EXPECT_TRUE(m.PixelToLatLon(500 + 790, 500, lon, lat));
  EXPECT_FALSE(m.PixelToLatLon(500 + 810, 500, lon, lat));
  EXPECT_FALSE(m.PixelToLatLon(500 + 700, 500 + 700, lon, lat));
}

TEST(ProjectionEdgeCase, KindsWithoutInverseOrSizeReadNothing)
{
  TMapping unknown;
  unknown.SetWidth(100);
  unknown.SetHeight(100);
  float lon = 0, lat = 0;
  int x = 0, y = 0;
  EXPECT_FALSE(unknown.PixelToLatLon(50, 50, lon, lat));
  EXPECT_FALSE(unknown.LatLonToPixel(0, 0, x, y));

  TMapping linearised;
  linearised.SetKind(pkLinearisedOrthographic);
  linearised.SetWidth(100);
  linearised.SetHeight(100);
  EXPECT_TRUE(linearised.LatLonToPixel(1, 1, x, y));
  EXPECT_FALSE(linearised.PixelToLatLon(50, 50, lon, lat));

  TMapping empty;
  Polar(empty, 60, 0, 0);
  EXPECT_FALSE(empty.PixelToLatLon(0, 0, lon, lat));
}

TEST(ProjectionEdgeCase, LinearisedOrthographicIsLinearAlongItsAxes)
{
  TMapping m;
  m.SetKind(pkLinearisedOrthographic);
  m.SetWidth(1000);
  m.SetHeight(1000);
  float x = 0, y = 0;
  for (const float degrees : {-50.0f, -20.0f, 10.0f, 40.0f, 55.0f}) {
    const double pixels = 0.8 * 1000 * degrees * M_PI / 180;
    ASSERT_TRUE(m.LatLonToPixelF(degrees, 0, x, y));
    EXPECT_NEAR(x, 500 + pixels, 1e-3);
    EXPECT_NEAR(y, 500, 1e-3);
    ASSERT_TRUE(m.LatLonToPixelF(0, degrees, x, y));
    EXPECT_NEAR(x, 500, 1e-3);
    EXPECT_NEAR(y, 500 - pixels, 1e-3);
  }
  EXPECT_FALSE(m.LatLonToPixelF(61, 0, x, y));
}

TEST(ProjectionEdgeCase, FittedScalesFollowTheLatitudeSpan)
{
  // Azimuthal kinds fit the chord of the span through the centre to the
  // height: 2 sin(span / 2) widths at height / width.
  TMapping m;
  m.SetKind(pkOrthographic);
  m.SetWidth(1000);
  m.SetHeight(600);
  m.SetCentreLat(30);
  m.SetLatSpan(60);
  EXPECT_NEAR(m.Scale(), 0.6 / (2 * std::sin(30 * M_PI / 180)), 1e-6);
  // Polar stereographic fits the span along the central meridian.
  TMapping p;
  Polar(p, 70, 800, 800);
  p.SetLatSpan(40);
  int x = 0, y = 0;
  float fx = 0, fy = 0;
  ASSERT_TRUE(p.LatLonToPixelF(-45, 50, fx, fy));
  EXPECT_NEAR(fy, 800, 1e-3);
  ASSERT_TRUE(p.LatLonToPixelF(-45, 90, fx, fy));
  EXPECT_NEAR(fy, 0, 1e-3);
  ASSERT_TRUE(p.LatLonToPixel(-45, 70, x, y));
  // Great circle: span of latitude over the height in radians.
  TMapping g;
  g.SetKind(pkGreatCircle);
  g.SetWidth(1000);
  g.SetHeight(500);
  g.SetLatSpan(90);
  EXPECT_NEAR(g.Scale(), 0.5 / (M_PI / 2), 1e-6);
  g.SetLatSpan(0);
  EXPECT_NEAR(g.Scale(), 0.5 / (2 * M_PI), 1e-6);
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
}

TEST(ProjectionEdgeCase, FailedRecomputeKeepsTheLastConsistentConstants)
{
  // A zero latitude span makes the zoomed Mercator slope 0/0.
  TMapping m;
  m.SetKind(pkMercatorZoomed);
  m.SetWidth(600);
  m.SetHeight(400);
  m.SetLonSpan(60);
  m.SetLatSpan(40);
  m.SetCentreLat(50);
  int x0 = 0, y0 = 0;
  ASSERT_TRUE(m.LatLonToPixel(0, 50, x0, y0));
  m.SetLatSpan(0);
  m.SetLatSpan(40);
  int x1 = 0, y1 = 0;
  ASSERT_TRUE(m.LatLonToPixel(0, 50, x1, y1));
  EXPECT_EQ(x0, x1);
  EXPECT_EQ(y0, y1);
  // Standard parallels at the pole give no cone: the last cone stays.
  TMapping conic;
  conic.SetKind(pkLambertConformal);
  conic.SetWidth(800);
  conic.SetHeight(600);
  conic.SetCentreLat(45);
  float before = 0, after = 0, y = 0;
  ASSERT_TRUE(conic.LatLonToPixelF(20, 50, before, y));
  conic.SetStdParallel1(90);
  conic.SetStdParallel2(90);
  ASSERT_TRUE(conic.LatLonToPixelF(20, 50, after, y));
  EXPECT_EQ(before, after);
}

TEST(ProjectionEdgeCase, CopyTakesEverySettingAndStaysIndependent)
{
  TMapping source;
  source.SetKind(pkLambertConformal);
  source.SetWidth(900);
  source.SetHeight(700);
  source.SetCentreLon(12);
  source.SetCentreLat(45);
  source.SetStdParallel1(30);
  source.SetStdParallel2(60);
  source.SetXOffset(-14);
  source.SetYOffsetF(2.25f);
  source.SetRotation(5);
  source.SetZoomRegion(3);

  TMapping copy;
  copy.Assign(source);
  EXPECT_EQ(copy.Kind(), pkLambertConformal);
  EXPECT_EQ(copy.StdParallel1(), 30);  // not the 45 that the centre implies
  EXPECT_EQ(copy.StdParallel2(), 60);
  EXPECT_EQ(copy.XOffset(), -14);
  EXPECT_EQ(copy.YOffsetF(), 2.25f);
  EXPECT_EQ(copy.Rotation(), 5);
  EXPECT_EQ(copy.ZoomRegion(), 3);
  for (const float lon : {0.0f, 12.0f, 30.0f}) {
    float ex = 0, ey = 0, x = 0, y = 0;
    ASSERT_TRUE(source.LatLonToPixelF(lon, 50, ex, ey));
    ASSERT_TRUE(copy.LatLonToPixelF(lon, 50, x, y));
    EXPECT_EQ(x, ex);
    EXPECT_EQ(y, ey);
  }
  source.SetCentreLon(-80);
  EXPECT_EQ(copy.CentreLon(), 12);

  // The zoomed cylindrical kind clears its centre longitude on SetKind;
  // the copy must still take the source's.
  TMapping window;
  window.SetKind(pkCylindricalZoomed);
  window.SetCentreLon(33);
  TMapping windowCopy;
  windowCopy.Assign(window);
  EXPECT_EQ(windowCopy.CentreLon(), 33);
  windowCopy.Assign(windowCopy);
  EXPECT_EQ(windowCopy.CentreLon(), 33);
}

TEST(ProjectionEdgeCase, OffsetsAreRoundedHalfToEvenWhenRead)
{
  TMapping m;
  m.SetXOffsetF(2.5f);
  m.SetYOffsetF(-3.5f);
  EXPECT_EQ(m.XOffset(), 2);
  EXPECT_EQ(m.YOffset(), -4);
}

TEST(ProjectionEdgeCase, DrawExtentsCoverTheLargerSide)
{
  TMapping m;
  m.SetWidth(760);
  m.SetHeight(1120);
  EXPECT_EQ(m.GetDrawHeight(), 1120);
  EXPECT_EQ(m.GetDrawWidth(), 760);
  m.SetHeight(700);
  EXPECT_EQ(m.GetDrawHeight(), 760);
}

TEST(ProjectionEdgeCase, VanDerGrintenZoomRegionsCentreTheirPart)
{
  // Regions 1-4 are quarters, 5-13 ninths, row by row from the top left;
  // each round-trips and brings its own middle to the picture's middle.
  TMapping whole;
  whole.SetKind(pkVanDerGrinten);
  whole.SetWidth(900);
  whole.SetHeight(600);
  const double quarterX[] = {225, 675, 225, 675}, quarterY[] = {150, 150, 450, 450};
  for (int region = 1; region <= 13; ++region) {
    TMapping m;
    m.SetKind(pkVanDerGrinten);
    m.SetWidth(900);
    m.SetHeight(600);
    m.SetZoomRegion(region);
    const double mx = region <= 4 ? quarterX[region - 1] : 150 + 300 * ((region - 5) % 3);
    const double my = region <= 4 ? quarterY[region - 1] : 100 + 200 * ((region - 5) / 3);
    // The point drawn at the region's middle in the whole picture...
    float lon = 0, lat = 0;
    ASSERT_TRUE(whole.PixelToLatLon(static_cast<int>(mx), static_cast<int>(my), lon, lat)) << region;
    float x = 0, y = 0;
    ASSERT_TRUE(m.LatLonToPixelF(lon, lat, x, y)) << region;
    EXPECT_NEAR(x, 450, 0.01) << region;
    EXPECT_NEAR(y, 300, 0.01) << region;
    float backLon = 0, backLat = 0;
    ASSERT_TRUE(m.PixelToLatLon(450, 300, backLon, backLat)) << region;
    EXPECT_NEAR(backLon, lon, 1e-3) << region;
    EXPECT_NEAR(backLat, lat, 1e-3) << region;
  }
}

}  // namespace
