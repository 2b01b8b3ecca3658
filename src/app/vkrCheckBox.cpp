#include "app/vkrCheckBox.h"

#include <QSignalBlocker>

TvkrCheckBox::TvkrCheckBox(QWidget* parent) : QCheckBox(parent)
{
}

TvkrCheckBox::TvkrCheckBox(const QString& text, const QString& namedAs, QWidget* parent)
    : QCheckBox(text, parent), namedAs_(namedAs)
{
}

TvkrCheckBox::~TvkrCheckBox()
{
  setting_.Store(isChecked());
}

void TvkrCheckBox::Loaded()
{
  if (setting_.IsLoaded())
    return;
  if (namedAs_.isEmpty())
    namedAs_ = objectName();
  const bool remembered = setting_.Load(namedAs_, isChecked());
  {
    const QSignalBlocker quiet(this);
    setChecked(remembered);
  }
  connect(this, &QCheckBox::toggled, this, [this](bool checked) { setting_.Write(checked); });
}
