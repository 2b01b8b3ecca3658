#include "support/EcCodesReference.h"

#include <eccodes.h>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <gtest/gtest.h>

namespace {

constexpr double kMissingMark = 9.87654e30;

// Empty when ecCodes cannot compute the array.
std::vector<double> DoubleArray(codes_handle* h, const char* key) {
  size_t size = 0;
  if (codes_get_size(h, key, &size) != 0)
    return {};
  std::vector<double> values(size);
  if (codes_get_double_array(h, key, values.data(), &size) != 0)
    return {};
  values.resize(size);
  return values;
}

long Long(codes_handle* h, const char* key, long fallback = 0) {
  long value = fallback;
  return codes_get_long(h, key, &value) == 0 ? value : fallback;
}

double Double(codes_handle* h, const char* key) {
  double value = 0;
  codes_get_double(h, key, &value);
  return value;
}

// IBM single precision, as the extended section holds its values.
double Ibm(const std::uint8_t* p) {
  const std::uint32_t raw = (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (p[2] << 8) | p[3];
  const double value = (raw & 0xFFFFFF) * std::pow(16.0, static_cast<int>((raw >> 24) & 0x7F) - 64) / 16777216.0;
  return (raw & 0x80000000u) ? -value : value;
}

std::string Earth(double a, double b) {
  char text[80];
  if (a == b)
    std::snprintf(text, sizeof text, " +R=%.10g", a);
  else
    std::snprintf(text, sizeof text, " +a=%.10g +b=%.10g", a, b);
  return text;
}

double Scaled(codes_handle* h, const char* factor, const char* value) {
  return static_cast<double>(Long(h, value)) * std::pow(10.0, -Long(h, factor));
}

// The earth of an edition 2 grid, for the shapes the test files use.
std::string Grib2Earth(codes_handle* h) {
  switch (Long(h, "shapeOfTheEarth")) {
    case 0: return Earth(6367470, 6367470);
    case 1: {
      const double r = Scaled(h, "scaleFactorOfRadiusOfSphericalEarth", "scaledValueOfRadiusOfSphericalEarth");
      return Earth(r, r);
    }
    case 5: return " +ellps=WGS84";
    case 6: return Earth(6371229, 6371229);
    case 7:
      return Earth(Scaled(h, "scaleFactorOfEarthMajorAxis", "scaledValueOfEarthMajorAxis"),
                   Scaled(h, "scaleFactorOfEarthMinorAxis", "scaledValueOfEarthMinorAxis"));
    default: ADD_FAILURE() << "shape of the earth not known to the test"; return {};
  }
}

// ecCodes ignores the sea-ice extension, puts the first point of a polar
// grid stored from the top on the wrong side and turns south-polar edition 1
// grids the wrong way round: PROJ is the reference there.
void DescribePolar(codes_handle* h, TReferenceField& f) {
  std::string earth;
  double trueLat = 60;
  bool extended = false;
  if (f.edition == 1) {
    earth = (Long(h, "resolutionAndComponentFlags") & 0x40) ? Earth(6378160, 6356775) : Earth(6367470, 6367470);
    // The sea-ice products' extension: axes in km and the true-scale latitude.
    const void* message = nullptr;
    std::size_t length = 0;
    codes_get_message(h, &message, &length);
    const long offset = Long(h, "offsetSection2"), size = Long(h, "section2Length");
    if (Long(h, "centre") == 88 && size >= 44 && static_cast<std::size_t>(offset + 44) <= length) {
      const std::uint8_t* gds = static_cast<const std::uint8_t*>(message) + offset;
      extended = true;
      earth = Earth(Ibm(gds + 32) * 1000, Ibm(gds + 36) * 1000);
      trueLat = std::fabs(Ibm(gds + 40));
    }
  } else {
    earth = Grib2Earth(h);
    trueLat = std::fabs(Double(h, "LaDInDegrees"));
  }
  if (f.latitudes.empty())
    f.projBecause = "ecCodes gave no positions (none asked for, or an oblate earth)";
  else if (extended)
    f.projBecause = "ecCodes does not read the extended grid section";
  else if (!f.jPositive)
    f.projBecause = "ecCodes misplaces polar grids stored from the top row";
  else if (f.southPole && f.edition == 1)
    f.projBecause = "ecCodes misplaces south-polar edition 1 grids";
  char text[128];
  std::snprintf(text, sizeof text, "+proj=stere +lat_0=%d +lat_ts=%.10g +lon_0=%.10g", f.southPole ? -90 : 90,
                f.southPole ? -trueLat : trueLat, f.orientationLon);
  f.projDefinition = text + earth;
}

TReferenceField Describe(codes_handle* h, bool withCoordinates) {
  TReferenceField f;
  char type[64] = {};
  std::size_t typeLength = sizeof type;
  codes_get_string(h, "gridType", type, &typeLength);
  f.gridType = type;
  f.edition = Long(h, "edition");
  f.width = Long(h, "Ni", Long(h, "Nx"));
  f.height = Long(h, "Nj", Long(h, "Ny"));
  f.iNegative = Long(h, "iScansNegatively") != 0;
  f.jPositive = Long(h, "jScansPositively") != 0;
  f.jConsecutive = Long(h, "jPointsAreConsecutive") != 0;
  f.alternate = Long(h, "alternativeRowScanning") != 0;
  long centre = 0;
  if (codes_get_long(h, "projectionCentreFlag", &centre) == 0) {
    f.southPole = (centre & 0x80) != 0;
    f.orientationLon = Double(h, "orientationOfTheGridInDegrees");
    f.dxMetres = Double(h, "DxInMetres");
    f.dyMetres = Double(h, "DyInMetres");
  }
  f.firstLat = Double(h, "latitudeOfFirstGridPointInDegrees");
  f.firstLon = Double(h, "longitudeOfFirstGridPointInDegrees");
  EXPECT_EQ(codes_set_double(h, "missingValue", kMissingMark), 0);
  f.values = DoubleArray(h, "values");
  f.missing.resize(f.values.size());
  for (std::size_t k = 0; k < f.values.size(); ++k)
    f.missing[k] = f.values[k] == kMissingMark;
  if (withCoordinates) {
    f.latitudes = DoubleArray(h, "latitudes");
    f.longitudes = DoubleArray(h, "longitudes");
  }
  if (f.gridType == "polar_stereographic")
    DescribePolar(h, f);
  return f;
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
    const std::unique_ptr<codes_handle, int (*)(codes_handle*)> handle(
      codes_handle_new_from_file(context, file, PRODUCT_GRIB, &error), codes_handle_delete);
    if (!handle)
      break;
    fields.push_back(Describe(handle.get(), withCoordinates));
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
