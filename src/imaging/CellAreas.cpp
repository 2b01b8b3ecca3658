#include "imaging/CellAreas.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// The lattice along one side of the grid: `nodes` lines at 0, step,
// 2 step, ..., the last at or just beyond the last cell. The padded lattice
// adds one extrapolated line before and two after.
struct TAxis {
  int step = 1;
  int nodes = 1;
  int Padded() const { return nodes + 3; }
};

TAxis AxisFor(int cells)
{
  TAxis axis;
  // At least three lines where the grid allows, for the extrapolation.
  axis.step = std::clamp((cells - 1) / 2, 1, TCellAreas::kLatticeStep);
  axis.nodes = (cells - 1 + axis.step - 1) / axis.step + 1;
  return axis;
}

// The next value of a line of values (a, b, c going outwards): exact for a
// quadratic.
double Extrapolate(const double* toward, int available, int stride)
{
  const double a = toward[0];
  if (available < 2)
    return a;
  const double b = toward[-stride];
  if (available < 3)
    return 2 * a - b;
  return 3 * a - 3 * b + toward[-2 * stride];
}

// Fills the extrapolated ends of a padded line of `nodes` values starting
// at line[1].
void PadLine(double* line, int nodes, int stride)
{
  line[0] = Extrapolate(line + stride, nodes, -stride);
  line[(nodes + 1) * stride] = Extrapolate(line + nodes * stride, nodes, stride);
  line[(nodes + 2) * stride] = Extrapolate(line + (nodes + 1) * stride, nodes + 1, stride);
}

// Catmull-Rom weights of the four lattice lines around an index, for every
// offset 0..step-1 within a lattice interval.
std::vector<std::array<double, 4>> BlendWeights(int step)
{
  std::vector<std::array<double, 4>> weights(static_cast<std::size_t>(step));
  for (int i = 0; i < step; ++i) {
    const double t = static_cast<double>(i) / step, t2 = t * t, t3 = t2 * t;
    weights[static_cast<std::size_t>(i)] = {(-t3 + 2 * t2 - t) / 2, (3 * t3 - 5 * t2 + 2) / 2,
                                            (-3 * t3 + 4 * t2 + t) / 2, (t3 - t2) / 2};
  }
  return weights;
}

}  // namespace

std::shared_ptr<const TCellAreas> TCellAreas::Compute(const TProjMapping& mapping)
{
  const TGridFrame& frame = mapping.Frame();
  if (frame.columns <= 0 || frame.rows <= 0)
    return nullptr;
  const double planeKm2 = std::fabs(frame.dx * frame.dy) * 1e-6;
  const TAxis across = AxisFor(frame.columns);
  const TAxis down = AxisFor(frame.rows);
  const auto width = static_cast<std::size_t>(across.Padded());

  // Earth area of a cell at every lattice point, padded on all sides.
  std::vector<double> lattice(width * static_cast<std::size_t>(down.Padded()));
  const auto node = [&](int i, int j) -> double& {
    return lattice[static_cast<std::size_t>(j + 1) * width + static_cast<std::size_t>(i + 1)];
  };
  for (int j = 0; j < down.nodes; ++j) {
    for (int i = 0; i < across.nodes; ++i) {
      double lon = 0, lat = 0, scale = 0;
      if (mapping.FromPlane(frame.left + i * across.step * frame.dx, frame.top - j * down.step * frame.dy, lon,
                            lat) &&
          mapping.ArealScale(lon, lat, scale)) {
        node(i, j) = planeKm2 / scale;
      } else if (i * across.step < frame.columns && j * down.step < frame.rows) {
        return nullptr;
      } else {
        node(i, j) = std::nan("");  // past the edge of a grid that fills its projection's domain
      }
    }
  }
  const int lastColumn = across.nodes - 1, lastRow = down.nodes - 1;
  for (int j = 0; j < down.nodes; ++j)
    if (std::isnan(node(lastColumn, j)))
      node(lastColumn, j) = Extrapolate(&node(lastColumn - 1, j), lastColumn, 1);
  for (int i = 0; i < across.nodes; ++i)
    if (std::isnan(node(i, lastRow)))
      node(i, lastRow) = Extrapolate(&node(i, lastRow - 1), lastRow, static_cast<int>(width));
  for (int j = 0; j < down.nodes; ++j)
    PadLine(&lattice[static_cast<std::size_t>(j + 1) * width], across.nodes, 1);
  for (std::size_t i = 0; i < width; ++i)
    PadLine(&lattice[i], down.nodes, static_cast<int>(width));

  // Row-wise onto every column, for each lattice row.
  const auto columns = static_cast<std::size_t>(frame.columns);
  const std::vector<std::array<double, 4>> acrossWeights = BlendWeights(across.step);
  std::vector<double> rowsBlended(columns * static_cast<std::size_t>(down.Padded()));
  for (std::size_t j = 0; j < static_cast<std::size_t>(down.Padded()); ++j) {
    const double* line = &lattice[j * width];
    for (std::size_t c = 0; c < columns; ++c) {
      const std::size_t k = c / static_cast<std::size_t>(across.step);
      const auto& w = acrossWeights[c % static_cast<std::size_t>(across.step)];
      rowsBlended[j * columns + c] = w[0] * line[k] + w[1] * line[k + 1] + w[2] * line[k + 2] + w[3] * line[k + 3];
    }
  }

  // Column-wise onto every row.
  auto areas = std::shared_ptr<TCellAreas>(new TCellAreas(frame.columns, frame.rows));
  areas->km2_.resize(columns * static_cast<std::size_t>(frame.rows));
  const std::vector<std::array<double, 4>> downWeights = BlendWeights(down.step);
  for (int r = 0; r < frame.rows; ++r) {
    const std::size_t k = static_cast<std::size_t>(r / down.step);
    const auto& w = downWeights[static_cast<std::size_t>(r % down.step)];
    const double* l0 = &rowsBlended[k * columns];
    const double* l1 = l0 + columns;
    const double* l2 = l1 + columns;
    const double* l3 = l2 + columns;
    float* out = &areas->km2_[static_cast<std::size_t>(r) * columns];
    for (std::size_t c = 0; c < columns; ++c)
      out[c] = static_cast<float>(w[0] * l0[c] + w[1] * l1[c] + w[2] * l2[c] + w[3] * l3[c]);
  }
  return areas;
}

bool TCellAreaCache::TKey::operator==(const TKey& other) const
{
  return Definition == other.Definition && Frame.left == other.Frame.left && Frame.top == other.Frame.top &&
         Frame.dx == other.Frame.dx && Frame.dy == other.Frame.dy && Frame.columns == other.Frame.columns &&
         Frame.rows == other.Frame.rows;
}

std::shared_ptr<const TCellAreas> TCellAreaCache::For(const TProjMapping& mapping)
{
  TKey key{mapping.Definition(), mapping.Frame()};
  if (areas_ && key == key_)
    return areas_;
  areas_ = TCellAreas::Compute(mapping);
  key_ = std::move(key);
  return areas_;
}
