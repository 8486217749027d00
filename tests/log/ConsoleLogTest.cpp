#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "log/ConsoleLog.h"
#include "log/LogText.h"
#include "log/StatusCounters.h"

namespace mirelon {
namespace {

TEST(ConsoleLog, PingTracesAndLinesAfterDestroyingNeverReachASink) {
  TConsoleLog Log;
  std::vector<std::string> Seen;
  Log.AddSink([&](const std::string& Line) { Seen.push_back(Line); });
  Log.ELogEvent("$ Requête : GET /api/ping  CT=  Len=-1");
  Log.ELogEvent("$ Requête : GET /API/PING  CT=  Len=-1");
  Log.ELogEvent("$ Requête : POST /api/ping  CT=  Len=-1");
  Log.SetDestroying();
  Log.ELogEvent("# Serveur arrêté.");
  EXPECT_EQ(Seen, (std::vector<std::string>{"$ Requête : GET /API/PING  CT=  Len=-1",
                                            "$ Requête : POST /api/ping  CT=  Len=-1"}));
}

TEST(ConsoleLog, WithoutAWindowNothingIsBuffered) {
  TConsoleLog Log;
  for (int I = 0; I < 100; ++I) Log.ELogEvent("# ligne");
  EXPECT_TRUE(Log.TakeLines().empty());
  EXPECT_EQ(Log.FlushCount(), 0u);
}

// Many threads log at once while the "window" flushes whenever one is
// queued: every line arrives once, in the order the sinks saw them, with
// far fewer flushes than lines.
TEST(ConsoleLog, LinesFromManyThreadsArriveInOrderWithFewFlushes) {
  TConsoleLog Log;
  std::vector<std::string> SinkOrder;
  std::atomic<int> Queued{0};
  Log.AddSink([&](const std::string& Line) { SinkOrder.push_back(Line); });
  Log.ShowInWindow([&] { Queued.fetch_add(1); });

  std::vector<std::string> Shown;
  std::atomic<bool> Done{false};
  std::thread Window([&] {
    int Flushed = 0;
    while (!Done.load() || Flushed < Queued.load()) {
      if (Flushed < Queued.load()) {
        ++Flushed;
        for (auto& Line : Log.TakeLines()) Shown.push_back(std::move(Line));
      } else {
        std::this_thread::yield();
      }
    }
  });
  std::vector<std::thread> Writers;
  for (int T = 0; T < 4; ++T)
    Writers.emplace_back([&, T] {
      for (int I = 0; I < 250; ++I) Log.ELogEvent("# " + std::to_string(T) + ":" + std::to_string(I));
    });
  for (auto& W : Writers) W.join();
  Done = true;
  Window.join();

  EXPECT_EQ(Shown, SinkOrder);
  ASSERT_EQ(Shown.size(), 1000u);
  EXPECT_LT(Log.FlushCount(), 1000u);
  EXPECT_EQ(Log.FlushCount(), static_cast<uint64_t>(Queued.load()));
}

TEST(StatusCounters, IncrementsFromThreeThreadsAreAllCountedAndShown) {
  TStatusCounters Counters;
  std::atomic<int> Shown{0};
  Counters.SetDisplay([&](TCounts) { Shown.fetch_add(1); });
  std::vector<std::thread> Threads;
  for (int T = 0; T < 3; ++T)
    Threads.emplace_back([&] {
      for (int I = 0; I < 1000; ++I) Counters.IncExecCount();
    });
  for (auto& T : Threads) T.join();
  Counters.IncReqCount();
  Counters.IncErrCount();
  const TCounts Counts = Counters.Read();
  EXPECT_EQ(Counts.Executions, 3000);
  EXPECT_EQ(Counts.Requests, 1);
  EXPECT_EQ(Counts.Errors, 1);
  EXPECT_EQ(Shown.load(), 3002);
}

TEST(LogText, ControlCharactersAreEscapedSoOneEventStaysOneLine) {
  EXPECT_EQ(LogText("/a\r\n# Ouvre http://evil"), "/a\\r\\n# Ouvre http://evil");
  EXPECT_EQ(LogText("tab\there"), "tab\\there");
  EXPECT_EQ(LogText(std::string("a\0b\x1b\x7f", 5)), "a\\u0000b\\u001B\\u007F");
  EXPECT_EQ(LogText("\xE2\x80\xA8"), "\\u2028");
  EXPECT_EQ(LogText("Zèbre 🦓"), "Zèbre 🦓");
  // Invalid UTF-8: a stray continuation byte, a truncated sequence, an overlong form.
  EXPECT_EQ(LogText("a\x80" "b"), "a\\uFFFDb");
  EXPECT_EQ(LogText("\xC3"), "\\uFFFD");
  EXPECT_EQ(LogText("\xC0\xAF"), "\\uFFFD\\uFFFD");
}

}  // namespace
}  // namespace mirelon
