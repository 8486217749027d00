// SIGTERM and SIGINT close the window as its close box would, so the
// server stops and the process ends normally.
#pragma once

class QWidget;

namespace mirelon {

// The signal handler only writes a byte into a pipe; a notifier on the
// pipe's other end closes Window on the window's own thread. Call once,
// with a window that lives until the event loop ends.
void CloseOnTerminateSignals(QWidget& Window);

}  // namespace mirelon
