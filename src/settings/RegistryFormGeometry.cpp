#include "settings/RegistryFormGeometry.h"

namespace {

// Value names in reading and storing order.
constexpr const char* kValueNames[] = {"FormState",  "FormLeft",        "FormTop",         "FormWidth",
                                       "FormHeight", "FormClientWidth", "FormClientHeight"};

std::array<std::int32_t, 7> Fields(const TFormGeometry& g)
{
  return {g.State, g.Left, g.Top, g.Width, g.Height, g.ClientWidth, g.ClientHeight};
}

} // namespace

TRegistryFormGeometry::TRegistryFormGeometry(const TFormGeometry& current)
{
  static_assert(std::size(kValueNames) == kCount);
  const auto defaults = Fields(current);
  for (int i = 0; i < kCount; ++i)
    settings_[i] = std::make_unique<TRegistryInteger>(QString::fromLatin1(kValueNames[i]), defaults[i]);
}

TRegistryFormGeometry::~TRegistryFormGeometry()
{
  FreeInOrder();
}

TFormGeometry TRegistryFormGeometry::Stored() const
{
  if (!settings_[kState])
    return {};
  return {settings_[kState]->Value,  settings_[kLeft]->Value,        settings_[kTop]->Value,
          settings_[kWidth]->Value,  settings_[kHeight]->Value,      settings_[kClientWidth]->Value,
          settings_[kClientHeight]->Value};
}

void TRegistryFormGeometry::Store(const TFormGeometry& current)
{
  if (!settings_[kState])
    return;
  const auto values = Fields(current);
  for (int i = 0; i < kCount; ++i) {
    settings_[i]->Value = values[i];
    settings_[i]->WriteValue();
  }
}

void TRegistryFormGeometry::FreeInOrder()
{
  for (auto& setting : settings_)
    setting.reset();
}
