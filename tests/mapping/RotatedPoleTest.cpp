// Rotated-pole model grids against PROJ's general oblique transformation
// (ob_tran on a longitude/latitude base), both ways.
#include "ProjectionReference.h"
#include "mapping/DwdLmeMapping.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

// A grid as a rotated-pole GRIB grid describes it: southern pole of
// rotation at (10, -32.5), rotated window -19..24 by -20..21 at 0.25 degrees.
constexpr double kSouthPoleLon = 10, kSouthPoleLat = -32.5;
constexpr double kStep = 0.25;
constexpr int kColumns = 173, kRows = 165;

void ConfigureAsReader(TDwdLmeMapping& m)
{
  m.SetCentreLon(10);
  m.SetCentreLat(50);
  m.SetLonSpan(60);
  m.SetLatSpan(40);
  m.SetWidth(kColumns);
  m.SetHeight(kRows);
  m.SetRotLatFirst(-20);
  m.SetRotLatLast(21);
  m.SetRotLonFirst(-19);
  m.SetRotLonLast(24);
  m.SetPoleLat(static_cast<float>(-kSouthPoleLat));
  m.SetPoleLon(static_cast<float>(kSouthPoleLon + 180));
}

// Geographic degrees in, rotated degrees out.
TProjReference RotationReference()
{
  return TProjReference("+proj=ob_tran +o_proj=longlat +o_lon_p=0 +o_lat_p=" + std::to_string(-kSouthPoleLat) +
                        " +lon_0=" + std::to_string(kSouthPoleLon) +
                        " +step +proj=unitconvert +xy_in=rad +xy_out=deg");
}

TEST(RotatedPole, RotationAgreesWithProjBothWays)
{
  TDwdLmeMapping m;
  ConfigureAsReader(m);
  const TProjReference reference = RotationReference();
  for (double lat = -80; lat <= 85; lat += 5) {
    for (double lon = -175; lon <= 180; lon += 5) {
      const TPlanePoint expected = reference.Forward(lon, lat);  // rotated lon, lat
      double rotLon = 0, rotLat = 0;
      m.GeoToRotated(lon, lat, rotLon, rotLat);
      ASSERT_NEAR(rotLat, expected.y, 1e-7) << lon << "," << lat;
      ASSERT_NEAR(std::remainder(rotLon - expected.x, 360.0), 0, 1e-7) << lon << "," << lat;
      double backLon = 0, backLat = 0;
      m.RotatedToGeo(rotLon, rotLat, backLon, backLat);
      const TGeoPoint geo = reference.Inverse(rotLon, rotLat);
      ASSERT_NEAR(backLat, geo.lat, 1e-7);
      ASSERT_NEAR(std::remainder(backLon - geo.lon, 360.0), 0, 1e-7);
    }
  }
}

TEST(RotatedPole, GridPointsLandOnTheirPixelsAndReadBack)
{
  TDwdLmeMapping m;
  ConfigureAsReader(m);
  const TProjReference reference = RotationReference();
  for (int row = 0; row < kRows; row += (row + 8 >= kRows && row != kRows - 1) ? kRows - 1 - row : 8) {
    for (int column = 0; column < kColumns; column += (column + 8 >= kColumns && column != kColumns - 1) ? kColumns - 1 - column : 8) {
      // Rows are stored from the first (southernmost rotated) row upward.
      const double rotLon = -19 + column * kStep, rotLat = -20 + row * kStep;
      const TGeoPoint geo = reference.Inverse(rotLon, rotLat);
      const int expectedY = kRows - 1 - row;
      float fx = 0, fy = 0;
      int x = -1, y = -1;
      ASSERT_TRUE(m.LatLonToPixelF(static_cast<float>(geo.lon), static_cast<float>(geo.lat), fx, fy));
      ASSERT_TRUE(m.LatLonToPixel(static_cast<float>(geo.lon), static_cast<float>(geo.lat), x, y));
      ASSERT_NEAR(fx, column, 0.01) << column << "," << row;
      ASSERT_NEAR(fy, expectedY, 0.01) << column << "," << row;
      ASSERT_EQ(x, column);
      ASSERT_EQ(y, expectedY);
      float lon = 0, lat = 0;
      ASSERT_TRUE(m.PixelToLatLon(column, expectedY, lon, lat));
      ASSERT_NEAR(lat, geo.lat, 1e-4);
      ASSERT_NEAR(std::remainder(lon - geo.lon, 360.0), 0, 1e-4);
    }
  }
}

TEST(RotatedPole, WindowCentreIsThePictureMiddle)
{
  TDwdLmeMapping m;
  ConfigureAsReader(m);
  EXPECT_FLOAT_EQ(m.CentreLon(), 2.5f);
  EXPECT_FLOAT_EQ(m.CentreLat(), 0.5f);
  EXPECT_FLOAT_EQ(m.LonSpan(), 43);
  EXPECT_FLOAT_EQ(m.LatSpan(), 41);
  double lon = 0, lat = 0;
  m.RotatedToGeo(m.CentreLon(), m.CentreLat(), lon, lat);
  float x = 0, y = 0;
  ASSERT_TRUE(m.LatLonToPixelF(static_cast<float>(lon), static_cast<float>(lat), x, y));
  EXPECT_NEAR(x, (kColumns - 1) / 2.0, 1e-3);
  EXPECT_NEAR(y, (kRows - 1) / 2.0, 1e-3);
}

TEST(RotatedPole, PoleLongitudeIsKeptInHalfOpenRange)
{
  struct TCase {
    float given, stored;
  };
  for (const TCase c : {TCase{190, -170}, TCase{180, -180}, TCase{-180, -180}, TCase{-190, 170}, TCase{540, -180},
                        TCase{10, 10}}) {
    TDwdLmeMapping m;
    m.SetPoleLon(c.given);
    EXPECT_FLOAT_EQ(m.PoleLon(), c.stored) << c.given;
  }
}

TEST(RotatedPole, StartsAtUnitPixelScaleAndScalesBothWays)
{
  TDwdLmeMapping m;
  ConfigureAsReader(m);
  EXPECT_FLOAT_EQ(m.PixelScale(), 1.0f);
  EXPECT_EQ(m.Kind(), pkLinearBased);
  EXPECT_TRUE(m.CanDraw());
  double lon = 0, lat = 0;
  m.RotatedToGeo(-19 + 40 * kStep, -20 + 100 * kStep, lon, lat);
  m.SetPixelScale(2);
  EXPECT_EQ(m.GetDrawWidth(), 2 * kColumns);
  EXPECT_EQ(m.GetDrawHeight(), 2 * kRows);
  int x = 0, y = 0;
  ASSERT_TRUE(m.LatLonToPixel(static_cast<float>(lon), static_cast<float>(lat), x, y));
  EXPECT_EQ(x, 80);
  EXPECT_EQ(y, 2 * (kRows - 1 - 100));
  float backLon = 0, backLat = 0;
  ASSERT_TRUE(m.PixelToLatLon(x, y, backLon, backLat));
  EXPECT_NEAR(backLon, lon, 1e-4);
  EXPECT_NEAR(backLat, lat, 1e-4);
}

TEST(RotatedPole, CopiesKeepTheRotationOnlyInTheirOwnClass)
{
  TDwdLmeMapping source;
  ConfigureAsReader(source);
  TDwdLmeMapping copy;
  copy.Assign(source);
  const auto clone = source.Clone();
  for (const TMapping* m : {static_cast<const TMapping*>(&copy), static_cast<const TMapping*>(clone.get())}) {
    for (const auto& p : {TGeoPoint{10, 50}, TGeoPoint{-5, 40}, TGeoPoint{25, 60}}) {
      int ex = 0, ey = 0, x = 0, y = 0;
      ASSERT_TRUE(source.LatLonToPixel(static_cast<float>(p.lon), static_cast<float>(p.lat), ex, ey));
      ASSERT_TRUE(m->LatLonToPixel(static_cast<float>(p.lon), static_cast<float>(p.lat), x, y));
      EXPECT_EQ(x, ex);
      EXPECT_EQ(y, ey);
    }
  }
  TMapping plain;
  plain.Assign(source);
  EXPECT_EQ(plain.Kind(), pkLinearBased);
  EXPECT_FALSE(plain.CanDraw());
}

}  // namespace
