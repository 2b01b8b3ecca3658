#include "grib/Placement.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "support/ProjReference.h"

namespace {

constexpr double kCellTolerance = 0.1;
constexpr int kStride = 16;
constexpr double kKmPerDegree = 111.195;

// East and north km of `to` seen from `from` (short distances).
void Offset(const TGeoPoint& from, const TGeoPoint& to, double& east, double& north) {
  east = std::remainder(to.lon - from.lon, 360.0) * std::cos(from.lat * M_PI / 180) * kKmPerDegree;
  north = (to.lat - from.lat) * kKmPerDegree;
}

class TPlacementCheck {
public:
  TPlacementCheck(const TMapping& mapping, const TReferenceField& ref) : mapping_(mapping), ref_(ref) {
    if (!ref.projBecause.empty())
      proj_ = std::make_unique<TProjReference>(ref.projDefinition);
    else
      EXPECT_EQ(ref.latitudes.size(), static_cast<std::size_t>(ref.width * ref.height)) << "ecCodes gave no positions";
    fileIndex_.resize(static_cast<std::size_t>(ref.width * ref.height));
    for (std::size_t k = 0; k < fileIndex_.size(); ++k)
      fileIndex_[static_cast<std::size_t>(ref.PictureY(k) * ref.width + ref.PictureX(k))] = k;
  }

  int Check(int x, int y) const {
    TGeoPoint expected;
    float lon = 0, lat = 0;
    if (!Reference(x, y, expected)) {
      EXPECT_FALSE(mapping_.PixelToLatLon(x, y, lon, lat)) << "pixel " << x << "," << y << " is off the earth";
      return 0;
    }
    // A lat-lon grid's pole row has no longitude to compare.
    double ex = 0, ny = 0, ey = 0, nx = 0;
    if (std::fabs(expected.lat) > 89.999 || !CellStep(x, y, 1, 0, expected, ex, nx) ||
        !CellStep(x, y, 0, 1, expected, ey, ny))
      return 0;
    // Read-out: the position under the pixel, in cells of the grid.
    EXPECT_TRUE(mapping_.PixelToLatLon(x, y, lon, lat)) << "pixel " << x << "," << y;
    double e = 0, n = 0;
    Offset(expected, {lon, lat}, e, n);
    const double det = ex * ny - ey * nx;
    EXPECT_LT(std::hypot((e * ny - ey * n) / det, (ex * n - e * nx) / det), kCellTolerance)
      << "pixel " << x << "," << y << " reads " << lat << ", " << lon << "; " << Why() << " says " << expected.lat
      << ", " << expected.lon;
    // Drawing: the pixel a position is drawn on.
    float px = 0, py = 0;
    EXPECT_TRUE(mapping_.LatLonToPixelF(static_cast<float>(expected.lon), static_cast<float>(expected.lat), px, py));
    EXPECT_LT(std::hypot(px - x, py - y), kCellTolerance)
      << expected.lat << ", " << expected.lon << " drawn at " << px << "," << py << ", not " << x << "," << y << " ("
      << Why() << ")";
    return 1;
  }

private:
  std::string Why() const { return proj_ ? "PROJ (" + ref_.projBecause + ")" : "ecCodes"; }

  // False off the grid and off a space-view disc (where ecCodes gives 0, 0).
  bool Reference(int x, int y, TGeoPoint& p) const {
    if (x < 0 || y < 0 || x >= ref_.width || y >= ref_.height)
      return false;
    if (proj_) {
      const TPlanePoint first = proj_->Forward(ref_.firstLon, ref_.firstLat);
      const long column = ref_.iNegative ? ref_.width - 1 - x : x;
      const long row = ref_.jPositive ? ref_.height - 1 - y : y;
      p = proj_->Inverse(first.x + (ref_.iNegative ? -1 : 1) * column * ref_.dxMetres,
                         first.y + (ref_.jPositive ? 1 : -1) * row * ref_.dyMetres);
      return std::isfinite(p.lon) && std::isfinite(p.lat);
    }
    const std::size_t k = fileIndex_[static_cast<std::size_t>(y * ref_.width + x)];
    p = {ref_.longitudes[k], ref_.latitudes[k]};
    return !(ref_.gridType == "space_view" && p.lon == 0 && p.lat == 0);
  }

  // A step of one cell from (x, y) along x (dx = 1) or y, in km; taken
  // backwards at the far edge.
  bool CellStep(int x, int y, int dx, int dy, const TGeoPoint& at, double& east, double& north) const {
    TGeoPoint next;
    if (Reference(x + dx, y + dy, next)) {
      Offset(at, next, east, north);
      return true;
    }
    if (!Reference(x - dx, y - dy, next))
      return false;
    Offset(next, at, east, north);
    return true;
  }

  const TMapping& mapping_;
  const TReferenceField& ref_;
  std::unique_ptr<TProjReference> proj_;
  std::vector<std::size_t> fileIndex_;
};

}  // namespace

void CheckPlacement(const TMapping& mapping, const TReferenceField& ref) {
  const TPlacementCheck check(mapping, ref);
  int checked = 0;
  for (int y = 0; y < ref.height; y += kStride)
    for (int x = 0; x < ref.width; x += kStride)
      checked += check.Check(x, y);
  const int right = static_cast<int>(ref.width - 1), bottom = static_cast<int>(ref.height - 1);
  for (const auto& [x, y] : {std::pair{0, 0}, std::pair{right, 0}, std::pair{0, bottom}, std::pair{right, bottom}})
    checked += check.Check(x, y);
  EXPECT_GT(checked, 0);
}
