#pragma once
// Decodes a data file's bytes by what they are: a netCDF file or GRIB.
#include <QString>

#include <cstdint>
#include <span>

class TGribData;

// `fileName` is the file the bytes came from (the netCDF reader takes the
// date from it when the file states no time). False, with the reason last
// in the Log, when the bytes do not decode.
bool DecodeDataFile(TGribData& data, std::span<const std::uint8_t> bytes, const QString& fileName);
