#pragma once
// The statistics file of an unattended run: one comma-separated line per
// concentration picture written (date, hemisphere, extent and area in
// million km², hole fraction), appended so that run after run builds one
// series.
#include <QString>
#include <QStringList>

// Appends the lines, creating the file when it is missing. False, with the
// reason in `error`, when the file cannot be opened or written.
bool AppendStatisticsLines(const QString& fileName, const QStringList& lines, QString& error);
