#include "app/workflow/StatisticsFile.h"

#include <QFile>

bool AppendStatisticsLines(const QString& fileName, const QStringList& lines, QString& error)
{
  QFile file(fileName);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) {
    error = file.errorString();
    return false;
  }
  for (const QString& line : lines) {
    const QByteArray bytes = (line + '\n').toUtf8();
    if (file.write(bytes) != bytes.size()) {
      error = file.errorString();
      return false;
    }
  }
  file.close();
  if (file.error() != QFileDevice::NoError) {
    error = file.errorString();
    return false;
  }
  return true;
}
