#include "app/DisplayCheck.h"

#include <QStringList>
#include <QtGlobal>

namespace {

// Platforms that draw into memory only.
bool IsHeadless(const QString& platform)
{
  return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal") ||
         platform == QLatin1String("minimalegl");
}

bool CanShow(const QString& platform, const TDisplayEnvironment& environment)
{
  if (IsHeadless(platform)) {
    return false;
  }
  if (platform == QLatin1String("xcb")) {
    return !environment.Display.isEmpty();
  }
  if (platform.startsWith(QLatin1String("wayland"))) {
    return !environment.WaylandDisplay.isEmpty();
  }
  // Frame buffers, VNC and the desktops of other systems bring their own
  // screen.
  return true;
}

}  // namespace

TDisplayEnvironment CurrentDisplayEnvironment()
{
  TDisplayEnvironment environment;
  environment.Platform = qEnvironmentVariable("QT_QPA_PLATFORM");
  environment.Display = qEnvironmentVariable("DISPLAY");
  environment.WaylandDisplay = qEnvironmentVariable("WAYLAND_DISPLAY");
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
  environment.DesktopSystem = true;
#endif
  return environment;
}

QString WhyNoDisplay(const TDisplayEnvironment& environment)
{
  // A platform may carry options after ':' ("offscreen:fontengine=…"), and
  // Qt tries the platforms of a ';'-separated list in turn.
  QStringList platforms;
  for (const QString& entry : environment.Platform.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
    platforms.append(entry.section(QLatin1Char(':'), 0, 0).trimmed().toLower());
  }
  if (platforms.isEmpty()) {
    if (environment.DesktopSystem || !environment.Display.isEmpty() || !environment.WaylandDisplay.isEmpty()) {
      return {};
    }
    return QStringLiteral("there is no display (DISPLAY and WAYLAND_DISPLAY are not set)");
  }
  for (const QString& platform : platforms) {
    if (CanShow(platform, environment)) {
      return {};
    }
  }
  if (IsHeadless(platforms.first())) {
    return QStringLiteral("the platform \"%1\" (QT_QPA_PLATFORM) has no screen").arg(platforms.first());
  }
  return QStringLiteral("there is no display for the platform \"%1\" (QT_QPA_PLATFORM)").arg(platforms.first());
}
