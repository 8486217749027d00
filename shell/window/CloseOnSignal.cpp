#include "shell/window/CloseOnSignal.h"

#include <fcntl.h>
#include <cerrno>
#include <signal.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <QWidget>

namespace mirelon {

namespace {

int SignalPipe[2] = {-1, -1};

void WriteSignalByte(int) {
  const int Saved = errno;
  const char Byte = 1;
  [[maybe_unused]] ssize_t Written = write(SignalPipe[1], &Byte, 1);
  errno = Saved;
}

}  // namespace

void CloseOnTerminateSignals(QWidget& Window) {
  if (pipe2(SignalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  auto* Notifier = new QSocketNotifier(SignalPipe[0], QSocketNotifier::Read, &Window);
  QObject::connect(Notifier, &QSocketNotifier::activated, &Window, [&Window] {
    char Bytes[16];
    while (read(SignalPipe[0], Bytes, sizeof Bytes) > 0) {
    }
    Window.close();
  });
  struct sigaction Action {};
  Action.sa_handler = WriteSignalByte;
  sigemptyset(&Action.sa_mask);
  Action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &Action, nullptr);
  sigaction(SIGINT, &Action, nullptr);
}

}  // namespace mirelon
