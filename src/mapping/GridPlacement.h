#pragma once
// Placement of a projected grid in its picture: the offsets of a mapping are
// chosen so that the grid's first point lands on its pixel.
#include "mapping/Mapping.h"

// Puts the first grid point (lon, lat) on the bottom-left pixel of a picture
// of `rows` rows, or on the top-left pixel when the grid is stored from the
// top row down. False, offsets left at 0, when the point has no position in
// the mapping.
bool PlaceFirstGridPoint(TMapping& mapping, float lon, float lat, int rows, bool topDown);
