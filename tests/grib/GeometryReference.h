#pragma once
// Where ecCodes, or PROJ from a grid's stated parameters, puts each point
// of a GRIB grid: the references the placement of pictures is checked
// against.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

class TProjReference;

struct TGeometryReference {
  std::string gridType;  // ecCodes' name: polar_stereographic, lambert, ...
  long edition = 0;
  long width = 0, height = 0;
  bool iNegative = false, jPositive = false;
  bool columnMajor = false;      // scanning 0x20: points stored column by column
  bool alternateRows = false;    // scanning 0x10: every other row runs back
  std::vector<double> latitudes, longitudes;  // ecCodes' geo-iterator, file order
  // Polar stereographic grids: PROJ on the stated earth and true-scale
  // latitude (the extended section of the sea-ice products included).
  std::string projDefinition;
  double firstLat = 0, firstLon = 0, dx = 0, dy = 0;
  bool southPole = false;
  bool extended = false;
  // Which reference the grid is checked against, and why.
  bool useProj = false;
  std::string why;

  // File index of a picture pixel (x right, y down, north up).
  std::size_t Index(int x, int y) const;
  // Reference position of a picture pixel; false where there is none (off
  // a space-view disc).
  bool At(const TProjReference* proj, int x, int y, double& lon, double& lat) const;
};

// The first field of every message in the bytes.
std::vector<TGeometryReference> GeometryReferences(std::span<const std::uint8_t> bytes);
