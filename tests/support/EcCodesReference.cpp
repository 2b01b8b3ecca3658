#include "support/EcCodesReference.h"

#include <eccodes.h>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <gtest/gtest.h>

namespace {

constexpr double kMissingMark = 9.87654e30;

struct THandle {
  codes_handle* h = nullptr;
  ~THandle() {
    if (h)
      codes_handle_delete(h);
  }
};

std::vector<double> DoubleArray(codes_handle* h, const char* key) {
  size_t size = 0;
  EXPECT_EQ(codes_get_size(h, key, &size), 0) << key;
  std::vector<double> values(size);
  EXPECT_EQ(codes_get_double_array(h, key, values.data(), &size), 0) << key;
  values.resize(size);
  return values;
}

long Long(codes_handle* h, const char* key) {
  long value = 0;
  EXPECT_EQ(codes_get_long(h, key, &value), 0) << key;
  return value;
}

}  // namespace

std::vector<TReferenceField> ReferenceFields(std::span<const std::uint8_t> bytes, bool withCoordinates) {
  std::vector<TReferenceField> fields;
  codes_context* context = codes_context_get_default();
  codes_grib_multi_support_on(context);
  // ecCodes splits the products of one message only when it reads a file.
  FILE* file = fmemopen(const_cast<std::uint8_t*>(bytes.data()), bytes.size(), "rb");  // opened read-only
  if (!file) {
    ADD_FAILURE() << "fmemopen failed";
    return fields;
  }
  int error = 0;
  for (;;) {
    THandle handle;
    handle.h = codes_handle_new_from_file(context, file, PRODUCT_GRIB, &error);
    if (!handle.h)
      break;
    codes_handle* h = handle.h;
    TReferenceField f;
    f.edition = Long(h, "edition");
    f.width = Long(h, "Ni");
    f.height = Long(h, "Nj");
    f.iNegative = Long(h, "iScansNegatively") != 0;
    f.jPositive = Long(h, "jScansPositively") != 0;
    f.jConsecutive = Long(h, "jPointsAreConsecutive") != 0;
    long alternate = 0;
    f.alternate = codes_get_long(h, "alternativeRowScanning", &alternate) == 0 && alternate != 0;
    long centre = 0;
    if (codes_get_long(h, "projectionCentreFlag", &centre) == 0) {
      f.isPolar = true;
      f.southPole = (centre & 0x80) != 0;
      codes_get_double(h, "orientationOfTheGridInDegrees", &f.orientationLon);
      codes_get_double(h, "DxInMetres", &f.dxMetres);
    }
    codes_get_double(h, "latitudeOfFirstGridPointInDegrees", &f.firstLat);
    codes_get_double(h, "longitudeOfFirstGridPointInDegrees", &f.firstLon);
    EXPECT_EQ(codes_set_double(h, "missingValue", kMissingMark), 0);
    f.values = DoubleArray(h, "values");
    f.missing.resize(f.values.size());
    for (std::size_t k = 0; k < f.values.size(); ++k)
      f.missing[k] = f.values[k] == kMissingMark;
    if (withCoordinates) {
      f.latitudes = DoubleArray(h, "latitudes");
      f.longitudes = DoubleArray(h, "longitudes");
    }
    fields.push_back(std::move(f));
  }
  codes_grib_multi_support_reset_file(context, file);
  codes_grib_multi_support_off(context);
  std::fclose(file);
  return fields;
}

TReferenceField ReadReferenceField(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  std::vector<TReferenceField> fields = ReferenceFields(bytes, false);
  if (fields.empty())
    throw std::runtime_error("ecCodes cannot read " + path);
  return std::move(fields.front());
}
