#pragma once
// The program's version information as the about box shows it, taken from
// the header the build generates from the project version and build date.
#include <QString>

struct TVersionInfo {
  QString ProductName;
  QString FileVersion;
  QString BuildDate;  // "yyyy-mmm-dd", for example 2026-Dec-06
  QString LegalCopyright;
  QString WebSite;
};

TVersionInfo ProgramVersionInfo();

// "yyyy-mm-dd" as "yyyy-mmm-dd" with the English short month name; the text
// unchanged when it is not such a date.
QString BuildDateText(const QString& isoDate);

// The address the web-site label opens: the text itself when it names its
// scheme, else "http://" in front; empty for an empty text.
QString WebSiteAddress(const QString& text);
