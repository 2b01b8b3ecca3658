#pragma once
// Segment text: a line beginning "# -b" starts a segment, and each other
// non-blank line holds "lon lat" in degrees (blank- or comma-separated).
#include <cstdint>
#include <span>
#include <vector>

#include "mapping/CartogReadStatus.h"
#include "mapping/LineSegment.h"

TCartogReadStatus ReadSegmentText(std::span<const std::uint8_t> data, std::vector<TLineSegment>& segments);
