// Placing a projected grid in its picture by its first grid point.
#include "mapping/GridPlacement.h"
#include "mapping/Mapping.h"

#include <gtest/gtest.h>

namespace {

constexpr int kColumns = 760;
constexpr int kRows = 1120;

// A northern 10 km sea-ice grid before placement.
void ConfigureNorthernGrid(TMapping& mapping)
{
  mapping.SetKind(pkPolarStereographic);
  mapping.SetCentreLon(-45);
  mapping.SetCentreLat(60);
  mapping.SetHeight(700);
  mapping.SetWidth(kColumns);
  mapping.SetLatSpan(0);
}

// A conic grid as the conic reader sets it up before placement.
void ConfigureConicGrid(TMapping& mapping)
{
  mapping.SetKind(pkLambertConformal);
  mapping.SetCentreLon(-95);
  mapping.SetCentreLat(37.5f);
  mapping.SetStdParallel1(25);
  mapping.SetStdParallel2(50);
  mapping.SetWidth(kColumns);
  mapping.SetHeight(kRows);
}

TEST(Placement, FirstGridPointLandsOnBottomLeftOrTopLeftPixel)
{
  struct TCase {
    void (*configure)(TMapping&);
    float lon, lat;
    bool topDown;
    int expectedRow;
  };
  const TCase cases[] = {
    {ConfigureNorthernGrid, 168.35f, 30.98f, false, kRows - 1},
    {ConfigureNorthernGrid, 168.35f, 30.98f, true, 0},
    {ConfigureConicGrid, -133.46f, 12.19f, false, kRows - 1},
    {ConfigureConicGrid, -133.46f, 12.19f, true, 0},
  };
  for (const TCase& c : cases) {
    TMapping mapping;
    c.configure(mapping);
    mapping.SetXOffset(17);  // stale offsets must not leak into the placement
    mapping.SetYOffset(-5);
    ASSERT_TRUE(PlaceFirstGridPoint(mapping, c.lon, c.lat, kRows, c.topDown));
    int x = -1, y = -1;
    float fx = -1, fy = -1;
    mapping.LatLonToPixel(c.lon, c.lat, x, y);
    mapping.LatLonToPixelF(c.lon, c.lat, fx, fy);
    EXPECT_EQ(x, 0) << mapping.Kind();
    EXPECT_EQ(y, c.expectedRow) << mapping.Kind();
    EXPECT_NEAR(fx, 0, 1e-3);
    EXPECT_NEAR(fy, c.expectedRow, 1e-3);
  }
}

TEST(Placement, PointBetweenPixelCentresDoesNotShiftTheGridByHalfAPixel)
{
  // The unplaced pole of this mapping sits half a pixel off a pixel centre,
  // so a rounded placement would move every grid point by half a pixel.
  TMapping mapping;
  ConfigureNorthernGrid(mapping);
  float poleX = 0, poleY = 0;
  ASSERT_TRUE(mapping.LatLonToPixelF(0, 90, poleX, poleY));
  ASSERT_NEAR(poleY - static_cast<float>(static_cast<int>(poleY)), 0.5, 1e-3);

  ASSERT_TRUE(PlaceFirstGridPoint(mapping, 0, 90, kRows, true));
  float x = -1, y = -1;
  mapping.LatLonToPixelF(0, 90, x, y);
  EXPECT_NEAR(x, 0, 1e-4);
  EXPECT_NEAR(y, 0, 1e-4);
  // The offsets survive a copy into the display mapping unrounded.
  TMapping display;
  display.Assign(mapping);
  display.LatLonToPixelF(0, 90, x, y);
  EXPECT_NEAR(x, 0, 1e-4);
  EXPECT_NEAR(y, 0, 1e-4);
}

TEST(Placement, RefusedWhenTheFirstPointHasNoPosition)
{
  TMapping mapping;  // kind 0 shows nothing
  mapping.SetHeight(10);
  mapping.SetWidth(10);
  mapping.SetXOffset(3);
  EXPECT_FALSE(PlaceFirstGridPoint(mapping, 10, 10, 10, false));
  EXPECT_EQ(mapping.XOffsetF(), 0);
  EXPECT_EQ(mapping.YOffsetF(), 0);
}

}  // namespace
