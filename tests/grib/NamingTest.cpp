// Names, level texts and forecast suffixes label the decoded products and
// the decode log; a wrong or shifted table row mislabels a product.
#include <gtest/gtest.h>

#include "grib/ParameterNaming.h"

namespace {

std::string S(const QString& text) { return text.toStdString(); }

TEST(Naming, ComposesNameFromParameterLevelAndForecast)
{
  EXPECT_EQ(S(ComposeName("Temperature", LevelTextFor(1000000000, 100, 500), "")), "Temperature 500 hPa");
  EXPECT_EQ(S(ComposeName("SST", "", " +12 h")), "SST +12 h");
  EXPECT_EQ(S(ComposeName("Wind U", "10m", " +6 h")), "Wind U 10m +6 h");
  EXPECT_EQ(S(ComposeName("", "", "")), "");
}

}  // namespace
