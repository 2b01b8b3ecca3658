#pragma once
// Where the grid points of a field lie in its picture, from the scanning
// mode of the grid description: points may run east to west (0x80), rows
// south to north (0x40), points may be stored column by column (0x20), and
// every other row (or column) may run the opposite way (0x10). The picture
// is always north up and west left, one pixel per point.
#include <cstddef>
#include <cstdint>

struct TScanOrder {
  int Width = 0;   // points along a parallel (i)
  int Height = 0;  // points along a meridian (j)
  bool FlipColumns = false;  // 0x80
  bool FlipRows = false;     // 0x40
  bool ColumnMajor = false;  // 0x20
  bool Alternate = false;    // 0x10

  // True for the plain row-by-row order, which painting handles fastest.
  bool RowsInOrder() const { return !ColumnMajor && !Alternate; }

  // Picture pixel (row-major, top-left first) of the k-th point in file order.
  std::size_t PixelOf(std::size_t k) const {
    const std::size_t along = ColumnMajor ? static_cast<std::size_t>(Height) : static_cast<std::size_t>(Width);
    const std::size_t line = k / along;
    std::size_t position = k % along;
    if (Alternate && (line & 1) != 0)
      position = along - 1 - position;
    const std::size_t i = ColumnMajor ? line : position;
    const std::size_t j = ColumnMajor ? position : line;
    const std::size_t x = FlipColumns ? static_cast<std::size_t>(Width) - 1 - i : i;
    const std::size_t y = FlipRows ? static_cast<std::size_t>(Height) - 1 - j : j;
    return y * static_cast<std::size_t>(Width) + x;
  }
};
