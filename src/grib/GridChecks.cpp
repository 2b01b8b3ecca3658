// Checks of a grid's geometry once its description is read: a grid whose
// points cannot lie on the earth, or whose mapping would divide by a zero
// spacing, is refused before anything is drawn or read out on it.
#include <cmath>

#include "grib/Decoder.h"

namespace {

constexpr std::int32_t kPoleMillidegrees = 90000;
// Corner latitudes may exceed the pole by rounding only.
constexpr float kPoleTolerance = 1e-3f;

bool BeyondPole(std::int32_t millidegrees) {
  return millidegrees > kPoleMillidegrees || millidegrees < -kPoleMillidegrees;
}

}  // namespace

// gridType uses the edition 1 numbers: 0 lat-lon, 3 Lambert, 5 polar
// stereographic, 10 rotated lat-lon, 90 space view.
bool TMessageDecoder::CheckGridGeometry(int gridType) {
  const TGridParameters& grid = data_.Grid;
  const bool hasFirstPoint = gridType == 0 || gridType == 3 || gridType == 5 || gridType == 10;
  const bool hasLastPoint = gridType == 0 || gridType == 10;
  if (hasFirstPoint && BeyondPole(grid.La1))
    return Fail("First grid point latitude %.3f is beyond the pole", grid.La1 / 1000.0);
  if (hasLastPoint && BeyondPole(grid.La2))
    return Fail("Last grid point latitude %.3f is beyond the pole", grid.La2 / 1000.0);
  if ((gridType == 3 || gridType == 5) && (grid.Dx <= 0 || grid.Dy <= 0))
    return Fail("Grid lengths of %d x %d m cannot be mapped", grid.Dx, grid.Dy);
  if (hasLastPoint && (grid.La1 == grid.La2 || grid.Lo1 == grid.Lo2 || data_.Width < 2 || data_.Height < 2))
    return Fail("Grid corners %.3f, %.3f .. %.3f, %.3f span no distance over %d x %d points", grid.La1 / 1000.0,
                grid.Lo1 / 1000.0, grid.La2 / 1000.0, grid.Lo2 / 1000.0, data_.Width, data_.Height);
  return CheckCorners();
}

// Whatever the projection, no corner of the picture may lie beyond a pole
// or off the number line.
bool TMessageDecoder::CheckCorners() {
  if (!data_.Mapping)
    return true;
  const int right = data_.Width - 1, bottom = data_.Height - 1;
  const int corners[4][2] = {{0, 0}, {right, 0}, {0, bottom}, {right, bottom}};
  for (const auto& corner : corners) {
    float lon = 0, lat = 0;
    if (!data_.Mapping->PixelToLatLon(corner[0], corner[1], lon, lat))
      continue;  // off the visible disc of a space view
    if (!std::isfinite(lat) || !std::isfinite(lon) || std::fabs(lat) > 90.0f + kPoleTolerance)
      return Fail("The grid's corner at pixel %d, %d lies at latitude %.3f, beyond the pole", corner[0], corner[1],
                  static_cast<double>(lat));
  }
  return true;
}
