#pragma once
// Caps on what a GRIB message may ask the decoder to allocate or read.
#include <cstddef>
#include <cstdint>

#include "grib/ExtBitmap.h"

// A grid side larger than the largest picture could not be shown.
inline constexpr int kMaxGridSide = TExtBitmap::kMaxSide;
// 16 Mi points holds the largest products met (3712 x 3712 satellite discs)
// and bounds the unpacked values of one field to 128 MiB.
inline constexpr std::int64_t kMaxGridPoints = std::int64_t{16} * 1024 * 1024;
// Complex packing: more groups than points cannot be a valid field.
inline constexpr std::int64_t kMaxGroups = kMaxGridPoints;
