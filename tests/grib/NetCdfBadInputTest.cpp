// Broken netCDF input is refused with a reason in the log, never decoded
// into zeros: cut classic and HDF5 files, text named ".nc", empty files.
#include <gtest/gtest.h>

#include <QFileInfo>

#include "grib/DataFile.h"
#include "grib/GribData.h"
#include "grib/GribTestFiles.h"
#include "imaging/ColourTableBuild.h"

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

}  // namespace
