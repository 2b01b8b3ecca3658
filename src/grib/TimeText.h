#pragma once
// Reference times of GRIB messages: kept as UTC date-times, logged as
// "yyyy-mmm-dd hh:mm" with English month abbreviations.
#include <QDateTime>
#include <QString>

struct TTimeFields {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// Invalid QDateTime when the fields name no real time.
QDateTime ToDateTime(const TTimeFields& time);
QString FormatReferenceTime(const TTimeFields& time);
