#include "app/workflow/LatLonText.h"

#include <gtest/gtest.h>

TEST(FormatLatLon, HemisphereLettersAndDecimalsFollowTheSigns)
{
  struct Case {
    int decimals;
    double latitude, longitude;
    const char* expected;
  };
  const Case cases[] = {
      {1, 71.3, -12.5, "Lat: 71.3°N  Lon: 12.5°W"},
      {1, -65.04, 120.06, "Lat: 65.0°S  Lon: 120.1°E"},
      {0, -45.6, 170.4, "Lat: 46°S  Lon: 170°E"},
      {2, 0.0, 0.0, "Lat: 0.00°N  Lon: 0.00°E"},
      {1, -90.0, -180.0, "Lat: 90.0°S  Lon: 180.0°W"},
      {3, 89.99949, 359.5, "Lat: 89.999°N  Lon: 359.500°E"},
      {-2, 12.4, 3.6, "Lat: 12°N  Lon: 4°E"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FormatLatLon(c.decimals, c.latitude, c.longitude).toStdString(), c.expected);
}
