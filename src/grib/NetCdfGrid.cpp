#include "grib/NetCdfGrid.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

#include "grib/NetCdfFile.h"
#include "mapping/Earth.h"
#include "mapping/LatLonGrid.h"
#include "mapping/ProjGrids.h"

namespace {

// A grid's steps may differ by this fraction of a step (rounding in the
// file); more, and the points do not lie on one regular grid.
constexpr double kSpacingTolerance = 0.001;

// Metres per unit of projected coordinates.
struct TLengthUnit {
  const char* name;
  double metres;
};
constexpr TLengthUnit kLengthUnits[] = {{"m", 1},          {"metre", 1},       {"metres", 1},
                                        {"meter", 1},      {"meters", 1},      {"km", 1000},
                                        {"kilometre", 1000}, {"kilometres", 1000}, {"kilometer", 1000},
                                        {"kilometers", 1000}};

// A regular axis: the centre of its first point and the step between points.
struct TAxis {
  std::string name;
  int length = 0;
  double first = 0;
  double step = 0;
  double Last() const { return first + step * (length - 1); }
  double Low() const { return std::min(first, Last()); }
  double High() const { return std::max(first, Last()); }
};

std::string Printf(const char* format, double a, double b = 0, double c = 0, double d = 0)
{
  char text[200];
  std::snprintf(text, sizeof text, format, a, b, c, d);
  return text;
}

class TGridReader {
public:
  TGridReader(const TNetCdfFile& file, int variable, TNetCdfGrid& grid, std::vector<std::string>& log,
              std::string& why)
    : file_(file), variable_(variable), grid_(grid), log_(log), why_(why)
  {
  }

  bool Read()
  {
    const auto dimensions = file_.Dimensions(variable_);
    if (dimensions.size() < 2)
      return Fail("the data variable has fewer than two dimensions");
    const TNetCdfDimension& y = dimensions[dimensions.size() - 2];
    const TNetCdfDimension& x = dimensions.back();
    grid_.width = static_cast<int>(x.length);
    grid_.height = static_cast<int>(y.length);
    if (grid_.width < 2 || grid_.height < 2)
      return Fail("a grid of " + std::to_string(x.length) + " x " + std::to_string(y.length) +
                  " points has no spacing");
    const std::optional<std::string> mappingName = file_.Text(variable_, "grid_mapping");
    if (!mappingName)
      return LatLonWithoutMapping(x, y);
    const std::optional<int> mappingVariable = file_.Variable(*mappingName);
    if (!mappingVariable)
      return Fail("the grid mapping variable \"" + *mappingName + "\" is missing");
    mapping_ = *mappingVariable;
    const std::string kind = file_.Text(mapping_, "grid_mapping_name").value_or("");
    log_.push_back("  Grid mapping: " + *mappingName + " (" + kind + ")");
    if (kind == "latitude_longitude")
      return LatLon(x, y);
    if (kind == "polar_stereographic")
      return Projected(x, y, &TGridReader::PolarStereographic);
    if (kind == "lambert_azimuthal_equal_area")
      return Projected(x, y, &TGridReader::EqualArea);
    return Fail("grid mapping \"" + kind + "\" is not supported");
  }

private:
  bool Fail(const std::string& why)
  {
    why_ = why;
    return false;
  }

  // The coordinate variable of a dimension: one-dimensional, along that
  // dimension, with a value for every point, evenly spaced.
  bool ReadAxis(const TNetCdfDimension& dimension, TAxis& axis, double& unitScale, bool angular)
  {
    axis.name = dimension.name;
    axis.length = static_cast<int>(dimension.length);
    const std::optional<int> variable = file_.Variable(dimension.name);
    if (!variable)
      return Fail("no coordinate variable for dimension \"" + dimension.name + "\"");
    const auto dimensions = file_.Dimensions(*variable);
    if (dimensions.size() != 1 || dimensions[0].length != dimension.length)
      return Fail("coordinate variable \"" + dimension.name + "\" does not run along its dimension");
    const std::string units = file_.Text(*variable, "units").value_or("");
    if (!Units(units, unitScale, angular))
      return Fail("coordinate variable \"" + dimension.name + "\" has units \"" + units + "\"");
    std::vector<double> values;
    if (!file_.ReadDoubles(*variable, {0}, {dimension.length}, values, why_))
      return false;
    axis.first = values.front();
    axis.step = (values.back() - values.front()) / (axis.length - 1);
    if (!std::isfinite(axis.step) || axis.step == 0)
      return Fail("coordinate variable \"" + dimension.name + "\" does not change along the grid");
    for (std::size_t i = 1; i < values.size(); ++i)
      if (!(std::fabs(values[i] - values[i - 1] - axis.step) <= kSpacingTolerance * std::fabs(axis.step)))
        return Fail("coordinate variable \"" + dimension.name + "\" is not evenly spaced (point " +
                    std::to_string(i) + ")");
    return true;
  }

  static bool Units(const std::string& units, double& scale, bool angular)
  {
    if (angular) {
      scale = 1;
      return units.rfind("degree", 0) == 0;
    }
    for (const TLengthUnit& unit : kLengthUnits)
      if (units == unit.name) {
        scale = unit.metres;
        return true;
      }
    return false;
  }

  void SetOrientation(const TAxis& x, const TAxis& y)
  {
    grid_.flipColumns = x.step < 0;
    grid_.flipRows = y.step > 0;
    if (grid_.flipRows)
      log_.push_back("  Rows stored from the bottom up");
    if (grid_.flipColumns)
      log_.push_back("  Points stored from east to west");
  }

  bool LatLonWithoutMapping(const TNetCdfDimension& x, const TNetCdfDimension& y)
  {
    const std::optional<int> lon = file_.Variable(x.name);
    const std::string units = lon ? file_.Text(*lon, "units").value_or("") : std::string();
    if (units.rfind("degree", 0) != 0)
      return Fail("the data variable has no grid_mapping");
    log_.push_back("  Grid: latitude and longitude coordinates");
    return LatLon(x, y);
  }

  bool LatLon(const TNetCdfDimension& x, const TNetCdfDimension& y)
  {
    TAxis lon, lat;
    double unused = 1;
    if (!ReadAxis(x, lon, unused, true) || !ReadAxis(y, lat, unused, true))
      return false;
    if (!(lat.Low() >= -90 && lat.High() <= 90))
      return Fail("latitudes beyond the poles");
    SetOrientation(lon, lat);
    grid_.west = grid_.flipColumns ? lon.Last() : lon.first;
    grid_.east = grid_.flipColumns ? lon.first : lon.Last();
    grid_.south = lat.Low();
    grid_.north = lat.High();
    grid_.gridType = 0;
    grid_.mapping = LatLonGridMapping(grid_.west, grid_.east, grid_.south, grid_.north, grid_.width, grid_.height);
    log_.push_back(Printf("  Longitude %.4f .. %.4f, latitude %.4f .. %.4f", grid_.west, grid_.east, grid_.south,
                          grid_.north));
    return true;
  }

  // The figure of the earth the grid mapping states.
  bool Earth(TEarth& earth)
  {
    const auto major = file_.Number(mapping_, "semi_major_axis");
    const auto minor = file_.Number(mapping_, "semi_minor_axis");
    const auto inverseFlattening = file_.Number(mapping_, "inverse_flattening");
    const auto radius = file_.Number(mapping_, "earth_radius");
    if (major && minor)
      earth = TEarth::Ellipsoid(*major, *minor);
    else if (major && inverseFlattening && *inverseFlattening != 0)
      earth = TEarth::Ellipsoid(*major, *major * (1 - 1 / *inverseFlattening));
    else if (major && inverseFlattening)
      earth = TEarth::Sphere(*major);
    else if (radius)
      earth = TEarth::Sphere(*radius);
    else
      return Fail("the grid mapping states no figure of the earth");
    if (!earth.Plausible())
      return Fail("the grid mapping's earth is implausible");
    log_.push_back(Printf("  Earth: %.3f x %.3f m", earth.a, earth.b));
    return true;
  }

  // The pole the projection is centred on.
  bool Pole(bool& southern)
  {
    const auto origin = file_.Number(mapping_, "latitude_of_projection_origin");
    if (!origin || std::fabs(std::fabs(*origin) - 90) > 1e-9)
      return Fail("the projection is not centred on a pole");
    southern = *origin < 0;
    return true;
  }

  using TBuild = bool (TGridReader::*)(const TEarth&, std::unique_ptr<TProjMapping>&);

  bool PolarStereographic(const TEarth& earth, std::unique_ptr<TProjMapping>& mapping)
  {
    bool southern = false;
    const auto centre = file_.Number(mapping_, "straight_vertical_longitude_from_pole");
    if (!Pole(southern))
      return false;
    if (!centre)
      return Fail("polar stereographic grid without straight_vertical_longitude_from_pole");
    std::string error;
    if (const auto parallel = file_.Number(mapping_, "standard_parallel")) {
      // Stated as a magnitude by some producers: it lies on the grid's hemisphere.
      const double trueLat = southern ? -std::fabs(*parallel) : std::fabs(*parallel);
      log_.push_back(Printf("  Polar stereographic, true at %.4f, centre longitude %.4f", trueLat, *centre));
      mapping = PolarStereographicMapping(earth, trueLat, *centre, southern, &error);
    } else if (const auto scale = file_.Number(mapping_, "scale_factor_at_projection_origin")) {
      if (!(*scale > 0 && *scale <= 1))
        return Fail(Printf("scale factor %g at the pole", *scale));
      log_.push_back(Printf("  Polar stereographic, scale %.6f at the pole, centre longitude %.4f", *scale, *centre));
      mapping = PolarProjectionMapping(Printf("+proj=stere +k_0=%.17g", *scale), earth, *centre, southern, &error);
    } else {
      return Fail("polar stereographic grid without standard_parallel or scale_factor_at_projection_origin");
    }
    grid_.gridType = 5;
    return Finish(mapping, error, *centre, southern);
  }

  bool EqualArea(const TEarth& earth, std::unique_ptr<TProjMapping>& mapping)
  {
    bool southern = false;
    if (!Pole(southern))
      return false;
    const double centre = file_.Number(mapping_, "longitude_of_projection_origin").value_or(0);
    log_.push_back(Printf("  Lambert azimuthal equal-area, centre longitude %.4f", centre));
    std::string error;
    mapping = PolarProjectionMapping("+proj=laea", earth, centre, southern, &error);
    return Finish(mapping, error, centre, southern);
  }

  bool Finish(const std::unique_ptr<TProjMapping>& mapping, const std::string& error, double centre, bool southern)
  {
    if (!mapping)
      return Fail("the projection cannot be set up (" + error + ")");
    grid_.orientation = centre;
    grid_.southern = southern;
    return true;
  }

  bool Projected(const TNetCdfDimension& x, const TNetCdfDimension& y, TBuild build)
  {
    TEarth earth;
    std::unique_ptr<TProjMapping> mapping;
    if (!Earth(earth) || !(this->*build)(earth, mapping))
      return false;
    TAxis xs, ys;
    double xScale = 1, yScale = 1;
    if (!ReadAxis(x, xs, xScale, false) || !ReadAxis(y, ys, yScale, false))
      return false;
    CrossCheck();
    SetOrientation(xs, ys);
    const double falseEasting = file_.Number(mapping_, "false_easting").value_or(0);
    const double falseNorthing = file_.Number(mapping_, "false_northing").value_or(0);
    TGridFrame frame;
    frame.left = xs.Low() * xScale - falseEasting;
    frame.top = ys.High() * yScale - falseNorthing;
    frame.dx = std::fabs(xs.step) * xScale;
    frame.dy = std::fabs(ys.step) * yScale;
    frame.columns = grid_.width;
    frame.rows = grid_.height;
    if (!mapping->SetFrame(frame))
      return Fail("the grid's frame cannot be placed");
    log_.push_back(Printf("  Top-left point at %.1f, %.1f m; spacing %.1f x %.1f m", frame.left, frame.top, frame.dx,
                          frame.dy));
    grid_.mapping = std::move(mapping);
    return true;
  }

  // The PROJ string some files carry beside the CF attributes is only
  // compared: the CF attributes define the grid.
  void CrossCheck()
  {
    const std::optional<std::string> proj4 = file_.Text(mapping_, "proj4_string");
    if (!proj4)
      return;
    const std::string kind = file_.Text(mapping_, "grid_mapping_name").value_or("");
    const std::string expected = kind == "lambert_azimuthal_equal_area" ? "+proj=laea" : "+proj=stere";
    if (proj4->find(expected) == std::string::npos)
      log_.push_back("  proj4_string \"" + *proj4 + "\" does not name " + expected + "; the CF attributes are used");
  }

  const TNetCdfFile& file_;
  int variable_;
  int mapping_ = -1;
  TNetCdfGrid& grid_;
  std::vector<std::string>& log_;
  std::string& why_;
};

}  // namespace

bool ReadNetCdfGrid(const TNetCdfFile& file, int variable, TNetCdfGrid& grid, std::vector<std::string>& log,
                    std::string& why)
{
  return TGridReader(file, variable, grid, log, why).Read();
}
