#include "grib/GridEarth.h"

#include <cmath>

namespace {

constexpr double kWmoSphere = 6367470;
constexpr double kIau1965Major = 6378160, kIau1965Minor = 6356775;
constexpr double kGrs80Major = 6378137, kGrs80Minor = 6356752.314;
constexpr double kWgs84Major = 6378137, kWgs84Minor = 6356752.314245;
constexpr double kAiryMajor = 6377563.396, kAiryMinor = 6356256.909;

// A scale factor and scaled value (octet `first` and the four after it);
// false when either is missing (all bits set).
bool Scaled(TOctets s, std::size_t first, double& value)
{
  const unsigned factor = s.U8(first);
  const std::uint32_t scaled = s.U32(first + 1);
  if (factor == 0xFF || scaled == 0xFFFFFFFFu)
    return false;
  value = scaled * std::pow(10.0, -static_cast<int>(factor));
  return true;
}

}  // namespace

TEarth Grib1Earth(unsigned resolutionFlags)
{
  return (resolutionFlags & 0x40) ? TEarth::Ellipsoid(kIau1965Major, kIau1965Minor) : TEarth::Sphere(kWmoSphere);
}

bool Grib2Earth(TOctets s, TEarth& earth, std::string& why)
{
  if (!s.Has(15, 16)) {
    why = "no shape of the earth";
    return false;
  }
  const unsigned shape = s.U8(15);
  double first = 0, second = 0;
  switch (shape) {
    case 0: earth = TEarth::Sphere(kWmoSphere); break;
    case 1:
      if (!Scaled(s, 16, first)) {
        why = "spherical earth without its radius";
        return false;
      }
      earth = TEarth::Sphere(first);
      break;
    case 2: earth = TEarth::Ellipsoid(kIau1965Major, kIau1965Minor); break;
    case 3: case 7:
      if (!Scaled(s, 21, first) || !Scaled(s, 26, second)) {
        why = "oblate earth without its axes";
        return false;
      }
      // Shape 3 gives the axes in kilometres, shape 7 in metres.
      earth = shape == 3 ? TEarth::Ellipsoid(first * 1000, second * 1000) : TEarth::Ellipsoid(first, second);
      break;
    case 4: earth = TEarth::Ellipsoid(kGrs80Major, kGrs80Minor); break;
    case 5: earth = TEarth::Ellipsoid(kWgs84Major, kWgs84Minor); break;
    case 6: earth = TEarth::Sphere(6371229); break;
    case 8: earth = TEarth::Sphere(6371200); break;
    case 9: earth = TEarth::Ellipsoid(kAiryMajor, kAiryMinor); break;
    default:
      why = "shape of the earth " + std::to_string(shape) + " has no fixed figure";
      return false;
  }
  if (!earth.Plausible()) {
    why = "implausible earth axes";
    return false;
  }
  return true;
}
