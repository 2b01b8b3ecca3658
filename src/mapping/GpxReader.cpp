#include "mapping/GpxReader.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>

namespace {
// Attribute values longer than this are not coordinates.
constexpr std::size_t kMaxValueChars = 99;
// Far beyond any coordinate; keeps the float conversion and the projection
// arithmetic away from overflow.
constexpr double kMaxCoordinate = 1e6;

std::string_view Trim(std::string_view s)
{
  constexpr std::string_view kBlank = " \t\r\n\f\v";
  const auto first = s.find_first_not_of(kBlank);
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(kBlank) - first + 1);
}

std::string LowerAscii(std::string_view s)
{
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

std::optional<double> ParseNumber(std::string_view text)
{
  text = Trim(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size() || !(std::fabs(value) <= kMaxCoordinate))
    return std::nullopt;
  return value;
}

// The quoted text after `opener`; nullopt when its closing quote is missing.
std::optional<std::string_view> QuotedAfter(std::string_view line, std::string_view opener)
{
  const auto at = line.find(opener);
  if (at == std::string_view::npos) return std::nullopt;
  const std::string_view rest = line.substr(at + opener.size(), kMaxValueChars);
  const auto quote = rest.find('"');
  if (quote == std::string_view::npos) return std::nullopt;
  return rest.substr(0, quote);
}

bool IsTrackPoint(std::string_view line)
{
  return line.find("<trkpt ") != std::string_view::npos && line.find("lat=\"") != std::string_view::npos &&
         line.find("lon=\"") != std::string_view::npos;
}

class TGpxLines {
public:
  explicit TGpxLines(std::span<const std::uint8_t> data)
      : text_(reinterpret_cast<const char*>(data.data()), data.size()) {}

  bool Next(std::string& line)
  {
    if (pos_ > text_.size() || (pos_ == text_.size() && number_ > 0)) return false;
    auto end = text_.find('\n', pos_);
    if (end == std::string_view::npos) end = text_.size();
    line = LowerAscii(Trim(text_.substr(pos_, end - pos_)));
    pos_ = end + 1;
    ++number_;
    return true;
  }
  int Number() const { return number_; }

private:
  std::string_view text_;
  std::size_t pos_ = 0;
  int number_ = 0;
};

TCartogReadStatus BadPoint(int lineNumber, std::string_view what)
{
  return TCartogReadStatus::Fail("GPX line " + std::to_string(lineNumber) + ": " + std::string(what));
}
}  // namespace

TCartogReadStatus ReadGpxTracks(std::span<const std::uint8_t> data, std::vector<TLineSegment>& segments)
{
  TGpxLines lines(data);
  std::string line;
  while (lines.Next(line)) {
    if (line != "<trkseg>") continue;
    const int openedAt = lines.Number();
    TLineSegment segment;
    segment.SegType = 1;
    bool closed = false;
    while (!closed && lines.Next(line)) {
      if (line == "</trkseg>") {
        closed = true;
      } else if (IsTrackPoint(line)) {
        const auto latText = QuotedAfter(line, "lat=\"");
        const auto lonText = QuotedAfter(line, "lon=\"");
        if (!latText || !lonText) return BadPoint(lines.Number(), "coordinate without closing quote");
        const auto lat = ParseNumber(*latText);
        const auto lon = ParseNumber(*lonText);
        if (!lat || !lon) return BadPoint(lines.Number(), "coordinate is not a number");
        segment.AddPoint(static_cast<float>(*lon), static_cast<float>(*lat));
      }
    }
    if (!closed)
      return TCartogReadStatus::Fail("GPX line " + std::to_string(openedAt) +
                                     ": track segment has no closing </trkseg>");
    if (segment.Count() > 0) {
      segment.WrapLonBounds();
      segments.push_back(std::move(segment));
    }
  }
  return {};
}
