#pragma once
// SIGTERM, SIGINT and SIGHUP (a kill, Ctrl+C, the end of the session) end
// the window through its normal close path, so that what the user set is
// stored as at File > Exit. The signal only wakes the event loop; the work
// is done there. A second signal, while closing, ends the program at once.
#include <QObject>

#include <functional>

class QSocketNotifier;

class TTerminationSignals : public QObject {
  Q_OBJECT

public:
  // `onSignal` runs on the GUI thread when the first signal arrives.
  explicit TTerminationSignals(std::function<void()> onSignal, QObject* parent = nullptr);
  // Puts the default handling back.
  ~TTerminationSignals() override;
  TTerminationSignals(const TTerminationSignals&) = delete;
  TTerminationSignals& operator=(const TTerminationSignals&) = delete;

private:
  void Arrived();

  std::function<void()> onSignal_;
  QSocketNotifier* notifier_ = nullptr;
  int readEnd_ = -1;
};

// What a termination signal does to the window: closes every window, as
// File > Exit does, and ends the event loop.
void CloseAllWindowsAndQuit();
