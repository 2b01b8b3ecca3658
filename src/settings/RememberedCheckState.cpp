#include "settings/RememberedCheckState.h"

QString TRememberedCheckState::SettingName(const QString& namedAs, const QString& ownName)
{
  return namedAs.isEmpty() ? ownName : namedAs;
}

bool TRememberedCheckState::Load(const QString& name, bool initialState)
{
  // A box without any name has nowhere to be remembered.
  if (!setting_ && name.isEmpty())
    return initialState;
  if (!setting_)
    setting_ = std::make_unique<TRegistryBoolean>(name, initialState);
  return setting_->Value;
}

QString TRememberedCheckState::ValueName() const
{
  return setting_ ? setting_->ValueName() : QString();
}

void TRememberedCheckState::Write(bool checked)
{
  if (!setting_)
    return;
  setting_->Value = checked;
  setting_->WriteValue();
}

void TRememberedCheckState::Store(bool checked)
{
  if (!setting_)
    return;
  setting_->Value = checked;
  setting_.reset();
}
