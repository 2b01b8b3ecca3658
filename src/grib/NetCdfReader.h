#pragma once
// Reads the product of an OSI SAF netCDF file (sea-ice concentration, edge
// or type on the polar grids, or a CF sea-surface temperature) into the
// same decoded field a GRIB file gives: picture of colour indices, value
// table, identification, reference time, mapping and decode log.
#include <QString>

#include <cstdint>
#include <span>

class TGribData;

// True for bytes that start like a netCDF file (classic or netCDF-4/HDF5).
bool IsNetCdfData(std::span<const std::uint8_t> bytes);

// Decodes the file's bytes into `data`. `fileName` gives the date when the
// file holds no time. Never throws; on failure the Log says why and the
// result is false.
bool DecodeNetCdf(TGribData& data, std::span<const std::uint8_t> bytes, const QString& fileName);
