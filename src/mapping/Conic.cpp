// Lambert conformal conic on the ellipsoid, with one or two standard
// parallels, enlarged by a fixed factor to fill the picture. The southern
// hemisphere is drawn as the mirror image of the northern one.
#include "mapping/Mapping.h"
#include "mapping/ProjectionMath.h"

#include <cmath>

using namespace projection;

namespace {

// Enlarges the conic picture relative to a unit ellipsoid.
constexpr double kConeEnlargement = 1.095;
// Parallels closer to the equator than this count as not given.
constexpr double kMinParallel = 0.1;
// The iteration for the latitude stops at this change (radians) or count.
constexpr double kLatitudeConvergence = 1e-11;
constexpr int kMaxLatitudeRounds = 100;
// Points farther than this from the centre are not shown.
constexpr double kConicReachKm = 10000;

double Eccentricity() { return std::sqrt(kEccentricitySquared); }

// Isometric-latitude term t and parallel radius m of the ellipsoid.
double ConeT(double phi)
{
  const double es = Eccentricity() * std::sin(phi);
  return std::tan(kPi / 4 - phi / 2) / std::pow((1 - es) / (1 + es), Eccentricity() / 2);
}

double ConeM(double phi)
{
  const double s = std::sin(phi);
  return std::cos(phi) / std::sqrt(1 - kEccentricitySquared * s * s);
}

}  // namespace

void TMapping::RecomputeConic()
{
  // The constants use the latitudes of the standard parallels themselves,
  // which makes this the textbook Lambert conformal conic.
  const double phi1 = double{stdParallel1_} * kDegToRad, phi2 = double{stdParallel2_} * kDegToRad;
  const double phi0 = std::fabs(double{centreLat_}) * kDegToRad;
  double n = std::sin(phi1);
  if (phi1 != phi2 && stdParallel1_ > kMinParallel && stdParallel2_ > kMinParallel)
    n = (std::log(ConeM(phi1)) - std::log(ConeM(phi2))) / (std::log(ConeT(phi1)) - std::log(ConeT(phi2)));
  const double f = kConeEnlargement * ConeM(phi1) / (n * std::pow(ConeT(phi1), n));
  const double rho0 = std::pow(ConeT(phi0), n) * f;
  const double coneDeg = n * kDegToRad;
  if (!Finite(n, f) || !Finite(rho0, coneDeg) || n == 0 || f == 0)
    return;  // keep the last consistent constants
  coneN_ = static_cast<float>(n);
  invConeN_ = static_cast<float>(1 / n);
  coneF_ = static_cast<float>(f);
  invConeF_ = static_cast<float>(1 / f);
  rho0_ = static_cast<float>(rho0);
  coneDeg_ = static_cast<float>(coneDeg);
  invConeDeg_ = static_cast<float>(1 / coneDeg);
}

bool TMapping::ForwardConic(double lon, double lat, double& u, double& v) const
{
  const double phi = (southern_ ? -lat : lat) * kDegToRad;
  const double tt = std::tan(kPi / 4 - phi / 2);
  const double es = Eccentricity() * std::sin(phi);
  const double q = std::pow((1 - es) / (1 + es), Eccentricity() / 2);
  const double t = std::fabs(tt) < 1e-5 ? 0 : std::pow(tt / q, double{coneN_});
  const double rho = double{coneF_} * t;
  const double theta = double{coneDeg_} * LonDelta(lon);
  u = rho * std::sin(theta);
  v = double{rho0_} - rho * std::cos(theta);
  if (southern_)
    v = -v;
  const bool visible = GreatCircleDistance(centreLat_, centreLon_, lat, lon) < kConicReachKm;
  return visible && Finite(u, v);
}

bool TMapping::InverseConic(double u, double v, double& lon, double& lat) const
{
  if (southern_)
    v = -v;
  const double below = double{rho0_} - v;
  lon = centreLon_ + std::atan2(u, below) * double{invConeDeg_};
  const double rho = std::hypot(u, below);
  const double t = std::pow(rho * double{invConeF_}, double{invConeN_});
  const double e = Eccentricity();
  double phi = kPi / 2 - 2 * std::atan(t);
  for (int round = 0; round < kMaxLatitudeRounds; ++round) {
    const double es = e * std::sin(phi);
    const double next = kPi / 2 - 2 * std::atan(t * std::pow((1 - es) / (1 + es), e / 2));
    const bool converged = std::fabs(next - phi) < kLatitudeConvergence;
    phi = next;
    if (converged)
      break;
  }
  lat = (southern_ ? -phi : phi) * kRadToDeg;
  lon = NormaliseLonHalfOpen(lon);
  return Finite(lon, lat);
}
