#pragma once
// Grid-point values of GRIB messages as ecCodes decodes them, the reference
// the decoder is compared with.
#include <cstdint>
#include <span>
#include <vector>

struct TReferenceField {
  long edition = 0;
  long width = 0, height = 0;
  bool iNegative = false;  // points run east to west
  bool jPositive = false;  // rows run south to north
  bool isPolar = false;
  bool southPole = false;  // polar stereographic grid centred on the south pole
  std::vector<double> values;   // file order, row after row
  std::vector<char> missing;    // file order
  std::vector<double> latitudes, longitudes;
  // Picture position of file point k: x right, y down, north up.
  int PictureX(std::size_t k) const {
    const long c = static_cast<long>(k) % width;
    return static_cast<int>(iNegative ? width - 1 - c : c);
  }
  int PictureY(std::size_t k) const {
    const long r = static_cast<long>(k) / width;
    return static_cast<int>(jPositive ? height - 1 - r : r);
  }
};

// Every field of every message in the bytes, in file order; several
// products of one edition 2 message are separate fields.
std::vector<TReferenceField> ReferenceFields(std::span<const std::uint8_t> bytes, bool withCoordinates);
