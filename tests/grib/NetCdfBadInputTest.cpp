// Broken netCDF input is refused with a reason in the log, never decoded
// into zeros (the broken files of tests/data/bad are in the corpus test);
// sound files with a fill value of every type decode with the fill points
// as holes.
#include <gtest/gtest.h>

#include "grib/DataFile.h"
#include "grib/GribData.h"
#include "grib/GribTestFiles.h"
#include "imaging/ColourTableBuild.h"

namespace {

TEST(NetCdfBadInput, CutsAtTheEdgesAreRefusedWithAReason) {
  const std::vector<std::uint8_t> whole =
    FileBytes(NetCdfSampleTreeFolder() + "/SAF/2026/12/01/ice_conc_sh_polstere-100_multi_202612011200.nc");
  ASSERT_FALSE(whole.empty());
  const std::pair<std::vector<std::uint8_t>, const char*> cases[] = {
    {{whole.begin(), whole.end() - 1}, "the header needs"},
    {{'C', 'D', 'F', 1}, "refused"},
  };
  for (const auto& [bytes, reason] : cases) {
    SCOPED_TRACE(reason);
    TGribData data(BuildColourTable);
    EXPECT_FALSE(DecodeDataFile(data, bytes, "ice_conc_nh_polstere-100_multi_202612011200.nc"));
    EXPECT_TRUE(data.Log.join('\n').contains(QLatin1String(reason))) << data.Log.join('\n').toStdString();
  }
}

// The corpus writer's field: (k * 7) % 101 percent at the k-th point, rows
// from the top, and the fill value at every fifth point.
TEST(NetCdfBadInput, FillValuesOfEveryTypeAreHoles) {
  for (const char* type : {"byte", "short", "int", "float", "double", "ubyte", "ushort", "uint", "int64", "uint64",
                           "ubyte-hdf5", "float-hdf5"}) {
    const QString file = QStringLiteral("nc-fill-%1.nc").arg(QLatin1String(type));
    SCOPED_TRACE(file.toStdString());
    TGribData data(BuildColourTable);
    ASSERT_TRUE(DecodeDataFile(data, FileBytes(QStringLiteral(NORVANT_SOURCE_DIR "/tests/data/bad/") + file), file))
      << data.Log.join('\n').toStdString();
    const auto pixels = data.Bitmap().Pixels();
    const auto present = data.Current->Available.Cells();
    ASSERT_EQ(pixels.size(), 30u);
    ASSERT_EQ(present.size(), 30u);
    for (std::size_t k = 0; k < pixels.size(); ++k) {
      EXPECT_EQ(present[k] == 0, k % 5 == 0) << "point " << k;
      EXPECT_TRUE(k % 5 == 0 || pixels[k] == k * 7 % 101) << "point " << k;
    }
  }
}

}  // namespace
