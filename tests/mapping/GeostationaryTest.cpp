// Geostationary full discs against PROJ's geos projection (scan angles
// about the y axis, as seen by the satellite), both ways.
#include "ProjectionReference.h"
#include "mapping/GeostationaryMapping.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>

namespace {

const double kDegToRad = std::acos(-1.0) / 180;

struct TDisc {
  const char* name;
  int columns;
  float subSatelliteLon;
};

void PrintTo(const TDisc& disc, std::ostream* os) { *os << disc.name; }

const TDisc kDiscs[] = {
  {"FullResolutionAt0", 3712, 0},
  {"FullResolutionAt41_5", 3712, 41.5f},
  {"ThirdResolutionAt0", 1237, 0},
  {"ThirdResolutionAt41_5", 1237, 41.5f},
};

class GeostationaryDisc : public ::testing::TestWithParam<TDisc> {
protected:
  void SetUp() override
  {
    const TDisc& d = GetParam();
    mapping_.SetCentreLon(d.subSatelliteLon);
    const float centre = static_cast<float>(d.columns - 1) / 2;
    mapping_.SetCentreColumn(centre);
    mapping_.SetCentreLine(centre);
    mapping_.SetDiscSize(d.columns, d.columns);
    const double heightMetres = (double{mapping_.SatDistance()} - double{mapping_.EquatorRadius()}) * 1000;
    reference_ = std::make_unique<TProjReference>(
      "+proj=geos +sweep=y +h=" + std::to_string(heightMetres) + " +a=" +
      std::to_string(double{mapping_.EquatorRadius()} * 1000) + " +b=" +
      std::to_string(double{mapping_.PolarRadius()} * 1000) + " +lon_0=" + std::to_string(d.subSatelliteLon));
    heightMetres_ = heightMetres;
  }

  // PROJ's geos plane is the scan angle times the satellite's height.
  TPlanePoint ReferencePixel(double lon, double lat) const
  {
    const TPlanePoint p = reference_->Forward(lon, lat);
    return {p.x / heightMetres_ / kDegToRad * mapping_.ColumnFactor() + mapping_.CentreColumn(),
            mapping_.CentreLine() - p.y / heightMetres_ / kDegToRad * mapping_.LineFactor()};
  }
  TGeoPoint ReferenceLatLon(double column, double line) const
  {
    const double x = (column - mapping_.CentreColumn()) / mapping_.ColumnFactor() * kDegToRad * heightMetres_;
    const double y = (mapping_.CentreLine() - line) / mapping_.LineFactor() * kDegToRad * heightMetres_;
    return reference_->Inverse(x, y);
  }

  TGeostationaryMapping mapping_;
  std::unique_ptr<TProjReference> reference_;
  double heightMetres_ = 0;
};

TEST_P(GeostationaryDisc, FullDiscConstantsFollowTheWidth)
{
  if (GetParam().columns == TGeostationaryMapping::kFullDiscColumns) {
    EXPECT_FLOAT_EQ(mapping_.ColumnFactor(), 208.16554f);
    EXPECT_FLOAT_EQ(mapping_.LineFactor(), 208.16554f);
    EXPECT_FLOAT_EQ(mapping_.CentreColumn(), 1856.0f);
    EXPECT_FLOAT_EQ(mapping_.CentreLine(), 1856.0f);
  } else {
    EXPECT_FLOAT_EQ(mapping_.ColumnFactor(), 69.38852f);
    EXPECT_FLOAT_EQ(mapping_.CentreColumn(), 618.0f);
  }
}

TEST_P(GeostationaryDisc, ForwardAgreesWithProjAndHidesTheFarSide)
{
  const double lon0 = GetParam().subSatelliteLon;
  int shown = 0, hidden = 0;
  for (double lat = -89; lat <= 89; lat += 2) {
    for (double dLon = -179; dLon <= 179; dLon += 2) {
      const double lon = lon0 + dLon;
      const TPlanePoint expected = ReferencePixel(lon, lat);
      float x = 0, y = 0;
      const bool visible = mapping_.LatLonToPixelF(static_cast<float>(lon), static_cast<float>(lat), x, y);
      if (std::isnan(expected.x)) {
        EXPECT_FALSE(visible) << lon << "," << lat;
        ++hidden;
        continue;
      }
      ASSERT_TRUE(visible) << lon << "," << lat;
      ASSERT_NEAR(x, expected.x, 0.01) << lon << "," << lat;
      ASSERT_NEAR(y, expected.y, 0.01) << lon << "," << lat;
      int ix = 0, iy = 0;
      ASSERT_TRUE(mapping_.LatLonToPixel(static_cast<float>(lon), static_cast<float>(lat), ix, iy));
      ASSERT_NEAR(ix, expected.x, 0.5 + 0.01);
      ASSERT_NEAR(iy, expected.y, 0.5 + 0.01);
      ++shown;
    }
  }
  EXPECT_GT(shown, 1000);
  EXPECT_GT(hidden, 1000);
}

TEST_P(GeostationaryDisc, ReadOutAgreesWithProjAndFailsOffTheDisc)
{
  const int size = GetParam().columns;
  int onDisc = 0, offDisc = 0;
  for (int line = 0; line < size; line += size / 41) {
    for (int column = 0; column < size; column += size / 41) {
      const TGeoPoint expected = ReferenceLatLon(column, line);
      float lon = 1000, lat = 1000;
      const bool found = mapping_.PixelToLatLon(column, line, lon, lat);
      if (std::isnan(expected.lon)) {
        EXPECT_FALSE(found) << column << "," << line;
        EXPECT_EQ(lon, mapping_.CentreLon());
        EXPECT_EQ(lat, mapping_.CentreLat());
        ++offDisc;
        continue;
      }
      ASSERT_TRUE(found) << column << "," << line;
      EXPECT_NEAR(lat, expected.lat, 1e-3) << column << "," << line;
      EXPECT_NEAR(std::remainder(lon - expected.lon, 360.0), 0, 1e-3) << column << "," << line;
      EXPECT_GE(lon, -180);
      EXPECT_LT(lon, 180);
      ++onDisc;
    }
  }
  EXPECT_GT(onDisc, 500);
  EXPECT_GT(offDisc, 100);
}

TEST_P(GeostationaryDisc, SubSatellitePointIsTheCentrePixel)
{
  const TDisc& d = GetParam();
  // 1856 for the full disc, whose constants are fixed; the middle otherwise.
  const int centre = static_cast<int>(mapping_.CentreColumn());
  ASSERT_EQ(centre, d.columns == 3712 ? 1856 : 618);
  int x = 0, y = 0;
  ASSERT_TRUE(mapping_.LatLonToPixel(d.subSatelliteLon, 0, x, y));
  EXPECT_EQ(x, centre);
  EXPECT_EQ(y, centre);
  float lon = 1000, lat = 1000;
  ASSERT_TRUE(mapping_.PixelToLatLon(centre, centre, lon, lat));
  EXPECT_NEAR(lon, d.subSatelliteLon, 1e-4);
  EXPECT_NEAR(lat, 0, 1e-4);
  // A quarter turn east of the satellite is on the limb's far side.
  EXPECT_FALSE(mapping_.LatLonToPixel(d.subSatelliteLon + 90, 0, x, y));
  // The picture's corners are space.
  EXPECT_FALSE(mapping_.PixelToLatLon(0, 0, lon, lat));
  EXPECT_FALSE(mapping_.PixelToLatLon(d.columns - 1, d.columns - 1, lon, lat));
}

INSTANTIATE_TEST_SUITE_P(Discs, GeostationaryDisc, ::testing::ValuesIn(kDiscs),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Geostationary, DefaultsPutTheOriginOnTheCentreAndHideNinetyEast)
{
  TGeostationaryMapping mapping;
  mapping.SetCentreColumn(600);
  mapping.SetCentreLine(500);
  mapping.SetWidth(1237);
  mapping.SetHeight(1237);
  float x = 0, y = 0;
  ASSERT_TRUE(mapping.GeoToPixelScaled(0, 0, x, y));
  EXPECT_EQ(x, 600);
  EXPECT_EQ(y, 500);
  EXPECT_FALSE(mapping.GeoToPixelScaled(90, 0, x, y));
  EXPECT_EQ(mapping.Kind(), pkUnknown);
  EXPECT_TRUE(mapping.CanDraw());
  EXPECT_EQ(mapping.GraticuleKind(), pkOrthographic);
  EXPECT_FLOAT_EQ(mapping.PixelScale(), 1.0f);
  EXPECT_NEAR(mapping.Flattening(), 1 - 6356.584 / 6378.169, 1e-7);
}

TEST(Geostationary, RadiiSettersRecomputeTheFlattening)
{
  TGeostationaryMapping mapping;
  mapping.SetEquatorRadius(6378.137f);
  mapping.SetPolarRadius(6356.752f);
  EXPECT_NEAR(mapping.Flattening(), 1 - 6356.752 / 6378.137, 1e-7);
}

TEST(Geostationary, PixelScaleAndOffsetsApplyBothWays)
{
  TGeostationaryMapping mapping;
  mapping.SetCentreColumn(618);
  mapping.SetCentreLine(618);
  mapping.SetDiscSize(1237, 1237);
  mapping.SetPixelScale(2);
  mapping.SetXOffset(10);
  mapping.SetYOffset(-4);
  EXPECT_EQ(mapping.GetDrawWidth(), 2474);
  EXPECT_EQ(mapping.GetDrawHeight(), 2474);
  int x = 0, y = 0;
  ASSERT_TRUE(mapping.LatLonToPixel(0, 0, x, y));
  EXPECT_EQ(x, 2 * 618 + 10);
  EXPECT_EQ(y, 2 * 618 + 4);
  float lon = 0, lat = 0;
  ASSERT_TRUE(mapping.LatLonToPixel(12.5f, 47.25f, x, y));
  ASSERT_TRUE(mapping.PixelToLatLon(x, y, lon, lat));
  EXPECT_NEAR(lon, 12.5f, 0.1);
  EXPECT_NEAR(lat, 47.25f, 0.1);
}

TEST(Geostationary, GridValuesConvertToLongitudeAndCentre)
{
  EXPECT_FLOAT_EQ(TGeostationaryMapping::SubSatelliteLonFromGrid(41500000), 41.5f);
  EXPECT_FLOAT_EQ(TGeostationaryMapping::SubSatelliteLonFromGrid(-3400000), -3.4f);
  EXPECT_FLOAT_EQ(TGeostationaryMapping::SubSatelliteLonFromGrid(57), 57.0f);
  EXPECT_FLOAT_EQ(TGeostationaryMapping::SubSatelliteLonFromGrid(63), 63.0f);
  EXPECT_FLOAT_EQ(TGeostationaryMapping::SubSatelliteLonFromGrid(0), 0.0f);
  EXPECT_FLOAT_EQ(TGeostationaryMapping::CentreFromGrid(1857000, 3712, false), 1856.0f);
  EXPECT_FLOAT_EQ(TGeostationaryMapping::CentreFromGrid(1857000, 3712, true), 1855.0f);
  EXPECT_FLOAT_EQ(TGeostationaryMapping::CentreFromGrid(619500, 1237, false), 618.5f);
}

TEST(Geostationary, CopiesKeepTheSatelliteViewOnlyInTheirOwnClass)
{
  TGeostationaryMapping source;
  source.SetCentreLon(41.5f);
  source.SetCentreColumn(1856);
  source.SetCentreLine(1856);
  source.SetDiscSize(3712, 3712);
  source.SetPixelScale(0.5f);
  source.SetXOffset(3);

  TGeostationaryMapping copy;
  copy.Assign(source);
  const auto clone = source.Clone();
  for (const TMapping* m : {static_cast<const TMapping*>(&copy), static_cast<const TMapping*>(clone.get())}) {
    for (const auto& p : {TGeoPoint{41.5, 0}, TGeoPoint{20, 30}, TGeoPoint{60, -45}}) {
      int ex = 0, ey = 0, x = 0, y = 0;
      ASSERT_TRUE(source.LatLonToPixel(static_cast<float>(p.lon), static_cast<float>(p.lat), ex, ey));
      ASSERT_TRUE(m->LatLonToPixel(static_cast<float>(p.lon), static_cast<float>(p.lat), x, y));
      EXPECT_EQ(x, ex);
      EXPECT_EQ(y, ey);
    }
    EXPECT_EQ(m->GetDrawWidth(), 1856);
  }
  // A plain mapping takes only the base settings: kind 0, nothing drawn.
  TMapping plain;
  plain.Assign(source);
  EXPECT_EQ(plain.Kind(), pkUnknown);
  EXPECT_FALSE(plain.CanDraw());
  EXPECT_EQ(plain.Width(), 3712);
  EXPECT_EQ(plain.XOffset(), 3);
}

}  // namespace
