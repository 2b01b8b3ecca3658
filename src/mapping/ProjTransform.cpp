#include "mapping/ProjTransform.h"

#include <proj.h>

#include <cmath>

namespace {

// Every result must be a number: PROJ marks a failed point with HUGE_VAL.
bool Usable(const PJ_COORD& c) { return std::isfinite(c.v[0]) && std::isfinite(c.v[1]) && c.v[0] != HUGE_VAL; }

void Quiet(void*, int, const char*) {}

}  // namespace

void TProjTransform::TContextDeleter::operator()(pj_ctx* context) const { proj_context_destroy(context); }

void TProjTransform::TProjDeleter::operator()(PJconsts* pj) const { proj_destroy(pj); }

TProjTransform::TProjTransform(std::unique_ptr<pj_ctx, TContextDeleter> context,
                               std::unique_ptr<PJconsts, TProjDeleter> pj, std::string definition)
  : context_(std::move(context)), pj_(std::move(pj)), definition_(std::move(definition))
{
}

TProjTransform::~TProjTransform() = default;

std::unique_ptr<TProjTransform> TProjTransform::Create(const std::string& definition, std::string* error)
{
  std::unique_ptr<pj_ctx, TContextDeleter> context(proj_context_create());
  if (!context) {
    if (error)
      *error = "PROJ context could not be created";
    return nullptr;
  }
  proj_log_func(context.get(), nullptr, Quiet);
  // No search for grid files or databases: a projection string needs none.
  proj_context_set_enable_network(context.get(), 0);
  std::unique_ptr<PJconsts, TProjDeleter> pj(proj_create(context.get(), definition.c_str()));
  if (!pj) {
    if (error)
      *error = proj_context_errno_string(context.get(), proj_context_errno(context.get()));
    return nullptr;
  }
  // A bare "+proj=..." string gives a conversion with radians in; CRS
  // definitions and pipelines are not what this class is for.
  if (!proj_angular_input(pj.get(), PJ_FWD) || proj_angular_output(pj.get(), PJ_FWD)) {
    if (error)
      *error = "not a projection from geographic coordinates";
    return nullptr;
  }
  return std::unique_ptr<TProjTransform>(new TProjTransform(std::move(context), std::move(pj), definition));
}

bool TProjTransform::Forward(double lon, double lat, double& x, double& y) const
{
  if (!std::isfinite(lon) || !std::isfinite(lat) || std::fabs(lat) > 90)
    return false;
  const PJ_COORD out = proj_trans(pj_.get(), PJ_FWD, proj_coord(proj_torad(lon), proj_torad(lat), 0, 0));
  proj_errno_reset(pj_.get());
  if (!Usable(out))
    return false;
  x = out.xy.x;
  y = out.xy.y;
  return true;
}

bool TProjTransform::Inverse(double x, double y, double& lon, double& lat) const
{
  if (!std::isfinite(x) || !std::isfinite(y))
    return false;
  const PJ_COORD out = proj_trans(pj_.get(), PJ_INV, proj_coord(x, y, 0, 0));
  proj_errno_reset(pj_.get());
  if (!Usable(out))
    return false;
  lon = proj_todeg(out.lp.lam);
  lat = proj_todeg(out.lp.phi);
  return true;
}

bool TProjTransform::ArealScale(double lon, double lat, double& scale) const
{
  if (!std::isfinite(lon) || !std::isfinite(lat) || std::fabs(lat) > 90)
    return false;
  const PJ_FACTORS factors = proj_factors(pj_.get(), proj_coord(proj_torad(lon), proj_torad(lat), 0, 0));
  const bool failed = proj_errno(pj_.get()) != 0;
  proj_errno_reset(pj_.get());
  if (failed || !std::isfinite(factors.areal_scale) || factors.areal_scale <= 0)
    return false;
  scale = factors.areal_scale;
  return true;
}
