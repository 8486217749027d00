// The turn protocol of execution sessions, with real worker threads.
#include <gtest/gtest.h>

#include "SessionTestKit.h"
#include "core/Memory.h"

using namespace mirelon;
using namespace mirelon::test;

namespace {

void ExpectQuestion(TExecSession& S, const std::string& Prompt, const std::string& Output) {
  ASSERT_TRUE(S.WaitTurn(kTurnMs));
  EXPECT_EQ(S.State(), ssWaitingInput);
  EXPECT_EQ(Utf16ToUtf8(S.Prompt()), Prompt);
  EXPECT_EQ(test::Output(S), Output);
}

void ExpectEnd(TExecSession& S, TSessionState State, const std::string& Output) {
  ASSERT_TRUE(S.WaitTurn(kTurnMs));
  EXPECT_EQ(S.State(), State);
  EXPECT_EQ(test::Output(S), Output);
}

}  // namespace

TEST(SessionTurns, AProgramWithoutQuestionsIsOneTurn) {
  TSessionRef S = Start("affiche 1 + 1\naffiche 'deux mots'\naffiche ''\n");
  ExpectEnd(*S, ssDone, "2\r\ndeux mots\r\n\r\n");
  EXPECT_EQ(Output(*S), "");  // each entry is handed out once
  EXPECT_EQ(S->ErrorMsg(), u"");
  EXPECT_EQ(S->ErrorLine(), 0);
  EXPECT_TRUE(S->WaitTurn(0));  // a run that is over ends every later wait too
  ClearCurrentSession();
  EXPECT_EQ(CurrentSession(), nullptr);
}

TEST(SessionTurns, EachQuestionEndsATurnWithOnlyItsOwnOutput) {
  TSessionRef S = Start("affiche 'a'\ndemande 'Nom ?' dans x\naffiche '[' + x + ']'\n"
                        "n vaut 0\nchoisir ['oui', 'non'] dans n\naffiche n\n");
  ExpectQuestion(*S, "Nom ?", "a\r\n");
  EXPECT_FALSE(S->WaitTurn(50));  // the question's turn was consumed; nothing runs
  ASSERT_TRUE(S->ProvideInput(u"  deux  mots\t"));
  ExpectQuestion(*S, "\x01" "CHOISIR\x01oui\x01non", "[  deux  mots\t]\r\n");
  ASSERT_TRUE(S->ProvideInput(u"2"));
  ExpectEnd(*S, ssDone, "2\r\n");
  EXPECT_FALSE(S->ProvideInput(u"trop tard"));
}

TEST(SessionTurns, AnEmptyAnswerReachesTheProgramAsIs) {
  TSessionRef S = Start("demande 'Q' dans x\naffiche '<' + x + '>'\n");
  ExpectQuestion(*S, "Q", "");
  ASSERT_TRUE(S->ProvideInput(u""));
  ExpectEnd(*S, ssDone, "<>\r\n");
}

TEST(SessionTurns, ASecondAnswerIsRefusedAndNeverKeptForTheNextQuestion) {
  // Ten million steps between the questions keep the worker away from the
  // second one while the second answer is given, so that answer can only
  // find the first question answered, never be taken by the next one.
  TSessionRef S = Start("demande 'Q1' dans x\naffiche x\nn vaut 0\n"
                        "répète 10000 fois\n  répète 1000 fois\n    n vaut n + 1\n  fin répète\nfin répète\n"
                        "demande 'Q2' dans y\naffiche y\n");
  ExpectQuestion(*S, "Q1", "");
  EXPECT_TRUE(S->ProvideInput(u"un"));
  EXPECT_FALSE(S->ProvideInput(u"deux"));
  ExpectQuestion(*S, "Q2", "un\r\n");
  EXPECT_TRUE(S->ProvideInput(u"trois"));
  ExpectEnd(*S, ssDone, "trois\r\n");
}

TEST(SessionEnds, ErrorsCarryTheirMessageAndLine) {
  TSessionRef S = Start("affiche 'avant'\naffiche 10 / 0\naffiche 'après'\n");
  ExpectEnd(*S, ssError, "avant\r\n");
  EXPECT_EQ(Utf16ToUtf8(S->ErrorMsg()), "Ligne 2: Division par zéro");
  EXPECT_EQ(S->ErrorLine(), 2);

  S = Start("affiche 1\nfonction f\n  retourne 2\n");  // found before the first statement
  ExpectEnd(*S, ssError, "");
  EXPECT_EQ(Utf16ToUtf8(S->ErrorMsg()), "Définition \"f\" sans fin correspondante");
  EXPECT_EQ(S->ErrorLine(), 0);

  S = Start("affiche U+DFFF\n");  // not a language error: no line either
  ExpectEnd(*S, ssError, "");
  EXPECT_FALSE(S->ErrorMsg().empty());
  EXPECT_EQ(S->ErrorLine(), 0);
}

TEST(SessionEnds, TerminerIsDone) {
  TSessionRef S = Start("affiche 'a'\nsi vrai alors\n  terminer\nfin si\naffiche 'b'\n");
  ExpectEnd(*S, ssDone, "a\r\n");
}

TEST(SessionEnds, TheSameSeedDrawsTheSameNumbers) {
  const std::string Program = "répète 5 fois\n  affiche hasard(100)\nfin répète\n";
  auto Draws = [&](int32_t Seed) {
    TSessionRef S = Start(Program, Seed);
    EXPECT_TRUE(S->WaitTurn(kTurnMs));
    return Output(*S);
  };
  std::string First = Draws(0);
  EXPECT_EQ(First, "0\r\n3\r\n86\r\n20\r\n27\r\n");  // what "mirelon run --seed=0" prints
  EXPECT_EQ(Draws(0), First);
  EXPECT_EQ(Draws(-1), Draws(-1));
  EXPECT_NE(Draws(7), First);
}

TEST(SessionAbort, AQuestionWokenByAnAbortIsNotCaughtByEssayer) {
  TSessionRef S = Start("essayer\n  demande 'Encore ?' dans x\n  affiche 'reçu ' + x\nattraper e\n"
                        "  affiche 'attrapé'\nfin essayer\naffiche 'après'\n");
  ExpectQuestion(*S, "Encore ?", "");
  S->RequestAbort();
  ExpectEnd(*S, ssAborted, "");
  EXPECT_FALSE(S->ProvideInput(u"trop tard"));
}

TEST(SessionAbort, AnEmptyEndlessLoopStops) {
  TSessionRef S = Start(kEndless);
  EXPECT_FALSE(S->WaitTurn(100));
  EXPECT_EQ(S->State(), ssRunning);
  S->RequestAbort();
  ExpectEnd(*S, ssAborted, "");
}

TEST(SessionAbort, AnAbortBeforeTheFirstStatementStillEndsTheRun) {
  auto S = std::make_shared<TExecSession>(u"affiche 1", 0);
  S->RequestAbort();
  S->Start();
  ExpectEnd(*S, ssAborted, "");
}

TEST(SessionSlot, StartingARunStopsTheOneThatWaitsForAnAnswer) {
  TSessionRef First = Start("demande 'Q' dans x\naffiche x\n");
  ExpectQuestion(*First, "Q", "");
  TSessionRef Second = Start("affiche 'deux'\n");
  EXPECT_EQ(First->State(), ssAborted);  // stopped before the new run started
  EXPECT_TRUE(First->WaitTurn(0));
  EXPECT_EQ(CurrentSession(), Second);
  ExpectEnd(*Second, ssDone, "deux\r\n");
}

TEST(SessionSlot, ARequestClearsOnlyItsOwnSession) {
  TSessionRef First = Start(kEndless);
  TSessionRef Second = Start("demande 'Q' dans x\n");
  ClearCurrentSession(First);  // First was replaced: the slot keeps Second
  EXPECT_EQ(CurrentSession(), Second);
  ExpectQuestion(*Second, "Q", "");
  ClearCurrentSession(Second);
  EXPECT_EQ(CurrentSession(), nullptr);
  EXPECT_EQ(Second->State(), ssAborted);
}

// Every state a session can be destroyed in; each destruction returns once
// the worker has ended.
TEST(SessionLifetime, DestroyedInEveryState) {
  { TExecSession Idle(u"affiche 1", 0); }
  for (const char* Program : {kEndless, "demande 'Q' dans x\n", "affiche 1\n", "affiche 1 / 0\n"}) {
    auto S = std::make_unique<TExecSession>(Utf8ToUtf16(Program), 0);
    S->Start();
    S->WaitTurn(Program == kEndless ? 50 : kTurnMs);
    TStopwatch Clock;
    S.reset();
    EXPECT_LT(Clock.Ms(), 1000) << Program;
  }
  auto Aborted = std::make_unique<TExecSession>(Utf8ToUtf16(kEndless), 0);
  Aborted->Start();
  Aborted->RequestAbort();
  ASSERT_TRUE(Aborted->WaitTurn(kTurnMs));
  Aborted->Stop();
  Aborted->Stop();  // idempotent
  Aborted.reset();
}

TEST(SessionOutput, OnEntryStreamsTheEntriesInsteadOfKeepingThem) {
  std::vector<std::u16string> Seen;
  TSessionOptions Options;
  Options.OnEntry = [&Seen](const std::u16string& Entry) { Seen.push_back(Entry); };
  TSessionRef S = StartSession(u"affiche 'a'\ndemande 'Q' dans x\naffiche x\n", 0, Options);
  ExpectQuestion(*S, "Q", "");
  EXPECT_EQ(Seen, std::vector<std::u16string>{u"a"});  // written before the question's turn ended
  S->ProvideInput(u"b");
  ExpectEnd(*S, ssDone, "");
  EXPECT_EQ(Seen, (std::vector<std::u16string>{u"a", u"b"}));
}

// Entries that wait to be handed out count in the memory budget, so a run
// that prints without end fails at its statement instead of exhausting the
// process; handed-out entries give their share back.
TEST(SessionOutput, WaitingEntriesCountInTheMemoryBudget) {
  const std::string Double = "t vaut 'x'\nrépète 20 fois\n  t vaut t + t\nfin répète\n";  // 2 MiB
  ClearCurrentSession();  // a former test's run may still be freeing its values
  int64_t Before = AccountedBytes();
  TSessionRef S = Start(Double + "affiche t\n");
  ASSERT_TRUE(S->WaitTurn(kTurnMs));
  S->Stop();  // the run's own values are freed now
  EXPECT_GE(AccountedBytes() - Before, 2 << 20);
  EXPECT_EQ(S->OutputSinceLastScreen().size(), (1u << 20) + 2);
  EXPECT_EQ(AccountedBytes(), Before);

  // The rest of the budget taken by other values, so that 20 entries pass it.
  const int64_t Taken = kMaxAccountedBytes - Before - (32 << 20);
  AccountBytes(Taken);
  S = Start(Double + "répète 20 fois\n  affiche t\nfin répète\n");
  ASSERT_TRUE(S->WaitTurn(kTurnMs));
  EXPECT_EQ(S->State(), ssError);
  EXPECT_EQ(S->ErrorLine(), 6);
  EXPECT_NE(S->ErrorMsg().find(u"Mémoire insuffisante"), std::u16string::npos) << Utf16ToUtf8(S->ErrorMsg());
  AccountBytes(-Taken);
  ClearCurrentSession();
  S.reset();
  EXPECT_EQ(AccountedBytes(), Before);
}
