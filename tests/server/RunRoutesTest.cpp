// The run routes with real sessions and worker threads: turns with their
// questions, answers, ends, time-outs and aborts, the analysis, their
// answers byte for byte, their log lines and counters.
#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <nlohmann/json.hpp>

#include "RoutesTestKit.h"
#include "log/StatusCounters.h"
#include "server/RunRoutes.h"
#include "session/ExecSession.h"
#include "update/RunReport.h"

using namespace mirelon;
using namespace mirelon::test;
using nlohmann::json;

namespace {

// Nested loops with empty bodies: each loop stays under its iteration
// limit and the whole never ends in a test's time.
constexpr const char* kEndless =
    "tant que vrai\n  essayer\n    tant que vrai\n    fin tant que\n  attraper e\n  fin essayer\nfin tant que\n";

std::string NewRun(const std::string& Program, json More = json::object()) {
  More["code"] = Program;
  return More.dump();
}

std::string Answer(json Inputs) { return json{{"inputs", std::move(Inputs)}}.dump(); }

class RunRoutesTest : public ::testing::Test {
 protected:
  void SetUp() override { ClearCurrentSession(); }
  void TearDown() override { ClearCurrentSession(); }

  TRunRoutes& Routes() {
    if (!FRoutes)
      FRoutes = std::make_unique<TRunRoutes>(
          TRunContext{Lines.Log(), Counters, [this] { return Minutes; }, Reporter, Files.Path(), TurnMs});
    return *FRoutes;
  }
  TReply Execute(const std::string& Body) { return Routes().HandleExecute(Post(Body)); }
  // The reply's body, after checking that it is a JSON answer of that status.
  std::string ExecuteAs(int Status, const std::string& Body) {
    TReply Reply = Execute(Body);
    EXPECT_EQ(Reply.Status, Status);
    EXPECT_EQ(Reply.FullContentType(), "application/json; charset=utf-8");
    return Reply.Body;
  }
  // Waits until the current session is in State (its worker runs on).
  void AwaitState(TSessionState State) {
    ASSERT_TRUE(Eventually([&] {
      TSessionRef S = CurrentSession();
      return S && S->State() == State;
    }));
  }

  TLogLines Lines;
  TStatusCounters Counters;
  TTempDir Files;
  int Minutes = 2;
  uint32_t TurnMs = 0;
  TRunReporter* Reporter = nullptr;

 private:
  std::unique_ptr<TRunRoutes> FRoutes;
};

// "# Tour traité en S.mmm seconde(s)", the word agreeing with S.
bool IsTurnTime(const std::string& Line) {
  const std::string Head = "# Tour traité en ";
  if (!Line.starts_with(Head)) return false;
  size_t End = 0;
  const double Seconds = std::stod(Line.substr(Head.size()), &End);
  const std::string Rest = Line.substr(Head.size() + End);
  const size_t Dot = Line.find('.', Head.size());
  return Dot != std::string::npos && Dot + 4 == Head.size() + End && Rest == (Seconds < 2.0 ? " seconde" : " secondes");
}

TEST_F(RunRoutesTest, TwoQuestionsTakeThreeTurnsEachWithItsOwnOutput) {
  const std::string Program =
      "affiche 'a'\ndemande 'Nom ?' dans x\naffiche x\ndemande 'Âge ?' dans y\naffiche y\naffiche ''\n";
  const std::string First = ExecuteAs(200, NewRun(Program));
  EXPECT_EQ(First, R"({"needInput":true,"prompt":"Nom ?","output":"a\r\n"})");
  // Only the last answer counts, and the other code of a resume is ignored.
  EXPECT_EQ(ExecuteAs(200, NewRun("affiche 'autre'", {{"inputs", {"z", "Éva"}}})),
            R"({"needInput":true,"prompt":"\u00C2ge ?","output":"\u00C9va\r\n"})");
  const std::string Last = ExecuteAs(200, "{}");  // no "inputs": the empty answer
  EXPECT_EQ(Last, R"({"done":true,"output":"\r\n\r\n"})");
  EXPECT_EQ(CurrentSession(), nullptr);
  EXPECT_EQ(Counters.Read().Executions, 3);
  EXPECT_EQ(Counters.Read().Errors, 0);

  const auto Log = Lines.Lines();
  ASSERT_EQ(Log.size(), 18u);
  EXPECT_EQ(Log[0], "$ API execute - Start");
  EXPECT_EQ(Log[1], "$ API : Body len=" + std::to_string(NewRun(Program).size() - 1));  // "Â": 2 bytes, 1 unit
  EXPECT_EQ(Log[2], "$ API : nouveau run CodeLen=" + std::to_string(Program.size() - 1));
  EXPECT_EQ(Log[3], "$ API execute - NEED_INPUT (Nom ?)");
  EXPECT_EQ(Log[4], "$ Réponse : API_NEED_INPUT -> 200  CT=application/json  TextLen=" + std::to_string(First.size()));
  EXPECT_TRUE(IsTurnTime(Log[5])) << Log[5];
  EXPECT_EQ(Log[8], "$ API : reprise de session");
  EXPECT_EQ(Log[9], "$ API execute - NEED_INPUT (Âge ?)");
  EXPECT_EQ(Log[14], "$ API : reprise de session");
  EXPECT_EQ(Log[15], "$ API execute - OK");
  EXPECT_EQ(Log[16], "$ Réponse : API_OK -> 200  CT=application/json  TextLen=" + std::to_string(Last.size()));
  EXPECT_TRUE(IsTurnTime(Log[17])) << Log[17];
}

TEST_F(RunRoutesTest, AnswersReachTheProgramAsTextsAndPromptsAreLoggedOnOneLine) {
  EXPECT_EQ(ExecuteAs(200, NewRun("n vaut 0\nchoisir ['oui', 'non'] dans n\naffiche n\n")),
            R"({"needInput":true,"prompt":"\u0001CHOISIR\u0001oui\u0001non","output":""})");
  EXPECT_EQ(Lines.Lines()[3], "$ API execute - NEED_INPUT (\\u0001CHOISIR\\u0001oui\\u0001non)");
  EXPECT_EQ(ExecuteAs(200, Answer({"x", 2})), R"({"done":true,"output":"2\r\n"})");  // a number read as text

  ExecuteAs(200, NewRun("demande 'Q' dans x\naffiche '<' + x + '>'\n"));
  EXPECT_EQ(ExecuteAs(200, Answer("pas un tableau")), R"({"done":true,"output":"<>\r\n"})");
}

TEST_F(RunRoutesTest, ErrorsAnswer400WithTheirLineOnlyWhenKnownAndAreCounted) {
  const std::string Failed = ExecuteAs(400, NewRun("affiche 1\naffiche 2\naffiche 10 / 0\n"));
  EXPECT_EQ(Failed, R"({"error":"Ligne 3: Division par z\u00E9ro","errorLine":3,"output":"1\r\n2\r\n"})");
  EXPECT_EQ(CurrentSession(), nullptr);
  EXPECT_EQ(ExecuteAs(400, NewRun("affiche 1\nfonction f\n  retourne 2\n")),
            R"({"error":"D\u00E9finition \"f\" sans fin correspondante","output":""})");
  EXPECT_EQ(Counters.Read().Errors, 2);
  const auto Log = Lines.Lines();
  EXPECT_EQ(Log[3], "$ Erreur API execute : Ligne 3: Division par zéro");
  EXPECT_EQ(Log[4], "$ Réponse : API_ERR -> 400  CT=application/json  TextLen=" + std::to_string(Failed.size()));
}

TEST_F(RunRoutesTest, ATurnOverItsLimitIsStoppedAndKeepsWhatItPrinted) {
  Minutes = 3;
  TurnMs = 1000;  // time enough for the first statement on a loaded machine
  EXPECT_EQ(ExecuteAs(200, NewRun(std::string("affiche 'avant'\n") + kEndless)),
            R"({"error":"Interpr\u00E9tation expir\u00E9e (limite : 3 minute(s)).","output":"avant\r\n"})");
  EXPECT_EQ(CurrentSession(), nullptr);
  const auto Log = Lines.Lines();
  ASSERT_EQ(Log.size(), 5u);
  EXPECT_EQ(Log[3], "# Timeout : tour interrompu après 3 minute(s).");
  EXPECT_TRUE(IsTurnTime(Log[4]));
  EXPECT_EQ(Counters.Read().Errors, 0);

  // The limit is per turn: time spent waiting for the pupil does not count.
  ExecuteAs(200, NewRun("demande 'Q' dans x\naffiche x\n"));
  std::this_thread::sleep_for(std::chrono::milliseconds(1200));
  EXPECT_EQ(ExecuteAs(200, Answer({"r"})), R"({"done":true,"output":"r\r\n"})");
}

TEST_F(RunRoutesTest, AbortEndsAWaitingTurnAndItsAnswerHasNoCharset) {
  auto Turn = std::async(std::launch::async, [&] { return Execute(NewRun(std::string("affiche 'x'\n") + kEndless)); });
  AwaitState(ssRunning);
  const TReply Abort = Routes().HandleAbort(Post(""));
  EXPECT_EQ(Abort.Status, 200);
  EXPECT_EQ(Abort.FullContentType(), "application/json");
  EXPECT_EQ(Abort.Body, R"({"aborted":true})");
  const TReply Reply = Turn.get();
  EXPECT_EQ(Reply.Status, 200);
  // The abort may come before the first statement has run.
  EXPECT_TRUE(Reply.Body == R"({"aborted":true,"output":"x\r\n"})" || Reply.Body == R"({"aborted":true,"output":""})")
      << Reply.Body;
  EXPECT_EQ(CurrentSession(), nullptr);
  const auto Log = Lines.Lines();
  EXPECT_EQ(Log[3], "# Exécution interrompue (abort utilisateur).");
  EXPECT_EQ(Log[4],
            "$ Réponse : API_ABORTED -> 200  CT=application/json  TextLen=" + std::to_string(Reply.Body.size()));

  const TReply Again = Routes().HandleAbort(Post(""));  // no session: the same answer
  EXPECT_EQ(Again.Body, R"({"aborted":true})");
  EXPECT_EQ(Lines.Lines().size(), Log.size());  // aborts log nothing
}

TEST_F(RunRoutesTest, ARunAbortedWhileItWaitsIsReplacedByTheNextRun) {
  ExecuteAs(200, NewRun("affiche 'ancien'\ndemande 'Q' dans x\n"));
  Routes().HandleAbort(Post(""));
  AwaitState(ssAborted);  // aborted, still current
  EXPECT_EQ(ExecuteAs(200, NewRun("affiche 'neuf'", {{"inputs", {"r"}}})), R"({"done":true,"output":"neuf\r\n"})");
}

// A run that is busy after its answer is not waiting: a second request
// starts a new run, and the request that waited on the old one answers its
// end and leaves the new run alone.
TEST_F(RunRoutesTest, ANewRunReplacesABusyOneWhoseRequestAnswersAborted) {
  ExecuteAs(200, NewRun(std::string("demande 'Q' dans x\naffiche x\n") + kEndless));
  auto First = std::async(std::launch::async, [&] { return Execute(Answer({"un"})); });
  AwaitState(ssRunning);
  auto Second = std::async(std::launch::async, [&] {
    return Execute(NewRun("demande 'R' dans y\n", {{"inputs", {"deux"}}}));
  });
  EXPECT_TRUE(First.get().Body.starts_with(R"({"aborted":true,"output":")"));  // "un" printed or not yet
  EXPECT_EQ(Second.get().Body, R"({"needInput":true,"prompt":"R","output":""})");
  TSessionRef Current = CurrentSession();
  ASSERT_NE(Current, nullptr);
  EXPECT_EQ(Current->State(), ssWaitingInput);
}

// Many answers to one question at once: each request resumes the run,
// finds the question answered (409) or, the run being busy again, starts a
// run of its own. None stops a run that another request resumed ("état
// inattendu"), nor waits for a turn that another request took: it would
// end in a time-out.
TEST_F(RunRoutesTest, ConcurrentAnswersToOneQuestionNeverShareItsTurn) {
  TurnMs = 10000;
  ExecuteAs(200, NewRun("demande 'Q' dans x\naffiche 'eu ' + x\ndemande 'Q2' dans y\n"));
  std::vector<std::future<TReply>> Replies;
  for (int I = 0; I < 6; ++I)
    Replies.push_back(std::async(std::launch::async, [&, I] {
      return Execute(NewRun("affiche 'autre'", {{"inputs", {std::to_string(I)}}}));
    }));
  for (auto& Reply : Replies) {
    const TReply R = Reply.get();
    EXPECT_TRUE(R.Status == 200 || R.Status == 409) << R.Body;
    EXPECT_EQ(R.Body.find("expir"), std::string::npos) << R.Body;
    if (R.Status == 409) {
      EXPECT_EQ(R.Body, R"({"error":"Cette question a d\u00E9j\u00E0 re\u00E7u une r\u00E9ponse."})");
    }
  }
}

TEST_F(RunRoutesTest, TheSeedUsesItsLow32BitsAndOnlyIntegersCount) {
  const auto Draw = [&](json Seed) {
    json Body = {{"code", "affiche hasard(1000000000)\naffiche hasard(1000000000)"}};
    if (!Seed.is_null()) Body["seed"] = Seed;
    return ExecuteAs(200, Body.dump());
  };
  EXPECT_EQ(Draw(7), Draw(7));
  EXPECT_EQ(Draw(7), Draw(4294967296LL + 7));
  EXPECT_NE(Draw(7), Draw(8));
  EXPECT_EQ(Draw(-1), Draw(4294967295LL));
  EXPECT_EQ(Draw("7"), Draw(0));
  EXPECT_EQ(Draw(7.5), Draw(json()));
}

TEST_F(RunRoutesTest, ServedRunsWriteTheirFilesInTheFilesFolder) {
  EXPECT_EQ(ExecuteAs(200, NewRun("affiche sauvegarder('note.txt', 'bonjour')")),
            R"({"done":true,"output":"vrai\r\n"})");
  EXPECT_EQ(ReadBytes(Files.Path() / "note.txt"),
            "\xEF\xBB\xBF"
            "bonjour");
}

TEST_F(RunRoutesTest, OnlyNewRunsAreReportedToTheService) {
  std::atomic<int> Checks{0};
  TRunReporter Service("https://127.0.0.1:9", std::string(64, 'a'), [&](const std::string&) {
    ++Checks;
    return false;  // "offline": nothing is sent
  });
  Reporter = &Service;
  ExecuteAs(200, NewRun("demande 'Q' dans x\n"));
  ASSERT_TRUE(Eventually([&] { return Checks == 1 && !Service.InFlight(); }));
  ExecuteAs(200, Answer({"r"}));
  ExecuteAs(200, NewRun("affiche 1"));
  EXPECT_TRUE(Eventually([&] { return Checks == 2 && !Service.InFlight(); }));
}

TEST_F(RunRoutesTest, BadBodiesLeaveTheRouteWithTheirMessageAfterTheTurnTimeIsLogged) {
  const auto Failure = [&](const std::string& Body) {
    try {
      Execute(Body);
    } catch (const std::exception& E) {
      return std::string(E.what());
    }
    return std::string("no error");
  };
  EXPECT_EQ(Failure("{\"code\":"), "JSON invalide");
  EXPECT_EQ(Failure(""), "JSON invalide");
  EXPECT_EQ(Failure("[1]"), "Le corps de la requête n'est pas un objet JSON.");
  EXPECT_EQ(Failure("{\"seed\":1}"), "Champ \"code\" manquant");
  EXPECT_EQ(Failure("{\"code\":null}"), "Champ \"code\" manquant");
  const auto Log = Lines.Lines();
  EXPECT_EQ(Log.size(), 15u);
  EXPECT_TRUE(IsTurnTime(Log.back()));
  EXPECT_EQ(Counters.Read().Executions, 5);
}

TEST_F(RunRoutesTest, JsonNestedDeeperThan512LevelsIsInvalid) {
  const auto Nested = [](int Levels) {  // the object itself is the first level
    return "{\"code\":\"affiche 1\",\"x\":" + std::string(Levels - 1, '[') + std::string(Levels - 1, ']') + "}";
  };
  EXPECT_EQ(ExecuteAs(200, Nested(512)), R"({"done":true,"output":"1\r\n"})");
  EXPECT_THROW(Execute(Nested(513)), std::exception);
  // Brackets inside texts are not levels.
  EXPECT_EQ(ExecuteAs(200, NewRun("affiche '" + std::string(600, '[') + "{'")),
            R"({"done":true,"output":")" + std::string(600, '[') + "{\\r\\n\"}");
}

TEST_F(RunRoutesTest, TheBodyLimitIsCheckedOnTheDeclaredLengthThenOnTheText) {
  const std::string Small = NewRun("affiche 1");
  const TReply Declared = Routes().HandleExecute(Post(Small, 524289));
  EXPECT_EQ(Declared.Status, 413);
  EXPECT_EQ(Declared.Body, R"({"error":"Payload too large"})");
  EXPECT_EQ(Routes().HandleExecute(Post(Small, 524288)).Status, 200);

  std::string Padded = NewRun("affiche 1", {{"p", ""}});
  Padded.insert(Padded.find("\"p\":\"") + 5, 524288 - Padded.size(), 'x');
  ASSERT_EQ(Padded.size(), 524288u);
  EXPECT_EQ(Routes().HandleExecute(Post(Padded, -1)).Status, 200);
  Padded.insert(Padded.find("\"p\":\"") + 5, "é");  // 524290 bytes, 524289 units
  const TReply Received = Routes().HandleExecute(Post(Padded, -1));
  EXPECT_EQ(Received.Status, 413);
  const auto Log = Lines.Lines();
  EXPECT_EQ(Log[Log.size() - 2], "$ API : Body len=524289");
}

TEST_F(RunRoutesTest, AServerStopAbortsARunInProgressOnly) {
  Routes().AbortForServerStop();
  EXPECT_TRUE(Lines.Lines().empty());

  ExecuteAs(200, NewRun("demande 'Q' dans x\n"));
  Lines.Take();
  Routes().AbortForServerStop();
  EXPECT_EQ(Lines.Take(), std::vector<std::string>{"# Interprétation arrêtée (arrêt du serveur)."});
  AwaitState(ssAborted);
  Routes().AbortForServerStop();  // over already: nothing to say
  EXPECT_TRUE(Lines.Lines().empty());

  auto Turn = std::async(std::launch::async, [&] { return Execute(NewRun(kEndless)); });
  AwaitState(ssRunning);
  Routes().AbortForServerStop();
  EXPECT_EQ(Turn.get().Body, R"({"aborted":true,"output":""})");
}

class AnalyzeRouteTest : public RunRoutesTest {
 protected:
  TReply Analyze(const std::string& Body) { return Routes().HandleAnalyze(Post(Body)); }
};

TEST_F(AnalyzeRouteTest, FindingsComeInOrderAndAWarningAloneIsNotOk) {
  TReply Reply = Analyze(NewRun("affiche 1"));
  EXPECT_EQ(Reply.Status, 200);
  EXPECT_EQ(Reply.FullContentType(), "application/json; charset=utf-8");
  EXPECT_EQ(Reply.Body, R"({"diagnostics":[],"ok":true})");

  Reply = Analyze(NewRun("essayer\n  affiche 1\nfin essayer\n"));
  EXPECT_EQ(
      Reply.Body,
      R"({"diagnostics":[{"line":1,"msg":"\"essayer\" sans \"attraper\" correspondant","fatal":false}],"ok":false})");

  Reply = Analyze(NewRun("si vrai alors\n  affiche 1\n"));
  const json Parsed = json::parse(Reply.Body);
  ASSERT_FALSE(Parsed["diagnostics"].empty());
  EXPECT_TRUE(Parsed["diagnostics"][0]["fatal"].get<bool>());
  EXPECT_FALSE(Parsed["ok"].get<bool>());
  EXPECT_EQ(Lines.Lines(), (std::vector<std::string>{
                               "$ API analyze : 0 diagnostic(s)", "$ API analyze : 1 diagnostic(s)",
                               "$ API analyze : " + std::to_string(Parsed["diagnostics"].size()) + " diagnostic(s)"}));
  EXPECT_EQ(CurrentSession(), nullptr);  // analysis runs nothing
}

TEST_F(AnalyzeRouteTest, BadBodiesAnswer400WithTheirMessage) {
  const std::vector<std::pair<std::string, std::string>> Cases = {
      {"pas du json", R"({"error":"JSON invalide"})"},
      {"\"texte\"", R"({"error":"Le corps de la requ\u00EAte n'est pas un objet JSON."})"},
      {"{\"Code\":\"affiche 1\"}", R"({"error":"Champ \"code\" manquant"})"},
      {std::string(600, '[') + std::string(600, ']'), R"({"error":"JSON invalide"})"},
      {NewRun("affiche U+110000"), R"x({"error":"Ligne 1: U+110000 : code Unicode hors limites (max U+10FFFF)"})x"},
  };
  for (const auto& [Body, Expected] : Cases) {
    const TReply Reply = Analyze(Body);
    EXPECT_EQ(Reply.Status, 400);
    EXPECT_EQ(Reply.Body, Expected);
  }
  EXPECT_EQ(Lines.Lines()[0], "Erreur API analyze : JSON invalide");
  EXPECT_EQ(Lines.Lines()[2], "Erreur API analyze : Champ \"code\" manquant");
}

}  // namespace
