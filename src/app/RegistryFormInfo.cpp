#include "app/RegistryFormInfo.h"

#include <QGuiApplication>
#include <QScreen>

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
  // Left and Top are the client area's, as RestoreForm applies them: the
  // frame is the window manager's, and its size is known only once the
  // window is on screen, so a frame position would creep by a title bar
  // on every start.
  const QSize frameExtra = form.frameGeometry().size() - form.geometry().size();
  QRect client = form.geometry();
  if (state != fsNormal && form.normalGeometry().isValid())
    client = form.normalGeometry();
  return {state,
          client.x(),
          client.y(),
          client.width() + frameExtra.width(),
          client.height() + frameExtra.height(),
          client.width(),
          client.height()};
}

QRect TRegistryFormInfo::OnSomeScreen(const QRect& client)
{
  const QList<QScreen*> screens = QGuiApplication::screens();
  for (const QScreen* screen : screens) {
    const QRect shared = screen->availableGeometry().intersected(client);
    if (shared.width() >= kMinimumVisible && shared.height() >= kMinimumVisible)
      return client;
  }
  const QScreen* primary = QGuiApplication::primaryScreen();
  if (primary == nullptr)
    return client;
  const QRect area = primary->availableGeometry();
  QRect placed(QPoint(), client.size().boundedTo(area.size()));
  placed.moveCenter(area.center());
  return placed;
}

void TRegistryFormInfo::RestoreForm()
{
  if (!form_)
    return;
  const TFormGeometry stored = storage_.Stored();
  // Position and size first, so that they become the normal geometry the
  // window returns to from a restored maximised state.
  QRect client(stored.Left, stored.Top, form_->width(), form_->height());
  if (stored.ClientWidth > 0 && stored.ClientHeight > 0)
    client.setSize(QSize(stored.ClientWidth, stored.ClientHeight));
  form_->setGeometry(OnSomeScreen(client));
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
