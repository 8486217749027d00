#include "shell/window/CloseOnSignal.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <QWidget>
#include <cerrno>

namespace mirelon {

namespace {

int SignalPipe[2] = {-1, -1};

void WriteSignalByte(int) {
  const int Saved = errno;
  const char Byte = 1;
  [[maybe_unused]] ssize_t Written = write(SignalPipe[1], &Byte, 1);
  errno = Saved;
}

// Empties the pipe without waiting; true when it held a byte.
bool DrainSignalPipe() {
  char Bytes[16];
  bool Any = false;
  while (read(SignalPipe[0], Bytes, sizeof Bytes) > 0) Any = true;
  return Any;
}

}  // namespace

TTerminateSignals::TTerminateSignals() {
  if (pipe2(SignalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  struct sigaction Action {};
  Action.sa_handler = WriteSignalByte;
  sigemptyset(&Action.sa_mask);
  Action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &Action, nullptr);
  sigaction(SIGINT, &Action, nullptr);
}

bool TTerminateSignals::Arrived() {
  if (SignalPipe[0] >= 0 && DrainSignalPipe()) FArrived = true;
  return FArrived;
}

void TTerminateSignals::CloseOnArrival(QWidget& Window) {
  if (SignalPipe[0] < 0) return;
  auto* Notifier = new QSocketNotifier(SignalPipe[0], QSocketNotifier::Read, &Window);
  QObject::connect(Notifier, &QSocketNotifier::activated, &Window, [this, &Window] {
    if (Arrived()) Window.close();
  });
}

}  // namespace mirelon
