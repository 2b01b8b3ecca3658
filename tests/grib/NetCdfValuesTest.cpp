// The map from stored netCDF values to results gives every point exactly
// what the rule gives its value: through the table for every value of each
// 8- and 16-bit integer type (signed ones included, at both ends), and per
// run of equal values for doubles, where 0 and -0 and NaN stay apart. Rows
// and land flags are checked on the sample files by the netCDF oracle.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "grib/NetCdfValues.h"

namespace {

// A rule that tells neighbouring values, the sign of zero and NaN apart.
int Rule(double value)
{
  if (std::isnan(value))
    return -7;
  if (value == 0)
    return std::signbit(value) ? -5 : 5;
  return static_cast<int>(std::fmod(value * 7919.0, 100003.0));
}

template <class T>
class NetCdfValuesTyped : public testing::Test {};
using TSmallIntegers = testing::Types<std::int8_t, std::uint8_t, std::int16_t, std::uint16_t>;
TYPED_TEST_SUITE(NetCdfValuesTyped, TSmallIntegers);

TYPED_TEST(NetCdfValuesTyped, EveryValueOfTheTypeGetsItsRuleResult)
{
  using T = TypeParam;
  std::vector<T> all;
  for (int v = std::numeric_limits<T>::min(); v <= std::numeric_limits<T>::max(); ++v)
    all.push_back(static_cast<T>(v));
  const TStoredValues stored = all;
  const TValueMap<int, int (*)(double)> map(stored, &Rule);
  std::vector<int> out(all.size());
  map.Map(0, out);
  for (std::size_t k = 0; k < all.size(); ++k)
    ASSERT_EQ(out[k], Rule(static_cast<double>(all[k]))) << "value " << +all[k];
}

TEST(NetCdfValues, DoublesKeepZeroSignsAndNotANumberApart)
{
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const std::vector<double> values = {0.0, -0.0, -0.0, 0.0, nan, nan, 1.5, 1.5, 2.5, nan, 0.0};
  const TStoredValues stored = values;
  const TValueMap<int, int (*)(double)> map(stored, &Rule);
  std::vector<int> out(values.size());
  map.Map(0, out);
  for (std::size_t k = 0; k < values.size(); ++k)
    EXPECT_EQ(out[k], Rule(values[k])) << "point " << k;
}

}  // namespace
