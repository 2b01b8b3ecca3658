#include "app/workflow/LatLonText.h"

#include <algorithm>
#include <cmath>

namespace {

// More digits than a float angle holds would only print noise.
constexpr int kMaxDecimals = 9;

QString Angle(int decimals, double value, char16_t positive, char16_t negative)
{
  return QString::number(std::fabs(value), 'f', decimals) + u'\u00B0' + (value >= 0 ? positive : negative);
}

} // namespace

QString FormatLatLon(int decimals, double latitude, double longitude)
{
  const int digits = std::clamp(decimals, 0, kMaxDecimals);
  return QStringLiteral("Lat: ") + Angle(digits, latitude, u'N', u'S') + QStringLiteral("  Lon: ")
      + Angle(digits, longitude, u'E', u'W');
}
