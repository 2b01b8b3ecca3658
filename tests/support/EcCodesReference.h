#pragma once
// Grid-point values and positions of GRIB messages as ecCodes decodes them,
// the reference the decoder and the mapping are compared with.
#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

struct TReferenceField {
  std::string gridType;  // ecCodes' name: polar_stereographic, lambert, ...
  long edition = 0;
  long width = 0, height = 0;
  bool iNegative = false;     // points run east to west
  bool jPositive = false;     // rows run south to north
  bool jConsecutive = false;  // points stored column by column
  bool alternate = false;     // every other row (column) reversed
  bool southPole = false;  // polar stereographic grid centred on the south pole
  std::vector<double> values;   // file order
  std::vector<char> missing;    // file order
  std::vector<double> latitudes, longitudes;  // empty where ecCodes has none
  // Grid keys of a polar stereographic field.
  double firstLat = 0, firstLon = 0, orientationLon = 0, dxMetres = 0, dyMetres = 0;
  // The same grid as PROJ sees it from the stated earth and true-scale
  // latitude (the sea-ice products' extended section included), and why
  // PROJ rather than ecCodes' positions is the reference; both empty when
  // ecCodes' positions are right.
  std::string projDefinition, projBecause;

  // Value at column i, row j counted in the file's scanning order.
  double At(long i, long j) const { return values[static_cast<std::size_t>(j * width + i)]; }
  bool Missing(long i, long j) const { return missing[static_cast<std::size_t>(j * width + i)] != 0; }
  // Picture position of file point k: x right, y down, north up, as the
  // WMO scanning-mode flags define it.
  int PictureX(std::size_t k) const { return Picture(k).first; }
  int PictureY(std::size_t k) const { return Picture(k).second; }

private:
  std::pair<int, int> Picture(std::size_t k) const {
    const long along = jConsecutive ? height : width;
    const long line = static_cast<long>(k) / along;
    long position = static_cast<long>(k) % along;
    if (alternate && line % 2 == 1)
      position = along - 1 - position;
    const long i = jConsecutive ? line : position;
    const long j = jConsecutive ? position : line;
    return {static_cast<int>(iNegative ? width - 1 - i : i), static_cast<int>(jPositive ? height - 1 - j : j)};
  }
};

// Every field of every message in the bytes, in file order; several
// products of one edition 2 message are separate fields. Positions only
// withCoordinates.
std::vector<TReferenceField> ReferenceFields(std::span<const std::uint8_t> bytes, bool withCoordinates);

// The first field of a GRIB file.
TReferenceField ReadReferenceField(const std::string& path);
