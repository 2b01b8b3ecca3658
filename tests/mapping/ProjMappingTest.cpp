// The PROJ-backed mapping: its radius table stands in for PROJ without
// moving a pixel, its frame and zoom place the grid, and copies keep it.
#include <gtest/gtest.h>

#include <cmath>

#include "mapping/ProjGrids.h"
#include "mapping/ProjMapping.h"
#include "mapping/ProjectionReference.h"

namespace {

struct TPolarCase {
  const char* definition;
  double centreLon;
  bool southern;
};

// Polar stereographic on the sphere and on the Hughes ellipsoid, and the
// EASE2 equal-area grids, both hemispheres.
const TPolarCase kPolarCases[] = {
  {"+proj=stere +lat_0=90 +lat_ts=60 +lon_0=-45 +R=6367470", -45, false},
  {"+proj=stere +lat_0=90 +lat_ts=70 +lon_0=-45 +a=6378273 +b=6356889.449", -45, false},
  {"+proj=stere +lat_0=-90 +lat_ts=-70 +lon_0=0 +a=6378273 +b=6356889.449", 0, true},
  {"+proj=laea +lat_0=90 +lon_0=0 +ellps=WGS84", 0, false},
  {"+proj=laea +lat_0=-90 +lon_0=0 +ellps=WGS84", 0, true},
};

class PolarTable : public testing::TestWithParam<TPolarCase> {};

TEST_P(PolarTable, RadiusTableAgreesWithProjEverywhereOnAHemisphere) {
  const TPolarCase& c = GetParam();
  auto mapping = TProjMapping::Create(c.definition, TPolarAxis{c.centreLon, c.southern});
  ASSERT_TRUE(mapping);
  ASSERT_TRUE(mapping->UsesRadiusTable());
  const TProjReference proj(c.definition);
  const double sign = c.southern ? -1 : 1;
  for (double lat = 89.99; lat > -30; lat -= 3.7) {
    for (double lon = -180; lon < 180; lon += 17.3) {
      double x = 0, y = 0, backLon = 0, backLat = 0;
      ASSERT_TRUE(mapping->ToPlane(lon, sign * lat, x, y));
      const TPlanePoint expected = proj.Forward(lon, sign * lat);
      EXPECT_NEAR(x, expected.x, 0.01) << lat << ", " << lon;
      EXPECT_NEAR(y, expected.y, 0.01) << lat << ", " << lon;
      ASSERT_TRUE(mapping->FromPlane(expected.x, expected.y, backLon, backLat));
      EXPECT_NEAR(backLat, sign * lat, 1e-7);
      EXPECT_NEAR(std::remainder(backLon - lon, 360.0), 0, 1e-6 / std::cos(lat * M_PI / 180));
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Projections, PolarTable, testing::ValuesIn(kPolarCases));

TEST(ProjMapping, TableIsRefusedForAProjectionNotCentredOnThePole) {
  // Claimed polar, but centred on 60N: PROJ itself computes every point.
  auto mapping = TProjMapping::Create("+proj=stere +lat_0=60 +lon_0=0 +R=6371000", TPolarAxis{0, false});
  ASSERT_TRUE(mapping);
  EXPECT_FALSE(mapping->UsesRadiusTable());
}

TEST(ProjMapping, RefusesWhatIsNotAProjection) {
  std::string error;
  EXPECT_FALSE(TProjMapping::Create("+proj=nonsense", std::nullopt, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(TProjMapping::Create("+proj=longlat +ellps=WGS84", std::nullopt, &error));
  EXPECT_FALSE(PolarStereographicMapping(TEarth::Sphere(100), 60, 0, false, &error));
  EXPECT_FALSE(PolarStereographicMapping(TEarth::Sphere(6371000), -60, 0, false, &error));
  EXPECT_FALSE(LambertConformalMapping(TEarth::Sphere(6371000), 30, -30, 0, &error));
}

// A 2 x 2 block per grid point: the zoomed display doubles the size and
// shifts by half a doubled pixel, as it does for every mapping.
TEST(ProjMapping, FramePlacesTheFirstPointAndZoomScalesCells) {
  auto mapping = PolarStereographicMapping(TEarth::Ellipsoid(6378273, 6356889.449), 70, -45, false, nullptr);
  ASSERT_TRUE(mapping);
  ASSERT_TRUE(mapping->PlacePoint(-80.73, 33.972, 0, 1119, 10000, 10000, 760, 1120));
  float x = 0, y = 0;
  ASSERT_TRUE(mapping->LatLonToPixelF(-80.73f, 33.972f, x, y));
  EXPECT_NEAR(x, 0, 1e-3);
  EXPECT_NEAR(y, 1119, 1e-3);
  float lon = 0, lat = 0;
  ASSERT_TRUE(mapping->PixelToLatLon(400, 300, lon, lat));

  const auto zoomed = mapping->Clone();
  zoomed->SetWidth(2 * mapping->GetWidth());
  zoomed->SetHeight(2 * mapping->GetHeight());
  zoomed->SetXOffsetF(2 * mapping->XOffsetF() + 0.5f);
  zoomed->SetYOffsetF(2 * mapping->YOffsetF() - 0.5f);
  float zx = 0, zy = 0;
  ASSERT_TRUE(zoomed->LatLonToPixelF(lon, lat, zx, zy));
  EXPECT_NEAR(zx, 800.5, 1e-2);
  EXPECT_NEAR(zy, 600.5, 1e-2);
}

TEST(ProjMapping, CloneAndAssignIntoAProjMappingKeepTheProjection) {
  auto mapping = LambertConformalMapping(TEarth::Sphere(6367470), 30, 60, -10, nullptr);
  ASSERT_TRUE(mapping);
  ASSERT_TRUE(mapping->PlacePoint(-30, 20, 0, 39, 40000, 40000, 50, 40));
  const auto copy = mapping->Clone();
  TProjMapping assigned;
  assigned.Assign(*mapping);
  for (const auto& [x, y] : {std::pair{0, 0}, std::pair{49, 39}, std::pair{25, 17}}) {
    float lon = 0, lat = 0, lonCopy = 0, latCopy = 0, lonAssigned = 0, latAssigned = 0;
    ASSERT_TRUE(mapping->PixelToLatLon(x, y, lon, lat));
    ASSERT_TRUE(copy->PixelToLatLon(x, y, lonCopy, latCopy));
    ASSERT_TRUE(assigned.PixelToLatLon(x, y, lonAssigned, latAssigned));
    EXPECT_EQ(lon, lonCopy);
    EXPECT_EQ(lat, latCopy);
    EXPECT_EQ(lon, lonAssigned);
    EXPECT_EQ(lat, latAssigned);
  }
  EXPECT_EQ(copy->Kind(), pkLambertConformal);
}

}  // namespace
