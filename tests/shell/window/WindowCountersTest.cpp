// The three counters of the status bar.
#include <QLabel>
#include <thread>

#include "WindowFixture.h"
#include "shell/window/StatusPanels.h"

namespace mirelon::test {
namespace {

using WindowCounters = WindowTest;

TEST_F(WindowCounters, ThreeIncrementsFromThreeThreadsShowThree) {
  Open();
  std::vector<std::thread> Threads;
  for (int T = 0; T < 3; ++T) Threads.emplace_back([&] { App.Counters().IncExecCount(); });
  for (auto& Thread : Threads) Thread.join();
  EXPECT_EQ(App.Counters().Read().Executions, 3);
  const QLabel* Executions = Window->StatusBar()->Panel(3);
  EXPECT_TRUE(PumpUntil([&] { return Executions->text() == "3"; })) << Executions->text().toStdString();
  EXPECT_EQ(Window->StatusBar()->Panel(1)->text(), "0");
  EXPECT_EQ(Window->StatusBar()->Panel(5)->text(), "0");
}

// Copies taken on two threads may be shown in the other order: the later,
// smaller copy must not take a count back.
TEST_F(WindowCounters, AnOlderCopyArrivingLateNeverLowersACount) {
  Open();
  TStatusPanels* Bar = Window->StatusBar();
  Bar->ShowStatusCounters({7, 3, 1});
  Bar->ShowStatusCounters({6, 2, 1});
  EXPECT_EQ(Bar->Panel(1)->text(), "7");
  EXPECT_EQ(Bar->Panel(3)->text(), "3");
  EXPECT_EQ(Bar->Panel(5)->text(), "1");
  Bar->ShowStatusCounters({8, 3, 2});
  EXPECT_EQ(Bar->Panel(1)->text(), "8");
  EXPECT_EQ(Bar->Panel(5)->text(), "2");
}

}  // namespace
}  // namespace mirelon::test
