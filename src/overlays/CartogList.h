#pragma once
// TCartogList: boundary lines (coastlines, borders) and GPS tracks held as
// polylines in geographic coordinates and drawn over a picture through a
// mapping. Reads Countries.dat records, GSHHS shoreline binaries and GPX
// tracks, the format told by the first bytes and the extension; "# -b"
// segment text is recognised and refused.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "overlays/LineSegment.h"

class TCanvas;
struct TPoint;
class TExtBitmap;
class TMapping;

enum TCartogFileFormat : std::uint8_t {
  cfBoundaryRecords = 0,
  cfShorelineBinary = 1,
  cfSegmentText = 2,
  cfGpx = 3,
};

class TCartogList {
public:
  // Largest file read whole: real boundary and track files are a few MB.
  static constexpr std::uintmax_t kMaxFileBytes = 256u << 20;
  // The platform draws polylines of at most this many points per call.
  static constexpr int kMaxPolylinePoints = 16000;

  // Looks for the boundary file (see DefaultFileName) but loads nothing.
  TCartogList();

  // Reads a file; the boundary and shoreline readers replace the list, the
  // GPX reader appends to it. Never throws; false with LastError() set when
  // the file could not be read whole (segments read before a fault stay).
  bool LoadFromFile(const std::string& name);
  // The same on bytes already in memory; name gives the extension.
  bool LoadFromBytes(std::span<const std::uint8_t> data, const std::string& name);
  void Clear();

  // Draws every segment through Mapping in the canvas's current pen.
  void DrawOnBitmap(TExtBitmap* bitmap, int xShift, int yShift) const;
  void DrawOnCanvas(TCanvas& canvas, int xShift, int yShift) const;

  int Count() const { return static_cast<int>(segments_.size()); }
  const TLineSegment& Segment(int index) const { return segments_[static_cast<std::size_t>(index)]; }
  const std::vector<TLineSegment>& Segments() const { return segments_; }
  const std::string& LastError() const { return lastError_; }
  // What the last load passed over or limited (skipped track points, a
  // limit reached), one line each; empty after a clean read.
  const std::vector<std::string>& ReadLog() const { return readLog_; }

  std::uint8_t FileFormat = cfBoundaryRecords;
  std::string FileName;
  const TMapping* Mapping = nullptr;  // not owned
  std::array<float, 4> CullBox{};     // south, north, west, east; all equal = no culling
  int JumpLimit = 0;                  // pixels; <= 0 picks one from the mapping's width
  std::string DefaultFileName;        // "Countries.dat" found at construction, or empty
  int MaxPoints = 0;
  bool ClosePolygons = true;

private:
  bool Finish(bool ok, const std::string& name);
  bool IsCulled(const TLineSegment& segment) const;
  int JumpThreshold() const;
  void DrawSegment(TCanvas& canvas, const TLineSegment& segment, int xShift, int yShift, int jump,
                   std::vector<TPoint>& run) const;

  std::vector<TLineSegment> segments_;
  std::string lastError_;
  std::vector<std::string> readLog_;
};
