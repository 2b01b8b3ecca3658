#include "grib/GeometryReference.h"

#include <eccodes.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>

#include "support/ProjReference.h"

namespace {

long Long(codes_handle* h, const char* key, long fallback = 0) {
  long value = fallback;
  return codes_get_long(h, key, &value) == 0 ? value : fallback;
}

double Double(codes_handle* h, const char* key) {
  double value = 0;
  EXPECT_EQ(codes_get_double(h, key, &value), 0) << key;
  return value;
}

// Empty when ecCodes cannot compute the array.
std::vector<double> Array(codes_handle* h, const char* key) {
  size_t size = 0;
  if (codes_get_size(h, key, &size) != 0)
    return {};
  std::vector<double> values(size);
  if (codes_get_double_array(h, key, values.data(), &size) != 0)
    return {};
  values.resize(size);
  return values;
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

void DescribePolar(codes_handle* h, const std::uint8_t* message, std::size_t length, TGeometryReference& ref) {
  ref.southPole = (Long(h, "projectionCentreFlag") & 0x80) != 0;
  ref.firstLat = Double(h, "latitudeOfFirstGridPointInDegrees");
  ref.firstLon = Double(h, "longitudeOfFirstGridPointInDegrees");
  ref.dx = static_cast<double>(Long(h, "DxInMetres"));
  ref.dy = static_cast<double>(Long(h, "DyInMetres"));
  const double orientation = Double(h, "orientationOfTheGridInDegrees");
  std::string earth;
  double trueLat = 60;
  if (ref.edition == 1) {
    earth = (Long(h, "resolutionAndComponentFlags") & 0x40) ? Earth(6378160, 6356775) : Earth(6367470, 6367470);
    // The sea-ice products' extension: axes in km and the true-scale latitude.
    const long offset = Long(h, "offsetSection2"), size = Long(h, "section2Length");
    const long centre = Long(h, "centre");
    if (centre == 88 && size >= 44 && static_cast<std::size_t>(offset + 44) <= length) {
      const std::uint8_t* gds = message + offset;
      ref.extended = true;
      earth = Earth(Ibm(gds + 32) * 1000, Ibm(gds + 36) * 1000);
      trueLat = std::fabs(Ibm(gds + 40));
    }
  } else {
    earth = Grib2Earth(h);
    trueLat = std::fabs(Double(h, "LaDInDegrees"));
  }
  char text[128];
  std::snprintf(text, sizeof text, "+proj=stere +lat_0=%d +lat_ts=%.10g +lon_0=%.10g", ref.southPole ? -90 : 90,
                ref.southPole ? -trueLat : trueLat, orientation);
  ref.projDefinition = text + earth;
  // ecCodes ignores the extension, puts the first point of a grid stored
  // from the top on the wrong side and turns south-polar edition 1 grids the
  // wrong way round: PROJ is the reference there. Otherwise ecCodes.
  if (ref.latitudes.empty()) {
    ref.useProj = true;
    ref.why = "PROJ (ecCodes has no positions for oblate polar stereographic grids)";
  } else if (ref.extended) {
    ref.useProj = true;
    ref.why = "PROJ (ecCodes does not read the extended grid section)";
  } else if (!ref.jPositive) {
    ref.useProj = true;
    ref.why = "PROJ (ecCodes misplaces polar grids stored from the top row)";
  } else if (ref.southPole && ref.edition == 1) {
    ref.useProj = true;
    ref.why = "PROJ (ecCodes misplaces south-polar edition 1 grids)";
  } else {
    ref.why = "ecCodes";
  }
}

}  // namespace

std::size_t TGeometryReference::Index(int x, int y) const {
  long column = iNegative ? width - 1 - x : x;
  long row = jPositive ? height - 1 - y : y;
  if (columnMajor) {
    if (alternateRows && column % 2 == 1)
      row = height - 1 - row;
    return static_cast<std::size_t>(column * height + row);
  }
  if (alternateRows && row % 2 == 1)
    column = width - 1 - column;
  return static_cast<std::size_t>(row * width + column);
}

bool TGeometryReference::At(const TProjReference* proj, int x, int y, double& lon, double& lat) const {
  if (x < 0 || y < 0 || x >= width || y >= height)
    return false;
  if (useProj && proj) {
    const TPlanePoint first = proj->Forward(firstLon, firstLat);
    const long column = iNegative ? width - 1 - x : x;
    const long row = jPositive ? height - 1 - y : y;
    const TGeoPoint point = proj->Inverse(first.x + (iNegative ? -1 : 1) * column * dx,
                                          first.y + (jPositive ? 1 : -1) * row * dy);
    lon = point.lon;
    lat = point.lat;
    return std::isfinite(lon) && std::isfinite(lat);
  }
  const std::size_t k = Index(x, y);
  lon = longitudes[k];
  lat = latitudes[k];
  // ecCodes gives 0, 0 for a space-view pixel off the disc.
  return !(gridType == "space_view" && lon == 0 && lat == 0);
}

std::vector<TGeometryReference> GeometryReferences(std::span<const std::uint8_t> bytes) {
  std::vector<TGeometryReference> refs;
  std::size_t offset = 0;
  while (offset + 16 <= bytes.size()) {
    // One handle per message: the first product's grid is the message's grid.
    std::size_t length = bytes.size() - offset;
    codes_handle* h = codes_handle_new_from_message(nullptr, bytes.data() + offset, length);
    if (!h)
      break;
    TGeometryReference ref;
    ref.why = "ecCodes";
    char type[64] = {};
    std::size_t typeLength = sizeof type;
    codes_get_string(h, "gridType", type, &typeLength);
    ref.gridType = type;
    ref.edition = Long(h, "edition");
    ref.width = Long(h, "Ni", Long(h, "Nx"));
    ref.height = Long(h, "Nj", Long(h, "Ny"));
    ref.iNegative = Long(h, "iScansNegatively") != 0;
    ref.jPositive = Long(h, "jScansPositively") != 0;
    ref.columnMajor = Long(h, "jPointsAreConsecutive") != 0;
    ref.alternateRows = Long(h, "alternativeRowScanning") != 0;
    ref.latitudes = Array(h, "latitudes");
    ref.longitudes = Array(h, "longitudes");
    long total = 0;
    codes_get_long(h, "totalLength", &total);
    if (ref.gridType == "polar_stereographic")
      DescribePolar(h, bytes.data() + offset, static_cast<std::size_t>(total), ref);
    EXPECT_TRUE(ref.useProj || ref.latitudes.size() == static_cast<std::size_t>(ref.width * ref.height))
      << "ecCodes gave no positions for a " << ref.gridType << " grid";
    codes_handle_delete(h);
    refs.push_back(std::move(ref));
    if (total <= 0)
      break;
    offset += static_cast<std::size_t>(total);
  }
  return refs;
}
