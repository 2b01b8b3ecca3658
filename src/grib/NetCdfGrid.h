#pragma once
// The grid of a netCDF data variable: its two last dimensions with their
// coordinate variables, and the projection its CF grid mapping states
// (polar stereographic, Lambert azimuthal equal-area, latitude/longitude),
// turned into the mapping of a picture whose top row is the grid's
// northernmost (largest y) row.
#include <memory>
#include <string>
#include <vector>

#include "mapping/Mapping.h"

class TNetCdfFile;

struct TNetCdfGrid {
  int width = 0;
  int height = 0;
  // File order to picture order: rows stored from the bottom up, points
  // stored from east to west.
  bool flipRows = false;
  bool flipColumns = false;
  std::unique_ptr<TMapping> mapping;
  // What the GRIB grid accessors report: 5 polar stereographic, 0 lat-lon,
  // 255 any other grid.
  int gridType = 255;
  double orientation = 0;  // centre longitude of a polar grid
  bool southern = false;
  double west = 0, east = 0, south = 0, north = 0;  // lat-lon grids
};

// Reads the grid of `variable`, whose last two dimensions are y and x. The
// sizes of the dimensions must already be within the program's caps. False,
// with the reason in `why`, for a grid that cannot be placed; `log`
// receives a line for each step.
bool ReadNetCdfGrid(const TNetCdfFile& file, int variable, TNetCdfGrid& grid, std::vector<std::string>& log,
                    std::string& why);
