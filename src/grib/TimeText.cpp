#include "grib/TimeText.h"



#include <array>

QDateTime ToDateTime(const TTimeFields& t) {
  const QDate date(t.year, t.month, t.day);
  const QTime time(t.hour, t.minute, t.second);
  if (!date.isValid() || !time.isValid())
    return {};
  return QDateTime(date, time, Qt::UTC);
}

QString FormatReferenceTime(const TTimeFields& t) {
  static constexpr std::array<const char*, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  const char* month = t.month >= 1 && t.month <= 12 ? kMonths[t.month - 1] : "???";
  return QString::asprintf("%04d-%s-%02d %02d:%02d", t.year, month, t.day, t.hour, t.minute);
}
