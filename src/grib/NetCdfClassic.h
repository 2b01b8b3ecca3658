#pragma once
// The header of a classic netCDF file (CDF-1, CDF-2 and CDF-5), walked with
// every count checked, to find how many bytes its variables need. The
// netCDF library opens a classic file cut short and hands back zeros for
// the part that is gone; comparing this length with the bytes there
// refuses such a file first.
#include <cstdint>
#include <span>
#include <string>

// True for bytes that start like a classic netCDF file ("CDF" and a version).
bool IsClassicNetCdf(std::span<const std::uint8_t> bytes);
// True for bytes that start with the HDF5 signature (netCDF-4 files).
bool IsHdf5(std::span<const std::uint8_t> bytes);

// Checks that the header is sound and that the bytes hold every variable
// it describes. False, with the reason in `why`, otherwise.
bool CheckClassicLength(std::span<const std::uint8_t> bytes, std::string& why);
