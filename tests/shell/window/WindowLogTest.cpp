// The log as the window shows it: the 500-line limit, lines from any thread
// in ELogEvent order with few flushes, the clear button, and the window's end.
#include <mutex>
#include <thread>

#include "WindowFixture.h"

namespace mirelon::test {
namespace {

using WindowLog = WindowTest;

TEST_F(WindowLog, After600LinesTheLogHoldsTheLast500) {
  Open();
  for (int I = 1; I <= 600; ++I) App.Log().ELogEvent("# ligne " + std::to_string(I));
  PumpPending();
  const QStringList Shown = Lines();
  ASSERT_EQ(Shown.size(), 500);
  EXPECT_EQ(Shown.front(), "# ligne 101");
  EXPECT_EQ(Shown.back(), "# ligne 600");
}

// Four threads log while the window keeps flushing: the memo ends with the
// last 500 lines in the order the log received them, each thread's lines
// in its own order, after far fewer flushes than lines.
TEST_F(WindowLog, ThousandLinesFromFourThreadsInOrderWithFewFlushes) {
  Open();
  std::mutex OrderLock;
  QStringList Received;
  App.Log().AddSink([&](const std::string& Line) {
    std::lock_guard Lock(OrderLock);
    Received << QString::fromStdString(Line);
  });
  const uint64_t FlushesBefore = App.Log().FlushCount();
  std::atomic<int> Running{4};
  std::vector<std::thread> Writers;
  for (int T = 0; T < 4; ++T)
    Writers.emplace_back([&, T] {
      for (int I = 0; I < 250; ++I) App.Log().ELogEvent("$ t" + std::to_string(T) + " " + std::to_string(I));
      --Running;
    });
  PumpUntil([&] { return Running == 0; });
  for (auto& Writer : Writers) Writer.join();
  PumpPending();
  ASSERT_EQ(Received.size(), 1000);
  EXPECT_EQ(Lines(), Received.mid(500));
  EXPECT_LT(App.Log().FlushCount() - FlushesBefore, 100u);
  int Last[4] = {-1, -1, -1, -1};
  for (const QString& Line : Lines()) {
    const int Thread = Line.mid(3, 1).toInt(), Index = Line.mid(5).toInt();
    EXPECT_GT(Index, Last[Thread]) << Line.toStdString();
    Last[Thread] = Index;
  }
}

TEST_F(WindowLog, ClearLeavesBufferedLinesThenTheFourWelcomeLines) {
  Open();
  ASSERT_TRUE(PumpUntil([&] { return LogHas("# Le code, en toute simplicité."); }));
  App.Log().ELogEvent("# avant 1");
  App.Log().ELogEvent("# avant 2");
  Button("ActClearCsl")->click();
  EXPECT_TRUE(Lines().isEmpty());
  PumpPending();
  const QStringList Shown = Lines();
  ASSERT_EQ(Shown.size(), 6);
  EXPECT_EQ(Shown[0], "# avant 1");
  EXPECT_EQ(Shown[1], "# avant 2");
  EXPECT_TRUE(Shown[2].startsWith("# Bienvenue sur Mirelon, v")) << Shown[2].toStdString();
  EXPECT_EQ(Shown[3], QString::fromUtf8("# Le code, en toute simplicité."));
  EXPECT_EQ(Shown[4], QString::fromUtf8("# Apprends, écris et exécute ton code simplement."));
  EXPECT_EQ(Shown[5], QString::fromUtf8("# Clique sur « Go ! Mirelon » pour accéder à l'interface !"));
}

TEST_F(WindowLog, AboutLinesInOrder) {
  Open();
  Button("ActClearCsl")->click();
  PumpPending();
  Button("ActAbout")->click();
  PumpPending();
  const QStringList About = Lines().mid(4);
  ASSERT_EQ(About.size(), 6);
  EXPECT_TRUE(About[0].startsWith("# Mirelon : v"));
  EXPECT_TRUE(About[1].startsWith(QString::fromUtf8("# Développé par : ")));
  EXPECT_TRUE(About[2].startsWith("# Site web : "));
  EXPECT_TRUE(About[3].startsWith("# Contact E-mail : "));
  EXPECT_EQ(About[4], "# Philosophie du projet :");
  EXPECT_EQ(About[5], QString::fromUtf8("# Apprendre à coder, c'est avant tout apprendre à penser."));
}

// A connection thread may log or count after the window is gone: the
// queued calls find no window and do nothing.
TEST_F(WindowLog, LinesAndCountsAfterTheWindowIsGoneAreDropped) {
  Open();
  App.Log().ELogEvent("# en attente");
  App.Counters().IncReqCount();
  Window.reset();
  std::thread Late([&] {
    App.Log().ELogEvent("# trop tard");
    App.Counters().IncExecCount();
  });
  Late.join();
  PumpPending();
  SUCCEED();
}

}  // namespace
}  // namespace mirelon::test
