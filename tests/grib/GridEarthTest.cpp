// The earth of an edition 2 grid from its shape code, radius and axes.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "grib/GridEarth.h"

namespace {

// Octets 1 to 30 of a grid section: shape (15), radius (16-20), major (21-25), minor (26-30).
std::vector<std::uint8_t> Section(unsigned shape, std::array<std::uint8_t, 5> radius,
                                  std::array<std::uint8_t, 5> major, std::array<std::uint8_t, 5> minor) {
  std::vector<std::uint8_t> s(30, 0);
  s[14] = static_cast<std::uint8_t>(shape);
  std::copy(radius.begin(), radius.end(), s.begin() + 15);
  std::copy(major.begin(), major.end(), s.begin() + 20);
  std::copy(minor.begin(), minor.end(), s.begin() + 25);
  return s;
}

constexpr std::array<std::uint8_t, 5> kNone{0, 0, 0, 0, 0};
constexpr std::array<std::uint8_t, 5> kMissing{0xFF, 0xFF, 0xFF, 0xFF, 0xFF};

struct TShapeCase {
  unsigned shape;
  std::array<std::uint8_t, 5> radius, major, minor;
  bool ok;
  double a, b;
};

const TShapeCase kCases[] = {
  {0, kNone, kNone, kNone, true, 6367470, 6367470},
  {1, {0, 0x00, 0x61, 0x37, 0x4D}, kNone, kNone, true, 6371149, 6371149},
  {1, kMissing, kNone, kNone, false, 0, 0},
  {2, kNone, kNone, kNone, true, 6378160, 6356775},
  // Hughes 1980 in kilometres with three decimals (shape 3; in metres, shape 7, the geometry grids use).
  {3, kNone, {3, 0x00, 0x61, 0x53, 0x21}, {3, 0x00, 0x60, 0xFF, 0x99}, true, 6378273, 6356889},
  {7, kNone, kMissing, kNone, false, 0, 0},
  // A radius of 6371 m is a misread, not an earth.
  {1, {0, 0x00, 0x00, 0x18, 0xE3}, kNone, kNone, false, 0, 0},
  {10, kNone, kNone, kNone, false, 0, 0},
  {255, kNone, kNone, kNone, false, 0, 0},
};

TEST(GridEarth, Edition2ShapesGiveTheirFigureOrARefusal) {
  for (const TShapeCase& c : kCases) {
    SCOPED_TRACE(testing::Message() << "shape " << c.shape);
    const std::vector<std::uint8_t> bytes = Section(c.shape, c.radius, c.major, c.minor);
    TEarth earth;
    std::string why;
    ASSERT_EQ(Grib2Earth(TOctets(bytes), earth, why), c.ok) << why;
    if (c.ok) {
      EXPECT_NEAR(earth.a, c.a, 1e-6);
      EXPECT_NEAR(earth.b, c.b, 1e-6);
    } else {
      EXPECT_FALSE(why.empty());
    }
  }
}

TEST(GridEarth, Edition1FlagChoosesTheOblateEarth) {
  // Flags 0 and 0x40 alone are in the geometry grids.
  EXPECT_TRUE(Grib1Earth(0x80).IsSphere());
  EXPECT_EQ(Grib1Earth(0x48).b, 6356775);
}

}  // namespace
