#pragma once
// ecCodes as the independent reader of a sample GRIB file: grid keys and
// the value of every point in file order.
#include <eccodes.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

struct TReferenceField {
  long Nx = 0, Ny = 0;
  double FirstLat = 0, FirstLon = 0, OrientationLon = 0, DxMetres = 0;
  bool JScansPositively = false;
  bool HasBitmap = false;
  double MissingValue = 0;
  long Parameter = 0;
  std::vector<double> Values;  // file order: row after row in scanning order

  // Value at column i, row j counted in the file's scanning order.
  double At(long i, long j) const { return Values[static_cast<std::size_t>(j * Nx + i)]; }
  bool Missing(long i, long j) const { return HasBitmap && At(i, j) == MissingValue; }
};

inline TReferenceField ReadReferenceField(const std::string& path)
{
  FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    throw std::runtime_error("cannot open " + path);
  }
  int error = 0;
  codes_handle* h = codes_handle_new_from_file(nullptr, file, PRODUCT_GRIB, &error);
  std::fclose(file);
  if (h == nullptr) {
    throw std::runtime_error("ecCodes cannot read " + path);
  }
  TReferenceField field;
  long value = 0;
  codes_get_long(h, "Nx", &field.Nx);
  codes_get_long(h, "Ny", &field.Ny);
  codes_get_double(h, "latitudeOfFirstGridPointInDegrees", &field.FirstLat);
  codes_get_double(h, "longitudeOfFirstGridPointInDegrees", &field.FirstLon);
  codes_get_double(h, "orientationOfTheGridInDegrees", &field.OrientationLon);
  codes_get_double(h, "DxInMetres", &field.DxMetres);
  codes_get_long(h, "jScansPositively", &value);
  field.JScansPositively = value != 0;
  codes_get_long(h, "bitmapPresent", &value);
  field.HasBitmap = value != 0;
  codes_get_double(h, "missingValue", &field.MissingValue);
  codes_get_long(h, "indicatorOfParameter", &field.Parameter);
  std::size_t count = 0;
  codes_get_size(h, "values", &count);
  field.Values.resize(count);
  codes_get_double_array(h, "values", field.Values.data(), &count);
  codes_handle_delete(h);
  return field;
}
