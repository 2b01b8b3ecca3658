#include "about/VersionInfo.h"

#include <QDate>
#include <QLocale>

#include "Version.h"

TVersionInfo ProgramVersionInfo()
{
  TVersionInfo info;
  info.ProductName = norvant::kProgramName;
  info.FileVersion = norvant::kVersion;
  info.BuildDate = BuildDateText(norvant::kBuildDate);
  info.LegalCopyright = QString("Copyright %1 %2 Brenmark").arg(QChar(0x00A9)).arg(QString(norvant::kBuildDate).left(4));
  info.WebSite = "www.brenmark.example/norvant";
  return info;
}

QString BuildDateText(const QString& isoDate)
{
  const QDate date = QDate::fromString(isoDate, Qt::ISODate);
  if (!date.isValid()) {
    return isoDate;
  }
  return QLocale::c().toString(date, "yyyy-MMM-dd");
}

QString WebSiteAddress(const QString& text)
{
  const QString trimmed = text.trimmed();
  if (trimmed.isEmpty()) {
    return {};
  }
  // Any scheme counts: "https://" must not become "http://https://".
  if (trimmed.contains("://")) {
    return trimmed;
  }
  return "http://" + trimmed;
}
