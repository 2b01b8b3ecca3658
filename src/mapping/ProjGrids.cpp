#include "mapping/ProjGrids.h"

#include <cmath>
#include <cstdio>

namespace {

std::string Format(const char* format, double a, double b, double c)
{
  char text[160];
  std::snprintf(text, sizeof text, format, a, b, c);
  return text;
}

std::unique_ptr<TProjMapping> Refuse(const char* why, std::string* error)
{
  if (error)
    *error = why;
  return nullptr;
}

}  // namespace

std::unique_ptr<TProjMapping> PolarStereographicMapping(const TEarth& earth, double trueLat, double centreLon,
                                                        bool southern, std::string* error)
{
  if (!(std::fabs(trueLat) > 0 && std::fabs(trueLat) <= 90) || (trueLat < 0) != southern)
    return Refuse("latitude of true scale not on the projection's hemisphere", error);
  return PolarProjectionMapping(Format("+proj=stere +lat_ts=%.17g", trueLat, 0, 0), earth, centreLon, southern, error);
}

std::unique_ptr<TProjMapping> PolarProjectionMapping(const std::string& projection, const TEarth& earth,
                                                     double centreLon, bool southern, std::string* error)
{
  if (!earth.Plausible())
    return Refuse("implausible earth axes", error);
  if (!std::isfinite(centreLon))
    return Refuse("orientation is not a number", error);
  const std::string definition =
    projection + Format(" +lat_0=%.0f +lon_0=%.17g ", southern ? -90.0 : 90.0, centreLon, 0) + earth.ProjParameters();
  auto mapping = TProjMapping::Create(definition, TPolarAxis{centreLon, southern}, error);
  if (!mapping)
    return nullptr;
  mapping->SetKind(pkPolarStereographic);
  mapping->SetCentreLon(static_cast<float>(centreLon));
  // The graticule puts its meridian labels on this parallel.
  mapping->SetCentreLat(southern ? -60.0f : 60.0f);
  return mapping;
}

std::unique_ptr<TProjMapping> LambertConformalMapping(const TEarth& earth, double lat1, double lat2,
                                                      double centreLon, std::string* error)
{
  if (!earth.Plausible())
    return Refuse("implausible earth axes", error);
  // PROJ needs both parallels off the equator, on one side of it.
  if (!(std::fabs(lat1) < 90 && std::fabs(lat2) < 90 && lat1 * lat2 > 0) || !std::isfinite(centreLon))
    return Refuse("standard parallels cannot define a cone", error);
  const std::string definition =
    Format("+proj=lcc +lat_1=%.17g +lat_2=%.17g +lat_0=%.17g ", lat1, lat2, lat1) +
    Format("+lon_0=%.17g ", centreLon, 0, 0) + earth.ProjParameters();
  auto mapping = TProjMapping::Create(definition, std::nullopt, error);
  if (!mapping)
    return nullptr;
  mapping->SetKind(pkLambertConformal);
  mapping->SetCentreLon(static_cast<float>(centreLon));
  mapping->SetCentreLat(static_cast<float>((lat1 + lat2) / 2));
  mapping->SetStdParallel1(static_cast<float>(lat1));
  mapping->SetStdParallel2(static_cast<float>(lat2));
  return mapping;
}
