// "/api/execute": one turn of a run. A request starts a run, or answers the
// question that the current run waits on, then waits until the run asks its
// next question or ends, and answers with what the run printed meanwhile.
#include <charconv>
#include <string>

#include "core/Text.h"
#include "json/JsonWriter.h"
#include "log/ConsoleLog.h"
#include "log/LogText.h"
#include "log/StatusCounters.h"
#include "server/JsonBody.h"
#include "server/RunRoutes.h"
#include "update/RunReport.h"

namespace mirelon {
namespace {

using TJson = nlohmann::ordered_json;

// The last answer of "inputs"; empty when it is missing, empty or not an array.
std::u16string LastInput(const TJson& Body) {
  const auto Inputs = Body.find("inputs");
  if (Inputs == Body.end() || !Inputs->is_array() || Inputs->empty()) return {};
  return JsonAsText(Inputs->back());
}

// The low 32 bits of an integer "seed"; 0 when it is missing or not an integer.
int32_t SeedOf(const TJson& Body) {
  const auto Seed = Body.find("seed");
  if (Seed == Body.end()) return 0;
  if (Seed->is_number_unsigned()) return static_cast<int32_t>(static_cast<uint32_t>(Seed->get<uint64_t>()));
  if (Seed->is_number_integer()) return static_cast<int32_t>(static_cast<uint32_t>(Seed->get<int64_t>()));
  return 0;
}

// "1.500": a dot whatever the locale.
std::string Seconds(double Value) {
  char Text[32];
  const auto End = std::to_chars(Text, Text + sizeof Text, Value, std::chars_format::fixed, 3).ptr;
  return std::string(Text, End);
}

std::string TimeOutMessage(int Minutes) {
  return "Interprétation expirée (limite : " + std::to_string(Minutes) + " minute(s)).";
}

// Two requests on one run: the answer of one reached the question that
// the other one wanted to answer, or whose turn it waited for.
TReply AnsweredByAnother(TConsoleLog& Log) {
  Log.ELogEvent("$ API : question déjà répondue par une autre requête");
  return JsonReply(409, ErrorJson(u"Cette question a déjà reçu une réponse."));
}

TReply AnswerWithOutput(int Status, TJsonWriter& Json, const std::u16string& Output) {
  Json.Key(u"output").String(Output).EndObject();
  return JsonReply(Status, Json.Text());
}

// The run is over: its last output is taken, then its session cleared, only
// if it is still the current one, so that a run that replaced it goes on.
TReply RunEnded(TConsoleLog& Log, const TSessionRef& Session, int Status, TJsonWriter& Json, const std::string& Line,
                std::string_view Tag) {
  TReply Reply = AnswerWithOutput(Status, Json, Session->OutputSinceLastScreen());
  ClearCurrentSession(Session);
  Log.ELogEvent(Line);
  LogResponse(Log, Tag, Reply);
  return Reply;
}

}  // namespace

// The turn's time is logged however the turn ends, an error that leaves the
// route included.
TReply TRunRoutes::HandleExecute(const TRequest& Request) {
  if (Request.ContentLength > kBodyLimit) return PayloadTooLarge();
  FContext.Log.ELogEvent("$ API execute - Start");
  FContext.Counters.IncExecCount();
  const auto Start = std::chrono::steady_clock::now();
  try {
    TReply Reply = RunTurn(Request);
    LogTurnTime(Start);
    return Reply;
  } catch (...) {
    LogTurnTime(Start);
    throw;
  }
}

// A run that waits for an answer is resumed whatever "code" says. An answer
// to a question that another request has just answered is refused at once:
// waiting as well would race that request for the run's next turn, and the
// loser would stop the run at its time limit.
TReply TRunRoutes::RunTurn(const TRequest& Request) {
  const std::u16string Body = ReadBody(Request);
  FContext.Log.ELogEvent("$ API : Body len=" + std::to_string(Body.size()));
  if (Body.size() > static_cast<size_t>(kBodyLimit)) return PayloadTooLarge();
  const TJson Json = ParseJsonObject(Body);
  const std::u16string Answer = LastInput(Json);

  TSessionRef Session = CurrentSession();
  if (Session && Session->State() == ssWaitingInput) {
    if (!Session->ProvideInput(Answer)) return AnsweredByAnother(FContext.Log);
    FContext.Log.ELogEvent("$ API : reprise de session");
  } else {
    Session = StartRun(Json);
  }
  if (!Session->WaitTurn(TurnLimitMs())) return TimedOut(Session);
  return TurnAnswer(Session);
}

TSessionRef TRunRoutes::StartRun(const nlohmann::ordered_json& Body) {
  std::u16string Code = RequiredText(Body, "code");
  const size_t CodeLength = Code.size();
  TSessionOptions Options;
  Options.FilesFolder = FContext.FilesFolder;
  TSessionRef Session = StartSession(std::move(Code), SeedOf(Body), std::move(Options));
  FContext.Log.ELogEvent("$ API : nouveau run CodeLen=" + std::to_string(CodeLength));
  if (FContext.Reporter) FContext.Reporter->PingRunCounter();
  return Session;
}

uint32_t TRunRoutes::TurnLimitMs() const {
  if (FContext.TurnTimeoutMs) return FContext.TurnTimeoutMs;
  return static_cast<uint32_t>(FContext.StoppingMinutes()) * 60u * 1000u;
}

// A run found running again had its question answered by another request,
// which now waits for the next turn: it is left to that request.
TReply TRunRoutes::TurnAnswer(const TSessionRef& Session) {
  TConsoleLog& Log = FContext.Log;
  TJsonWriter Json;
  Json.BeginObject();
  switch (Session->State()) {
    case ssWaitingInput: {
      const std::u16string Prompt = Session->Prompt();
      Json.Key(u"needInput").Bool(true).Key(u"prompt").String(Prompt);
      TReply Reply = AnswerWithOutput(200, Json, Session->OutputSinceLastScreen());
      Log.ELogEvent("$ API execute - NEED_INPUT (" + LogText(Utf16ToUtf8(Prompt)) + ")");
      LogResponse(Log, "API_NEED_INPUT", Reply);
      return Reply;
    }
    case ssDone:
      Json.Key(u"done").Bool(true);
      return RunEnded(Log, Session, 200, Json, "$ API execute - OK", "API_OK");
    case ssError: {
      FContext.Counters.IncErrCount();
      const std::u16string Message = Session->ErrorMsg();
      Json.Key(u"error").String(Message);
      if (Session->ErrorLine() > 0) Json.Key(u"errorLine").Integer(Session->ErrorLine());
      return RunEnded(Log, Session, 400, Json, "$ Erreur API execute : " + LogText(Utf16ToUtf8(Message)), "API_ERR");
    }
    case ssAborted:
      Json.Key(u"aborted").Bool(true);
      return RunEnded(Log, Session, 200, Json, "# Exécution interrompue (abort utilisateur).", "API_ABORTED");
    case ssRunning:
      return AnsweredByAnother(Log);
    default:
      ClearCurrentSession(Session);
      return JsonReply(400, ErrorJson(u"État de session inattendu."));
  }
}

// The run is stopped (aborted, and its worker waited for) before its output
// is taken, so the answer carries everything the turn printed up to the stop.
TReply TRunRoutes::TimedOut(const TSessionRef& Session) {
  const int Minutes = FContext.StoppingMinutes();
  ClearCurrentSession(Session);
  TJsonWriter Json;
  Json.BeginObject().Key(u"error").String(Utf8ToUtf16(TimeOutMessage(Minutes)));
  TReply Reply = AnswerWithOutput(200, Json, Session->OutputSinceLastScreen());
  FContext.Log.ELogEvent("# Timeout : tour interrompu après " + std::to_string(Minutes) + " minute(s).");
  return Reply;
}

void TRunRoutes::LogTurnTime(std::chrono::steady_clock::time_point Start) {
  using std::chrono::milliseconds;
  const double Elapsed =
      std::chrono::duration_cast<milliseconds>(std::chrono::steady_clock::now() - Start).count() / 1000.0;
  FContext.Log.ELogEvent("# Tour traité en " + Seconds(Elapsed) + (Elapsed < 2.0 ? " seconde" : " secondes"));
}

}  // namespace mirelon
