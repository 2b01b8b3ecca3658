#include "app/QuietMessages.h"

#include <array>
#include <cstdio>

namespace {

// Beginnings of the harmless notes, as Qt words them.
constexpr std::array kNoise{
  "This plugin does not support propagateSizeHints()",
  "QStandardPaths: XDG_RUNTIME_DIR not set",
};

QtMessageHandler& PreviousHandler()
{
  static QtMessageHandler previous = nullptr;
  return previous;
}

void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
  if (IsPlatformNoise(type, message)) {
    return;
  }
  if (const QtMessageHandler previous = PreviousHandler()) {
    previous(type, context, message);
    return;
  }
  std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

}  // namespace

bool IsPlatformNoise(QtMsgType type, const QString& message)
{
  if (type != QtWarningMsg && type != QtInfoMsg && type != QtDebugMsg) {
    return false;
  }
  for (const char* noise : kNoise) {
    if (message.startsWith(QLatin1String(noise))) {
      return true;
    }
  }
  return false;
}

void InstallQuietMessageHandler()
{
  const QtMessageHandler previous = qInstallMessageHandler(QuietHandler);
  if (previous != QuietHandler) {
    PreviousHandler() = previous;
  }
}
