#include "settings/RegistryVariable.h"

#include "settings/SettingsStore.h"

#include <QSettings>
#include <QVariant>
#include <limits>
#include <optional>
#include <utility>

namespace {

// A stored 32-bit integer. The registry keeps a typed value; text-based
// stores (the .conf file on Linux) keep digits, so those are accepted when
// they are exactly a decimal 32-bit integer and nothing else.
std::optional<std::int32_t> ReadInteger(const QString& valueName)
{
  const QVariant value = OpenProgramSettings()->value(valueName);
  bool ok = false;
  qlonglong number = 0;
  switch (value.typeId()) {
  case QMetaType::Int:
  case QMetaType::UInt:
  case QMetaType::LongLong:
  case QMetaType::ULongLong:
    number = value.toLongLong(&ok);
    break;
  case QMetaType::QString:
    number = value.toString().toLongLong(&ok, 10);
    break;
  default:
    return std::nullopt;
  }
  if (!ok || number < std::numeric_limits<std::int32_t>::min() || number > std::numeric_limits<std::int32_t>::max())
    return std::nullopt;
  return static_cast<std::int32_t>(number);
}

std::optional<QString> ReadText(const QString& valueName)
{
  const QVariant value = OpenProgramSettings()->value(valueName);
  if (value.typeId() != QMetaType::QString)
    return std::nullopt;
  return value.toString();
}

// True when the store already holds `value` as writing it would leave it:
// rewriting the store (lock file, copy, sync, rename) costs more than the
// whole of a short unattended run, and leaves the same state. Text-based
// stores give every value back as text; the Windows registry keeps types.
bool HoldsAlready(const QSettings& settings, const QString& name, const QVariant& value)
{
  const QVariant current = settings.value(name);
  if (!current.isValid())
    return false;
  if (current.typeId() == value.typeId())
    return current == value;
#ifdef Q_OS_WIN
  const bool textStore = settings.format() == QSettings::IniFormat;
#else
  const bool textStore = settings.format() == QSettings::IniFormat || settings.format() == QSettings::NativeFormat;
#endif
  return textStore && current.typeId() == QMetaType::QString && value.canConvert<QString>() &&
         current.toString() == value.toString();
}

} // namespace

TRegistryVariable::TRegistryVariable(QString valueName) : valueName_(std::move(valueName))
{
}

TRegistryVariable::~TRegistryVariable()
{
  if (!DeleteOnFree || !StoreOnFree)
    return;
  auto settings = OpenProgramSettings();
  settings->remove(valueName_);
  settings->sync();
}

bool TRegistryVariable::StoreValue(const QVariant& value) const
{
  auto settings = OpenProgramSettings();
  if (HoldsAlready(*settings, valueName_, value))
    return true;
  settings->setValue(valueName_, value);
  settings->sync();
  if (settings->status() == QSettings::NoError)
    return true;
  qWarning("Could not store setting \"%s\" in %s", qPrintable(valueName_), qPrintable(settings->fileName()));
  return false;
}

TRegistryBoolean::TRegistryBoolean(QString valueName, bool defaultValue)
    : TRegistryVariable(std::move(valueName)), Value(defaultValue)
{
  if (const auto stored = ReadInteger(ValueName()))
    Value = *stored != 0;
}

TRegistryBoolean::~TRegistryBoolean()
{
  if (StoreOnFree)
    WriteValue();
}

bool TRegistryBoolean::WriteValue() const
{
  return StoreValue(static_cast<int>(Value ? 1 : 0));
}

TRegistryInteger::TRegistryInteger(QString valueName, std::int32_t defaultValue)
    : TRegistryVariable(std::move(valueName)), Value(defaultValue)
{
  if (const auto stored = ReadInteger(ValueName()))
    Value = *stored;
}

TRegistryInteger::~TRegistryInteger()
{
  if (StoreOnFree)
    WriteValue();
}

bool TRegistryInteger::WriteValue() const
{
  return StoreValue(static_cast<int>(Value));
}

TRegistryString::TRegistryString(QString valueName, QString defaultValue)
    : TRegistryVariable(std::move(valueName)), Value(std::move(defaultValue))
{
  if (auto stored = ReadText(ValueName()))
    Value = std::move(*stored);
}

TRegistryString::~TRegistryString()
{
  if (StoreOnFree)
    WriteValue();
}

bool TRegistryString::WriteValue() const
{
  return StoreValue(Value);
}
