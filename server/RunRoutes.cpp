// The abort and analyze routes, and the abort at a server stop. The
// execute route, one turn of a run, is in ExecuteRoute.cpp.
#include "server/RunRoutes.h"

#include <exception>
#include <vector>

#include "analyzer/AnalysisJson.h"
#include "analyzer/Analyzer.h"
#include "core/Text.h"
#include "log/ConsoleLog.h"
#include "log/LogText.h"
#include "server/JsonBody.h"

namespace mirelon {

TRunRoutes::TRunRoutes(TRunContext Context) : FContext(std::move(Context)) {}

// The session is not cleared here: an execute request that waits for its
// turn wakes with the aborted outcome and clears it, and a session that
// waited for an answer stays current, aborted, until the next run.
TReply TRunRoutes::HandleAbort(const TRequest&) {
  if (TSessionRef Session = CurrentSession()) Session->RequestAbort();
  TReply Reply = JsonReply(200, R"({"aborted":true})");
  Reply.Charset.clear();  // this one answer goes without a charset parameter
  return Reply;
}

// Every failure, of the body as of the analysis, is the pupil's: 400 with
// its message.
TReply TRunRoutes::HandleAnalyze(const TRequest& Request) {
  try {
    const std::u16string Code = RequiredText(ParseJsonObject(ReadBody(Request)), "code");
    std::vector<TMirelonDiagnostic> Diagnostics;
    TMirelonAnalyzer().Analyze(Code, Diagnostics);
    TReply Reply = JsonReply(200, DiagnosticsJson(Diagnostics));
    FContext.Log.ELogEvent("$ API analyze : " + std::to_string(Diagnostics.size()) + " diagnostic(s)");
    return Reply;
  } catch (const std::exception& E) {
    // what() of the system's own exceptions is their message in UTF-8.
    FContext.Log.ELogEvent("Erreur API analyze : " + LogText(E.what()));
    return JsonReply(400, ErrorJson(Utf8ToUtf16(E.what())));
  }
}

// Only a run still in progress is stopped and told about. The session
// stays in its slot: a request that waits for its turn answers the aborted
// outcome and clears it, as after "/api/abort".
void TRunRoutes::AbortForServerStop() {
  TSessionRef Session = CurrentSession();
  if (!Session) return;
  const TSessionState State = Session->State();
  if (State != ssIdle && State != ssRunning && State != ssWaitingInput) return;
  Session->RequestAbort();
  FContext.Log.ELogEvent("# Interprétation arrêtée (arrêt du serveur).");
}

}  // namespace mirelon
