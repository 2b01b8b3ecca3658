#pragma once
// One PROJ conversion between geographic degrees and projected metres,
// built once from a PROJ string. The PROJ context and object are owned
// here and freed with it; PROJ's own messages are silenced, a refused
// string or point is reported by the return value.
#include <memory>
#include <string>

struct pj_ctx;
struct PJconsts;

class TProjTransform {
public:
  // Null when PROJ refuses the definition (or it is not a conversion
  // from geographic coordinates to a plane); `error` then says why.
  static std::unique_ptr<TProjTransform> Create(const std::string& definition, std::string* error = nullptr);
  ~TProjTransform();
  TProjTransform(const TProjTransform&) = delete;
  TProjTransform& operator=(const TProjTransform&) = delete;

  const std::string& Definition() const { return definition_; }
  // Degrees to metres; false when the point has no image.
  bool Forward(double lon, double lat, double& x, double& y) const;
  // Metres to degrees; false when the position has no point.
  bool Inverse(double x, double y, double& lon, double& lat) const;
  // How many square metres of the plane one square metre of the earth
  // takes at (lon, lat), on the earth of the definition; false where PROJ
  // has no factors.
  bool ArealScale(double lon, double lat, double& scale) const;

private:
  struct TContextDeleter {
    void operator()(pj_ctx* context) const;
  };
  struct TProjDeleter {
    void operator()(PJconsts* pj) const;
  };
  TProjTransform(std::unique_ptr<pj_ctx, TContextDeleter> context, std::unique_ptr<PJconsts, TProjDeleter> pj,
                 std::string definition);

  std::unique_ptr<pj_ctx, TContextDeleter> context_;
  std::unique_ptr<PJconsts, TProjDeleter> pj_;
  std::string definition_;
};
