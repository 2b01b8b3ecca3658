// Grid description section of GRIB edition 1, per grid type, and the
// mapping each type sets up.
#include <cmath>
#include <utility>

#include "grib/Decoder.h"
#include "mapping/DwdLmeMapping.h"
#include "mapping/GeostationaryMapping.h"
#include "grib/GridEarth.h"
#include "mapping/GridPlacement.h"
#include "mapping/LatLonGrid.h"
#include "mapping/ProjGrids.h"

namespace {

const char* const kDegree = "°";

float Degrees(std::int32_t milli) { return static_cast<float>(milli / 1000.0); }

}  // namespace

bool TMessageDecoder::ScanningMode(int mode) {
  data_.Grid.ScanningMode = static_cast<std::uint8_t>(mode);
  data_.HorizontalFlip = (mode & 0x80) != 0;
  data_.VerticalFlip = (mode & 0x40) != 0;
  data_.ColumnMajor = (mode & 0x20) != 0;
  data_.AlternateRows = (mode & 0x10) != 0;
  if (data_.ColumnMajor)
    Log("  Points stored column by column");
  if (data_.AlternateRows)
    Log(data_.ColumnMajor ? "  Every other column runs the opposite way" : "  Every other row runs the opposite way");
  return true;
}

// Corners, increments and scanning mode, laid out alike in the regular and
// the rotated latitude/longitude grid descriptions.
bool TMessageDecoder::LatLonCorners1(TOctets g) {
  auto& grid = data_.Grid;
  grid.La1 = g.S(11, 3);
  grid.Lo1 = g.S(14, 3);
  grid.ResolutionFlags = static_cast<std::uint8_t>(g.U8(17));
  grid.La2 = g.S(18, 3);
  grid.Lo2 = g.S(21, 3);
  grid.Di = static_cast<std::int32_t>(g.U16(24));
  grid.Dj = static_cast<std::int32_t>(g.U16(26));
  return ScanningMode(static_cast<int>(g.U8(28)));
}

bool TMessageDecoder::LatLonGrid1(TOctets g) {
  auto& grid = data_.Grid;
  const int ni = static_cast<int>(g.U16(7)), nj = static_cast<int>(g.U16(9));
  if (!LatLonCorners1(g))
    return false;
  // La1 becomes the southern edge.
  if (!data_.VerticalFlip)
    std::swap(grid.La1, grid.La2);
  Logf("  Grid size: %d x %d", ni, nj);
  Log("  Projection: lat-lon (Plate Carree)");
  Logf("  Longitude: %f%s .. %f%s,  latitude: %f%s .. %f%s", Degrees(grid.Lo1), kDegree, Degrees(grid.Lo2),
       kDegree, Degrees(grid.La1), kDegree, Degrees(grid.La2), kDegree);
  Logf("  Longitude step: %.3f%s,  latitude step: %.3f%s", Degrees(grid.Di), kDegree, Degrees(grid.Dj), kDegree);
  data_.Width = ni;
  data_.Height = nj;
  SetLatLonMapping(Degrees(grid.La1), Degrees(grid.La2), Degrees(grid.Lo1), Degrees(grid.Lo2));
  return true;
}

// The picture runs from the western to the eastern grid column and from the
// northern to the southern row, one pixel per point.
void TMessageDecoder::SetLatLonMapping(double la1, double la2, double lo1, double lo2) {
  const double west = data_.HorizontalFlip ? lo2 : lo1;
  const double east = data_.HorizontalFlip ? lo1 : lo2;
  data_.Mapping = LatLonGridMapping(west, east, la1, la2, data_.Width, data_.Height);
}

bool TMessageDecoder::PolarGrid1(TOctets g) {
  const TDataStuff& field = *data_.Current;
  auto& grid = data_.Grid;
  const int nx = static_cast<int>(g.U16(7)), ny = static_cast<int>(g.U16(9));
  grid.La1 = g.S(11, 3);
  grid.Lo1 = g.S(14, 3);
  grid.ResolutionFlags = static_cast<std::uint8_t>(g.U8(17));
  grid.LoV = g.S(18, 3);
  grid.Dx = static_cast<std::int32_t>(g.U24(21));
  grid.Dy = static_cast<std::int32_t>(g.U24(24));
  grid.ProjectionCentre = static_cast<std::uint8_t>(g.U8(27));
  grid.Southern = (grid.ProjectionCentre & 0x80) || grid.ProjectionCentre == 0x01;
  const int p = field.ParameterOctet();
  if (field.Centre() == 57 && (p == 174 || p == 175) && grid.LoV == 100000)
    grid.LoV = -80000;
  if (field.Centre() == 88 && field.Process() == 1 &&
      (p == 91 || p == 220 || p == 221 || p == 230 || p == 231 || p == 232))
    data_.ExtendedGrid = g.Size() > 32;
  if (!ScanningMode(static_cast<int>(g.U8(28))))
    return false;

  Logf("  Grid size: %d x %d", nx, ny);
  Log("  Projection: polar-stereo");
  Logf("  First longitude: %f%s,  first latitude: %f%s", Degrees(grid.Lo1), kDegree, Degrees(grid.La1), kDegree);
  Logf("  X grid length: %d m,  Y grid length: %d m at 60%s circle", grid.Dx, grid.Dy, kDegree);
  if (grid.ResolutionFlags & 0x40)
    Log("  Oblate Earh (1965) 6378.160 km, 6356.775 km, f = 1/297.0");
  else
    Log("  Earth assumed spherical with radius = 6367.47 km");
  TEarth earth = Grib1Earth(grid.ResolutionFlags);
  // Edition 1 grids are true at 60 degrees unless the extension says otherwise.
  double trueLat = grid.Southern ? -60 : 60;
  grid.TrueScaleLatitude = static_cast<float>(trueLat);
  if (data_.ExtendedGrid && !g.Has(41, 4)) {
    // The field itself is intact; only the earth's axes and the true-scale
    // latitude are missing, so those of the edition 1 description stand.
    Logf("  Extended GDS of %zu bytes is too short for the earth's axes and true-scale latitude: ignored",
         g.Size());
  } else if (data_.ExtendedGrid) {
    Log("  Extended GDS");
    grid.MajorAxisKm = IbmFloat(g.U32(33));
    grid.MinorAxisKm = IbmFloat(g.U32(37));
    grid.TrueScaleLatitude = IbmFloat(g.U32(41));
    Logf("  Major/minor axis: %.3f x %.3f km", grid.MajorAxisKm, grid.MinorAxisKm);
    Logf("  Latitude of true scale: %.3f%s", grid.TrueScaleLatitude, kDegree);
    earth = TEarth::Ellipsoid(double{grid.MajorAxisKm} * 1000, double{grid.MinorAxisKm} * 1000);
    // Stated as a magnitude by some producers: it lies on the grid's hemisphere.
    trueLat = grid.Southern ? -std::fabs(grid.TrueScaleLatitude) : std::fabs(grid.TrueScaleLatitude);
  }
  data_.Width = nx;
  data_.Height = ny;
  if (grid.Dx <= 0 || grid.Dy <= 0)
    return Fail("Grid lengths of %d x %d m cannot be mapped", grid.Dx, grid.Dy);
  float orientation = Degrees(grid.LoV);
  if (field.Centre() == 211 && (field.Process() == 220 || field.Process() == 229) && orientation == 180)
    orientation = 0;
  std::string error;
  auto mapping = PolarStereographicMapping(earth, trueLat, orientation, grid.Southern, &error);
  return PlaceProjectedGrid(std::move(mapping), error, Degrees(grid.La1), Degrees(grid.Lo1), grid.Dx, grid.Dy);
}

// Puts a projected grid in its picture: the first point on the pixel the
// scanning mode stores it in, the others Dx and Dy metres apart.
bool TMessageDecoder::PlaceProjectedGrid(std::unique_ptr<TProjMapping> mapping, const std::string& error,
                                         double firstLat, double firstLon, double dx, double dy) {
  if (!(std::fabs(firstLat) <= 90))
    return Fail("First grid point latitude %.3f is beyond the pole", firstLat);
  if (!mapping)
    return Fail("Projection cannot be set up (%s)", error.c_str());
  const int column = data_.HorizontalFlip ? data_.Width - 1 : 0;
  const int row = data_.VerticalFlip ? data_.Height - 1 : 0;
  if (!mapping->PlacePoint(firstLon, firstLat, column, row, dx, dy, data_.Width, data_.Height))
    return Fail("First grid point %.3f%s, %.3f%s has no place in the projection", firstLat, kDegree, firstLon,
                kDegree);
  data_.Mapping = std::move(mapping);
  return true;
}

bool TMessageDecoder::LambertGrid1(TOctets g) {
  auto& grid = data_.Grid;
  const int nx = static_cast<int>(g.U16(7)), ny = static_cast<int>(g.U16(9));
  const auto wrapped = [](std::int32_t milli) {
    while (milli >= 180000)
      milli -= 360000;
    return milli;
  };
  grid.La1 = g.S(11, 3);
  grid.Lo1 = wrapped(g.S(14, 3));
  grid.ResolutionFlags = static_cast<std::uint8_t>(g.U8(17));
  grid.LoV = wrapped(g.S(18, 3));
  grid.Dx = static_cast<std::int32_t>(g.U24(21));
  grid.Dy = static_cast<std::int32_t>(g.U24(24));
  grid.ProjectionCentre = static_cast<std::uint8_t>(g.U8(27));
  if (!g.Has(38, 3))
    return Fail("Lambert grid description of %zu bytes is too short", g.Size());
  if (!ScanningMode(static_cast<int>(g.U8(28))))
    return false;
  grid.Latin1 = g.S(29, 3);
  grid.Latin2 = g.S(32, 3);
  grid.SouthPoleLat = g.S(35, 3);
  grid.SouthPoleLon = g.S(38, 3);
  data_.Width = nx;
  data_.Height = ny;
  Logf("  Grid size: %d x %d", nx, ny);
  Log("  Projection: Lambert conformal");
  Logf("  Initial longitude: %f%s,  latitude: %f%s", Degrees(grid.Lo1), kDegree, Degrees(grid.La1), kDegree);
  Logf("  Meridian: %f%s, parallels: %f%s %f%s", Degrees(grid.LoV), kDegree, Degrees(grid.Latin1), kDegree,
       Degrees(grid.Latin2), kDegree);
  Logf("  Longitude step: %dm,  latitude step: %dm", grid.Dx, grid.Dy);
  Logf("  Southern pole longitude: %f%s,  latitude: %f%s", Degrees(grid.SouthPoleLon), kDegree,
       Degrees(grid.SouthPoleLat), kDegree);
  if (grid.Dx <= 0 || grid.Dy <= 0)
    return Fail("Grid lengths of %d x %d m cannot be mapped", grid.Dx, grid.Dy);
  std::string error;
  auto mapping = LambertConformalMapping(Grib1Earth(grid.ResolutionFlags), Degrees(grid.Latin1),
                                         Degrees(grid.Latin2), Degrees(grid.LoV), &error);
  return PlaceProjectedGrid(std::move(mapping), error, Degrees(grid.La1), Degrees(grid.Lo1), grid.Dx, grid.Dy);
}

bool TMessageDecoder::RotatedGrid1(TOctets g) {
  auto& grid = data_.Grid;
  const int ni = static_cast<int>(g.U16(7)), nj = static_cast<int>(g.U16(9));
  if (!LatLonCorners1(g))
    return false;
  if (!g.Has(39, 4))
    return Fail("Rotated grid description of %zu bytes is too short", g.Size());
  grid.SouthPoleLat = g.S(33, 3);
  grid.SouthPoleLon = g.S(36, 3);
  grid.RotationAngle = IbmFloat(g.U32(39));
  data_.Width = ni;
  data_.Height = nj;
  return SetRotatedMapping(Degrees(grid.La1), Degrees(grid.La2), Degrees(grid.Lo1), Degrees(grid.Lo2),
                           Degrees(grid.SouthPoleLat), Degrees(grid.SouthPoleLon), grid.RotationAngle);
}

// The rotated grid laid out from its south-western point, whichever corner
// the scanning mode stores first.
bool TMessageDecoder::SetRotatedMapping(double la1, double la2, double lo1, double lo2, double southPoleLat,
                                        double southPoleLon, double angle) {
  if (angle != 0)
    return Fail("Rotated grid turned by %g%s about its pole cannot be mapped", angle, kDegree);
  auto mapping = std::make_unique<TDwdLmeMapping>();
  mapping->SetCentreLon(10);
  mapping->SetCentreLat(50);
  mapping->SetLonSpan(60);
  mapping->SetLatSpan(40);
  mapping->SetWidth(data_.Width);
  mapping->SetHeight(data_.Height);
  mapping->SetRotLatFirst(static_cast<float>(data_.VerticalFlip ? la1 : la2));
  mapping->SetRotLatLast(static_cast<float>(data_.VerticalFlip ? la2 : la1));
  mapping->SetRotLonFirst(static_cast<float>(data_.HorizontalFlip ? lo2 : lo1));
  mapping->SetRotLonLast(static_cast<float>(data_.HorizontalFlip ? lo1 : lo2));
  mapping->SetPoleLat(static_cast<float>(-southPoleLat));
  mapping->SetPoleLon(static_cast<float>(southPoleLon + 180));
  data_.Mapping = std::move(mapping);
  return true;
}

bool TMessageDecoder::SpaceViewGrid1(TOctets g) {
  if (!g.Has(32, 3))
    return Fail("Space-view grid description of %zu bytes is too short", g.Size());
  auto& grid = data_.Grid;
  const int nx = static_cast<int>(g.U16(7)), ny = static_cast<int>(g.U16(9));
  grid.Lo1 = g.S(14, 3);
  grid.ResolutionFlags = static_cast<std::uint8_t>(g.U8(17));
  // Edition 1 gives the sub-satellite point in grid lengths, not thousandths.
  grid.Xp = static_cast<std::int32_t>(g.U16(24));
  grid.Yp = static_cast<std::int32_t>(g.U16(26));
  if (!ScanningMode(static_cast<int>(g.U8(28))))
    return false;
  data_.Width = nx;
  data_.Height = ny;
  data_.SatelliteLongitude = Degrees(grid.Lo1);
  TSpaceView view;
  view.earth = Grib1Earth(grid.ResolutionFlags);
  // Counted from column and line 0 here, from 1 in the thousandths of edition 2.
  view.xpThousandths = (grid.Xp + 1) * 1000.0;
  view.ypThousandths = (grid.Yp + 1) * 1000.0;
  view.dx = g.U24(18);
  view.dy = g.U24(21);
  view.nr = g.U24(32);
  SetSpaceViewMapping(view);
  Logf("  Geostationary mapping: grid %d x %d (W x H)", nx, ny);
  return true;
}

// The geostationary view of a space-view grid: scan angles per pixel from
// the earth's apparent diameter, the satellite at Nr earth radii.
void TMessageDecoder::SetSpaceViewMapping(const TSpaceView& view) {
  // A distance inside the Earth (or missing) is taken as the geostationary orbit.
  constexpr double kGeostationaryDistance = 6610700;  // Earth radii x 10^6
  const double nr = view.nr <= 1000000 || view.nr >= 0xFFFFFFFFu ? kGeostationaryDistance : view.nr;
  auto mapping = std::make_unique<TGeostationaryMapping>();
  mapping->SetCentreLon(data_.SatelliteLongitude);
  mapping->SetEquatorRadius(static_cast<float>(view.earth.a / 1000));
  mapping->SetPolarRadius(static_cast<float>(view.earth.b / 1000));
  mapping->SetCentreColumn(TGeostationaryMapping::CentreFromGrid(static_cast<std::int64_t>(view.xpThousandths),
                                                                 data_.Width, data_.HorizontalFlip));
  mapping->SetCentreLine(TGeostationaryMapping::CentreFromGrid(static_cast<std::int64_t>(view.ypThousandths),
                                                               data_.Height, data_.VerticalFlip));
  mapping->SetSatDistance(static_cast<float>(nr * 1e-6 * mapping->EquatorRadius()));
  const double apparent = std::asin(1e6 / nr) * 180 / M_PI;
  float columnFactor = static_cast<float>(view.dx / 2 / apparent);
  float lineFactor = static_cast<float>(view.dy / 2 / apparent);
  if (data_.Width == 1237)
    columnFactor = lineFactor = 69.38852f;
  mapping->SetColumnFactor(columnFactor);
  mapping->SetLineFactor(lineFactor);
  mapping->SetDiscSize(data_.Width, data_.Height);
  data_.Mapping = std::move(mapping);
}
