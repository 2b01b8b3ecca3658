#pragma once
// Sea-ice extent and area of a concentration field, the figures ice
// services quote: extent is the earth area of the cells with at least 15 %
// ice, area the same cells weighted by their concentration. Land and
// missing cells count in neither; the missing share of the ocean cells
// (pole hole, lost scan lines) says how complete the figures are.
#include <QDate>
#include <QString>

#include <cstdint>
#include <optional>
#include <span>

#include "imaging/CellAreas.h"

class TGribData;

inline constexpr int kExtentThresholdPercent = 15;
// Class codes of a concentration picture: percentages 0..100, then land.
inline constexpr std::uint8_t kConcentrationLandCode = 101;

struct TIceStatistics {
  double ExtentKm2 = 0;
  double AreaKm2 = 0;
  std::int64_t OceanCells = 0;  // cells with a concentration, and missing cells
  std::int64_t HoleCells = 0;   // missing cells
  double HoleFraction() const { return OceanCells > 0 ? static_cast<double>(HoleCells) / OceanCells : 0.0; }
};

// The figures of a picture of concentration codes whose cells have the given
// areas (same size, row after row); `missingIndex` marks the holes.
TIceStatistics ComputeIceStatistics(std::span<const std::uint8_t> codes, std::span<const float> cellKm2,
                                    std::uint8_t missingIndex);

// The figures of the current field of `data` when it is a concentration
// field on a PROJ-placed grid; nothing otherwise.
std::optional<TIceStatistics> IceStatisticsOf(const TGribData& data, TCellAreaCache& cache);

// "Extent 12.345 M km²  Area 10.987 M km²  Holes 0.8 %"
QString IceStatisticsText(const TIceStatistics& statistics);

// "NH" or "SH" by the grid's hemisphere.
QString HemisphereCode(const TGribData& data);

// One line of a statistics file: "2026-12-05,NH,12.345,10.987,0.0081"
// (date, hemisphere, extent and area in million km², hole fraction).
QString IceStatisticsCsvLine(const QDate& date, const QString& hemisphere, const TIceStatistics& statistics);
