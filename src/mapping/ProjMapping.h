#pragma once
// TProjMapping: a grid on a projection that PROJ computes (any earth,
// sphere or ellipsoid), placed in its picture by this program. A projected
// position (x, y) in metres lies at grid cell
//   column = (x - Left) / Dx,  row = (Top - y) / Dy,
// with (Left, Top) the position of the top-left pixel's centre. A picture
// drawn larger than its grid (the zoomed display) scales cells by
// Width / Columns and Height / Rows and then applies the offsets as every
// mapping does.
//
// Kind and the centre, parallels and hemisphere of the base class say how
// the graticule is traced (polar stereographic, conic, ...); they do not
// take part in the transforms.
#include "mapping/Mapping.h"

#include <memory>
#include <optional>
#include <string>

class TProjTransform;
class TPolarRadius;

struct TGridFrame {
  double left = 0, top = 0;  // projected metres of the top-left pixel's centre
  double dx = 0, dy = 0;     // metres per column (rightward) and per row (downward)
  int columns = 0, rows = 0;
};

// A projection centred on a pole, with `centreLon` straight down from the
// north pole (up from the south pole): its pixels are computed from a radius
// table sampled from PROJ.
struct TPolarAxis {
  double centreLon = 0;
  bool southern = false;
};

class TProjMapping : public TMapping {
public:
  TProjMapping();
  ~TProjMapping() override;

  // Null, with the reason in `error`, when PROJ refuses the definition.
  static std::unique_ptr<TProjMapping> Create(const std::string& definition, std::optional<TPolarAxis> polar,
                                              std::string* error = nullptr);

  void CopySettings(const TMapping& source) override;
  bool CanDraw() const override { return transform_ != nullptr; }

  // Sets the frame and the picture size (Width = columns, Height = rows).
  // False when a spacing is zero or not finite.
  bool SetFrame(const TGridFrame& frame);
  // The frame of a grid with spacings dx, dy whose point (lon, lat) sits
  // on pixel (column, row); false when the point has no projected position.
  bool PlacePoint(double lon, double lat, int column, int row, double dx, double dy, int columns, int rows);
  const TGridFrame& Frame() const { return frame_; }
  std::string Definition() const;
  bool UsesRadiusTable() const { return radius_ != nullptr; }

  // Projected metres of a point, and back; false where PROJ has none.
  bool ToPlane(double lon, double lat, double& x, double& y) const;
  bool FromPlane(double x, double y, double& lon, double& lat) const;
  // Plane area per earth area at a point (PROJ's areal scale factor).
  bool ArealScale(double lon, double lat, double& scale) const;

protected:
  std::unique_ptr<TMapping> NewOfSameKind() const override;
  bool ProjectPoint(double lon, double lat, double& x, double& y) const override;
  bool UnprojectPoint(double x, double y, double& lon, double& lat) const override;

private:
  double ColumnScale() const;
  double RowScale() const;

  // Shared by the copies of one mapping (the display clone): immutable
  // once built.
  std::shared_ptr<const TProjTransform> transform_;
  std::shared_ptr<const TPolarRadius> radius_;
  TGridFrame frame_;
};
