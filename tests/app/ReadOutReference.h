#pragma once
// What the read-out must say at a picture pixel of a southern sample
// concentration file: the position PROJ gives for that pixel on the grid's
// projection, and the class of the value ecCodes decodes there.
#include <QRegularExpression>
#include <QString>
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "support/EcCodesReference.h"
#include "support/ProjReference.h"

// Pixels spread over the grid, corners included.
inline constexpr int kReadOutPoints[][2] = {{0, 0}, {395, 415}, {100, 700}, {650, 120},
                                            {789, 829}, {300, 300}, {500, 600}};

// What the read-out says of a concentration value (NaN: no value).
inline QString ConcentrationReadOutText(double value)
{
  if (std::isnan(value)) {
    return "No data";
  }
  const long percent = std::lround(value);
  if (percent == 0) {
    return "Open water";
  }
  if (percent == 101 || percent == -99) {  // land, in either coding
    return "Land";
  }
  return percent >= 1 && percent <= 100 ? QString::number(percent) + "%" : QString("n/a");
}

// The read-out's "Lat: 71.3°N  Lon: 45.0°W" is the given position to the
// one decimal shown, with longitudes between 180°W and 180°E.
inline void ExpectLocationNear(const QString& location, double lat, double lon)
{
  static const QRegularExpression pattern(
    QString::fromUtf8("^Lat: ([0-9.]+)\u00B0([NS])  Lon: ([0-9.]+)\u00B0([EW])$"));
  const QRegularExpressionMatch match = pattern.match(location);
  ASSERT_TRUE(match.hasMatch()) << location.toStdString();
  const double shownLat = match.captured(1).toDouble() * (match.captured(2) == "S" ? -1 : 1);
  const double shownLon = match.captured(3).toDouble() * (match.captured(4) == "W" ? -1 : 1);
  EXPECT_NEAR(shownLat, lat, 0.051) << location.toStdString();
  EXPECT_LE(std::abs(shownLon), 180.0) << location.toStdString();
  // Near the pole a small distance is a large angle of longitude.
  const double lonTolerance = 0.051 + 0.01 / std::cos(lat * M_PI / 180);
  EXPECT_NEAR(std::remainder(shownLon - lon, 360.0), 0.0, lonTolerance) << location.toStdString();
}

class TReadOutReference {
public:
  explicit TReadOutReference(const QString& file)
    : field_(ReadReferenceField(file.toStdString())),
      // The grid as its file states it, extended grid section included.
      proj_(field_.projDefinition),
      first_(proj_.Forward(field_.firstLon, field_.firstLat))
  {
  }

  void Check(int px, int py, const QString& location, const QString& data) const
  {
    const long j = field_.jPositive ? field_.height - 1 - py : py;
    const TGeoPoint expected = PixelPosition(px, py);
    ExpectLocationNear(location, expected.lat, expected.lon);
    EXPECT_EQ(data, ConcentrationReadOutText(field_.Missing(px, j) ? NAN : field_.At(px, j)));
  }

  // Where PROJ puts a picture pixel's grid point.
  TGeoPoint PixelPosition(double px, double py) const
  {
    const double j = field_.jPositive ? field_.height - 1 - py : py;
    const double step = field_.dxMetres;
    return proj_.Inverse(first_.x + px * step, first_.y + (field_.jPositive ? j : -j) * step);
  }

  // A pixel whose grid point has no value, if there is one.
  bool FindMissingPixel(int& px, int& py) const
  {
    for (long j = 0; j < field_.height; ++j) {
      for (long i = 0; i < field_.width; ++i) {
        if (field_.Missing(i, j)) {
          px = static_cast<int>(i);
          py = static_cast<int>(field_.jPositive ? field_.height - 1 - j : j);
          return true;
        }
      }
    }
    return false;
  }

private:
  TReferenceField field_;
  TProjReference proj_;
  TPlanePoint first_;
};
