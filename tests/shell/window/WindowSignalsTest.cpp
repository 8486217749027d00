// SIGTERM and SIGINT close the window, even when they arrive before it exists.
#include <signal.h>

#include "WindowFixture.h"
#include "shell/window/CloseOnSignal.h"

namespace mirelon::test {
namespace {

TEST(WindowSignals, ASignalBeforeOrAfterTheWindowExistsClosesIt) {
  TTerminateSignals Signals;
  EXPECT_FALSE(Signals.Arrived());
  raise(SIGTERM);  // during the start-up: remembered, asked by the start-up
  EXPECT_TRUE(Signals.Arrived());
  QWidget Window;
  Window.show();
  Signals.CloseOnArrival(Window);
  EXPECT_TRUE(PumpUntil([&] { return !Window.isVisible(); }));

  Window.show();
  raise(SIGINT);
  EXPECT_TRUE(PumpUntil([&] { return !Window.isVisible(); }));
}

}  // namespace
}  // namespace mirelon::test
