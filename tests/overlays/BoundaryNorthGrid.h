#pragma once
// The northern 10 km sea-ice grid (760 x 1120, orientation -45, true at
// 70°N) as the GRIB reader configures it, with PROJ's pixel for any
// position as the reference the overlays are checked against.
#include <algorithm>
#include <cmath>
#include <memory>

#include "grib/ExtBitmap.h"
#include "mapping/GridPlacement.h"
#include "mapping/Mapping.h"
#include "support/ProjReference.h"

namespace overlaytest {

constexpr int kColumns = 760, kRows = 1120;
constexpr double kCellMetres = 10000, kLeftMetres = -3850000, kTopMetres = 5850000;

// Palette entries of the test pictures.
constexpr std::uint8_t kBackground = 0, kWhite = 1, kBlack = 2, kSilver = 3;

struct TPixelF {
  double x = 0, y = 0;
};

class TNorthGrid {
public:
  TNorthGrid() : reference_("+proj=stere +lat_0=90 +lat_ts=70 +lon_0=-45 +R=6380000")
  {
    mapping.SetKind(pkPolarStereographic);
    mapping.SetCentreLon(-45);
    mapping.SetCentreLat(60);
    mapping.SetHeight(728);
    mapping.SetWidth(kColumns);
    mapping.SetLatSpan(0);
    const TGeoPoint first = reference_.Inverse(kLeftMetres + kCellMetres / 2, kTopMetres - kCellMetres / 2);
    placed = PlaceFirstGridPoint(mapping, static_cast<float>(first.lon), static_cast<float>(first.lat), kRows, true);
  }

  // Where PROJ puts a position, in pixels of the grid.
  TPixelF Reference(double lon, double lat) const
  {
    const TPlanePoint p = reference_.Forward(lon, lat);
    return {(p.x - kLeftMetres) / kCellMetres - 0.5, (kTopMetres - p.y) / kCellMetres - 0.5};
  }

  TMapping mapping;
  bool placed = false;

private:
  TProjReference reference_;
};

inline TExtBitmap MakePicture(int width = kColumns, int height = kRows)
{
  TExtBitmap bitmap(width, height);
  bitmap.SetPaletteSize(4);
  bitmap.Palette()[kBackground] = {0, 0, 96};
  bitmap.Palette()[kWhite] = {255, 255, 255};
  bitmap.Palette()[kBlack] = {0, 0, 0};
  bitmap.Palette()[kSilver] = {192, 192, 192};
  bitmap.Fill(kBackground);
  return bitmap;
}

// True when a pixel of that entry lies within `radius` pixels of (x, y).
inline bool HasIndexNear(const TExtBitmap& b, double x, double y, std::uint8_t index, int radius = 1)
{
  const int cx = static_cast<int>(std::lround(x)), cy = static_cast<int>(std::lround(y));
  for (int y = std::max(cy - radius, 0); y <= std::min(cy + radius, b.Height() - 1); ++y)
    for (int x = std::max(cx - radius, 0); x <= std::min(cx + radius, b.Width() - 1); ++x)
      if (b.ScanLine(y)[x] == index) return true;
  return false;
}

inline int CountIndex(const TExtBitmap& b, std::uint8_t index)
{
  int n = 0;
  for (std::uint8_t v : b.Pixels()) n += v == index;
  return n;
}

}  // namespace overlaytest
