#include "imaging/IceStatistics.h"

#include <algorithm>
#include <array>

#include "grib/GribData.h"
#include "grib/ParameterCode.h"

namespace {

constexpr double kKm2PerMillion = 1e6;

// What one class code adds per km² of its cell.
struct TCodeWeights {
  std::array<float, 256> Extent{};
  std::array<float, 256> Area{};
  std::array<std::uint8_t, 256> Ocean{};
  std::array<std::uint8_t, 256> Hole{};
};

TCodeWeights WeightsFor(std::uint8_t missingIndex)
{
  TCodeWeights w;
  for (int code = 0; code < kConcentrationLandCode; ++code) {
    w.Ocean[code] = 1;
    if (code >= kExtentThresholdPercent) {
      w.Extent[code] = 1.0f;
      w.Area[code] = static_cast<float>(code) / 100.0f;
    }
  }
  if (missingIndex >= kConcentrationLandCode) {
    w.Ocean[missingIndex] = 1;
    w.Hole[missingIndex] = 1;
  }
  return w;
}

}  // namespace

TIceStatistics ComputeIceStatistics(std::span<const std::uint8_t> codes, std::span<const float> cellKm2,
                                    std::uint8_t missingIndex)
{
  const TCodeWeights w = WeightsFor(missingIndex);
  TIceStatistics s;
  const std::size_t count = std::min(codes.size(), cellKm2.size());
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t code = codes[i];
    const double km2 = cellKm2[i];
    s.ExtentKm2 += w.Extent[code] * km2;
    s.AreaKm2 += w.Area[code] * km2;
    s.OceanCells += w.Ocean[code];
    s.HoleCells += w.Hole[code];
  }
  return s;
}

std::optional<TIceStatistics> IceStatisticsOf(const TGribData& data, TCellAreaCache& cache)
{
  if (data.Current == nullptr || data.ParameterCode() != kParameterIceConcentration)
    return std::nullopt;
  const auto* mapping = dynamic_cast<const TProjMapping*>(data.Mapping.get());
  const TExtBitmap& bitmap = data.Bitmap();
  if (mapping == nullptr || bitmap.PixelFormat() != TPixelFormat::pf8bit)
    return std::nullopt;
  const std::shared_ptr<const TCellAreas> areas = cache.For(*mapping);
  if (!areas || areas->Columns() != bitmap.Width() || areas->Rows() != bitmap.Height())
    return std::nullopt;
  return ComputeIceStatistics(bitmap.Pixels(), areas->Km2(), data.Current->MissingIndex);
}

QString IceStatisticsText(const TIceStatistics& statistics)
{
  return QString("Extent %1 M km\u00b2  Area %2 M km\u00b2  Holes %3 %")
    .arg(statistics.ExtentKm2 / kKm2PerMillion, 0, 'f', 3)
    .arg(statistics.AreaKm2 / kKm2PerMillion, 0, 'f', 3)
    .arg(statistics.HoleFraction() * 100, 0, 'f', 1);
}

QString HemisphereCode(const TGribData& data)
{
  return data.Mapping && data.Mapping->Southern() ? QStringLiteral("SH") : QStringLiteral("NH");
}

QString IceStatisticsCsvLine(const QDate& date, const QString& hemisphere, const TIceStatistics& statistics)
{
  return QString("%1,%2,%3,%4,%5")
    .arg(date.toString(Qt::ISODate), hemisphere)
    .arg(statistics.ExtentKm2 / kKm2PerMillion, 0, 'f', 3)
    .arg(statistics.AreaKm2 / kKm2PerMillion, 0, 'f', 3)
    .arg(statistics.HoleFraction(), 0, 'f', 4);
}
