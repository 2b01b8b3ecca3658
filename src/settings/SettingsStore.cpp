#include "settings/SettingsStore.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSettings>

namespace {

QString& ProgramNameOverride()
{
  static QString name;
  return name;
}

QSettings::Format& FormatOverride()
{
  static QSettings::Format format = QSettings::NativeFormat;
  return format;
}

QString ExecutableBaseName()
{
  const QString path = QCoreApplication::applicationFilePath();
  if (!path.isEmpty())
    return QFileInfo(path).completeBaseName();
  return QCoreApplication::applicationName();
}

bool IsText(const QVariant& value)
{
  return value.typeId() == QMetaType::QString || value.typeId() == QMetaType::QByteArray;
}

} // namespace

QString SettingsProgramName()
{
  const QString& name = ProgramNameOverride();
  return name.isEmpty() ? ExecutableBaseName() : name;
}

void SetSettingsProgramName(const QString& name)
{
  ProgramNameOverride() = name;
}

QSettings::Format SettingsFormat()
{
  return FormatOverride();
}

void SetSettingsFormat(QSettings::Format format)
{
  FormatOverride() = format;
}

std::unique_ptr<QSettings> OpenVendorSettings(const QString& program)
{
  return std::make_unique<QSettings>(FormatOverride(), QSettings::UserScope,
                                     QString::fromLatin1(kVendorName), program);
}

std::unique_ptr<QSettings> OpenProgramSettings()
{
  return OpenVendorSettings(SettingsProgramName());
}

bool SettingExists(const QString& valueName)
{
  return OpenProgramSettings()->contains(valueName);
}

QString ReadSiblingSetting(const QString& program, const QString& valueName)
{
  const QVariant value = OpenVendorSettings(program)->value(valueName);
  return IsText(value) ? value.toString() : QString();
}

QString ReadAppPath(const QString& valueName)
{
  return ReadSiblingSetting(QStringLiteral("App Paths"), valueName);
}

QString FeedkeeperImagesPath()
{
  const QString valueName = QStringLiteral("ImagesPath");
  const QString preferred = ReadSiblingSetting(QStringLiteral("Feedkeeper-P"), valueName);
  return preferred.isEmpty() ? ReadSiblingSetting(QStringLiteral("Feedkeeper"), valueName) : preferred;
}
