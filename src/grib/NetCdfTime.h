#pragma once
// Times of netCDF files: CF time values ("days since 1978-01-01 00:00:00")
// and the date that data-file names carry.
#include <QDateTime>
#include <QString>

#include <optional>
#include <string>

// The UTC time `value` units after the epoch the units name; nothing for
// units this program does not know or a time beyond the calendar.
std::optional<QDateTime> CfTime(double value, const std::string& units);

// The time of the first twelve digits in a row (yyyymmddhhmm) of a file
// name without its folder; nothing when there are none or they are no date.
std::optional<QDateTime> TimeFromFileName(const QString& fileName);
