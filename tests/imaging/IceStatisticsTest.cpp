// Extent and area of a concentration field: the cell areas against PROJ's
// areal scale at every kind of cell, and which class codes count for what.
// Whole sample files are summed against pyproj and numpy elsewhere.
#include <gtest/gtest.h>

#include <vector>

#include "imaging/CellAreas.h"
#include "imaging/IceStatistics.h"
#include "mapping/Earth.h"
#include "mapping/ProjGrids.h"
#include "mapping/ProjMapping.h"

namespace {

constexpr std::uint8_t kMissing = 103;

struct TPolarGrid {
  const char* name;
  TEarth earth;
  bool southern;
  double trueLat, centreLon;
  int columns, rows;
  double left, top;  // outer corner of the top-left cell, metres
};

// The products' 10 km grids on the Hughes ellipsoid, and the northern grid
// on a sphere.
const TPolarGrid kGrids[] = {
  {"north Hughes", TEarth::Ellipsoid(6378273, 6356889.449), false, 70, -45, 760, 1120, -3850000, 5850000},
  {"south Hughes", TEarth::Ellipsoid(6378273, 6356889.449), true, -70, 0, 790, 830, -3950000, 4350000},
  {"north sphere", TEarth::Sphere(6371000), false, 60, -45, 760, 1120, -3850000, 5850000},
};

std::unique_ptr<TProjMapping> GridMapping(const TPolarGrid& g)
{
  auto mapping = PolarStereographicMapping(g.earth, g.trueLat, g.centreLon, g.southern, nullptr);
  if (mapping)
    mapping->SetFrame({g.left + 5000, g.top - 5000, 10000, 10000, g.columns, g.rows});
  return mapping;
}

class PolarGridTable : public testing::TestWithParam<TPolarGrid> {};

// The blended table against PROJ's own factor at cells inside lattice
// squares, on lattice lines and in the last, narrower squares.
TEST_P(PolarGridTable, BlendedCellAreasMatchProjAtEveryKindOfCell)
{
  const TPolarGrid& g = GetParam();
  const auto mapping = GridMapping(g);
  ASSERT_TRUE(mapping);
  const auto areas = TCellAreas::Compute(*mapping);
  ASSERT_TRUE(areas);
  for (int r : {0, 3, 8, 385, 561, g.rows - 2, g.rows - 1}) {
    for (int c : {0, 5, 16, 383, 384, g.columns - 3, g.columns - 1}) {
      double lon = 0, lat = 0, scale = 0;
      ASSERT_TRUE(mapping->FromPlane(g.left + 5000 + c * 10000.0, g.top - 5000 - r * 10000.0, lon, lat));
      ASSERT_TRUE(mapping->ArealScale(lon, lat, scale));
      EXPECT_NEAR(areas->At(c, r), 100 / scale, 100 / scale * 1e-6) << g.name << " cell " << c << ", " << r;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Grids, PolarGridTable, testing::ValuesIn(kGrids));

// One cell of 2 km² with each code; an overlay colour never counts.
TEST(IceStatistics, EachCodeCountsForWhatItMeans)
{
  const struct {
    int code;
    double extentKm2, areaKm2;
    int ocean, holes;
  } cases[] = {
      {0, 0, 0, 1, 0},   {14, 0, 0, 1, 0},                     {15, 2, 0.3, 1, 0},     {57, 2, 1.14, 1, 0},
      {100, 2, 2, 1, 0}, {kConcentrationLandCode, 0, 0, 0, 0}, {kMissing, 0, 0, 1, 1}, {102, 0, 0, 0, 0},
  };
  for (const auto& c : cases) {
    const std::vector<std::uint8_t> codes{static_cast<std::uint8_t>(c.code)};
    const std::vector<float> km2{2.0f};
    const TIceStatistics s = ComputeIceStatistics(codes, km2, kMissing);
    EXPECT_NEAR(s.ExtentKm2, c.extentKm2, 1e-6) << c.code;
    EXPECT_NEAR(s.AreaKm2, c.areaKm2, 1e-6) << c.code;
    EXPECT_EQ(s.OceanCells, c.ocean) << c.code;
    EXPECT_EQ(s.HoleCells, c.holes) << c.code;
  }
}

}  // namespace
