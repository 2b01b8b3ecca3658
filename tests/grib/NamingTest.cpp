// Names, level texts and forecast suffixes label the decoded products and
// the decode log; a wrong or shifted table row mislabels a product.
#include <gtest/gtest.h>

#include "grib/ParameterNaming.h"

namespace {

std::string S(const QString& text) { return text.toStdString(); }

TEST(Naming, DescribesEdition1ParametersForTheLog)
{
  const std::pair<std::int32_t, const char*> cases[] = {
      {1, "  Pressure"},
      {11, "  Temperature"},
      {52, "  Relative humidty"},
      {71, "  Total cloud cover %"},
      {91, "  Ice concentration"},
      {110, "  Corresponding wind sea perios (s)"},
      {150, "  Covariance between meridional and zonal components of the wind"},
      {220, "  Sea-ice edge"},
      {221, "  Sea-ice type"},
      {249, "  UV max time"},
      {99229, "  Surge elevation"},
      {99234, "  Tide direction"},
      {0, "  Unrecognised data type: 0"},
      {230, "  Unrecognised data type: 230"},
  };
  for (const auto& [code, line] : cases)
    EXPECT_EQ(S(ParameterDescription(code)), line) << code;
}

TEST(Naming, NamesEdition1ProductsWithLevelWhereTheTableSaysSo)
{
  struct TCase {
    std::int32_t Code;
    const char* Level;
    int Centre, Process;
    const char* File;
    const char* Name;
  } const cases[] = {
      {91, "", 88, 1, "ice_conc_nh_201501011200.grb", "Sea-ice concentration"},
      {220, "", 88, 1, "", "Sea-ice edge"},
      {221, "", 88, 1, "", "Sea-ice type"},
      {11, "surface", 88, 1, "x.grb", "Temperature"},
      {11, "surface", 88, 1, "s-osi_-ifr_-mult-ahlsst_field-201501011200z.grb", "SST"},
      {16, "", 74, 15, "", "Temperature"},
      {16, "", 74, 16, "", "Minimum temperature"},
      {4, "500 hPa", 0, 0, "", "500 hPa PV"},
      {7, "500 hPa", 0, 0, "", "500 hPa H "},
      {33, "10m", 0, 0, "", "10m wind U"},
      {132, "850 hPa", 0, 0, "", "850 hPa wind V"},
      {129, "500 hPa", 0, 0, "", "500 hPa  Geopotential height"},
      {2, "mean sea level", 0, 0, "", "P (MSL)"},
      {151, "", 0, 0, "", "P (MSL)"},
      {100, "", 0, 0, "", "Wind wave and swell ht."},
      {105, "", 0, 0, "", "Swell wave ht."},
      {110, "", 0, 0, "", "Wind sea period"},
      {116, "", 0, 0, "", "Short-wave flux"},
      {232, "", 0, 0, "", "Sea-ice type quality"},
      {99230, "", 74, 56, "", "Surge magnitude"},
      {99234, "", 74, 56, "", "Tide direction"},
      {0, "", 0, 0, "", "Unrecognised data"},
      {3, "surface", 0, 0, "", "Unrecognised data"},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(S(Edition1Name(c.Code, QString::fromUtf8(c.Level), c.Centre, c.Process, QString::fromUtf8(c.File))),
              c.Name)
        << c.Code;
}

TEST(Naming, NamesEdition2ProductsIncludingSatelliteLongitudeAndLaterCloudTable)
{
  struct TCase {
    int Discipline, Category, Number;
    float Longitude;
    bool Later;
    const char* Name;
  } const cases[] = {
      {0, 0, 0, 0, false, "Temperature"},
      {0, 1, 52, 0, false, "Total.precip"},
      {0, 3, 5, 0, false, "Geopot.ht"},
      {1, 0, 2, 0, false, "Snow water equivalent"},
      {3, 0, 9, 9.5f, false, "Fire data (9.5°)"},
      {3, 1, 0, 0, false, "Accumulated 24h precipitation (0°)"},
      {3, 1, 1, -75.5f, false, "Precipitation rate estimate (-75.5°)"},
      {3, 1, 7, 0, false, "0.6µm reflectance"},
      {3, 1, 8, 0, false, "0.8µm reflectance"},
      {3, 1, 8, 0, true, "Sun-spacecraft azimuth angle"},
      {3, 1, 12, 0, true, "3.9µm reflectance"},
      {3, 1, 12, 0, false, ""},
      {3, 1, 34, 0, false, "ERR-LLCTP"},
      {10, 3, 0, 0, false, "SST"},
      {10, 192, 1, 0, false, "Confidence"},
      {10, 192, 2, 0, false, "Delta time"},
      {10, 4, 0, 0, false, ""},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(S(Edition2ParameterText(c.Discipline, c.Category, c.Number, c.Longitude, c.Later)), c.Name)
        << c.Discipline << "/" << c.Category << "/" << c.Number;
}

TEST(Naming, ComposesNameFromParameterLevelAndForecast)
{
  EXPECT_EQ(S(ComposeName("Temperature", LevelTextFor(1000000000, 100, 500), "")), "Temperature 500 hPa");
  EXPECT_EQ(S(ComposeName("SST", "", " +12 h")), "SST +12 h");
  EXPECT_EQ(S(ComposeName("Wind U", "10m", " +6 h")), "Wind U 10m +6 h");
  EXPECT_EQ(S(ComposeName("", "", "")), "");
}

TEST(Naming, GivesLevelTextsButNoneForSeaIce)
{
  struct TCase {
    std::int32_t Code;
    int Type, Value;
    const char* Text;
  } const cases[] = {
      {11, 1, 0, "surface"},          {11, 100, 500, "500 hPa"}, {11, 102, 0, "mean sea level"},
      {33, 105, 10, "10m"},           {11, 103, 2, ""},          {91, 1, 0, ""},
      {220, 100, 500, ""},            {221, 105, 10, ""},        {310010000, 1, 0, "surface"},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(S(LevelTextFor(c.Code, c.Type, c.Value)), c.Text) << c.Code << " type " << c.Type;
}

TEST(Naming, GivesForecastUnitsMultipliersAndSuffixes)
{
  struct TCase {
    int Unit, Edition;
    bool Known;
    const char* Line;
    int Multiplier;
    int Period;
    const char* Suffix;
  } const cases[] = {
      {0, 1, true, "  forecast: minute", 1, 30, " +30 min"},
      {1, 1, true, "  forecast: hour", 1, 12, " +12 h"},
      {2, 2, true, "  forecast: day", 1, 3, " +3 d"},
      {3, 1, true, "  forecast: month", 1, 2, " +2 months"},
      {4, 1, true, "  forecast: year", 1, 1, " +1 y"},
      {5, 1, true, "  forecast: decade (10 years)", 10, 20, " +20 y"},
      {6, 2, true, "  forecast: normal (30 years)", 30, 30, " +30 y"},
      {7, 1, true, "  forecast: century (100 years)", 100, 100, " +100 y"},
      {10, 1, true, "  forecast: 3 hours", 3, 6, " +6 h"},
      {11, 2, true, "  forecast: 6 hours", 6, 12, " +12 h"},
      {12, 1, true, "  forecast: 12 hours", 12, 24, " +24 h"},
      {254, 1, true, "  forecast: second", 1, 45, " +45 s"},
      {254, 2, false, "", 0, 0, ""},
      {8, 1, false, "", 0, 0, ""},
  };
  for (const TCase& c : cases) {
    const TForecastUnit* unit = FindForecastUnit(c.Unit, c.Edition);
    ASSERT_EQ(unit != nullptr, c.Known) << c.Unit;
    if (!unit)
      continue;
    EXPECT_STREQ(unit->LogLine, c.Line);
    EXPECT_EQ(unit->Multiplier, c.Multiplier) << c.Unit;
    EXPECT_EQ(S(ForecastSuffix(c.Period, *unit)), c.Suffix) << c.Unit;
  }
}

TEST(Naming, GivesEdition2ProductSectionTexts)
{
  EXPECT_EQ(S(Edition2Description(1000001000)), "  Specific humidity kg/kg");
  EXPECT_EQ(S(Edition2Description(1000002022)), "  Max wind @ 10m");
  EXPECT_EQ(S(Edition2Description(310010000)), "");
}

}  // namespace
