#pragma once
// The mapping of a regular latitude/longitude grid: the picture runs from
// the western to the eastern grid column and from the northern to the
// southern row, one pixel per point.
#include <memory>

#include "mapping/Mapping.h"

// west/east: longitudes of the first and last column, south/north:
// latitudes of the bottom and top row (their pixel centres).
std::unique_ptr<TMapping> LatLonGridMapping(double west, double east, double south, double north, int width,
                                            int height);
