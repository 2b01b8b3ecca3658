#pragma once
// Finding the newest data file below the "SAF" folder, which the collecting
// program keeps flat, in year/month/day folders or in year/month folders.
// Patterns and results use the platform's native separators; names match
// case-insensitively on every platform.
#include <QDate>
#include <QDir>
#include <QString>

// The entry of `folder` that `name` stands for, spelled as stored: the
// exact name when there is one, else one that differs from it only in
// letter case; empty when none. `filters` says which kinds of entry count.
QString StoredEntryName(const QString& folder, const QString& name,
                        QDir::Filters filters = QDir::AllEntries | QDir::Hidden | QDir::System);

// The greatest name (case-insensitive order) in the pattern's folder that
// matches its file-name mask, with the folder in front; empty when the folder
// does not exist or nothing matches.
QString FindLastMatch(const QString& pattern);

// The newest match of "folder/mask": the flat folder first, then the day
// folders of the 29 days ending on startDate, then startDate's month folder
// and the month folder before it. An invalid startDate searches the flat
// folder only.
QString FindLatestFile(const QString& pattern, const QDate& startDate);

// The yyyymmdd date that starts at the first "20" of the file's name (folder
// ignored); an invalid date when there is none or it is not a real date.
QDate DateFromFileName(const QString& fileName);
