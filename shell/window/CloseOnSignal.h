// SIGTERM and SIGINT end the program as the window's close box would, so
// the server stops and the process exits normally, even when they arrive
// during the start-up, before the window exists.
#pragma once

class QWidget;

namespace mirelon {

// The handlers only write a byte into a pipe; the window's thread reads it.
class TTerminateSignals {
 public:
  // Installs the handlers. Call once, before the start-up.
  TTerminateSignals();

  // Whether a signal arrived so far; the start-up asks this to stop early.
  bool Arrived();
  // From now on a signal closes Window on the window's thread, one that
  // arrived unasked too. Window must live until the event loop ends.
  void CloseOnArrival(QWidget& Window);

 private:
  bool FArrived = false;
};

}  // namespace mirelon
