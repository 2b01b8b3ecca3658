#pragma once
// Where the program's settings live: QSettings in the platform's native
// format, user scope, organisation "Ostrand", application = the running
// executable's base name (so a renamed copy keeps separate settings).
// Every read and write opens its own QSettings and lets it go at once.
#include <QSettings>
#include <QString>
#include <memory>

inline constexpr char kVendorName[] = "Ostrand";

// The application part of the program key: the override when set, else the
// executable's file name without folder and extension.
QString SettingsProgramName();

// Tests (and only tests) give the settings a fixed program name; an empty
// name goes back to the executable's.
void SetSettingsProgramName(const QString& name);

// The store format, native unless changed. The Windows registry ignores
// QSettings::setPath, so test runs there switch to IniFormat to keep their
// settings in a temporary folder instead of the user's registry.
QSettings::Format SettingsFormat();
void SetSettingsFormat(QSettings::Format format);

// Settings of a program of the Ostrand family ("Feedkeeper", "App Paths",
// or this program's own name).
std::unique_ptr<QSettings> OpenVendorSettings(const QString& program);
std::unique_ptr<QSettings> OpenProgramSettings();

// True when this program's settings hold a value of that name.
bool SettingExists(const QString& valueName);

// A string value of a sibling program's settings; empty when the value is
// missing or not text.
QString ReadSiblingSetting(const QString& program, const QString& valueName);

// Where a sibling program is installed, as it records under "App Paths".
QString ReadAppPath(const QString& valueName);

// The images folder of the data collector Feedkeeper: "ImagesPath" of
// "Feedkeeper-P", else of "Feedkeeper"; empty when neither has one.
QString FeedkeeperImagesPath();
