#include "grib/ParameterNaming.h"

#include "grib/ParameterCode.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <span>

namespace {

QString Text(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

template <class Row>
const Row* FindByCode(std::span<const Row> rows, std::int32_t code)
{
  const auto row = std::find_if(rows.begin(), rows.end(), [code](const Row& r) { return r.Code == code; });
  return row == rows.end() ? nullptr : &*row;
}

struct TDescription {
  std::int32_t Code;
  std::string_view Line;
};

constexpr auto kEdition1Descriptions = std::to_array<TDescription>({
    {1, "  Pressure"},
    {2, "  Pressure reduced to MSL"},
    {4, "  Potential vorticity"},
    {7, "  Geopotential height"},
    {11, "  Temperature"},
    {13, "  Potential temperature"},
    {16, "  Minimum temperature"},
    {17, "  Dew point temperature"},
    {20, "  Visibility m"},
    {31, "  Wind direction (oceanographical convention)"},
    {32, "  Wind speed (m/s)"},
    {33, "  U component of wind velocity m/s"},
    {34, "  V component of wind velocity m/s"},
    {39, "  Pressure vertical velocity Pa/s"},
    {43, "  Relative vorticity /s"},
    {44, "  Relative divergent /s"},
    {51, "  Specific humidty"},
    {52, "  Relative humidty"},
    {59, "  Precipitation rate kg/m^2/s"},
    {61, "  Total precipitation kg/m^2"},
    {62, "  Large-scale precipitation kg/m^2"},
    {63, "  Convective precipitation kg/m^2"},
    {71, "  Total cloud cover %"},
    {78, "  Convective snow kg/m^2"},
    {79, "  Large-scale snow kg/m^2"},
    {80, "  Water temperature K"},
    {81, "  Land-sea mask"},
    {84, "  Albedo"},
    {91, "  Ice concentration"},
    {100, "  Significant wind wave & swell height"},
    {101, "  Direction of wind waves"},
    {102, "  Significant wind wave height"},
    {103, "  Mean period of wind waves"},
    {104, "  Direction of swell waves"},
    {105, "  Height of swell waves"},
    {106, "  Mean period of swell waves"},
    {107, "  Peak wave direction"},
    {108, "  Peak wave period (s)"},
    {109, "  Wind sea direction (oceanographical convention)"},
    {110, "  Corresponding wind sea perios (s)"},
    {111, "  Short-wave radiation (surface)"},
    {115, "  Long-wave radiation"},
    {116, "  Short-wave radiation"},
    {129, "  Geopotential height"},
    {131, "  U component of wind velocity m/s"},
    {132, "  V component of wind velocity m/s"},
    {150, "  Covariance between meridional and zonal components of the wind"},
    {151, "  MSLP"},
    {174, "  Snow depth inches"},
    {175, "  Snow age days"},
    {185, "  Turbulence potential forecast index"},
    {186, "  Total Icing Potential Diagnostic"},
    {202, "  Convective weather detection index"},
    {204, "  Precipitation analysis weights"},
    {220, "  Sea-ice edge"},
    {221, "  Sea-ice type"},
    {236, "  Supercooled Large Droplet (SLD) Icing Potential Diagnostic"},
    {248, "  UV index"},
    {249, "  UV max time"},
    {99229, "  Surge elevation"},
    {99230, "  Surge current magnitude"},
    {99231, "  Surge direction"},
    {99232, "  Tide elevation"},
    {99233, "  Tide current magnitude"},
    {99234, "  Tide direction"},
});

// An edition 1 name; ByLevel names are written after the level text.
struct TEdition1Name {
  std::int32_t Code;
  std::string_view Name;
  bool ByLevel;
};

constexpr auto kEdition1Names = std::to_array<TEdition1Name>({
    {1, "Pressure", false},
    {2, "P (MSL)", false},
    {4, " PV", true},
    {7, " H ", true},
    {11, "Temperature", false},
    {13, " PT", true},
    {16, "Minimum temperature", false},
    {17, " Dew point ", true},
    {20, " Visibility", true},
    {31, "Wind dir. (ocean)", false},
    {32, "Wind speed", false},
    {33, " wind U", true},
    {34, " wind V", true},
    {39, "P vert vel", false},
    {43, "Rel.vort.", false},
    {44, "Rel.div.", false},
    {51, " SH", true},
    {52, " RH", true},
    {59, "Precipitation rate", false},
    {61, "Total precip", false},
    {62, "Large scale precip", false},
    {63, "Convect precip", false},
    {71, "Total cloud cover", false},
    {78, "Convect snow", false},
    {79, "Large scale snow", false},
    {80, " Water temperature", true},
    {81, "Land-sea mask", false},
    {84, "Albedo", false},
    {91, "Sea-ice concentration", false},
    {100, "Wind wave and swell ht.", false},
    {101, "Wind wave dir. (true)", false},
    {102, "Wind wave height", false},
    {103, "Wind wave period", false},
    {104, "Swell wave dir. (true)", false},
    {105, "Swell wave ht.", false},
    {106, "Swell wave period", false},
    {107, "Peak wave dir. (ocean)", false},
    {108, "Peak wave period", false},
    {109, "Wind sea dir. (ocean)", false},
    {110, "Wind sea period", false},
    {111, "Short-wave flux", false},
    {115, "Long-wave flux", false},
    {116, "Short-wave flux", false},
    {129, "  Geopotential height", true},
    {131, " wind U", true},
    {132, " wind V", true},
    {150, "Wind covariance ??", false},
    {151, "P (MSL)", false},
    {174, "Snow depth", false},
    {175, "Snow age", false},
    {185, "Turbulence potential forecast index", false},
    {186, "Total Icing Potential Diagnostic", false},
    {202, "Convective weather detection index", false},
    {204, "Precip. analysis weights (?)", false},
    {220, "Sea-ice edge", false},
    {221, "Sea-ice type", false},
    {230, "Sea-ice concentration quality", false},
    {231, "Sea-ice edge quality", false},
    {232, "Sea-ice type quality", false},
    {236, "SLD Icing Potential Diagnostic", false},
    {248, "UV index", false},
    {249, "Time of max. UV", false},
    {99229, "Surge elevation", false},
    {99230, "Surge magnitude", false},
    {99231, "Surge direction", false},
    {99232, "Tide elevation", false},
    {99233, "Tide magnitude", false},
    {99234, "Tide direction", false},
});

constexpr std::string_view kUnrecognisedName = "Unrecognised data";
constexpr std::string_view kUnrecognisedLine = "  Unrecognised data type: ";
// Edition 1 SST analyses are stored as plain temperature; the file name tells them apart.
constexpr std::string_view kSstFileMarker = "-AHLSST_FIELD-";
// One model stores its temperature analysis as parameter 16.
constexpr int kTemperatureAs16Centre = 74;
constexpr int kTemperatureAs16Process = 15;

// An edition 2 name; WithLongitude names end in the sub-satellite longitude
// in brackets.
struct TEdition2Name {
  int Discipline;
  int Category;
  int Number;
  std::string_view Name;
  bool WithLongitude;
};

constexpr auto kEdition2Names = std::to_array<TEdition2Name>({
    {0, 0, 0, "Temperature", false},
    {0, 1, 0, "Spec.humidty", false},  // specific humidity, abbreviated as shown
    {0, 1, 1, "Rel.humidty", false},
    {0, 1, 52, "Total.precip", false},
    {0, 2, 0, "Wind dir.", false},
    {0, 2, 2, "Wind U", false},
    {0, 2, 3, "Wind V", false},
    {0, 2, 8, "Vert.Vel.Press", false},
    {0, 3, 0, "Pressure", false},
    {0, 3, 5, "Geopot.ht", false},
    {0, 4, 7, "Down-welling short-wave", false},
    {0, 5, 3, "Down-welling long-wave", false},
    {1, 0, 2, "Snow water equivalent", false},
    {3, 0, 2, "Snow water equivalent", false},
    {3, 0, 7, "Cloud mask", false},
    {3, 0, 8, "Cloud analysis image", false},
    {3, 0, 9, "Fire data", true},
    {3, 1, 0, "Accumulated 24h precipitation", true},
    {3, 1, 1, "Precipitation rate estimate", true},
    {3, 1, 2, "Cloud top height", false},
    {3, 1, 3, "CTH quality", false},
    {3, 1, 4, "Number of pixels used", false},
    {3, 1, 5, "Solar zenith angle", false},
    {3, 1, 6, "Sun-spacecraft azimuth angle", false},
    {3, 1, 7, "0.6µm reflectance", false},
    {3, 1, 8, "0.8µm reflectance", false},
    {3, 1, 9, "1.6µm reflectance", false},
    {3, 1, 10, "3.9µm reflectance", false},
    {3, 1, 13, "Divergence", false},
    {3, 1, 14, "Div (wind-A)", false},
    {3, 1, 15, "Div (wind-B)", false},
    {3, 1, 24, "Measurement Cost", false},
    {3, 1, 25, "ULCOT", false},
    {3, 1, 26, "ULCTP", false},
    {3, 1, 27, "ULCRE", false},
    {3, 1, 28, "ERR-ULCOT", false},
    {3, 1, 29, "ERR-ULCTP", false},
    {3, 1, 30, "ERR-ULCRE", false},
    {3, 1, 31, "LLCOT", false},
    {3, 1, 32, "LLCTP", false},
    {3, 1, 33, "ERR-LLCOT", false},
    {3, 1, 34, "ERR-LLCTP", false},
    {10, 3, 0, "SST", false},
    {10, 192, 1, "Confidence", false},
    {10, 192, 2, "Delta time", false},
});

// Edition 2 product-section log lines of a parameter code.
struct TEdition2Description {
  std::int32_t Code;
  std::string_view Line;
};

constexpr auto kEdition2Descriptions = std::to_array<TEdition2Description>({
    {1000000000, "  Temperature"},
    {1000001000, "  Specific humidity kg/kg"},
    {1000001001, "  Relative humidity %"},
    {1000002000, "  Wind direction"},
    {1000002002, "  Wind U m/s"},
    {1000002003, "  Wind V m/s"},
    {1000002008, "  Vertical velocity pressure"},
    {1000002022, "  Max wind @ 10m"},
    {1000003000, "  Pressure"},
    {1000003001, "  MSL Pressure"},
    {1000003005, "  Geopotential height"},
});

struct TLevelText {
  int LevelType;
  std::string_view Format;  // %1 is the level value
};

constexpr auto kLevelTexts = std::to_array<TLevelText>({
    {1, "surface"},
    {100, "%1 hPa"},
    {102, "mean sea level"},
    {105, "%1m"},
});

constexpr auto kForecastUnits = std::to_array<TForecastUnit>({
    {0, "  forecast: minute", 1, "min"},
    {1, "  forecast: hour", 1, "h"},
    {2, "  forecast: day", 1, "d"},
    {3, "  forecast: month", 1, "months"},
    {4, "  forecast: year", 1, "y"},
    {5, "  forecast: decade (10 years)", 10, "y"},
    {6, "  forecast: normal (30 years)", 30, "y"},
    {7, "  forecast: century (100 years)", 100, "y"},
    {10, "  forecast: 3 hours", 3, "h"},
    {11, "  forecast: 6 hours", 6, "h"},
    {12, "  forecast: 12 hours", 12, "h"},
    {254, "  forecast: second", 1, "s"},
});
// Seconds exist as a unit in edition 1 only.
constexpr int kSecondsUnit = 254;

// The shortest text that reads back as the same float: 9.5 gives "9.5", 0 gives "0".
QString LongitudeText(float longitude)
{
  std::array<char, 32> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), longitude);
  return QString::fromLatin1(buffer.data(), result.ptr - buffer.data());
}

}  // namespace

QString ParameterDescription(int code)
{
  if (const auto* row = FindByCode<TDescription>(kEdition1Descriptions, code))
    return Text(row->Line);
  return Text(kUnrecognisedLine) + QString::number(code);
}

QString Edition1Name(std::int32_t code, const QString& levelText, int centre, int process,
                     const QString& fileName)
{
  if (code == kParameterTemperature && fileName.toUpper().contains(Text(kSstFileMarker)))
    return QStringLiteral("SST");
  if (code == 16 && centre == kTemperatureAs16Centre && process == kTemperatureAs16Process)
    return QStringLiteral("Temperature");
  const auto* row = FindByCode<TEdition1Name>(kEdition1Names, code);
  if (!row)
    return Text(kUnrecognisedName);
  return row->ByLevel ? levelText + Text(row->Name) : Text(row->Name);
}

QString Edition2ParameterText(int discipline, int category, int number, float satelliteLongitude,
                              bool laterCloudTable)
{
  const int tableNumber = CloudTableNumber(discipline, category, number, laterCloudTable);
  const auto* row = std::find_if(kEdition2Names.begin(), kEdition2Names.end(), [&](const TEdition2Name& r) {
    return r.Discipline == discipline && r.Category == category && r.Number == tableNumber;
  });
  if (row == kEdition2Names.end())
    return {};
  QString name = Text(row->Name);
  if (row->WithLongitude)
    name += QStringLiteral(" (") + LongitudeText(satelliteLongitude) + QStringLiteral("°)");
  return name;
}

QString ComposeName(const QString& parameterText, const QString& levelText, const QString& forecastText)
{
  QString name = parameterText;
  if (!levelText.isEmpty())
    name += QLatin1Char(' ') + levelText;
  return name + forecastText;
}

QString Edition2Description(int code)
{
  const auto* row = FindByCode<TEdition2Description>(kEdition2Descriptions, code);
  return row ? Text(row->Line) : QString();
}

QString LevelTextFor(std::int32_t code, int levelType, int levelValue)
{
  if (code == kParameterIceConcentration || code == kParameterIceEdge || code == kParameterIceType)
    return {};
  const auto* row = std::find_if(kLevelTexts.begin(), kLevelTexts.end(),
                                 [levelType](const TLevelText& r) { return r.LevelType == levelType; });
  if (row == kLevelTexts.end())
    return {};
  QString text = Text(row->Format);
  return text.contains(QStringLiteral("%1")) ? text.arg(levelValue) : text;
}

const TForecastUnit* FindForecastUnit(int unit, int edition)
{
  const auto* row = std::find_if(kForecastUnits.begin(), kForecastUnits.end(),
                                 [unit](const TForecastUnit& r) { return r.Unit == unit; });
  if (row == kForecastUnits.end() || (row->Unit == kSecondsUnit && edition != 1))
    return nullptr;
  return row;
}

QString ForecastSuffix(std::int32_t multipliedPeriod, const TForecastUnit& unit)
{
  return QStringLiteral(" +%1 ").arg(multipliedPeriod) + QString::fromLatin1(unit.Suffix);
}
