#pragma once
// Where the workflow's messages for the user go: a message box in the
// window, standard error in batch mode, a list in tests.
#include <QString>
#include <QStringList>

class TMessageSink {
public:
  virtual ~TMessageSink() = default;
  virtual void ShowMessage(const QString& text) = 0;
};

// Writes each message as one line to standard error.
class TStderrMessageSink : public TMessageSink {
public:
  void ShowMessage(const QString& text) override;
};

// Keeps the messages, for tests and for callers that show them later.
class TCollectingMessageSink : public TMessageSink {
public:
  void ShowMessage(const QString& text) override { Messages.append(text); }
  QStringList Messages;
};
