#include "imaging/Legend.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

#include "grib/DataStuff.h"
#include "imaging/ColourTable.h"
#include "grib/ParameterCode.h"

namespace {

constexpr int kConcentrationTab = 0;
constexpr int kEdgeTab = 1;
constexpr int kTypeTab = 2;
constexpr int kSstTab = 3;

// Bar rows show palette entries 1 up to at most 253: 0 is the missing-value
// colour and 254, 255 are the overlay colours.
constexpr int kBarLastStep = 254;
constexpr int kBarHighestEntry = 253;

constexpr double kKelvinAtZeroCelsius = 273.15;
constexpr int kFirstLabelCelsius = 0;
constexpr int kLastLabelCelsius = 30;
constexpr int kLabelStepCelsius = 5;

QColor ToQColor(TRgb c) { return QColor(c.r, c.g, c.b); }

}  // namespace

TClassTable LegendClasses(int product, const TDataStuff* field)
{
  const bool extended = field && field->ExtendedClasses;
  switch (product) {
    case kConcentrationTab: return ConcentrationClasses();
    case kEdgeTab: return IceClassTable(kParameterIceEdge, extended);
    case kTypeTab: return IceClassTable(kParameterIceType, extended);
    default: return {};
  }
}

std::vector<TLegendSwatch> LegendSwatches(TClassTable classes)
{
  std::vector<TLegendSwatch> swatches;
  int top = 0;
  for (const TLabelData& cls : classes) {
    swatches.push_back({top, cls.Colour(), QString::fromUtf8(cls.Name.data(), static_cast<qsizetype>(cls.Name.size()))});
    top += kLegendRowSize;
  }
  return swatches;
}

std::vector<TSstBarLine> SstBar(const std::array<TRgb, 256>& palette, int boxHeight, int topEntry)
{
  std::vector<TSstBarLine> lines;
  const int firstStep = 255 - std::clamp(topEntry, 1, kBarHighestEntry);
  for (int y = boxHeight - 1; y >= 0; --y) {
    const int step = y * 256 / boxHeight;
    if (step >= firstStep && step <= kBarLastStep)
      lines.push_back({y, palette[static_cast<std::size_t>(255 - step)]});
  }
  return lines;
}

std::vector<TSstLabel> SstLabels(float minKelvin, float maxKelvin, int boxHeight, int firstEntry, int lastEntry)
{
  std::vector<TSstLabel> labels;
  const double span = static_cast<double>(maxKelvin) - minKelvin;
  if (!(span > 0) || !std::isfinite(span) || boxHeight <= 0)
    return labels;
  for (int celsius = kFirstLabelCelsius; celsius <= kLastLabelCelsius; celsius += kLabelStepCelsius) {
    // nearbyint rounds halves to even in the default rounding mode.
    const double entry =
        std::nearbyint(firstEntry + (celsius + kKelvinAtZeroCelsius - minKelvin) * (lastEntry - firstEntry) / span);
    const double row = std::nearbyint((255.0 - entry) * boxHeight / 256.0);
    if (!std::isfinite(row) || std::abs(row) > 1e6)
      continue;
    labels.push_back({static_cast<int>(row), celsius, QString::number(celsius) + QStringLiteral("°C")});
  }
  return labels;
}

TLegend BuildLegend(int product, const TDataStuff* field, int boxHeight)
{
  TLegend legend;
  if (product != kSstTab) {
    legend.Swatches = LegendSwatches(LegendClasses(product, field));
    return legend;
  }
  if (!field || field->Bitmap.PaletteSize() < 256)
    return legend;
  const TDataStuff::TScaleSpan entries = field->ScaleSpan();
  legend.Bar = SstBar(field->Bitmap.Palette(), boxHeight, std::min(entries.Last, kBarHighestEntry));
  legend.Labels = SstLabels(field->MinValue, field->MaxValue, boxHeight, entries.First, entries.Last);
  return legend;
}

namespace {

void DrawSwatch(QPainter& painter, TRgb colour, const QString& name, int top, int size)
{
  const QFontMetrics metrics(painter.font());
  painter.fillRect(0, top, size, size, ToQColor(colour));
  const int textTop = top + (size - metrics.height()) / 2;
  painter.drawText(size + kLegendTextGap, textTop + metrics.ascent(), name);
}

}  // namespace

void DrawLegendItem(QPainter& painter, const TLabelData& cls, int& y, int size)
{
  DrawSwatch(painter, cls.Colour(), QString::fromUtf8(cls.Name.data(), static_cast<qsizetype>(cls.Name.size())), y,
             size);
  y += size;
}

void PaintLegend(QPainter& painter, const TLegend& legend)
{
  const QFontMetrics metrics(painter.font());
  const int textHeight = metrics.height();
  for (const TLegendSwatch& s : legend.Swatches)
    DrawSwatch(painter, s.Colour, s.Name, s.Top, kLegendRowSize);
  const QPen textPen = painter.pen();
  for (const TSstBarLine& line : legend.Bar) {
    painter.setPen(ToQColor(line.Colour));
    painter.drawLine(0, line.Y, kSstBarRight, line.Y);
  }
  for (const TSstLabel& label : legend.Labels) {
    painter.setPen(Qt::black);
    painter.drawLine(0, label.Y, kSstTickRight, label.Y);
    const int top = SstLabelTop(label.Y, textHeight);
    painter.setPen(textPen);
    if (top >= 0)
      painter.drawText(kSstLabelLeft, top + metrics.ascent(), label.Text);
  }
  painter.setPen(textPen);
}
