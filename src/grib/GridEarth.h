#pragma once
// The earth a GRIB grid description states.
#include <string>

#include "grib/Octets.h"
#include "mapping/Earth.h"

// Edition 1: the 6367.47 km sphere, or the oblate IAU 1965 earth when bit
// 0x40 of the resolution and component flags is set.
TEarth Grib1Earth(unsigned resolutionFlags);
// Edition 2: the shape of the earth (octets 15 to 30 of a grid template
// that starts with it). False, with the reason, for a shape with no
// stated figure or with a missing or implausible radius or axis.
bool Grib2Earth(TOctets section3, TEarth& earth, std::string& why);
