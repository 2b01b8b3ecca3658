#include "grib/NetCdfTime.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <array>
#include <cmath>
#include <sstream>

namespace {

struct TTimeUnit {
  const char* name;
  double seconds;
};

constexpr std::array<TTimeUnit, 8> kUnits = {{{"seconds", 1},
                                              {"second", 1},
                                              {"minutes", 60},
                                              {"minute", 60},
                                              {"hours", 3600},
                                              {"hour", 3600},
                                              {"days", 86400},
                                              {"day", 86400}}};

// A few thousand years either way covers every product and keeps the
// milliseconds within a 64-bit count.
constexpr double kMaxSeconds = 1.0e11;

std::optional<QDateTime> Epoch(const QString& text)
{
  // "1978-01-01 00:00:00", "1978-1-1", "1978-01-01T00:00:00Z", with or without seconds.
  static const QRegularExpression pattern(
    QStringLiteral("^(\\d{1,4})-(\\d{1,2})-(\\d{1,2})(?:[ T](\\d{1,2}):(\\d{1,2})(?::(\\d{1,2})(?:\\.\\d*)?)?)?"
                   "\\s*(?:Z|UTC|\\+00:?00|\\+0)?\\s*$"));
  const QRegularExpressionMatch m = pattern.match(text.trimmed());
  if (!m.hasMatch())
    return std::nullopt;
  const QDate date(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
  const QTime time(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt());
  if (!date.isValid() || !time.isValid())
    return std::nullopt;
  return QDateTime(date, time, Qt::UTC);
}

}  // namespace

std::optional<QDateTime> CfTime(double value, const std::string& units)
{
  std::istringstream words(units);
  std::string unit, since;
  words >> unit >> since;
  if (since != "since" || !std::isfinite(value))
    return std::nullopt;
  std::string rest;
  std::getline(words, rest);
  const auto* known = std::find_if(kUnits.begin(), kUnits.end(), [&](const TTimeUnit& u) { return unit == u.name; });
  const std::optional<QDateTime> epoch = Epoch(QString::fromStdString(rest));
  if (known == kUnits.end() || !epoch)
    return std::nullopt;
  const double seconds = value * known->seconds;
  if (!(std::fabs(seconds) < kMaxSeconds))
    return std::nullopt;
  return epoch->addMSecs(static_cast<qint64>(std::llround(seconds * 1000)));
}

std::optional<QDateTime> TimeFromFileName(const QString& fileName)
{
  static const QRegularExpression digits(QStringLiteral("(\\d{4})(\\d{2})(\\d{2})(\\d{2})(\\d{2})"));
  const QRegularExpressionMatch m = digits.match(QFileInfo(fileName).fileName());
  if (!m.hasMatch())
    return std::nullopt;
  const QDate date(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
  const QTime time(m.captured(4).toInt(), m.captured(5).toInt());
  if (!date.isValid() || !time.isValid())
    return std::nullopt;
  return QDateTime(date, time, Qt::UTC);
}
