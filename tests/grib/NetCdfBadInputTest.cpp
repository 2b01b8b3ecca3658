// Broken netCDF input is refused with a reason in the log, never decoded
// into zeros: cut classic and HDF5 files, text named ".nc", empty files,
// and the broken files of tests/data/bad each for its own fault. Sound
// files with a fill value of every type decode with the fill points as holes.
#include <gtest/gtest.h>

#include <QFileInfo>

#include "grib/DataFile.h"
#include "grib/GribData.h"
#include "grib/GribTestFiles.h"
#include "imaging/ColourTableBuild.h"

#include <cstring>

namespace {

std::vector<std::uint8_t> SampleBytes(const char* startOfName) {
  for (const QString& path : NetCdfFilesBelow(NetCdfSampleTreeFolder()))
    if (QFileInfo(path).fileName().startsWith(QLatin1String(startOfName)))
      return FileBytes(path);
  ADD_FAILURE() << "no sample file " << startOfName;
  return {};
}

struct TBadCase {
  const char* name;
  const char* sample;  // the file cut, or nullptr for the bytes below
  double keep;         // fraction of the sample kept
  const char* bytes;
  const char* reason;  // part of the last log line
};

const TBadCase kBadCases[] = {
  {"ClassicCutInHalf", "ice_conc_sh_polstere-100_multi_20261201", 0.5, nullptr, "the header needs"},
  {"ClassicCutByOneByte", "ice_conc_sh_polstere-100_multi_20261201", 0.9999999, nullptr, "the header needs"},
  {"ClassicHeaderOnly", "ice_conc_sh_polstere-100_multi_20261201", 0.0005, nullptr, "refused"},
  {"Hdf5CutInHalf", "ice_conc_nh_polstere-100_multi_20261201", 0.5, nullptr, "cannot be opened"},
  {"TextNamedNc", nullptr, 0, "This is not a netCDF file at all.\n", "GRIB"},
  {"SignatureAlone", nullptr, 0, "CDF\x01", "refused"},
};

class NetCdfBadInput : public testing::TestWithParam<TBadCase> {};

TEST_P(NetCdfBadInput, IsRefusedWithAReason) {
  const TBadCase& c = GetParam();
  std::vector<std::uint8_t> bytes;
  if (c.sample) {
    bytes = SampleBytes(c.sample);
    ASSERT_FALSE(bytes.empty());
    bytes.resize(static_cast<std::size_t>(bytes.size() * c.keep));
  } else {
    bytes.assign(c.bytes, c.bytes + std::strlen(c.bytes));
  }
  TGribData data(BuildColourTable);
  EXPECT_FALSE(DecodeDataFile(data, bytes, "ice_conc_nh_polstere-100_multi_202612011200.nc"));
  ASSERT_FALSE(data.Log.isEmpty());
  EXPECT_TRUE(data.Log.join('\n').contains(QLatin1String(c.reason))) << data.Log.join('\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Files, NetCdfBadInput, testing::ValuesIn(kBadCases),
                         [](const testing::TestParamInfo<TBadCase>& info) { return std::string(info.param.name); });

struct TCorpusFile {
  const char* file;  // in tests/data/bad
  const char* logged;
};

const TCorpusFile kRefused[] = {
  {"nc-no-data-variable.nc", "No product in the file"},
  {"nc-grid-mapping-missing.nc", "grid mapping variable \"Polar_Stereographic_Grid\" is missing"},
  {"nc-no-grid-mapping.nc", "has no grid_mapping"},
  {"nc-x-dimension-1.nc", "has no spacing"},
  {"nc-time-dimension-0.nc", "Dimension \"time\" is empty"},
  {"nc-x-dimension-1e9.nc", "the header needs"},
  {"nc-x-dimension-1e9-hdf5.nc", "beyond what can be shown"},
  {"nc-coordinate-too-long.nc", "does not run along its dimension"},
  {"nc-scale-factor-zero.nc", "scale_factor is zero"},
  {"nc-scale-factor-nan.nc", "scale_factor is zero, not a number"},
  {"nc-classic-cut-in-data.nc", "the header needs"},
  {"nc-classic-cut-in-header.nc", "header cut short"},
  {"nc-hdf5-cut-in-half.nc", "cannot be opened"},
  {"nc-hdf5-signature-only.nc", "cannot be opened"},
  {"nc-text.nc", "GRIB"},
};

std::vector<std::uint8_t> CorpusBytes(const char* file) {
  return FileBytes(QStringLiteral(NORVANT_SOURCE_DIR "/tests/data/bad/") + QLatin1String(file));
}

TEST(NetCdfBadCorpus, EachFileIsRefusedForItsOwnFault) {
  for (const TCorpusFile& c : kRefused) {
    SCOPED_TRACE(c.file);
    TGribData data(BuildColourTable);
    data.LowerPriority = false;
    EXPECT_FALSE(DecodeDataFile(data, CorpusBytes(c.file), QLatin1String(c.file)));
    EXPECT_TRUE(data.Log.join('\n').contains(QLatin1String(c.logged))) << data.Log.join('\n').toStdString();
  }
}

// The corpus writer's field: (k * 7) % 101 percent at the k-th point, rows
// from the top, and the fill value at every fifth point.
TEST(NetCdfBadCorpus, FillValuesOfEveryTypeAreHoles) {
  for (const char* type : {"byte", "short", "int", "float", "double", "ubyte", "ushort", "uint", "int64", "uint64",
                           "ubyte-hdf5", "float-hdf5"}) {
    const std::string file = std::string("nc-fill-") + type + ".nc";
    SCOPED_TRACE(file);
    TGribData data(BuildColourTable);
    data.LowerPriority = false;
    ASSERT_TRUE(DecodeDataFile(data, CorpusBytes(file.c_str()), QString::fromStdString(file)))
      << data.Log.join('\n').toStdString();
    const auto pixels = data.Bitmap().Pixels();
    const auto present = data.Current->Available.Cells();
    ASSERT_EQ(pixels.size(), 30u);
    ASSERT_EQ(present.size(), 30u);
    for (std::size_t k = 0; k < pixels.size(); ++k) {
      EXPECT_EQ(present[k] == 0, k % 5 == 0) << "point " << k;
      if (k % 5 != 0) {
        EXPECT_EQ(pixels[k], k * 7 % 101) << "point " << k;
      }
    }
  }
}

}  // namespace
