#pragma once
// Texts of a decoded field: the decode-log description of its parameter, its
// short display Name, the level text and the forecast suffix.
#include <QString>

#include "grib/DataStuff.h"

#include <cstdint>

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

// Empty for the sea-ice products; otherwise the level by its type, empty
// for types without a text.
QString LevelTextFor(std::int32_t code, int levelType, int levelValue);

// The forecast time units (TForecastUnit, FindForecastUnit) and the log
// descriptions are declared with the field, which the decoders log with.

// " +12 h" style suffix: " +%d " with the multiplied period, then the unit suffix.
QString ForecastSuffix(std::int32_t multipliedPeriod, const TForecastUnit& unit);
