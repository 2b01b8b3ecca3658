#include "app/workflow/MessageSink.h"

#include <cstdio>

void TStderrMessageSink::ShowMessage(const QString& text)
{
  std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
  std::fflush(stderr);
}
