#include "mapping/PolarRadius.h"

#include "mapping/ProjTransform.h"
#include "mapping/ProjectionMath.h"

#include <algorithm>
#include <cmath>

namespace {

// Colatitude step of the radius table, degrees. Cubic interpolation over
// steps this size keeps the radius within a millimetre of PROJ's.
constexpr double kColatStep = 0.25;
// Farthest colatitude sampled: 150 degrees from the pole, well beyond any
// grid placed round it.
constexpr double kMaxColat = 150;
// Radius steps of the inverse table.
constexpr int kRadiusSteps = 2048;

// Cubic through the four samples round position t (in steps); false
// outside [0, size - 1].
bool Cubic(const std::vector<double>& samples, double t, double& out)
{
  const auto last = static_cast<double>(samples.size()) - 1;
  if (!(t >= 0 && t <= last) || samples.size() < 4)
    return false;
  const auto first = static_cast<std::size_t>(std::clamp(std::floor(t) - 1, 0.0, last - 3));
  const double u = t - static_cast<double>(first);
  const double* p = samples.data() + first;
  // Lagrange weights for nodes 0, 1, 2, 3.
  const double w0 = -(u - 1) * (u - 2) * (u - 3) / 6;
  const double w1 = u * (u - 2) * (u - 3) / 2;
  const double w2 = -u * (u - 1) * (u - 3) / 2;
  const double w3 = u * (u - 1) * (u - 2) / 6;
  out = w0 * p[0] + w1 * p[1] + w2 * p[2] + w3 * p[3];
  return true;
}

}  // namespace

std::unique_ptr<TPolarRadius> TPolarRadius::Sample(const TProjTransform& proj, double centreLon, bool southern)
{
  std::unique_ptr<TPolarRadius> table(new TPolarRadius());
  table->centreLon_ = centreLon;
  table->southern_ = southern;
  if (!table->Fill(proj) || !table->Verify(proj))
    return nullptr;
  return table;
}

bool TPolarRadius::Fill(const TProjTransform& proj)
{
  const double sign = southern_ ? -1 : 1;
  for (double colat = 0; colat <= kMaxColat + 1e-9; colat += kColatStep) {
    double x = 0, y = 0;
    if (!proj.Forward(centreLon_, sign * (90 - colat), x, y))
      break;
    radius_.push_back(std::hypot(x, y));
  }
  if (radius_.size() < 8 || !std::is_sorted(radius_.begin(), radius_.end()))
    return false;
  radiusStep_ = radius_.back() / kRadiusSteps;
  if (!(radiusStep_ > 0))
    return false;
  for (int k = 0; k <= kRadiusSteps; ++k) {
    double lon = 0, lat = 0;
    // Straight down from the north pole, up from the south pole.
    if (!proj.Inverse(0, -sign * k * radiusStep_, lon, lat))
      return false;
    colat_.push_back(90 - sign * lat);
  }
  return true;
}

// The table stands in for PROJ only where PROJ agrees with it: points on
// other meridians and between the samples.
bool TPolarRadius::Verify(const TProjTransform& proj) const
{
  const double sign = southern_ ? -1 : 1;
  double x = 0, y = 0;
  if (!proj.Forward(centreLon_, sign * 90, x, y) || std::hypot(x, y) > 1e-3)
    return false;
  for (const double colat : {0.1, 7.3, 31.7, 64.9, 101.3}) {
    for (const double delta : {0.0, 37.0, -121.0, 179.0}) {
      const double lat = sign * (90 - colat);
      double radius = 0, back = 0;
      if (!proj.Forward(centreLon_ + delta, lat, x, y) || !RadiusAt(lat, radius) || !LatitudeAt(radius, back))
        return false;
      const double lambda = delta * projection::kDegToRad;
      const double ex = radius * std::sin(lambda), ey = -sign * radius * std::cos(lambda);
      if (std::hypot(x - ex, y - ey) > 1e-3 + 1e-9 * radius || std::fabs(back - lat) > 1e-7)
        return false;
    }
  }
  return true;
}

bool TPolarRadius::RadiusAt(double lat, double& radius) const
{
  const double colat = southern_ ? 90 + lat : 90 - lat;
  return Cubic(radius_, colat / kColatStep, radius);
}

bool TPolarRadius::LatitudeAt(double radius, double& lat) const
{
  double colat = 0;
  if (!Cubic(colat_, radius / radiusStep_, colat))
    return false;
  lat = southern_ ? colat - 90 : 90 - colat;
  return true;
}
