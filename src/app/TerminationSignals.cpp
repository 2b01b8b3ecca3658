#include "app/TerminationSignals.h"

#include <QApplication>
#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <csignal>
#include <cerrno>
#include <cstring>
#endif

namespace {

#ifdef Q_OS_UNIX
constexpr std::array kSignals{SIGTERM, SIGINT, SIGHUP};

// The write end of the wake-up pipe: a signal handler may touch nothing
// else.
volatile std::sig_atomic_t gWriteEnd = -1;

void OnSignal(int number)
{
  const int saved = errno;
  const char byte = static_cast<char>(number);
  if (gWriteEnd >= 0) {
    [[maybe_unused]] const auto written = ::write(gWriteEnd, &byte, 1);
  }
  errno = saved;
}

void SetHandler(void (*handler)(int))
{
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (const int number : kSignals) {
    ::sigaction(number, &action, nullptr);
  }
}
#endif

}  // namespace

TTerminationSignals::TTerminationSignals(std::function<void()> onSignal, QObject* parent)
  : QObject(parent), onSignal_(std::move(onSignal))
{
#ifdef Q_OS_UNIX
  int ends[2] = {-1, -1};
  if (::socketpair(AF_UNIX, SOCK_STREAM, 0, ends) != 0) {
    qWarning("Could not watch for termination signals: %s", std::strerror(errno));
    return;
  }
  readEnd_ = ends[0];
  gWriteEnd = ends[1];
  notifier_ = new QSocketNotifier(readEnd_, QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &TTerminationSignals::Arrived);
  SetHandler(OnSignal);
#endif
}

TTerminationSignals::~TTerminationSignals()
{
#ifdef Q_OS_UNIX
  if (readEnd_ < 0) {
    return;
  }
  SetHandler(SIG_DFL);
  const int writeEnd = gWriteEnd;
  gWriteEnd = -1;
  ::close(writeEnd);
  ::close(readEnd_);
#endif
}

void TTerminationSignals::Arrived()
{
#ifdef Q_OS_UNIX
  char byte = 0;
  [[maybe_unused]] const auto got = ::read(readEnd_, &byte, 1);
  notifier_->setEnabled(false);
  // Should closing hang, the next signal ends the program the plain way.
  SetHandler(SIG_DFL);
#endif
  if (onSignal_) {
    onSignal_();
  }
}

void CloseAllWindowsAndQuit()
{
  QApplication::closeAllWindows();
  QCoreApplication::quit();
}
