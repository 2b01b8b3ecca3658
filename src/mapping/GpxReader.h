#pragma once
// GPS tracks from GPX text: every <trkseg> ... </trkseg> block with at least
// one <trkpt lat="…" lon="…"> line becomes one segment of type 1.
#include <cstdint>
#include <span>
#include <vector>

#include "mapping/CartogReadStatus.h"
#include "mapping/LineSegment.h"

TCartogReadStatus ReadGpxTracks(std::span<const std::uint8_t> data, std::vector<TLineSegment>& segments);
