#pragma once
// PROJ as the independent reference for the projection tests: a projection
// given as a PROJ string, driven in degrees on the geographic side and in
// metres (or PROJ's own units) on the projected side.
#include <proj.h>

#include <cmath>
#include <stdexcept>
#include <string>

struct TPlanePoint {
  double x = 0, y = 0;
};

struct TGeoPoint {
  double lon = 0, lat = 0;
};

class TProjReference {
public:
  explicit TProjReference(const std::string& projection)
    : context_(proj_context_create())
  {
    const std::string pipeline =
      "+proj=pipeline +step +proj=unitconvert +xy_in=deg +xy_out=rad +step " + projection;
    pj_ = proj_create(context_, pipeline.c_str());
    if (pj_ == nullptr) {
      proj_context_destroy(context_);
      throw std::runtime_error("PROJ refused: " + projection);
    }
  }
  ~TProjReference()
  {
    proj_destroy(pj_);
    proj_context_destroy(context_);
  }
  TProjReference(const TProjReference&) = delete;
  TProjReference& operator=(const TProjReference&) = delete;

  // NaN coordinates when PROJ has no answer (off the disc, say).
  TPlanePoint Forward(double lon, double lat) const
  {
    const PJ_COORD out = Run(PJ_FWD, lon, lat);
    return {out.xy.x, out.xy.y};
  }
  TGeoPoint Inverse(double x, double y) const
  {
    const PJ_COORD out = Run(PJ_INV, x, y);
    return {out.lp.lam, out.lp.phi};
  }

private:
  PJ_COORD Run(PJ_DIRECTION direction, double a, double b) const
  {
    proj_errno_reset(pj_);
    PJ_COORD in = proj_coord(a, b, 0, 0);
    PJ_COORD out = proj_trans(pj_, direction, in);
    if (proj_errno(pj_) != 0 || out.xy.x == HUGE_VAL || !std::isfinite(out.xy.x) || !std::isfinite(out.xy.y))
      out.xy.x = out.xy.y = std::nan("");
    proj_errno_reset(pj_);
    return out;
  }

  PJ_CONTEXT* context_;
  PJ* pj_ = nullptr;
};
