#include "overlays/Graticule.h"

#include <QString>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <vector>

#include "imaging/Canvas.h"
#include "mapping/Mapping.h"

namespace {
constexpr QChar kDegree(0x00B0);
// Lines are clamped to this margin round the picture so that the canvas
// never receives huge coordinates.
constexpr int kClampMargin = 100;
constexpr int kFontSize = 7;
constexpr const char* kFontName = "Small Fonts";
// Latitudes of the reference parallels, in set order.
constexpr std::array<float, 5> kSpecialLatitudes = {66.56083f, 23.43917f, 0.0f, -23.43917f, -66.56083f};

// Degrees as whole numbers for loop bounds. A mapping with absurd centre
// or spans (from a damaged file) must not overflow the conversion: a
// degree count is held to a turn and a half either way.
constexpr double kDegreeLimit = 540;

int WholeDegrees(double value)
{
  if (!(value > -kDegreeLimit)) return value != value ? 0 : -static_cast<int>(kDegreeLimit);
  return static_cast<int>(std::min(value, kDegreeLimit));
}

int RoundHalfEven(double value)
{
  return WholeDegrees(std::nearbyint(value));
}

int Truncate(double value)
{
  return WholeDegrees(std::trunc(value));
}

bool IsOneOf(int kind, std::initializer_list<int> kinds)
{
  return std::find(kinds.begin(), kinds.end(), kind) != kinds.end();
}

// Kinds whose grid lines are straight: the cylindrical and Mercator views.
bool HasStraightLines(int kind)
{
  return IsOneOf(kind, {pkCylindricalFull, pkCylindricalZoomed, pkMercatorFull, pkMercatorZoomed});
}

// The polar view has no cut at the date line: its parallels are whole
// circles and its 180° meridian is one like the others.
bool IsWholeCircleView(int kind)
{
  return kind == pkPolarStereographic;
}

struct TLonLatRange {
  int lonMin = -179, lonMax = 179, latMin = -89, latMax = 89;
};

struct TRanges {
  TLonLatRange main;
  std::optional<TLonLatRange> second;
};

TRanges RangesFor(const TMapping& mapping, int kind)
{
  TRanges r;
  if (kind == pkVanDerGrinten) {
    const int centre = RoundHalfEven(mapping.CentreLon());
    r.main.lonMin = centre - 179;
    r.main.lonMax = centre + 179;
  } else if (IsOneOf(kind, {pkAzimuthalEquidistant, pkAzimuthalEquidistantWide, pkOrthographic,
                            pkLinearisedOrthographic, pkGnomonic}) ||
             IsWholeCircleView(kind)) {
    r.main.lonMin = -180;
  } else if (IsOneOf(kind, {pkCylindricalZoomed, pkMercatorZoomed, pkLinearBased})) {
    const float lonHalf = mapping.LonSpan() / 2, latHalf = mapping.LatSpan() / 2;
    r.main.lonMin = Truncate(mapping.CentreLon() - lonHalf) - 1;
    r.main.lonMax = RoundHalfEven(mapping.CentreLon() + lonHalf) + 1;
    r.main.latMin = Truncate(mapping.CentreLat() - latHalf) - 1;
    r.main.latMax = RoundHalfEven(mapping.CentreLat() + latHalf) + 1;
    if (kind == pkLinearBased) r.main = {-179, 179, 0, 89};
    if (r.main.lonMin < -179) {
      r.second = TLonLatRange{r.main.lonMin + 360, 180, r.main.latMin, r.main.latMax};
      r.main.lonMin = -179;
    }
    if (r.main.lonMax > 179) {
      r.second = TLonLatRange{-180, r.main.lonMax - 360, r.main.latMin, r.main.latMax};
      r.main.lonMax = 179;
    }
  }
  for (TLonLatRange* range : {&r.main, r.second ? &*r.second : nullptr}) {
    if (range == nullptr) continue;
    range->latMin = std::clamp(range->latMin, -89, 89);
    range->latMax = std::clamp(range->latMax, -89, 89);
  }
  return r;
}

// Spacings of lines are compared with label sizes: parallels need about
// three label heights between them, meridians (labelled side by side) also
// one and a half label widths.
constexpr double kLineSpacingInHeights = 3.0;
constexpr double kMeridianSpacingInWidths = 1.5;
constexpr std::array<int, 4> kThinningSteps = {1, 2, 3, 6};

// The smallest thinning that puts lines `spacing` pixels apart at least
// `needed` pixels apart.
int ThinningFor(double spacing, double needed)
{
  if (!std::isfinite(spacing) || spacing <= 0) return 1;
  for (const int every : kThinningSteps)
    if (spacing * every >= needed) return every;
  return kThinningSteps.back();
}

class TGraticulePainter {
public:
  TGraticulePainter(TCanvas& canvas, const TMapping& mapping, const TGraticuleStyle& style)
      : canvas_(canvas), mapping_(mapping), style_(style), kind_(mapping.GraticuleKind())
  {
    run_.reserve(362);
    pictureHeight_ = canvas.Bitmap().Height();
    pictureWidth_ = canvas.Bitmap().Width();
    clampMaxX_ = mapping.GetDrawWidth() + kClampMargin;
    clampMaxY_ = mapping.GetDrawHeight() + std::abs(mapping.YOffset()) + kClampMargin;
    AdjustSteps();
  }

  void Draw();

private:
  void AdjustSteps();
  void ChooseThinning();
  double PixelDistance(float lon1, float lat1, float lon2, float lat2) const;
  float MeridianLabelLatitude(float centreLat) const;
  void DrawMeridians(const TLonLatRange& range);
  void DrawParallels(const TLonLatRange& range);
  void DrawSpecialParallels();
  void PlaceMeridianLabel(int lon, const QString& label, const TTextExtent& extent);
  void PlaceParallelLabel(int lat, const QString& label, const TTextExtent& extent, const TLonLatRange& range);
  void TracePoint(float lon, float lat);
  void EndRun();
  void StraightLine(TPoint from, TPoint to);
  void DrawLabel(int x, int y, const QString& text, const TTextExtent& extent);
  TPoint Pixel(float lon, float lat) const;

  TCanvas& canvas_;
  const TMapping& mapping_;
  TGraticuleStyle style_;
  int kind_;
  int pictureWidth_ = 0, pictureHeight_ = 0;
  int clampMaxX_ = 0, clampMaxY_ = 0;
  // Only every lonEvery_-th meridian and latEvery_-th parallel is drawn.
  int lonEvery_ = 1, latEvery_ = 1;
  std::vector<TPoint> run_;
  std::vector<TRect> labels_;
};

void TGraticulePainter::AdjustSteps()
{
  if (kind_ == pkAzimuthalEquidistant) {
    style_.lonStep = 30;
    style_.latStep = 15;
  } else if (kind_ == pkAzimuthalEquidistantWide && mapping_.LatSpan() == 0) {
    style_.lonStep = style_.latStep = 30;
  } else if (kind_ == pkMercatorZoomed) {
    if (style_.lonStep == 15) style_.lonStep = 5;
    if (style_.latStep == 15) style_.latStep = 5;
  }
}

// Positions of straight lines and labels; held to the drawing margin like
// traced points, since a point the mapping cannot show has no meaningful
// pixel.
TPoint TGraticulePainter::Pixel(float lon, float lat) const
{
  TPoint p;
  mapping_.LatLonToPixel(lon, lat, p.x, p.y);
  return {std::clamp(p.x, -kClampMargin, clampMaxX_), std::clamp(p.y, -kClampMargin, clampMaxY_)};
}

void TGraticulePainter::TracePoint(float lon, float lat)
{
  int x = 0, y = 0;
  if (!mapping_.LatLonToPixel(lon, lat, x, y)) {
    EndRun();
    return;
  }
  x = std::clamp(x, -kClampMargin, clampMaxX_);
  y = std::clamp(y, -kClampMargin, clampMaxY_);
  run_.push_back({x + style_.xShift, y + style_.yShift});
}

void TGraticulePainter::EndRun()
{
  if (run_.size() >= 2) canvas_.Polyline(run_);
  run_.clear();
}

void TGraticulePainter::StraightLine(TPoint from, TPoint to)
{
  const std::array<TPoint, 2> line = {from, to};
  canvas_.Polyline(line);
}

double TGraticulePainter::PixelDistance(float lon1, float lat1, float lon2, float lat2) const
{
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  mapping_.LatLonToPixel(lon1, lat1, x1, y1);
  mapping_.LatLonToPixel(lon2, lat2, x2, y2);
  return std::hypot(static_cast<double>(x2) - x1, static_cast<double>(y2) - y1);
}

// The latitude on which the meridians' labels sit (or near it).
float TGraticulePainter::MeridianLabelLatitude(float centreLat) const
{
  if (kind_ == pkVanDerGrinten) return -3.0f;
  if (kind_ == pkPolarStereographic) return mapping_.CentreLat();
  if (HasStraightLines(kind_) || kind_ == pkLambertConformal || kind_ == pkUnknown) return centreLat;
  return std::fabs(mapping_.CentreLat()) < 10 ? 0.0f : mapping_.CentreLat();
}

// Measured at the picture's centre: parallels along its meridian, meridians
// along the parallel of their labels.
void TGraticulePainter::ChooseThinning()
{
  float lon = 0, lat = 0;
  if (!mapping_.PixelToLatLon(pictureWidth_ / 2, pictureHeight_ / 2, lon, lat) || !std::isfinite(lon) ||
      !std::isfinite(lat))
    return;
  // A label takes its text's height and a pixel of halo above and below.
  const int height = canvas_.TextHeight(ParallelLabel(-85)) + 2;
  const int widest = canvas_.TextWidth(MeridianLabel(-170));
  const float towardEquator = lat > 0 ? -1.0f : 1.0f;
  const double parallels =
      PixelDistance(lon, lat, lon, lat + towardEquator * static_cast<float>(style_.latStep));
  latEvery_ = ThinningFor(parallels, kLineSpacingInHeights * height);
  const float labelLat = MeridianLabelLatitude(lat);
  const double meridians = PixelDistance(lon, labelLat, lon + static_cast<float>(style_.lonStep), labelLat);
  lonEvery_ = ThinningFor(meridians, std::max(kLineSpacingInHeights * height, kMeridianSpacingInWidths * widest));
}

void TGraticulePainter::Draw()
{
  ChooseThinning();
  const TRanges ranges = RangesFor(mapping_, kind_);
  DrawMeridians(ranges.main);
  if (ranges.second) DrawMeridians(*ranges.second);
  DrawParallels(ranges.main);
  DrawSpecialParallels();
}

void TGraticulePainter::DrawMeridians(const TLonLatRange& range)
{
  // Traced meridians run between the outermost parallels drawn.
  const int latSpacing = style_.latStep * latEvery_;
  int latTop = range.latMax / latSpacing * latSpacing, latBottom = range.latMin / latSpacing * latSpacing;
  if (latTop <= latBottom) latTop = range.latMax, latBottom = range.latMin;
  for (int i = range.lonMin / style_.lonStep; i <= range.lonMax / style_.lonStep; ++i) {
    if (i % lonEvery_ != 0) continue;
    int lon = style_.lonStep * i;
    while (lon > 180) lon -= 360;
    while (lon < -180) lon += 360;
    const QString label = MeridianLabel(lon);
    const TTextExtent extent = canvas_.TextExtent(label);
    const int h = extent.height;
    if (HasStraightLines(kind_)) {
      const TPoint bottom = Pixel(lon, range.latMin), top = Pixel(lon, range.latMax);
      StraightLine({bottom.x + style_.xShift, mapping_.GetHeight() + style_.yShift - h},
                   {top.x + style_.xShift, top.y + style_.yShift});
    } else {
      for (int lat = latTop; lat >= latBottom; --lat) TracePoint(lon, lat);
      EndRun();
    }
    if (!style_.noLabels) PlaceMeridianLabel(lon, label, extent);
  }
}

void TGraticulePainter::PlaceMeridianLabel(int lon, const QString& label, const TTextExtent& extent)
{
  const int height = mapping_.GetHeight(), h = extent.height;
  if (kind_ == pkUnknown || HasStraightLines(kind_)) {
    DrawLabel(Pixel(lon, 0).x, height - 3 * h / 4, label, extent);
  } else if (kind_ == pkVanDerGrinten) {
    const TPoint p = Pixel(lon, -3);
    DrawLabel(p.x, p.y, label, extent);
  } else if (kind_ == pkPolarStereographic) {
    const TPoint p = Pixel(lon, mapping_.CentreLat());
    DrawLabel(p.x, p.y, label, extent);
  } else if (kind_ == pkLambertConformal) {
    const bool southern = mapping_.Southern();
    for (int step = 0; step < (southern ? 89 : 86); ++step) {
      const int lat = southern ? -89 + step : 1 + step;
      const TPoint p = Pixel(lon, lat);
      if (height > p.y + h) {
        DrawLabel(p.x, height - 3 * h / 4, label, extent);
        break;
      }
    }
  } else {
    const float centreLat = mapping_.CentreLat();
    const TPoint p = Pixel(lon, std::fabs(centreLat) < 10 ? 0.0f : centreLat);
    DrawLabel(p.x, p.y, label, extent);
  }
}

void TGraticulePainter::DrawParallels(const TLonLatRange& range)
{
  // A whole circle is closed by tracing both ends of the date line.
  const int lonMax = IsWholeCircleView(kind_) ? 180 : range.lonMax;
  for (int j = range.latMin / style_.latStep; j <= range.latMax / style_.latStep; ++j) {
    if (j % latEvery_ != 0) continue;
    const int lat = style_.latStep * j;
    const QString label = ParallelLabel(lat);
    const TTextExtent extent = canvas_.TextExtent(label);
    const int w = extent.width;
    if (HasStraightLines(kind_)) {
      const int y = Pixel(range.lonMin, lat).y + style_.yShift;
      StraightLine({w + 4 + style_.xShift, y}, {mapping_.GetWidth() + style_.xShift - 2, y});
    } else {
      for (int lon = lonMax; lon >= range.lonMin; --lon) TracePoint(lon, lat);
      EndRun();
    }
    if (!style_.noLabels) PlaceParallelLabel(lat, label, extent, range);
  }
}

void TGraticulePainter::PlaceParallelLabel(int lat, const QString& label, const TTextExtent& extent,
                                           const TLonLatRange& range)
{
  const int w = extent.width;
  if (HasStraightLines(kind_)) {
    DrawLabel(w / 2 + 2, Pixel(range.lonMin, lat).y, label, extent);
  } else if (IsOneOf(kind_, {3, 4, 7, 8, 9, 11, 13})) {
    const int nearestMeridian = RoundHalfEven(mapping_.CentreLon() / style_.lonStep) * style_.lonStep;
    const TPoint p = Pixel(nearestMeridian, lat);
    DrawLabel(p.x - 4 * w / 5, p.y, label, extent);
  } else if (kind_ == pkLambertConformal) {
    for (int lon = -179; lon <= 177; ++lon) {
      const TPoint p = Pixel(lon, lat);
      if (p.x > 0 && p.x < 2 * w && p.y > 10 && p.y < mapping_.GetHeight()) {
        DrawLabel(w / 2 + 2, p.y, label, extent);
        break;
      }
    }
  }
}

void TGraticulePainter::DrawSpecialParallels()
{
  if (style_.specialParallels.none()) return;
  const TPenStyle saved = canvas_.PenStyle();
  canvas_.SetPenStyle(TPenStyle::psDot);
  const int lonMax = IsWholeCircleView(kind_) ? 180 : 179;
  const int lonMin = IsWholeCircleView(kind_) ? -180 : -179;
  for (std::size_t member = 0; member < kSpecialLatitudes.size(); ++member) {
    if (!style_.specialParallels.test(member)) continue;
    const float lat = kSpecialLatitudes[member];
    if (HasStraightLines(kind_)) {
      const int y = Pixel(-179, lat).y + style_.yShift;
      StraightLine({style_.xShift, y}, {mapping_.GetWidth() + style_.xShift - 2, y});
    } else {
      for (int lon = lonMax; lon >= lonMin; --lon) TracePoint(lon, lat);
      EndRun();
    }
  }
  canvas_.SetPenStyle(saved);
}

// Labels that would not fit the picture whole are left out.
void TGraticulePainter::DrawLabel(int x, int y, const QString& text, const TTextExtent& extent)
{
  const int left = x - extent.width / 2, top = y - extent.height / 2;
  if (x + extent.width > mapping_.GetWidth() || left < 0) return;
  const int sx = left + style_.xShift, sy = top + style_.yShift;
  if (sx < 0 || sy < 0 || sx + extent.width > pictureWidth_ || sy + extent.height > pictureHeight_) return;
  const TRect covered{sx - 1, sy - 1, sx + extent.width + 1, sy + extent.height + 1};  // with the halo
  const auto overlaps = [&covered](const TRect& other) { return RectsIntersect(covered, other); };
  if (std::any_of(labels_.begin(), labels_.end(), overlaps) ||
      std::any_of(style_.keepClear.begin(), style_.keepClear.end(), overlaps))
    return;
  labels_.push_back(covered);
  if (style_.drawnLabels != nullptr) style_.drawnLabels->push_back(covered);
  canvas_.SetFontColour(style_.haloColour);
  for (const auto& [dx, dy] : {std::pair{-1, -1}, {1, -1}, {-1, 1}, {1, 1}}) canvas_.TextOut(sx + dx, sy + dy, text);
  canvas_.SetFontColour(style_.textColour);
  canvas_.TextOut(sx, sy, text);
}
}  // namespace

bool RectsIntersect(const TRect& a, const TRect& b)
{
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

QString MeridianLabel(int lon)
{
  if (lon == 0) return QStringLiteral("0") + kDegree;
  if (lon == 180 || lon == -180) return QStringLiteral("180") + kDegree;
  return QString::number(std::abs(lon)) + kDegree + (lon < 0 ? 'W' : 'E');
}

QString ParallelLabel(int lat)
{
  if (lat == 0) return QStringLiteral("0") + kDegree;
  return QString::number(std::abs(lat)) + kDegree + (lat < 0 ? 'S' : 'N');
}

void DrawGraticule(TCanvas* canvas, const TMapping& mapping, const TGraticuleStyle& style)
{
  if (canvas == nullptr || style.lonStep == 0 || style.latStep == 0) return;
  const TCanvasFont savedFont = canvas->Font();
  canvas->SetBrushStyle(TBrushStyle::bsClear);
  canvas->SetPenColour(style.lineColour);
  canvas->Font().name = kFontName;
  canvas->Font().size = kFontSize;
  TGraticulePainter(*canvas, mapping, style).Draw();
  canvas->SetFont(savedFont);
}

void DrawGraticuleOnBitmap(TExtBitmap* bitmap, const TMapping& mapping, const TGraticuleStyle& style)
{
  if (bitmap == nullptr || bitmap->Empty() || mapping.GraticuleKind() == pkUnknown) return;
  TCanvas canvas(*bitmap);
  DrawGraticule(&canvas, mapping, style);
}

void DrawGraticule(TCanvas* canvas, const TMapping& mapping, int lonStep, int latStep, std::uint32_t textColour,
                   std::uint32_t lineColour, int xShift, int yShift, bool noLabels,
                   TSpecialParallels specialParallels, std::uint32_t haloColour)
{
  DrawGraticule(canvas, mapping,
                {lonStep, latStep, textColour, lineColour, xShift, yShift, noLabels, specialParallels, haloColour, {},
                 nullptr});
}

void DrawGraticuleOnBitmap(TExtBitmap* bitmap, const TMapping& mapping, int lonStep, int latStep,
                           std::uint32_t textColour, std::uint32_t lineColour, int xShift, int yShift,
                           bool noLabels, TSpecialParallels specialParallels, std::uint32_t haloColour)
{
  DrawGraticuleOnBitmap(bitmap, mapping,
                        {lonStep, latStep, textColour, lineColour, xShift, yShift, noLabels, specialParallels,
                         haloColour, {}, nullptr});
}
