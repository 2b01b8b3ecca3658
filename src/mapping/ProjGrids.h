#pragma once
// PROJ-backed mappings of the projected grid kinds of GRIB files, each on
// the earth its file states. The result still needs its frame (see
// TProjMapping::PlacePoint); its kind and centre are set for the graticule.
#include "mapping/Earth.h"
#include "mapping/ProjMapping.h"

#include <memory>
#include <string>

// Polar stereographic true at `trueLat` (signed like the pole), centred on
// the north or south pole with `centreLon` pointing to (away from) it.
std::unique_ptr<TProjMapping> PolarStereographicMapping(const TEarth& earth, double trueLat, double centreLon,
                                                        bool southern, std::string* error);
// Any projection PROJ centres on a pole (an equal-area EASE2 grid, a
// stereographic one given by its scale at the pole): `projection` names it
// and its own parameters ("+proj=laea", "+proj=stere +k_0=0.97"); the pole,
// `centreLon` and the earth are added here. Drawn like a polar
// stereographic grid.
std::unique_ptr<TProjMapping> PolarProjectionMapping(const std::string& projection, const TEarth& earth,
                                                     double centreLon, bool southern, std::string* error);
// Lambert conformal conic with standard parallels lat1 and lat2.
std::unique_ptr<TProjMapping> LambertConformalMapping(const TEarth& earth, double lat1, double lat2,
                                                      double centreLon, std::string* error);
