#pragma once
// Decodes a data file's bytes by what they are: a netCDF file or GRIB.
#include <QString>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

class TGribData;

// `fileName` is the file the bytes came from (the netCDF reader takes the
// date from it when the file states no time). False, with the reason last
// in the Log, when the bytes do not decode.
bool DecodeDataFile(TGribData& data, std::span<const std::uint8_t> bytes, const QString& fileName);

// Decodes the next edition 1 message that follows `offset` in `stream`.
// `offset` is where the previous message ended, just before or just after
// its "7777". On success `data` is replaced by the new message (its log
// follows the earlier one) and offset moves past the message read; on
// failure `data` keeps its product and only gains the reason in its log.
bool ReadNextGribMessage(std::unique_ptr<TGribData>& data, std::span<const std::uint8_t> stream, std::size_t& offset);
