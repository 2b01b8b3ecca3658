#pragma once
// Texts of a decoded field: the decode-log description of its parameter, its
// short display Name, the level text and the forecast suffix.
#include <QString>

#include <cstdint>
#include <optional>
#include <string_view>

// Edition 1 log line for a parameter code, for example "  Ice concentration";
// codes without one give "  Unrecognised data type: " and the code.
QString ParameterDescription(std::int32_t code);

// Edition 1 display name without the forecast suffix. levelText goes in
// front of the parameters named by level; centre, process and the file name
// (without folder) pick between the variants of codes 11 and 16.
QString Edition1Name(std::int32_t code, const QString& levelText, int centre, int process,
                     const QString& fileName);

// Edition 2 parameter text (empty for combinations without one); a few
// satellite products carry the sub-satellite longitude in their name.
QString Edition2ParameterText(int discipline, int category, int number, float satelliteLongitude,
                              bool laterCloudTable);

// Parameter text, then " " and the level text when there is one, then the
// forecast suffix.
QString ComposeName(const QString& parameterText, const QString& levelText, const QString& forecastText);

// Edition 2 product-section log line and the name set there before the full
// name is built; both empty for codes without one.
QString Edition2Description(std::int32_t code);
QString Edition2ProvisionalName(std::int32_t code, const QString& levelText);

// Empty for the sea-ice products; otherwise the level by its type, empty
// for types without a text.
QString LevelTextFor(std::int32_t code, int levelType, int levelValue);

// Time units of the forecast period (product section octet 18).
struct TForecastUnit {
  int Unit;
  std::string_view LogLine;  // decode-log line naming the unit
  int Multiplier;            // the period is counted in this many units
  std::string_view Suffix;   // written after the period in the Name
  bool Edition1Only;
};

std::optional<TForecastUnit> FindForecastUnit(int unit, int edition);

// " +12 h" style suffix: " +%d " with the multiplied period, then the unit suffix.
QString ForecastSuffix(std::int32_t multipliedPeriod, const TForecastUnit& unit);
