// Fuzzes the in-memory netCDF-3 path: the header walk that checks a classic
// file's length, then the library's own open and the product reader. Inputs
// without the classic signature get one, so mutations reach the header.
#include <QString>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "grib/DataFile.h"
#include "grib/GribData.h"
#include "imaging/ColourTableBuild.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  std::vector<std::uint8_t> bytes(data, data + size);
  if (size < 4 || data[0] != 'C' || data[1] != 'D' || data[2] != 'F') {
    static const std::uint8_t kSignature[] = {'C', 'D', 'F', 1};
    bytes.insert(bytes.begin(), std::begin(kSignature), std::end(kSignature));
  }
  TGribData decoded(BuildColourTable);
  decoded.LowerPriority = false;
  if (!DecodeDataFile(decoded, bytes, QStringLiteral("ice_conc_nh_polstere-100_multi_202612011200.nc")) &&
      decoded.Log.isEmpty())
    std::abort();  // a refusal always says why
  return 0;
}
