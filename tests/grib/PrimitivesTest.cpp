// Edges of the number readers that the decoded test files never reach:
// reads past the end, and rounding of halves and NaN into colour indices.
#include <gtest/gtest.h>

#include <cmath>

#include "grib/BitReader.h"
#include "grib/Octets.h"

TEST(Primitives, ReadsOutsideTheRangeYieldZeroAndHasSaysSo) {
  const std::uint8_t bytes[] = {1, 2, 3};
  const TOctets octets(bytes);
  EXPECT_TRUE(octets.Has(1, 3));
  EXPECT_FALSE(octets.Has(2, 3));
  EXPECT_FALSE(octets.Has(0, 1));
  EXPECT_FALSE(octets.Has(4, static_cast<std::size_t>(-1)));
  EXPECT_EQ(octets.U24(1), 0x010203u);
  EXPECT_EQ(octets.U24(2), 0u);
  EXPECT_TRUE(octets.Sub(3, 2).Bytes().empty());
  TBitReader reader(bytes);
  std::uint32_t value = 0;
  EXPECT_TRUE(reader.Read(20, value));
  EXPECT_FALSE(reader.Read(5, value));
}

TEST(Primitives, NearestIntegerRoundsHalvesToEvenAndIndicesClamp) {
  const std::pair<double, int> halves[] = {{0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}};
  for (const auto& [value, rounded] : halves)
    EXPECT_EQ(Nint(value), rounded) << value;
  EXPECT_EQ(ClampIndex(-3), 0);
  EXPECT_EQ(ClampIndex(300), 255);
  EXPECT_EQ(ClampIndex(std::nan("")), 0);
}
