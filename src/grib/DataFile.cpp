#include "grib/DataFile.h"

#include "grib/GribData.h"
#include "grib/NetCdfReader.h"
#include "settings/ProcessPriority.h"

bool DecodeDataFile(TGribData& data, std::span<const std::uint8_t> bytes, const QString& fileName)
{
  if (!IsNetCdfData(bytes))
    return data.LoadFromStream(bytes, false);
  const TIdlePriorityScope priority(data.LowerPriority);
  return DecodeNetCdf(data, bytes, fileName);
}
