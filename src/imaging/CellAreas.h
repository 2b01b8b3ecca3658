#pragma once
// The area on the earth of every cell of a grid placed by PROJ: the cell's
// plane area (grid spacing across times along) divided by PROJ's areal
// scale factor at the cell's centre, on the earth of the grid's own
// definition.
//
// PROJ is asked on a lattice of every kLatticeStep-th cell in each
// direction, reaching just past the last row and column (extrapolated there
// when the grid fills its projection's domain); the cells between
// take the cubic (Catmull-Rom) blend of the lattice, row-wise then
// column-wise, with one more lattice line on each side extrapolated
// quadratically. A projection's scale changes so smoothly over a few cells
// that the blend stays within a millionth of PROJ's own value, where a
// bilinear one would be off by some 1e-5 near the corners of the sea-ice
// grids.
#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "mapping/ProjMapping.h"

class TCellAreas {
public:
  static constexpr int kLatticeStep = 8;

  // Null when some lattice point has no position or no scale factor (a grid
  // reaching beyond its projection's domain).
  static std::shared_ptr<const TCellAreas> Compute(const TProjMapping& mapping);

  int Columns() const { return columns_; }
  int Rows() const { return rows_; }
  // km², row after row from the top row of the picture.
  std::span<const float> Km2() const { return km2_; }
  float At(int column, int row) const { return km2_[static_cast<std::size_t>(row) * columns_ + column]; }

private:
  TCellAreas(int columns, int rows) : columns_(columns), rows_(rows) {}

  int columns_ = 0;
  int rows_ = 0;
  std::vector<float> km2_;
};

// The cell areas of the last grid asked for: consecutive fields on one grid
// (a day after day, the frames of an animation) share one computation.
class TCellAreaCache {
public:
  // Null as TCellAreas::Compute.
  std::shared_ptr<const TCellAreas> For(const TProjMapping& mapping);

private:
  struct TKey {
    std::string Definition;
    TGridFrame Frame;
    bool operator==(const TKey& other) const;
  };
  TKey key_;
  std::shared_ptr<const TCellAreas> areas_;
};
