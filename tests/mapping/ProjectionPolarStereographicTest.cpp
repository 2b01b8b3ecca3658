// The sea-ice and SST grids: kind 9 configured the way the GRIB reader does
// it, placed by its first grid point, checked against PROJ's spherical polar
// stereographic projection with the true-scale latitude and radius that the
// 700 and 728 height units stand for.
#include "ProjectionReference.h"
#include "mapping/GridPlacement.h"
#include "mapping/Mapping.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <ostream>
#include <string>

namespace {

constexpr double kCellMetres = 10000;

struct TPolarGrid {
  const char* name;
  float centreLat;     // +60 or -60, as the reader sets it
  float orientation;   // central meridian of the grid
  int heightUnit;      // 700 or 728 at 10 km cells
  double trueLat;      // latitude of true scale that unit stands for
  double radiusKm;     // sphere that unit stands for
  int columns, rows;
  double leftKm, rightKm, topKm, bottomKm;  // outer edges of the grid
};

const TPolarGrid kGrids[] = {
  {"NorthTrueAt60", 60, -45, 700, 60, 6377, 760, 1120, -3850, 3750, 5850, -5350},
  {"NorthTrueAt70", 60, -45, 728, 70, 6380, 760, 1120, -3850, 3750, 5850, -5350},
  {"SouthTrueAt60", -60, 0, 700, 60, 6377, 790, 830, -3950, 3950, 4350, -3950},
  {"SouthTrueAt70", -60, 0, 728, 70, 6380, 790, 830, -3950, 3950, 4350, -3950},
};

void PrintTo(const TPolarGrid& grid, std::ostream* os) { *os << grid.name; }

// Agreement of the unrounded pixel position with PROJ; covers the few
// hundredths of a pixel by which the stated radii are rounded to a km.
constexpr double kPixelTolerance = 0.1;

class PolarStereographicGrid : public ::testing::TestWithParam<TPolarGrid> {
protected:
  void SetUp() override
  {
    const TPolarGrid& g = GetParam();
    const double pole = g.centreLat > 0 ? 90 : -90;
    reference_ = std::make_unique<TProjReference>(
      "+proj=stere +lat_0=" + std::to_string(pole) + " +lat_ts=" + std::to_string(g.centreLat > 0 ? g.trueLat : -g.trueLat) +
      " +lon_0=" + std::to_string(g.orientation) + " +R=" + std::to_string(g.radiusKm * 1000));
    mapping_.SetKind(pkPolarStereographic);
    mapping_.SetCentreLon(g.orientation);
    mapping_.SetCentreLat(g.centreLat);
    mapping_.SetHeight(g.heightUnit);
    mapping_.SetWidth(g.columns);
    mapping_.SetXOffset(0);
    mapping_.SetLatSpan(0);
    const TGeoPoint first = GridPointLatLon(0, 0);
    ASSERT_TRUE(PlaceFirstGridPoint(mapping_, static_cast<float>(first.lon), static_cast<float>(first.lat), g.rows, true));
  }

  // Projected metres of the centre of cell (column, row), rows from the top.
  TPlanePoint CellCentre(double column, double row) const
  {
    const TPolarGrid& g = GetParam();
    return {g.leftKm * 1000 + (column + 0.5) * kCellMetres, g.topKm * 1000 - (row + 0.5) * kCellMetres};
  }
  TGeoPoint GridPointLatLon(double column, double row) const
  {
    const TPlanePoint p = CellCentre(column, row);
    return reference_->Inverse(p.x, p.y);
  }
  // Fractional grid position of a point by PROJ.
  TPlanePoint ReferencePixel(double lon, double lat) const
  {
    const TPolarGrid& g = GetParam();
    const TPlanePoint p = reference_->Forward(lon, lat);
    return {(p.x - g.leftKm * 1000) / kCellMetres - 0.5, (g.topKm * 1000 - p.y) / kCellMetres - 0.5};
  }

  std::unique_ptr<TProjReference> reference_;
  TMapping mapping_;
};

TEST_P(PolarStereographicGrid, GridExtentsAreSelfConsistent)
{
  const TPolarGrid& g = GetParam();
  EXPECT_DOUBLE_EQ(g.leftKm + g.columns * kCellMetres / 1000, g.rightKm);
  EXPECT_DOUBLE_EQ(g.topKm - g.rows * kCellMetres / 1000, g.bottomKm);
  // The height unit is the radius of the colatitude-90 circle over 1.7,
  // in cells: R (1 + sin(true latitude)) = 1.7 * unit * cell.
  const double impliedRadiusKm =
    1.7 * g.heightUnit * kCellMetres / 1000 / (1 + std::sin(g.trueLat * std::acos(-1.0) / 180));
  EXPECT_NEAR(impliedRadiusKm, g.radiusKm, 0.5);
}

TEST_P(PolarStereographicGrid, GridCornersLandOnTheirPixels)
{
  const TPolarGrid& g = GetParam();
  const int corners[4][2] = {{0, 0}, {g.columns - 1, 0}, {0, g.rows - 1}, {g.columns - 1, g.rows - 1}};
  for (const auto& corner : corners) {
    const TGeoPoint p = GridPointLatLon(corner[0], corner[1]);
    int x = -1, y = -1;
    float fx = 0, fy = 0;
    EXPECT_TRUE(mapping_.LatLonToPixel(static_cast<float>(p.lon), static_cast<float>(p.lat), x, y));
    ASSERT_TRUE(mapping_.LatLonToPixelF(static_cast<float>(p.lon), static_cast<float>(p.lat), fx, fy));
    EXPECT_EQ(x, corner[0]) << "corner " << corner[0] << "," << corner[1];
    EXPECT_EQ(y, corner[1]) << "corner " << corner[0] << "," << corner[1];
    EXPECT_NEAR(fx, corner[0], kPixelTolerance);
    EXPECT_NEAR(fy, corner[1], kPixelTolerance);
  }
}

TEST_P(PolarStereographicGrid, PoleLandsWhereProjPutsIt)
{
  const double poleLat = GetParam().centreLat > 0 ? 90 : -90;
  const TPlanePoint expected = ReferencePixel(0, poleLat);
  for (const float lon : {-180.0f, -45.0f, 0.0f, 90.0f}) {
    int x = 0, y = 0;
    float fx = 0, fy = 0;
    ASSERT_TRUE(mapping_.LatLonToPixelF(lon, static_cast<float>(poleLat), fx, fy));
    ASSERT_TRUE(mapping_.LatLonToPixel(lon, static_cast<float>(poleLat), x, y));
    EXPECT_NEAR(fx, expected.x, kPixelTolerance);
    EXPECT_NEAR(fy, expected.y, kPixelTolerance);
    EXPECT_NEAR(x, expected.x, 0.5 + kPixelTolerance);
    EXPECT_NEAR(y, expected.y, 0.5 + kPixelTolerance);
  }
}

TEST_P(PolarStereographicGrid, DegreeLatticeAgreesWithProj)
{
  const double sign = GetParam().centreLat > 0 ? 1 : -1;
  int checked = 0;
  for (int lat = 30; lat <= 89; ++lat) {
    for (int lon = -180; lon < 180; ++lon) {
      const TPlanePoint expected = ReferencePixel(lon, sign * lat);
      int x = 0, y = 0;
      float fx = 0, fy = 0;
      ASSERT_TRUE(mapping_.LatLonToPixelF(static_cast<float>(lon), static_cast<float>(sign * lat), fx, fy));
      ASSERT_TRUE(mapping_.LatLonToPixel(static_cast<float>(lon), static_cast<float>(sign * lat), x, y));
      ASSERT_NEAR(fx, expected.x, kPixelTolerance) << lon << "," << sign * lat;
      ASSERT_NEAR(fy, expected.y, kPixelTolerance) << lon << "," << sign * lat;
      ASSERT_NEAR(x, expected.x, 0.5 + kPixelTolerance) << lon << "," << sign * lat;
      ASSERT_NEAR(y, expected.y, 0.5 + kPixelTolerance) << lon << "," << sign * lat;
      ++checked;
    }
  }
  EXPECT_EQ(checked, 60 * 360);
}

TEST_P(PolarStereographicGrid, PixelReadOutAgreesWithProj)
{
  const TPolarGrid& g = GetParam();
  for (int row = 0; row < g.rows; row += 7) {
    for (int column = 0; column < g.columns; column += 7) {
      float lon = 0, lat = 0;
      ASSERT_TRUE(mapping_.PixelToLatLon(column, row, lon, lat));
      ASSERT_GE(lon, -180);  // printed as read, so kept within one turn
      ASSERT_LT(lon, 180);
      const TPlanePoint back = ReferencePixel(lon, lat);
      ASSERT_NEAR(back.x, column, kPixelTolerance) << column << "," << row;
      ASSERT_NEAR(back.y, row, kPixelTolerance) << column << "," << row;
    }
  }
}

TEST_P(PolarStereographicGrid, ReadOutOfAProjectedPointStaysInsideItsPixel)
{
  const double sign = GetParam().centreLat > 0 ? 1 : -1;
  for (int lat = 30; lat <= 90; lat += 2) {
    for (int lon = -180; lon <= 180; lon += 3) {
      const auto fLon = static_cast<float>(lon), fLat = static_cast<float>(sign * lat);
      int x = 0, y = 0;
      float backLon = 0, backLat = 0;
      ASSERT_TRUE(mapping_.LatLonToPixel(fLon, fLat, x, y));
      ASSERT_TRUE(mapping_.PixelToLatLon(x, y, backLon, backLat));
      const TPlanePoint p = ReferencePixel(fLon, fLat);
      const TPlanePoint q = ReferencePixel(backLon, backLat);
      ASSERT_LE(std::fabs(p.x - q.x), 0.5 + kPixelTolerance) << lon << "," << sign * lat;
      ASSERT_LE(std::fabs(p.y - q.y), 0.5 + kPixelTolerance) << lon << "," << sign * lat;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(OsiSafGrids, PolarStereographicGrid, ::testing::ValuesIn(kGrids),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
