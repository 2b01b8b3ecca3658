#pragma once
// Binary polygon files of the public GSHHS shoreline database, in either
// byte order: records of a header and N (lon, lat) int32 pairs in
// millionths of a degree.
#include <cstdint>
#include <span>
#include <vector>

#include "overlays/CartogReadStatus.h"
#include "overlays/LineSegment.h"

TCartogReadStatus ReadGshhsShorelines(std::span<const std::uint8_t> data, std::vector<TLineSegment>& segments);
