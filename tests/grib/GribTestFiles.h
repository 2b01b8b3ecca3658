#pragma once
// Test data for the GRIB tests: the sample data tree and the hand-made
// variants, written once per test run by the project's tools (which encode
// with ecCodes) into a temporary folder.
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

// Folder holding SAF/... for two days ending 2026-12-01; empty on failure.
QString SampleTreeFolder();
// The same days written as CF netCDF files (make_sample_tree.py --format netcdf).
QString NetCdfSampleTreeFolder();
// Folder holding the variant files and manifest.json; empty on failure.
QString VariantsFolder();
// Folder holding one small file of each grid kind (make_geometry_grids.py).
QString GeometryGridsFolder();
// Every file below a folder whose name matches one of the patterns, sorted
// by path.
QStringList FilesBelow(const QString& folder, const QStringList& patterns);
inline const QStringList kGribNames{"*.grb", "*.grb.gz", "*.grb2"};
inline const QStringList kNetCdfNames{"*.nc", "*.nc.gz"};
// The file's bytes, un-gzipped for ".gz" names; fails the test when unreadable.
std::vector<std::uint8_t> FileBytes(const QString& path);
