#pragma once
// GPS tracks from GPX files, read with Qt's XML stream reader: every
// <trkseg> with at least one <trkpt lat="…" lon="…"> becomes one segment of
// type 1, whatever the line layout, attribute order or namespace prefix.
//
// The reader is lenient: a point whose lat or lon is missing or not a
// number is skipped with a log line; a file that is not well-formed keeps
// the segments completed before the fault, and the error says where it
// stopped. Limits on entity expansion, element nesting and the number of
// points keep a hostile file from costing more than a real one; reaching
// one stops the reading with a log line.
#include <cstdint>
#include <span>
#include <vector>

#include "overlays/CartogReadStatus.h"
#include "overlays/LineSegment.h"

struct TGpxLimits {
  // Characters one entity reference may expand to (Qt's own limit, which
  // stops a reference nesting others, "billion laughs").
  int EntityExpansion = 1024;
  // Characters all entity references of a file may expand to together,
  // reckoned when a document type declaration declares entities as the
  // number of "&" in the file times the longest expansion one reference may
  // have. Without it, 300 000 references to one 1000-character entity (1 MiB
  // of file) made 350 million characters of text.
  std::int64_t EntityText = 1 << 20;
  // Elements open at once; real GPX files nest fewer than ten.
  int Depth = 64;
  // Track points read from one file: a point a second for two months.
  std::int64_t Points = 5'000'000;
};

TCartogReadStatus ReadGpxTracks(std::span<const std::uint8_t> data, std::vector<TLineSegment>& segments,
                                const TGpxLimits& limits = {});
