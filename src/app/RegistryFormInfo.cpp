#include "app/RegistryFormInfo.h"

namespace {

TFormState StateOf(const QWidget& form)
{
  if (form.isMinimized())
    return fsMinimised;
  if (form.isMaximized())
    return fsMaximised;
  return fsNormal;
}

} // namespace

TRegistryFormInfo::TRegistryFormInfo(QWidget* form)
    : form_(form), storage_(form ? GeometryOf(*form) : TFormGeometry{})
{
}

TRegistryFormInfo::~TRegistryFormInfo()
{
  Store();
}

TFormGeometry TRegistryFormInfo::GeometryOf(const QWidget& form)
{
  const TFormState state = StateOf(form);
  // The frame's offset from the client area, to turn the normal client
  // rectangle back into the frame position Left/Top stand for.
  const QPoint frameOffset = form.geometry().topLeft() - form.frameGeometry().topLeft();
  const QSize frameExtra = form.frameGeometry().size() - form.geometry().size();
  QRect client = form.geometry();
  if (state != fsNormal && form.normalGeometry().isValid())
    client = form.normalGeometry();
  const QPoint frameTopLeft = client.topLeft() - frameOffset;
  return {state,
          frameTopLeft.x(),
          frameTopLeft.y(),
          client.width() + frameExtra.width(),
          client.height() + frameExtra.height(),
          client.width(),
          client.height()};
}

void TRegistryFormInfo::RestoreForm()
{
  if (!form_)
    return;
  const TFormGeometry stored = storage_.Stored();
  // Position and size first, so that they become the normal geometry the
  // window returns to from a restored maximised state.
  form_->move(stored.Left, stored.Top);
  if (stored.ClientWidth > 0 && stored.ClientHeight > 0)
    form_->resize(stored.ClientWidth, stored.ClientHeight);
  // A window closed while minimised reopens normal: a program that starts
  // hidden in the task bar looks as if it had not started.
  Qt::WindowStates states = form_->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
  if (stored.State == fsMaximised)
    states |= Qt::WindowMaximized;
  form_->setWindowState(states);
}

void TRegistryFormInfo::Store()
{
  if (form_)
    storage_.Store(GeometryOf(*form_));
  else
    storage_.Store(storage_.Stored());
}
