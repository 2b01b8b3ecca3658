#include "imaging/Canvas.h"

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

// Coordinates beyond this are first cut to it in floating point, so that the
// exact integer stepping below cannot overflow 64 bits.
constexpr std::int64_t kFarCoordinate = std::int64_t{1} << 23;
// Dotted pen: three pixels on, three off.
constexpr int kDotOn = 3, kDotPeriod = 6;
// A glyph pixel whose coverage reaches this is ink; below it, background.
constexpr int kInkThreshold = 128;
constexpr const char* kSmallFontsFace = "DejaVu Sans";

std::int64_t FloorDiv(std::int64_t a, std::int64_t b)  // b > 0
{
  return a >= 0 ? a / b : -((-a + b - 1) / b);
}

std::int64_t CeilDiv(std::int64_t a, std::int64_t b)  // b > 0
{
  return -FloorDiv(-a, b);
}

// Liang-Barsky: cuts the segment to the square |x|, |y| <= kFarCoordinate.
bool CutToFarBox(double& x0, double& y0, double& x1, double& y1)
{
  const double lim = static_cast<double>(kFarCoordinate);
  double t0 = 0, t1 = 1;
  const double dx = x1 - x0, dy = y1 - y0;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x0 + lim, lim - x0, y0 + lim, lim - y0};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0)
        return false;
      continue;
    }
    const double r = q[i] / p[i];
    if (p[i] < 0)
      t0 = std::max(t0, r);
    else
      t1 = std::min(t1, r);
  }
  if (t0 > t1)
    return false;
  const double nx0 = x0 + t0 * dx, ny0 = y0 + t0 * dy;
  x1 = x0 + t1 * dx;
  y1 = y0 + t1 * dy;
  x0 = nx0;
  y0 = ny0;
  return true;
}

bool HaveGuiApplication()
{
  return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

QFont MakeQFont(const TCanvasFont& font)
{
  QFont q;
  if (font.name.empty() || font.name == "Small Fonts")
    q.setFamily(QString::fromLatin1(kSmallFontsFace));
  else
    q.setFamily(QString::fromStdString(font.name));
  q.setStyleHint(QFont::SansSerif);
  q.setPixelSize(std::max(1, TCanvas::FontPixelSize(font.size)));
  q.setBold(font.bold);
  q.setStyleStrategy(QFont::NoAntialias);
  q.setHintingPreference(QFont::PreferFullHinting);
  return q;
}

}  // namespace

int TCanvas::FontPixelSize(int points)
{
  // Points at 96 pixels per inch, rounded to the nearest pixel.
  return static_cast<int>(std::lround(points * 96.0 / 72.0));
}

TCanvas::TInk TCanvas::Resolve(const TCanvasColour& colour) const
{
  TInk ink;
  if (bitmap_.PixelFormat() == TPixelFormat::pf8bit) {
    ink.bytes[0] = colour.isIndex ? colour.index : NearestPaletteIndex(bitmap_, colour.rgb);
    return ink;
  }
  const TRgb rgb = colour.isIndex ? bitmap_.Palette()[colour.index] : colour.rgb;
  ink.bytes[0] = rgb.r;
  ink.bytes[1] = rgb.g;
  ink.bytes[2] = rgb.b;
  return ink;
}

void TCanvas::Plot(int x, int y, const TInk& ink)
{
  const int bpp = bitmap_.BytesPerPixel();
  std::uint8_t* p = bitmap_.ScanLine(y) + static_cast<std::size_t>(x) * bpp;
  for (int i = 0; i < bpp; ++i)
    p[i] = ink.bytes[i];
}

void TCanvas::SetPixel(int x, int y)
{
  if (x >= 0 && y >= 0 && x < bitmap_.Width() && y < bitmap_.Height())
    Plot(x, y, Resolve(state_.penColour));
}

void TCanvas::MoveTo(int x, int y)
{
  state_.penX = x;
  state_.penY = y;
  dotPhase_ = 0;
}

void TCanvas::LineTo(int x, int y)
{
  Segment(state_.penX, state_.penY, x, y, Resolve(state_.penColour));
  state_.penX = x;
  state_.penY = y;
}

void TCanvas::Polyline(std::span<const TPoint> points)
{
  if (points.empty())
    return;
  const TInk ink = Resolve(state_.penColour);
  dotPhase_ = 0;
  for (std::size_t i = 1; i < points.size(); ++i)
    Segment(points[i - 1].x, points[i - 1].y, points[i].x, points[i].y, ink);
}

// Steps along the major axis: pixel t (0 <= t < n) lies at major offset t and
// minor offset k(t) = floor((2tm + n) / 2n), m and n being the minor and major
// spans. Clipping solves for the range of t inside the picture, so a clipped
// line has exactly the pixels of the unclipped one.
void TCanvas::Segment(int ix0, int iy0, int ix1, int iy1, const TInk& ink)
{
  std::int64_t x0 = ix0, y0 = iy0, x1 = ix1, y1 = iy1;
  if (std::max({std::llabs(x0), std::llabs(y0), std::llabs(x1), std::llabs(y1)}) > kFarCoordinate) {
    double fx0 = ix0, fy0 = iy0, fx1 = ix1, fy1 = iy1;
    if (!CutToFarBox(fx0, fy0, fx1, fy1))
      return;
    x0 = std::llround(fx0), y0 = std::llround(fy0), x1 = std::llround(fx1), y1 = std::llround(fy1);
  }
  const std::int64_t width = bitmap_.Width(), height = bitmap_.Height();
  const std::int64_t dx = x1 - x0, dy = y1 - y0;
  const bool xMajor = std::llabs(dx) >= std::llabs(dy);
  const std::int64_t n = std::max(std::llabs(dx), std::llabs(dy));
  const std::int64_t m = std::min(std::llabs(dx), std::llabs(dy));
  const int phase = dotPhase_;
  dotPhase_ = static_cast<int>((dotPhase_ + n) % kDotPeriod);
  if (n == 0 || width <= 0 || height <= 0)
    return;

  const std::int64_t a0 = xMajor ? x0 : y0, b0 = xMajor ? y0 : x0;
  const std::int64_t sa = (xMajor ? dx : dy) < 0 ? -1 : 1, sb = (xMajor ? dy : dx) < 0 ? -1 : 1;
  const std::int64_t aSize = xMajor ? width : height, bSize = xMajor ? height : width;

  // Major axis inside the picture.
  std::int64_t tLo = sa > 0 ? -a0 : a0 - (aSize - 1);
  std::int64_t tHi = sa > 0 ? aSize - 1 - a0 : a0;
  // Minor axis inside the picture.
  const std::int64_t kLo = sb > 0 ? -b0 : b0 - (bSize - 1);
  const std::int64_t kHi = sb > 0 ? bSize - 1 - b0 : b0;
  if (m == 0) {
    if (kLo > 0 || kHi < 0)
      return;
  } else {
    tLo = std::max(tLo, CeilDiv(2 * n * kLo - n, 2 * m));
    tHi = std::min(tHi, FloorDiv(2 * n * (kHi + 1) - n - 1, 2 * m));
  }
  tLo = std::max<std::int64_t>(tLo, 0);
  tHi = std::min(tHi, n - 1);
  if (tLo > tHi)
    return;

  std::int64_t num = 2 * tLo * m + n;
  std::int64_t k = num / (2 * n);
  std::int64_t rem = num % (2 * n);
  const bool dotted = state_.penStyle == TPenStyle::psDot;
  for (std::int64_t t = tLo; t <= tHi; ++t) {
    if (!dotted || (phase + t) % kDotPeriod < kDotOn) {
      const std::int64_t a = a0 + sa * t, b = b0 + sb * k;
      Plot(static_cast<int>(xMajor ? a : b), static_cast<int>(xMajor ? b : a), ink);
    }
    rem += 2 * m;
    if (rem >= 2 * n) {
      rem -= 2 * n;
      ++k;
    }
  }
}

void TCanvas::FillRect(const TRect& rect)
{
  const int left = std::max(rect.left, 0), top = std::max(rect.top, 0);
  const int right = std::min(rect.right, bitmap_.Width()), bottom = std::min(rect.bottom, bitmap_.Height());
  const TInk ink = Resolve(state_.brushColour);
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x)
      Plot(x, y, ink);
}

TTextExtent TCanvas::TextExtent(const QString& text) const
{
  if (!HaveGuiApplication())
    return {};
  const QFontMetrics metrics(MakeQFont(state_.font));
  return {metrics.horizontalAdvance(text), metrics.height()};
}

void TCanvas::TextOut(int x, int y, const QString& text)
{
  if (!HaveGuiApplication() || text.isEmpty())
    return;
  const QFont font = MakeQFont(state_.font);
  const QFontMetrics metrics(font);
  const int advance = metrics.horizontalAdvance(text);
  const int height = metrics.height();
  if (state_.brushStyle == TBrushStyle::bsSolid)
    FillRect({x, y, x + advance, y + height});

  // Glyphs may overhang their advance a little; leave room for it.
  const int margin = height;
  QImage mask(advance + 2 * margin, height, QImage::Format_Grayscale8);
  if (mask.isNull())
    return;
  mask.fill(0);
  {
    QPainter painter(&mask);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(margin, metrics.ascent(), text);
  }
  const TInk ink = Resolve(state_.font.colour);
  for (int my = 0; my < mask.height(); ++my) {
    const int py = y + my;
    if (py < 0 || py >= bitmap_.Height())
      continue;
    const uchar* row = mask.constScanLine(my);
    for (int mx = 0; mx < mask.width(); ++mx) {
      const int px = x + mx - margin;
      if (row[mx] >= kInkThreshold && px >= 0 && px < bitmap_.Width())
        Plot(px, py, ink);
    }
  }
}
