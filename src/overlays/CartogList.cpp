#include "overlays/CartogList.h"

#include <QtEndian>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <filesystem>
#include <limits>
#include <system_error>

#include "imaging/Canvas.h"
#include "mapping/Mapping.h"
#include "overlays/CartogCountries.h"
#include "overlays/CartogDefaultFile.h"
#include "overlays/GpxReader.h"
#include "overlays/GshhsReader.h"

namespace {
constexpr std::uint32_t kSegmentTextMagic = 0x622D2023;  // "# -b"
constexpr std::uint32_t kBrushColour = 0xD0C0C0;
// Segments south of this are drawn whatever the cull box says: the
// Antarctic coast runs round every longitude.
constexpr float kAlwaysDrawSouthOf = -70.0f;

std::uint32_t FirstWord(std::span<const std::uint8_t> data)
{
  return qFromLittleEndian<std::uint32_t>(data.data());
}

bool HasGpxExtension(const std::string& name)
{
  std::string ext = std::filesystem::u8path(name).extension().string();
  for (char& c : ext) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return ext == ".GPX";
}

// Types with the lowest bit cleared that are drawn: shorelines (0),
// borders (4) and one more class (8); others are kept but not drawn.
bool IsDrawnType(std::uint8_t segType)
{
  const int base = segType & ~1;
  return base == 0 || base == 4 || base == 8;
}

void UpdateMaxPoints(const std::vector<TLineSegment>& segments, int& maxPoints)
{
  maxPoints = 0;
  for (const TLineSegment& s : segments) maxPoints = std::max(maxPoints, s.Count());
}
}  // namespace

TCartogList::TCartogList() : DefaultFileName(FindBoundaryFile())
{
  segments_.reserve(1500);
}

void TCartogList::Clear()
{
  segments_.clear();
  MaxPoints = 0;
}

bool TCartogList::LoadFromFile(const std::string& name)
{
  ClosePolygons = true;
  FileName.clear();
  lastError_.clear();
  readLog_.clear();
  if (name.empty()) return Finish(false, name);
  std::error_code ec;
  const auto path = std::filesystem::u8path(name);
  const std::uintmax_t size = std::filesystem::file_size(path, ec);
  if (ec) {
    lastError_ = "cannot read " + name + ": " + ec.message();
    return Finish(false, name);
  }
  if (size > kMaxFileBytes) {
    lastError_ = name + " is larger than any boundary or track file (" + std::to_string(size) + " bytes)";
    return Finish(false, name);
  }
  std::vector<std::uint8_t> data(static_cast<std::size_t>(size));
  std::ifstream in(path, std::ios::binary);
  if (!in.read(reinterpret_cast<char*>(data.data()), static_cast<std::streamsize>(data.size()))) {
    lastError_ = "cannot read " + name;
    return Finish(false, name);
  }
  return LoadFromBytes(data, name);
}

bool TCartogList::LoadFromBytes(std::span<const std::uint8_t> data, const std::string& name)
{
  ClosePolygons = true;
  lastError_.clear();
  readLog_.clear();
  if (data.size() < 4) {
    lastError_ = name + ": too short for any boundary or track file";
    return Finish(false, name);
  }
  TCartogReadStatus status;
  const std::uint32_t word = FirstWord(data);
  if (word == 0) {
    FileFormat = cfShorelineBinary;
    Clear();
    status = ReadGshhsShorelines(data, segments_);
    ClosePolygons = false;
  } else if (word == kSegmentTextMagic) {
    lastError_ = name + ": segment text files are not read";
    return Finish(false, name);
  } else if (HasGpxExtension(name)) {
    FileFormat = cfGpx;
    status = ReadGpxTracks(data, segments_);
    // A track is a path, not a ring: closing it would draw a false leg
    // from its end back to its start.
    ClosePolygons = false;
  } else {
    FileFormat = cfBoundaryRecords;
    Clear();
    status = ReadCountriesRecords(data, segments_);
  }
  if (!status.ok) lastError_ = name + ": " + status.error;
  readLog_ = std::move(status.log);
  return Finish(status.ok, name);
}

bool TCartogList::Finish(bool ok, const std::string& name)
{
  FileName = name;
  segments_.shrink_to_fit();
  UpdateMaxPoints(segments_, MaxPoints);
  return ok;
}

bool TCartogList::IsCulled(const TLineSegment& segment) const
{
  const auto [south, north, west, east] = CullBox;
  if (south == north) return false;
  return !(segment.Overlaps(south, north, west, east) || segment.MinLat < kAlwaysDrawSouthOf);
}

int TCartogList::JumpThreshold() const
{
  if (JumpLimit > 0) return JumpLimit;
  // Van der Grinten wraps at half the width; the others at the full width.
  return Mapping->Kind() == pkVanDerGrinten ? Mapping->GetWidth() * 3 / 6 : Mapping->GetWidth() * 5 / 6;
}

void TCartogList::DrawOnBitmap(TExtBitmap* bitmap, int xShift, int yShift) const
{
  if (bitmap == nullptr || bitmap->Empty()) return;
  TCanvas canvas(*bitmap);
  DrawOnCanvas(canvas, xShift, yShift);
}

void TCartogList::DrawOnCanvas(TCanvas& canvas, int xShift, int yShift) const
{
  if (Mapping == nullptr || segments_.empty()) return;
  canvas.SetBrushColour(kBrushColour);
  canvas.SetBrushStyle(TBrushStyle::bsClear);
  std::vector<TPoint> run;
  run.reserve(static_cast<std::size_t>(MaxPoints) + 2);
  const int jump = JumpThreshold();
  for (const TLineSegment& segment : segments_) {
    if (!IsDrawnType(segment.SegType) || IsCulled(segment)) continue;
    DrawSegment(canvas, segment, xShift, yShift, jump, run);
  }
}

namespace {
// Distance between two pixel columns. Far-out points of a projection lie
// near the ends of the int range, where the plain difference overflows.
std::int64_t Gap(int a, int b)
{
  return std::llabs(std::int64_t{a} - std::int64_t{b});
}

// Moves the pixel by the shifts; false when it would leave the int range
// (such a point is treated as one the mapping cannot show).
bool Shift(TPoint& pixel, int xShift, int yShift)
{
  const std::int64_t x = std::int64_t{pixel.x} + xShift, y = std::int64_t{pixel.y} + yShift;
  constexpr std::int64_t kLow = std::numeric_limits<int>::min(), kHigh = std::numeric_limits<int>::max();
  if (x < kLow || x > kHigh || y < kLow || y > kHigh) return false;
  pixel.x = static_cast<int>(x);
  pixel.y = static_cast<int>(y);
  return true;
}

void DrawRun(TCanvas& canvas, std::vector<TPoint>& run)
{
  const std::size_t count = run.size();
  for (std::size_t start = 0; start + 1 < count; start += TCartogList::kMaxPolylinePoints - 1) {
    const std::size_t length = std::min<std::size_t>(TCartogList::kMaxPolylinePoints, count - start);
    canvas.Polyline(std::span<const TPoint>(run.data() + start, length));
  }
  run.clear();
}
}  // namespace

// A segment is drawn as runs of visible points; a point the mapping cannot
// show, or a jump wider than `jump` pixels (a line wrapping round the date
// line), ends a run so that it is never joined across the picture.
void TCartogList::DrawSegment(TCanvas& canvas, const TLineSegment& segment, int xShift, int yShift, int jump,
                              std::vector<TPoint>& run) const
{
  run.clear();
  bool started = false;
  TPoint first, last{-1, -1};
  bool firstPointVisible = false, lastPointVisible = false;
  for (std::size_t i = 0; i < segment.Points.size(); ++i) {
    const TSegmentPoint& p = segment.Points[i];
    TPoint pixel;
    if (!Mapping->LatLonToPixel(p.lon, p.lat, pixel.x, pixel.y)) {
      DrawRun(canvas, run);
      lastPointVisible = false;
      continue;
    }
    if (!Shift(pixel, xShift, yShift)) {
      DrawRun(canvas, run);
      lastPointVisible = false;
      continue;
    }
    if (started && Gap(last.x, pixel.x) > jump) DrawRun(canvas, run);
    if (!started) {
      first = pixel;
      started = true;
      firstPointVisible = (i == 0);
    }
    if (run.empty() || !(run.back() == pixel)) run.push_back(pixel);
    last = pixel;
    lastPointVisible = true;
  }
  // Closing the ring is only sound when its last and first points are both
  // there and the closing edge does not wrap round the picture.
  if (ClosePolygons && started && firstPointVisible && lastPointVisible && Gap(last.x, first.x) <= jump) {
    run.push_back(first);
  }
  DrawRun(canvas, run);
}
