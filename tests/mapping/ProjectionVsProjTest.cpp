// Every projection kind against PROJ, both ways. Each case builds a mapping
// the way the program sets it up and a PROJ pipeline that ends in picture
// pixels (x right, y down), so one harness checks them all: a lattice of
// points projects where PROJ puts it, and the read-out of each projected
// pixel projects back onto that pixel.
#include "mapping/DwdLmeMapping.h"
#include "mapping/GeostationaryMapping.h"
#include "mapping/GridPlacement.h"
#include "mapping/Mapping.h"
#include "mapping/ProjGrids.h"
#include "mapping/ProjMapping.h"
#include "support/ProjReference.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

namespace {

const double kPi = std::acos(-1.0);

std::string Num(double value)
{
  char text[40];
  std::snprintf(text, sizeof text, "%.17g", value);
  return text;
}

std::string Affine(double xoff, double s11, double yoff, double s22, double s12 = 0, double s21 = 0)
{
  return " +step +proj=affine +xoff=" + Num(xoff) + " +yoff=" + Num(yoff) + " +s11=" + Num(s11) + " +s12=" +
         Num(s12) + " +s21=" + Num(s21) + " +s22=" + Num(s22);
}

// Projected units (y up, origin at the picture centre) to pixels.
std::string ToPixels(const TMapping& m, double rotationDeg = 0)
{
  const double r = rotationDeg * kPi / 180;
  return Affine(m.Width() / 2.0, std::cos(r), m.HalfHeight(), -std::cos(r), std::sin(r), std::sin(r));
}

std::string Centre(const TMapping& m) { return " +lat_0=" + Num(m.CentreLat()) + " +lon_0=" + Num(m.CentreLon()); }

// Sphere whose radius is the kind's Scale in pixels (plane unit = width).
std::string Sphere(const TMapping& m) { return " +R=" + Num(double{m.Scale()} * m.Width()); }

std::string Azimuthal(const char* proj, const TMapping& m, bool rotated)
{
  return std::string("+proj=") + proj + Centre(m) + Sphere(m) + ToPixels(m, rotated ? m.Rotation() : 0);
}
std::string Equidistant(const TMapping& m) { return Azimuthal("aeqd", m, true); }
std::string Orthographic(const TMapping& m) { return Azimuthal("ortho", m, true); }
std::string Gnomonic(const TMapping& m) { return Azimuthal("gnom", m, true); }
std::string GreatCircle(const TMapping& m) { return Azimuthal("aeqd", m, false); }
std::string VanDerGrinten(const TMapping& m) { return "+proj=vandg +lon_0=" + Num(m.CentreLon()) + Sphere(m) + ToPixels(m); }

// Full Mercator: W/360 pixels per degree, a sphere of radius W / 2 pi.
std::string MercatorFull(const TMapping& m)
{
  return "+proj=merc +lon_0=" + Num(m.CentreLon()) + " +R=" + Num(m.Width() / (2 * kPi)) + ToPixels(m);
}

// Zoomed Mercator: the window's longitudes over the width, and the Mercator
// ordinate stretched so that the mean slope over the latitude span fits.
std::string MercatorZoomed(const TMapping& m)
{
  const double lo = m.CentreLat() - m.LatSpan() / 2.0, hi = m.CentreLat() + m.LatSpan() / 2.0;
  const std::string degrees = "+proj=merc +R=" + Num(180 / kPi);  // ordinate in degrees
  const TProjReference merc(degrees);
  const double slope = (merc.Forward(0, hi).y - merc.Forward(0, lo).y) / (hi - lo);
  const double offset = merc.Forward(0, m.CentreLat()).y - slope * m.LatSpan() / 2;
  const double perDegreeY = m.Height() / (slope * m.LatSpan());
  return degrees + " +lon_0=" + Num(m.CentreLon()) +
         Affine(m.Width() / 2.0, m.Width() / m.LonSpan(), m.Height() + offset * perDegreeY, -perDegreeY);
}

std::string CylindricalFull(const TMapping& m)
{
  return "+proj=eqc +R=1" + Affine(m.Width() / 2.0, m.Width() / (2 * kPi), m.Height() / 2.0, -m.Height() / kPi);
}

// Plate carree over the window LonSpan x LatSpan.
std::string CylindricalWindow(const TMapping& m)
{
  const double lonScale = m.Width() / (m.LonSpan() * kPi / 180), latScale = m.Height() / (m.LatSpan() * kPi / 180);
  const double bottom = (m.CentreLat() - m.LatSpan() / 2.0) * kPi / 180;
  return "+proj=eqc +R=1 +lon_0=" + Num(m.CentreLon()) +
         Affine(m.Width() / 2.0, lonScale, m.Height() + bottom * latScale, -latScale);
}

// Lambert conformal conic on the ellipsoid, enlarged by 1.095 widths.
std::string Conic(const TMapping& m)
{
  const double sign = m.Southern() ? -1 : 1;
  return "+proj=lcc +lat_1=" + Num(sign * m.StdParallel1()) + " +lat_2=" + Num(sign * m.StdParallel2()) + Centre(m) +
         " +a=" + Num(1.095 * m.Width()) + " +es=0.0066943178" + ToPixels(m);
}

struct TCase;
using TMake = std::unique_ptr<TMapping> (*)(const TCase&);

struct TCase {
  const char* name;
  TMake make;
  std::string (*reference)(const TMapping&);
  // The mapping's settings, where make uses them.
  int kind;
  float centreLon, centreLat;
  int width, height;
  float lonSpan, latSpan, parallel1, parallel2, rotation;
  // Lattice of test points, absolute degrees.
  double lonMin, lonMax, latMin, latMax, step;
  double tolerance;  // pixels
};

void PrintTo(const TCase& c, std::ostream* os) { *os << c.name; }

std::unique_ptr<TMapping> Plain(const TCase& c)
{
  auto m = std::make_unique<TMapping>();
  m->SetKind(c.kind);
  m->SetWidth(c.width);
  m->SetHeight(c.height);
  if (c.lonSpan != 0) m->SetLonSpan(c.lonSpan);
  m->SetLatSpan(c.latSpan);
  m->SetCentreLon(c.centreLon);
  m->SetCentreLat(c.centreLat);
  if (c.parallel1 != 0) {
    m->SetStdParallel1(c.parallel1);
    m->SetStdParallel2(c.parallel2);
  }
  m->SetRotation(c.rotation);
  return m;
}

// The 10 km sea-ice grids as the GRIB reader sets them up: height unit 700
// stands for true scale at 60 degrees on a 6377 km sphere, 728 for 70
// degrees on 6380 km; the grid is placed by its first (top-left) point.
std::string PolarStereo(const TMapping& m)
{
  const double sign = m.CentreLat() > 0 ? 1 : -1;
  const int unit = m.Height();
  const double trueLat = unit == 700 ? 60 : 70, radiusKm = unit == 700 ? 6377 : 6380;
  const double leftKm = sign > 0 ? -3850 : -3950, topKm = sign > 0 ? 5850 : 4350;
  return "+proj=stere +lat_0=" + Num(90 * sign) + " +lat_ts=" + Num(sign * trueLat) + " +lon_0=" +
         Num(m.CentreLon()) + " +R=" + Num(radiusKm * 1000) +
         Affine(-leftKm / 10 - 0.5, 1 / 10000.0, topKm / 10 - 0.5, -1 / 10000.0);
}
std::unique_ptr<TMapping> PolarGrid(const TCase& c)
{
  auto m = std::make_unique<TMapping>();
  m->SetKind(pkPolarStereographic);
  m->SetCentreLon(c.centreLon);
  m->SetCentreLat(c.centreLat);
  m->SetHeight(c.height);
  m->SetWidth(c.width);
  m->SetLatSpan(0);
  m->SetXOffset(17);  // stale offsets must not leak into the placement
  m->SetYOffset(-5);
  // The first grid point is the centre of the top-left pixel; the southern
  // grids are stored south to north, from the bottom-left one.
  const bool topDown = c.centreLat > 0;
  const int rows = topDown ? 1120 : 830;
  const TGeoPoint first = TProjReference(PolarStereo(*m)).Inverse(0, topDown ? 0 : rows - 1);
  EXPECT_TRUE(PlaceFirstGridPoint(*m, static_cast<float>(first.lon), static_cast<float>(first.lat), rows, topDown));
  return m;
}

// Geostationary discs: PROJ's geos plane is the scan angle times the
// satellite's height above the surface.
std::string Geos(const TMapping& base)
{
  const auto& m = static_cast<const TGeostationaryMapping&>(base);
  const double h = (double{m.SatDistance()} - double{m.EquatorRadius()}) * 1000;
  const double perMetre = 180 / kPi / h;
  return "+proj=geos +sweep=y +h=" + Num(h) + " +a=" + Num(m.EquatorRadius() * 1000.0) + " +b=" +
         Num(m.PolarRadius() * 1000.0) + " +lon_0=" + Num(m.CentreLon()) +
         Affine(m.CentreColumn(), perMetre * m.ColumnFactor(), m.CentreLine(), -perMetre * m.LineFactor());
}
std::unique_ptr<TMapping> Disc(const TCase& c)
{
  auto m = std::make_unique<TGeostationaryMapping>();
  m->SetCentreLon(c.centreLon);
  const float centre = static_cast<float>(c.width - 1) / 2;
  m->SetCentreColumn(centre);
  m->SetCentreLine(centre);
  m->SetDiscSize(c.width, c.width);
  return m;
}

// Rotated-pole grid: southern pole of rotation at (10, -32.5), rotated
// window -19..24 by -20..21 at 0.25 degrees, rows stored south to north.
constexpr int kRotatedColumns = 173, kRotatedRows = 165;
std::string Rotated(const TMapping&)
{
  return "+proj=ob_tran +o_proj=longlat +o_lon_p=0 +o_lat_p=32.5 +lon_0=10"
         " +step +proj=unitconvert +xy_in=rad +xy_out=deg" +
         Affine(19 / 0.25, 4, kRotatedRows - 1 - 20 / 0.25, -4);
}
std::unique_ptr<TMapping> RotatedGrid(const TCase&)
{
  auto m = std::make_unique<TDwdLmeMapping>();
  m->SetCentreLon(10);
  m->SetCentreLat(50);
  m->SetLonSpan(60);
  m->SetLatSpan(40);
  m->SetWidth(kRotatedColumns);
  m->SetHeight(kRotatedRows);
  m->SetRotLatFirst(-20);
  m->SetRotLatLast(21);
  m->SetRotLonFirst(-19);
  m->SetRotLonLast(24);
  m->SetPoleLat(32.5f);
  m->SetPoleLon(190);
  return m;
}

// The PROJ-backed mapping of an edition-2 polar grid on the Hughes
// ellipsoid, placed by its first point at the bottom left.
constexpr const char* kHughesNorth = "+proj=stere +lat_0=90 +lat_ts=70 +lon_0=-45 +a=6378273 +b=6356889.449";
std::string HughesGrid(const TMapping&)
{
  const TPlanePoint first = TProjReference(kHughesNorth).Forward(-80.73, 33.972);
  return std::string(kHughesNorth) + Affine(-first.x / 10000, 1 / 10000.0, 1119 + first.y / 10000, -1 / 10000.0);
}
std::unique_ptr<TMapping> Hughes(const TCase&)
{
  auto m = PolarStereographicMapping(TEarth::Ellipsoid(6378273, 6356889.449), 70, -45, false, nullptr);
  EXPECT_TRUE(m && m->PlacePoint(-80.73, 33.972, 0, 1119, 10000, 10000, 760, 1120));
  return m;
}

const TCase kCases[] = {
  {"CylindricalFull", Plain, CylindricalFull, pkCylindricalFull, 0, 0, 1000, 400, 0, 0, 0, 0, 0, -179, 179, -89, 89, 3, 0.01},
  {"CylindricalZoomed", Plain, CylindricalWindow, pkCylindricalZoomed, 10, 55, 800, 600, 40, 30, 0, 0, 0, -10, 30, 40, 70, 1, 0.01},
  {"LinearBased", Plain, CylindricalWindow, pkLinearBased, -20, -30, 640, 480, 60, 40, 0, 0, 0, -50, 10, -50, -10, 2, 0.01},
  {"AzimuthalEquidistant", Plain, Equidistant, pkAzimuthalEquidistant, 15, 50, 900, 700, 0, 0, 0, 0, 0, -180, 180, -60, 90, 5, 0.01},
  {"AzimuthalEquidistantRotated", Plain, Equidistant, pkAzimuthalEquidistant, 15, 50, 900, 700, 0, 0, 0, 0, 25, -180, 180, -60, 90, 5, 0.01},
  {"AzimuthalEquidistantWideFitted", Plain, Equidistant, pkAzimuthalEquidistantWide, -100, 40, 1000, 800, 0, 120, 0, 0, 0, -180, 180, -60, 90, 5, 0.01},
  {"AzimuthalEquidistantPolar", Plain, Equidistant, pkAzimuthalEquidistant, 0, 90, 800, 800, 0, 0, 0, 0, 0, -180, 180, 0, 89, 3, 0.01},
  {"MercatorFull", Plain, MercatorFull, pkMercatorFull, 0, 0, 1024, 1024, 360, 0, 0, 0, 0, -179, 179, -85, 85, 3, 0.01},
  {"MercatorZoomed", Plain, MercatorZoomed, pkMercatorZoomed, 20, 45, 800, 600, 60, 50, 0, 0, 0, -9, 49, 21, 69, 1, 0.01},
  {"Orthographic", Plain, Orthographic, pkOrthographic, -30, 35, 800, 800, 0, 0, 0, 0, 0, -180, 180, -90, 90, 3, 0.01},
  {"OrthographicRotatedFitted", Plain, Orthographic, pkOrthographic, 100, -20, 900, 600, 0, 80, 0, 0, -40, -180, 180, -90, 90, 3, 0.01},
  {"Gnomonic", Plain, Gnomonic, pkGnomonic, 5, 60, 800, 800, 0, 0, 0, 0, 0, -60, 70, 20, 90, 2, 0.01},
  {"GreatCircle", Plain, GreatCircle, pkGreatCircle, 140, -35, 1000, 1000, 0, 0, 0, 0, 0, -180, 180, -90, 90, 4, 0.01},
  {"ConicTwoParallels", Plain, Conic, pkLambertConformal, 10, 45, 900, 700, 0, 0, 30, 60, 0, -40, 60, 15, 80, 2, 0.01},
  {"ConicOneParallel", Plain, Conic, pkLambertConformal, -95, 25, 900, 700, 0, 0, 0, 0, 0, -150, -40, 0, 70, 2, 0.01},
  {"ConicSouthern", Plain, Conic, pkLambertConformal, 135, -40, 900, 700, 0, 0, 30, 50, 0, 90, 180, -75, -5, 2, 0.01},
  {"VanDerGrinten", Plain, VanDerGrinten, pkVanDerGrinten, 0, 0, 1000, 1000, 0, 0, 0, 0, 0, -179, 179, -89, 89, 2, 0.01},
  {"VanDerGrintenShifted", Plain, VanDerGrinten, pkVanDerGrinten, 150, 0, 800, 600, 0, 0, 0, 0, 0, -179, 179, -80, 80, 3, 0.01},
  // The radii behind the height units are rounded to a km: 0.1 pixel.
  {"SeaIceNorthTrueAt60", PolarGrid, PolarStereo, 0, -45, 60, 760, 700, 0, 0, 0, 0, 0, -180, 179, 30, 89, 1, 0.1},
  {"SeaIceNorthTrueAt70", PolarGrid, PolarStereo, 0, -45, 60, 760, 728, 0, 0, 0, 0, 0, -180, 179, 30, 89, 1, 0.1},
  {"SeaIceSouthTrueAt60", PolarGrid, PolarStereo, 0, 0, -60, 790, 700, 0, 0, 0, 0, 0, -180, 179, -89, -30, 1, 0.1},
  {"SeaIceSouthTrueAt70", PolarGrid, PolarStereo, 0, 0, -60, 790, 728, 0, 0, 0, 0, 0, -180, 179, -89, -30, 1, 0.1},
  {"GeostationaryFullAt41_5", Disc, Geos, 0, 41.5f, 0, 3712, 3712, 0, 0, 0, 0, 0, -137.5, 220.5, -89, 89, 2, 0.01},
  {"GeostationaryThirdAt0", Disc, Geos, 0, 0, 0, 1237, 1237, 0, 0, 0, 0, 0, -179, 179, -89, 89, 2, 0.01},
  {"RotatedPole", RotatedGrid, Rotated, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -20, 40, 30, 75, 0.5, 0.01},
  {"ProjBackedHughesPolar", Hughes, HughesGrid, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -180, 179, 35, 89, 2, 0.01},
};

class ProjectionVsProj : public ::testing::TestWithParam<TCase> {};

// Shown points land where PROJ puts them (points PROJ cannot place are never
// shown), and the read-out of the pixel a point lands on projects back onto
// that pixel, with a longitude kept within one turn; a pixel reads nothing
// only where PROJ has no position for it either.
TEST_P(ProjectionVsProj, ForwardAndReadOutAgree)
{
  const TCase& c = GetParam();
  const std::unique_ptr<TMapping> made = c.make(c);
  const TProjReference reference(c.reference(*made));
  // The copy the display draws with: it keeps the kind's own projection,
  // explicit parallels and a zoomed window's centre.
  const std::unique_ptr<TMapping> m = made->Clone();
  int checked = 0;
  for (double lat = c.latMin; lat <= c.latMax; lat += c.step) {
    for (double lon = c.lonMin; lon <= c.lonMax; lon += c.step) {
      const auto flon = static_cast<float>(lon), flat = static_cast<float>(lat);
      float x = 0, y = 0, backLon = 0, backLat = 0;
      int ix = 0, iy = 0;
      if (!m->LatLonToPixelF(flon, flat, x, y))
        continue;
      const TPlanePoint expected = reference.Forward(lon, lat);
      ASSERT_FALSE(std::isnan(expected.x)) << lon << "," << lat << " shown but PROJ has no position";
      ASSERT_NEAR(x, expected.x, c.tolerance) << lon << "," << lat;
      ASSERT_NEAR(y, expected.y, c.tolerance) << lon << "," << lat;
      ASSERT_TRUE(m->LatLonToPixel(flon, flat, ix, iy));
      ASSERT_LE(std::fabs(ix - expected.x), 0.5 + c.tolerance) << lon << "," << lat;
      ASSERT_LE(std::fabs(iy - expected.y), 0.5 + c.tolerance) << lon << "," << lat;
      ++checked;
      if (!m->PixelToLatLon(ix, iy, backLon, backLat)) {
        ASSERT_TRUE(std::isnan(reference.Inverse(ix, iy).lon)) << ix << "," << iy;
        continue;
      }
      ASSERT_GE(backLon, -180);
      ASSERT_LT(backLon, 180);
      const TPlanePoint back = reference.Forward(backLon, backLat);
      ASSERT_NEAR(back.x, ix, c.tolerance) << lon << "," << lat << " read as " << backLon << "," << backLat;
      ASSERT_NEAR(back.y, iy, c.tolerance) << lon << "," << lat << " read as " << backLon << "," << backLat;
    }
  }
  EXPECT_GT(checked, 100);
}

INSTANTIATE_TEST_SUITE_P(Kinds, ProjectionVsProj, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The radius table of the PROJ-backed polar mapping stands in for PROJ to
// a centimetre over a whole hemisphere, and is refused off the pole.
TEST(ProjectionVsProjTable, RadiusTableAgreesWithProj)
{
  const struct {
    const char* definition;
    double centreLon;
    bool southern;
  } cases[] = {
    {"+proj=stere +lat_0=90 +lat_ts=60 +lon_0=-45 +R=6367470", -45, false},
    {kHughesNorth, -45, false},
    {"+proj=stere +lat_0=-90 +lat_ts=-70 +lon_0=0 +a=6378273 +b=6356889.449", 0, true},
    {"+proj=laea +lat_0=90 +lon_0=0 +ellps=WGS84", 0, false},
    {"+proj=laea +lat_0=-90 +lon_0=0 +ellps=WGS84", 0, true},
  };
  for (const auto& c : cases) {
    auto mapping = TProjMapping::Create(c.definition, TPolarAxis{c.centreLon, c.southern});
    ASSERT_TRUE(mapping && mapping->UsesRadiusTable()) << c.definition;
    const TProjReference proj(c.definition);
    const double sign = c.southern ? -1 : 1;
    for (double lat = 89.99; lat > -30; lat -= 3.7) {
      for (double lon = -180; lon < 180; lon += 17.3) {
        double x = 0, y = 0, backLon = 0, backLat = 0;
        ASSERT_TRUE(mapping->ToPlane(lon, sign * lat, x, y));
        const TPlanePoint expected = proj.Forward(lon, sign * lat);
        ASSERT_NEAR(x, expected.x, 0.01) << c.definition << " " << lat << ", " << lon;
        ASSERT_NEAR(y, expected.y, 0.01) << c.definition << " " << lat << ", " << lon;
        ASSERT_TRUE(mapping->FromPlane(expected.x, expected.y, backLon, backLat));
        ASSERT_NEAR(backLat, sign * lat, 1e-7);
        ASSERT_NEAR(std::remainder(backLon - lon, 360.0), 0, 1e-6 / std::cos(lat * kPi / 180));
      }
    }
  }
  auto offPole = TProjMapping::Create("+proj=stere +lat_0=60 +lon_0=0 +R=6371000", TPolarAxis{0, false});
  ASSERT_TRUE(offPole);
  EXPECT_FALSE(offPole->UsesRadiusTable());
}

TEST(ProjectionVsProjTable, GreatCircleDistanceAgreesWithProjGeodesic)
{
  PJ_CONTEXT* context = proj_context_create();
  PJ* sphere = proj_create(context, "+proj=longlat +R=6378135");
  const double d2r = kPi / 180;
  const double pairs[][4] = {{0, 0, 0, 90},     {60, -45, 60, 135},   {90, 0, -90, 0}, {51.5, -0.1, 40.7, -74},
                             {10, 170, 10, -170}, {0, 0, 0, 180}, {45, 45, 45, 45}, {70, 20, 70.0001, 20}};
  for (const auto& p : pairs) {
    const double km = proj_lp_dist(sphere, proj_coord(p[1] * d2r, p[0] * d2r, 0, 0),
                                   proj_coord(p[3] * d2r, p[2] * d2r, 0, 0)) / 1000;
    EXPECT_NEAR(GreatCircleDistance(p[0], p[1], p[2], p[3]), km, 1e-6 * km + 1e-3) << p[0] << "," << p[1];
  }
  proj_destroy(sphere);
  proj_context_destroy(context);
}

}  // namespace
