#include "app/workflow/FileSearch.h"

#include "app/workflow/Wildcard.h"

#include <QDir>
#include <QFileInfo>

namespace {

// The folder search goes back this many days, the start day included.
constexpr int kDayFoldersSearched = 29;

struct TSplitPattern {
  QString folder; // native separators, ends with one unless empty
  QString mask;
};

TSplitPattern SplitPattern(const QString& pattern)
{
  const QString portable = QDir::fromNativeSeparators(pattern);
  const qsizetype slash = portable.lastIndexOf(u'/');
  if (slash < 0)
    return {QString(), portable};
  return {QDir::toNativeSeparators(portable.left(slash + 1)), portable.mid(slash + 1)};
}

// Case-insensitive order, with the exact text as tie-break so that two names
// differing only in case still sort the same way on every run.
bool NameLess(const QString& a, const QString& b)
{
  const int order = QString::compare(a, b, Qt::CaseInsensitive);
  return order != 0 ? order < 0 : QString::compare(a, b, Qt::CaseSensitive) < 0;
}

QString DatedFolder(const QDate& date, bool withDay)
{
  const QChar sep = QDir::separator();
  QString folder = QString::number(date.year()).rightJustified(4, u'0') + sep
      + QString::number(date.month()).rightJustified(2, u'0') + sep;
  if (withDay)
    folder += QString::number(date.day()).rightJustified(2, u'0') + sep;
  return folder;
}

bool ReadDigits(QStringView text, int& value)
{
  value = 0;
  for (const QChar c : text) {
    if (c < u'0' || c > u'9')
      return false;
    value = value * 10 + (c.unicode() - u'0');
  }
  return true;
}

// The name as a QDir name filter that matches only itself: the wildcard
// characters stand for themselves.
QString LiteralFilter(const QString& name)
{
  QString filter;
  for (const QChar c : name) {
    if (c == u'*' || c == u'?' || c == u'[' || c == u']')
      filter += u'[' + QString(c) + u']';
    else
      filter += c;
  }
  return filter;
}

} // namespace

QString StoredEntryName(const QString& folder, const QString& name, QDir::Filters filters)
{
  if (name.isEmpty())
    return {};
  // Name filters ignore letter case unless told otherwise.
  const QStringList entries =
      QDir(folder).entryList({LiteralFilter(name)}, filters | QDir::NoDotAndDotDot, QDir::Name);
  if (entries.contains(name, Qt::CaseSensitive))
    return name;
  return entries.value(0);
}

QString FindLastMatch(const QString& pattern)
{
  const TSplitPattern split = SplitPattern(pattern);
  const QDir folder(split.folder.isEmpty() ? QStringLiteral(".") : split.folder);
  if (!folder.exists())
    return {};
  QString best;
  const QStringList names =
      folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
  for (const QString& name : names) {
    if (WildcardMatch(name, split.mask) && (best.isEmpty() || NameLess(best, name)))
      best = name;
  }
  return best.isEmpty() ? QString() : split.folder + best;
}

QString FindLatestFile(const QString& pattern, const QDate& startDate)
{
  QString found = FindLastMatch(pattern);
  if (!found.isEmpty() || !startDate.isValid())
    return found;
  const TSplitPattern split = SplitPattern(pattern);
  for (int back = 0; back < kDayFoldersSearched; ++back) {
    found = FindLastMatch(split.folder + DatedFolder(startDate.addDays(-back), true) + split.mask);
    if (!found.isEmpty())
      return found;
  }
  found = FindLastMatch(split.folder + DatedFolder(startDate, false) + split.mask);
  if (!found.isEmpty())
    return found;
  const QDate firstOfMonth(startDate.year(), startDate.month(), 1);
  return FindLastMatch(split.folder + DatedFolder(firstOfMonth.addMonths(-1), false) + split.mask);
}

QDate DateFromFileName(const QString& fileName)
{
  const QString name = QFileInfo(fileName).fileName();
  const qsizetype start = name.indexOf(QStringLiteral("20"));
  if (start < 0 || name.size() - start < 8)
    return {};
  int year = 0, month = 0, day = 0;
  const QStringView digits = QStringView(name).mid(start, 8);
  if (!ReadDigits(digits.left(4), year) || !ReadDigits(digits.mid(4, 2), month) || !ReadDigits(digits.mid(6, 2), day))
    return {};
  return QDate(year, month, day); // invalid for month 13, 30 February and the like
}
