#pragma once
// The radius of a pole-centred azimuthal projection (polar stereographic,
// azimuthal equal-area or equidistant, on a sphere or an ellipsoid): the
// distance of a point's image from the pole depends on its latitude alone,
// and its direction on its longitude alone. The radius is sampled from
// PROJ once, both ways, and interpolated, so a pixel costs a few
// operations instead of a call into PROJ. Latitudes and radii beyond the
// sampled range are left to PROJ itself.
#include <memory>
#include <vector>

class TProjTransform;

class TPolarRadius {
public:
  // Null when the projection is not centred on that pole with `centreLon`
  // pointing straight down from the north pole (up from the south pole),
  // as PROJ lays out its polar projections.
  static std::unique_ptr<TPolarRadius> Sample(const TProjTransform& proj, double centreLon, bool southern);

  bool Southern() const { return southern_; }
  double CentreLon() const { return centreLon_; }
  // Distance from the pole in metres; false beyond the table.
  bool RadiusAt(double lat, double& radius) const;
  // Latitude at a distance from the pole; false beyond the table.
  bool LatitudeAt(double radius, double& lat) const;

private:
  TPolarRadius() = default;
  bool Fill(const TProjTransform& proj);
  bool Verify(const TProjTransform& proj) const;

  double centreLon_ = 0;
  bool southern_ = false;
  std::vector<double> radius_;  // at colatitudes 0, kColatStep, ...
  std::vector<double> colat_;   // at radii 0, radiusStep_, ...
  double radiusStep_ = 0;
};
