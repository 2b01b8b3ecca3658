// Every kind with a PROJ counterpart, checked both ways against PROJ. The
// PROJ pipeline carries the kind's own scaling: the projection on a sphere
// (or ellipsoid) whose radius is the kind's Scale in pixels, then an affine
// step from projected units to picture pixels (x right from the centre
// column, y down from the middle row).
#include "ProjectionReference.h"
#include "mapping/Mapping.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <ostream>
#include <string>

namespace {

const double kPi = std::acos(-1.0);

std::string Num(double value)
{
  char text[40];
  std::snprintf(text, sizeof text, "%.17g", value);
  return text;
}

// Projected units (y up, origin at the picture centre) to pixels.
std::string ToPixels(const TMapping& m, double rotationDeg = 0)
{
  const double r = rotationDeg * kPi / 180;
  return " +step +proj=affine +xoff=" + Num(m.Width() / 2.0) + " +yoff=" + Num(m.HalfHeight()) +
         " +s11=" + Num(std::cos(r)) + " +s12=" + Num(std::sin(r)) + " +s21=" + Num(std::sin(r)) +
         " +s22=" + Num(-std::cos(r));
}

std::string Centre(const TMapping& m)
{
  return " +lat_0=" + Num(m.CentreLat()) + " +lon_0=" + Num(m.CentreLon());
}

// Sphere whose radius is the kind's Scale in pixels (plane unit = width).
std::string ScaledSphere(const TMapping& m) { return " +R=" + Num(double{m.Scale()} * m.Width()); }

std::string Equidistant(const TMapping& m) { return "+proj=aeqd" + Centre(m) + ScaledSphere(m) + ToPixels(m, m.Rotation()); }
std::string Orthographic(const TMapping& m) { return "+proj=ortho" + Centre(m) + ScaledSphere(m) + ToPixels(m, m.Rotation()); }
std::string Gnomonic(const TMapping& m) { return "+proj=gnom" + Centre(m) + ScaledSphere(m) + ToPixels(m, m.Rotation()); }
std::string GreatCircle(const TMapping& m) { return "+proj=aeqd" + Centre(m) + ScaledSphere(m) + ToPixels(m); }

// Full Mercator: W/360 pixels per degree of longitude and of Mercator
// ordinate, which is a sphere of radius W / 2 pi.
std::string MercatorFull(const TMapping& m)
{
  return "+proj=merc +lon_0=" + Num(m.CentreLon()) + " +R=" + Num(m.Width() / (2 * kPi)) + ToPixels(m);
}

// Zoomed Mercator: the window's longitudes over the width, and the Mercator
// ordinate stretched so that the mean slope over the latitude span fits.
std::string MercatorZoomed(const TMapping& m)
{
  const double lo = m.CentreLat() - m.LatSpan() / 2.0, hi = m.CentreLat() + m.LatSpan() / 2.0;
  TProjReference degrees("+proj=merc +R=" + Num(180 / kPi));  // ordinate in degrees
  const double slope = (degrees.Forward(0, hi).y - degrees.Forward(0, lo).y) / (hi - lo);
  const double offset = degrees.Forward(0, m.CentreLat()).y - slope * m.LatSpan() / 2;
  const double perDegreeY = m.Height() / (slope * m.LatSpan());
  return "+proj=merc +R=" + Num(180 / kPi) + " +lon_0=" + Num(m.CentreLon()) +
         " +step +proj=affine +xoff=" + Num(m.Width() / 2.0) + " +s11=" + Num(m.Width() / m.LonSpan()) +
         " +yoff=" + Num(m.Height() + offset * perDegreeY) + " +s22=" + Num(-perDegreeY);
}

// Plate carree over the whole world, W by H.
std::string CylindricalFull(const TMapping& m)
{
  return "+proj=eqc +R=1 +step +proj=affine +xoff=" + Num(m.Width() / 2.0) + " +s11=" + Num(m.Width() / (2 * kPi)) +
         " +yoff=" + Num(m.Height() / 2.0) + " +s22=" + Num(-m.Height() / kPi);
}

// Plate carree over the window LonSpan x LatSpan.
std::string CylindricalWindow(const TMapping& m)
{
  const double lonScale = m.Width() / (m.LonSpan() * kPi / 180), latScale = m.Height() / (m.LatSpan() * kPi / 180);
  const double bottom = (m.CentreLat() - m.LatSpan() / 2.0) * kPi / 180;
  return "+proj=eqc +R=1 +lon_0=" + Num(m.CentreLon()) + " +step +proj=affine +xoff=" + Num(m.Width() / 2.0) +
         " +s11=" + Num(lonScale) + " +yoff=" + Num(m.Height() + bottom * latScale) + " +s22=" + Num(-latScale);
}

// Lambert conformal conic on the ellipsoid, enlarged by 1.095 widths.
std::string Conic(const TMapping& m)
{
  const double sign = m.Southern() ? -1 : 1;
  return "+proj=lcc +lat_1=" + Num(sign * m.StdParallel1()) + " +lat_2=" + Num(sign * m.StdParallel2()) + Centre(m) +
         " +a=" + Num(1.095 * m.Width()) + " +es=0.0066943178" + ToPixels(m);
}

std::string VanDerGrinten(const TMapping& m)
{
  return "+proj=vandg +lon_0=" + Num(m.CentreLon()) + ScaledSphere(m) + ToPixels(m);
}

struct TKindCase {
  const char* name;
  int kind;
  float centreLon, centreLat;
  int width, height;
  float lonSpan, latSpan;
  float parallel1, parallel2;  // 0: leave as the centre latitude sets them
  float rotation;
  // Lattice of test points, absolute degrees.
  double lonMin, lonMax, latMin, latMax, step;
  double tolerance;  // pixels
  std::string (*reference)(const TMapping&);
};

void PrintTo(const TKindCase& c, std::ostream* os) { *os << c.name; }

const TKindCase kCases[] = {
  {"CylindricalFull", pkCylindricalFull, 0, 0, 1000, 400, 0, 0, 0, 0, 0, -179, 179, -89, 89, 3, 0.01, CylindricalFull},
  {"CylindricalZoomed", pkCylindricalZoomed, 10, 55, 800, 600, 40, 30, 0, 0, 0, -10, 30, 40, 70, 1, 0.01, CylindricalWindow},
  {"LinearBased", pkLinearBased, -20, -30, 640, 480, 60, 40, 0, 0, 0, -50, 10, -50, -10, 2, 0.01, CylindricalWindow},
  {"AzimuthalEquidistant", pkAzimuthalEquidistant, 15, 50, 900, 700, 0, 0, 0, 0, 0, -180, 180, -60, 90, 5, 0.01, Equidistant},
  {"AzimuthalEquidistantRotated", pkAzimuthalEquidistant, 15, 50, 900, 700, 0, 0, 0, 0, 25, -180, 180, -60, 90, 5, 0.01, Equidistant},
  {"AzimuthalEquidistantWideFitted", pkAzimuthalEquidistantWide, -100, 40, 1000, 800, 0, 120, 0, 0, 0, -180, 180, -60, 90, 5, 0.01, Equidistant},
  {"AzimuthalEquidistantPolar", pkAzimuthalEquidistant, 0, 90, 800, 800, 0, 0, 0, 0, 0, -180, 180, 0, 89, 3, 0.01, Equidistant},
  {"MercatorFull", pkMercatorFull, 0, 0, 1024, 1024, 360, 0, 0, 0, 0, -179, 179, -85, 85, 3, 0.01, MercatorFull},
  {"MercatorZoomed", pkMercatorZoomed, 20, 45, 800, 600, 60, 50, 0, 0, 0, -9, 49, 21, 69, 1, 0.01, MercatorZoomed},
  {"Orthographic", pkOrthographic, -30, 35, 800, 800, 0, 0, 0, 0, 0, -180, 180, -90, 90, 3, 0.01, Orthographic},
  {"OrthographicRotatedFitted", pkOrthographic, 100, -20, 900, 600, 0, 80, 0, 0, -40, -180, 180, -90, 90, 3, 0.01, Orthographic},
  {"Gnomonic", pkGnomonic, 5, 60, 800, 800, 0, 0, 0, 0, 0, -60, 70, 20, 90, 2, 0.01, Gnomonic},
  {"GreatCircle", pkGreatCircle, 140, -35, 1000, 1000, 0, 0, 0, 0, 0, -180, 180, -90, 90, 4, 0.01, GreatCircle},
  {"ConicTwoParallels", pkLambertConformal, 10, 45, 900, 700, 0, 0, 30, 60, 0, -40, 60, 15, 80, 2, 0.01, Conic},
  {"ConicOneParallel", pkLambertConformal, -95, 25, 900, 700, 0, 0, 0, 0, 0, -150, -40, 0, 70, 2, 0.01, Conic},
  {"ConicSouthern", pkLambertConformal, 135, -40, 900, 700, 0, 0, 30, 50, 0, 90, 180, -75, -5, 2, 0.01, Conic},
  {"VanDerGrinten", pkVanDerGrinten, 0, 0, 1000, 1000, 0, 0, 0, 0, 0, -179, 179, -89, 89, 2, 0.01, VanDerGrinten},
  {"VanDerGrintenShifted", pkVanDerGrinten, 150, 0, 800, 600, 0, 0, 0, 0, 0, -179, 179, -80, 80, 3, 0.01, VanDerGrinten},
};

void Configure(TMapping& m, const TKindCase& c)
{
  m.SetKind(c.kind);
  m.SetWidth(c.width);
  m.SetHeight(c.height);
  if (c.lonSpan != 0)
    m.SetLonSpan(c.lonSpan);
  m.SetLatSpan(c.latSpan);
  m.SetCentreLon(c.centreLon);
  m.SetCentreLat(c.centreLat);
  if (c.parallel1 != 0) {
    m.SetStdParallel1(c.parallel1);
    m.SetStdParallel2(c.parallel2);
  }
  m.SetRotation(c.rotation);
}

class ProjectionKind : public ::testing::TestWithParam<TKindCase> {};

TEST_P(ProjectionKind, ForwardAgreesWithProj)
{
  const TKindCase& c = GetParam();
  TMapping m;
  Configure(m, c);
  const TProjReference reference(c.reference(m));
  int checked = 0;
  for (double lat = c.latMin; lat <= c.latMax; lat += c.step) {
    for (double lon = c.lonMin; lon <= c.lonMax; lon += c.step) {
      float x = 0, y = 0;
      if (!m.LatLonToPixelF(static_cast<float>(lon), static_cast<float>(lat), x, y))
        continue;
      const TPlanePoint expected = reference.Forward(lon, lat);
      ASSERT_FALSE(std::isnan(expected.x)) << lon << "," << lat << " shown but PROJ has no position";
      ASSERT_NEAR(x, expected.x, c.tolerance) << lon << "," << lat;
      ASSERT_NEAR(y, expected.y, c.tolerance) << lon << "," << lat;
      int ix = 0, iy = 0;
      ASSERT_TRUE(m.LatLonToPixel(static_cast<float>(lon), static_cast<float>(lat), ix, iy));
      ASSERT_EQ(ix, static_cast<int>(std::nearbyint(x)));
      ASSERT_EQ(iy, static_cast<int>(std::nearbyint(y)));
      ++checked;
    }
  }
  EXPECT_GT(checked, 100);
}

TEST_P(ProjectionKind, InverseAgreesWithProj)
{
  const TKindCase& c = GetParam();
  TMapping m;
  Configure(m, c);
  const TProjReference reference(c.reference(m));
  int checked = 0;
  // Pixels of the visible test points: the read-out must find a position
  // that PROJ projects back onto the same pixel.
  for (double lat = c.latMin; lat <= c.latMax; lat += c.step) {
    for (double lon = c.lonMin; lon <= c.lonMax; lon += c.step) {
      int x = 0, y = 0;
      if (!m.LatLonToPixel(static_cast<float>(lon), static_cast<float>(lat), x, y))
        continue;
      float backLon = 0, backLat = 0;
      ASSERT_TRUE(m.PixelToLatLon(x, y, backLon, backLat)) << x << "," << y;
      ASSERT_GE(backLon, -180);
      ASSERT_LT(backLon, 180);
      const TPlanePoint back = reference.Forward(backLon, backLat);
      ASSERT_NEAR(back.x, x, c.tolerance) << lon << "," << lat << " read as " << backLon << "," << backLat;
      ASSERT_NEAR(back.y, y, c.tolerance) << lon << "," << lat << " read as " << backLon << "," << backLat;
      ++checked;
    }
  }
  EXPECT_GT(checked, 100);
}

INSTANTIATE_TEST_SUITE_P(Kinds, ProjectionKind, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The same distances by PROJ's geodesic on the sphere of the same radius.
TEST(ProjectionDistance, GreatCircleDistanceAgreesWithProjGeodesic)
{
  struct TPair {
    double lat1, lon1, lat2, lon2;
  };
  const TPair pairs[] = {
    {0, 0, 0, 90},   {60, -45, 60, 135}, {90, 0, -90, 0},   {51.5, -0.1, 40.7, -74},
    {-33.9, 151.2, 35.7, 139.7}, {10, 170, 10, -170}, {0, 0, 0, 180}, {45, 45, 45, 45},
    {70, 20, 70.0001, 20},
  };
  for (const TPair& p : pairs) {
    const double expectedKm = ProjSphereDistance(6378135, p.lat1, p.lon1, p.lat2, p.lon2) / 1000;
    EXPECT_NEAR(GreatCircleDistance(p.lat1, p.lon1, p.lat2, p.lon2), expectedKm, 1e-6 * expectedKm + 1e-3)
      << p.lat1 << "," << p.lon1 << " to " << p.lat2 << "," << p.lon2;
  }
}

}  // namespace
