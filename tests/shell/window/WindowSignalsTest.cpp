// SIGTERM and SIGINT during the start-up are remembered; afterwards they
// close the window.
#include <signal.h>

#include "WindowFixture.h"
#include "shell/window/CloseOnSignal.h"

namespace mirelon::test {
namespace {

TEST(WindowSignals, RememberedDuringTheStartUpThenClosingTheWindow) {
  TTerminateSignals Signals;
  EXPECT_FALSE(Signals.Arrived());
  raise(SIGTERM);
  EXPECT_TRUE(Signals.Arrived());
  QWidget Window;
  Signals.CloseOnArrival(Window);
  for (int Number : {SIGINT, SIGTERM}) {
    Window.show();
    PumpPending();
    EXPECT_TRUE(Window.isVisible());
    raise(Number);
    EXPECT_TRUE(PumpUntil([&] { return !Window.isVisible(); })) << Number;
  }
}

}  // namespace
}  // namespace mirelon::test
