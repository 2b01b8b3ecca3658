#pragma once
// Qt's own chatter that says nothing to the user of an unattended run: a
// cron job mails whatever reaches standard error, so these lines must not.
// Every other message goes on to standard error as before.
#include <QString>
#include <QtGlobal>

// True for the platform notes a run without a screen always produces
// (the offscreen platform's "propagateSizeHints()", the missing
// XDG_RUNTIME_DIR of a cron shell).
bool IsPlatformNoise(QtMsgType type, const QString& message);

// Installs a message handler that drops the platform noise and hands every
// other message to the handler that was there before.
void InstallQuietMessageHandler();
