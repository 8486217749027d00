// Several callers on one session at once, as the server's request threads
// may be: nothing is lost, nothing is handed out twice, and a caller that
// waits on a session another caller replaced or stopped wakes at once.
#include <atomic>
#include <set>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "SessionTestKit.h"

using namespace mirelon;
using namespace mirelon::test;

namespace {

// The numbers of the entries in a piece of output ("12\r\n13\r\n...").
void AddNumbers(const std::u16string& Piece, std::vector<int>& Numbers) {
  std::string Text = Utf16ToUtf8(Piece);
  for (size_t At = 0, End; (End = Text.find("\r\n", At)) != std::string::npos; At = End + 2)
    Numbers.push_back(std::stoi(Text.substr(At, End - At)));
}

// Collects what the callers hand out while the program prints 1, 2, 3, ...
// (the last piece is taken once the run is over).
std::vector<int> CollectWhile(TExecSession& S, int Callers, const std::function<void(int)>& AlsoDo) {
  std::vector<std::vector<int>> Seen(Callers);
  std::vector<std::thread> Threads;
  for (int C = 0; C < Callers; ++C)
    Threads.emplace_back([&, C] {
      for (int Round = 0; Round < 2000 && S.State() <= ssWaitingInput; ++Round) {
        AddNumbers(S.OutputSinceLastScreen(), Seen[C]);
        AlsoDo(Round);
      }
    });
  for (std::thread& T : Threads) T.join();
  EXPECT_TRUE(S.WaitTurn(kTurnMs));
  std::vector<int> All;
  AddNumbers(S.OutputSinceLastScreen(), All);
  for (const std::vector<int>& Part : Seen) {
    for (size_t I = 1; I < Part.size(); ++I) EXPECT_LT(Part[I - 1], Part[I]);  // each caller sees them in order
    All.insert(All.end(), Part.begin(), Part.end());
  }
  std::sort(All.begin(), All.end());
  return All;
}

std::vector<int> OneTo(int N) {
  std::vector<int> R(N);
  for (int I = 0; I < N; ++I) R[I] = I + 1;
  return R;
}

}  // namespace

TEST(SessionThreads, EveryEntryIsHandedOutExactlyOnce) {
  TSessionRef S = Start("pour i de 1 à 20000\n  affiche i\nfin pour\n");
  std::vector<int> All = CollectWhile(*S, 4, [&](int) { (void)S->State(), (void)S->Prompt(); });
  EXPECT_EQ(S->State(), ssDone);
  EXPECT_EQ(All, OneTo(20000));
}

TEST(SessionThreads, AbortsFromManyThreadsEndTheRunOnce) {
  TSessionRef S = Start("i vaut 0\ntant que vrai\n  pour j de 1 à 1000\n    i ajoute 1\n    affiche i\n"
                        "  fin pour\nfin tant que\n");
  std::vector<int> All = CollectWhile(*S, 4, [&](int Round) {
    if (Round == 20) S->RequestAbort();
  });
  EXPECT_EQ(S->State(), ssAborted);
  EXPECT_EQ(All, OneTo(static_cast<int>(All.size())));  // a prefix of the run's output, without gaps
}

TEST(SessionThreads, OneOfTwoAnswersGivenAtOnceReachesTheProgram) {
  for (int Attempt = 0; Attempt < 20; ++Attempt) {
    TSessionRef S = Start("demande 'Q' dans x\naffiche x\n");
    ASSERT_TRUE(S->WaitTurn(kTurnMs));
    std::atomic<int> Accepted{0};
    std::thread A([&] { Accepted += S->ProvideInput(u"a"); });
    std::thread B([&] { Accepted += S->ProvideInput(u"b"); });
    A.join();
    B.join();
    EXPECT_EQ(Accepted, 1);
    ASSERT_TRUE(S->WaitTurn(kTurnMs));
    EXPECT_EQ(S->State(), ssDone);
    std::string Shown = Output(*S);
    EXPECT_TRUE(Shown == "a\r\n" || Shown == "b\r\n") << Shown;
  }
}

// What a second execute request does to the first one that waits for the
// same session's turn: a new run replaces the session, and the first
// request wakes at once with the aborted outcome, clearing nothing but its
// own session.
TEST(SessionThreads, AWaitingRequestWakesWhenAnotherReplacesItsSession) {
  TSessionRef First = Start(kEndless);
  std::atomic<bool> Woke{false};
  TSessionState Seen = ssIdle;
  std::thread Waiter([&] {
    TSessionRef Mine = CurrentSession();
    Woke = Mine->WaitTurn(kTurnMs);
    Seen = Mine->State();
    ClearCurrentSession(Mine);
  });
  EXPECT_FALSE(First->WaitTurn(100));  // the waiter is in its wait
  TSessionRef Second = Start("demande 'Q' dans x\n");
  Waiter.join();
  EXPECT_TRUE(Woke);
  EXPECT_EQ(Seen, ssAborted);
  EXPECT_EQ(CurrentSession(), Second);
  ASSERT_TRUE(Second->WaitTurn(kTurnMs));
  EXPECT_EQ(Second->State(), ssWaitingInput);
  ClearCurrentSession();
}

TEST(SessionThreads, TheRunsEndWakesEveryWaiter) {
  TSessionRef S = Start(kEndless);
  std::atomic<int> Woken{0};
  std::vector<std::thread> Waiters;
  for (int I = 0; I < 3; ++I) Waiters.emplace_back([&] { Woken += S->WaitTurn(kTurnMs); });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  TStopwatch Clock;
  S->RequestAbort();
  for (std::thread& T : Waiters) T.join();
  EXPECT_EQ(Woken, 3);
  EXPECT_LT(Clock.Ms(), 1000);
  EXPECT_EQ(S->State(), ssAborted);
}
