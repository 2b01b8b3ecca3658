#include "mapping/CartogSegmentText.h"

#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>

namespace {
constexpr std::string_view kSegmentMarker = "# -b";
constexpr double kMaxCoordinate = 1e6;  // see the GPX reader

bool ParsePair(std::string line, double& lon, double& lat)
{
  for (char& c : line)
    if (c == ',' || c == '\t' || c == '\r') c = ' ';
  std::istringstream in(line);
  in.imbue(std::locale::classic());
  std::string rest;
  if (!(in >> lon >> lat) || (in >> rest)) return false;
  return std::fabs(lon) <= kMaxCoordinate && std::fabs(lat) <= kMaxCoordinate;
}

void Finish(TLineSegment& segment, std::vector<TLineSegment>& segments)
{
  if (segment.Count() > 0) segments.push_back(std::move(segment));
  segment = TLineSegment{};
}
}  // namespace

TCartogReadStatus ReadSegmentText(std::span<const std::uint8_t> data, std::vector<TLineSegment>& segments)
{
  const std::string_view text(reinterpret_cast<const char*>(data.data()), data.size());
  TLineSegment segment;
  int lineNumber = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    auto end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    ++lineNumber;
    if (line.starts_with(kSegmentMarker)) {
      Finish(segment, segments);
    } else if (line.find_first_not_of(" \t\r") != std::string_view::npos) {
      double lon = 0, lat = 0;
      if (!ParsePair(std::string(line), lon, lat))
        return TCartogReadStatus::Fail("segment text line " + std::to_string(lineNumber) + ": not a lon lat pair");
      segment.AddPoint(static_cast<float>(lon), static_cast<float>(lat));
    }
  }
  Finish(segment, segments);
  return {};
}
