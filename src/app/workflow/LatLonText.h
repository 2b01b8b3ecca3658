#pragma once
// Location read-out text: "Lat: 71.3°N  Lon: 12.5°W".
#include <QString>

QString FormatLatLon(int decimals, double latitude, double longitude);
