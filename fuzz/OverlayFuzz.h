#pragma once
// Shared by the overlay targets: whatever a reader makes of the bytes,
// drawing it through a mapping onto a small picture must stay inside it.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "grib/ExtBitmap.h"
#include "mapping/Mapping.h"
#include "overlays/CartogList.h"
#include "overlays/LineSegment.h"

// Loads the bytes as a file of that name into a list and draws it through
// a world map onto a 64 x 32 picture. One list serves every input: making
// one looks the boundary file up in the settings, which is slow.
inline void LoadAndDraw(std::span<const std::uint8_t> data, const std::string& name)
{
  static const TMapping* const mapping = [] {
    auto* m = new TMapping;
    m->SetKind(pkCylindricalFull);
    m->SetWidth(64);
    m->SetHeight(32);
    return m;
  }();
  static TCartogList list;
  list.Clear();
  list.Mapping = mapping;
  const bool ok = list.LoadFromBytes(data, name);
  if (!ok && list.LastError().empty()) std::abort();  // a failure must say why
  TExtBitmap bitmap(64, 32);
  list.DrawOnBitmap(&bitmap, 0, 0);
}
