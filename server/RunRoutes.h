// The run routes: "/api/execute" (one turn of a run), "/api/abort" and
// "/api/analyze". They run programs only through execution sessions.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>

#include <nlohmann/json_fwd.hpp>

#include "server/HttpTypes.h"
#include "session/ExecSession.h"

namespace mirelon {

class TConsoleLog;
class TStatusCounters;
class TRunReporter;

struct TRunContext {
  TConsoleLog& Log;
  TStatusCounters& Counters;
  std::function<int()> StoppingMinutes;  // the per-turn time limit, read at each turn
  TRunReporter* Reporter = nullptr;      // none: no run reports (offline)
  std::filesystem::path FilesFolder;     // where a served program's relative file paths lead
  // For tests only: a turn limit in milliseconds that replaces the minutes
  // (the time-out answer still names the minutes); 0 keeps the minutes.
  uint32_t TurnTimeoutMs = 0;
};

class TRunRoutes {
 public:
  explicit TRunRoutes(TRunContext Context);

  TReply HandleExecute(const TRequest& Request);
  TReply HandleAbort(const TRequest& Request);
  TReply HandleAnalyze(const TRequest& Request);

  // The server stops: aborts the current session and logs
  // "# Interprétation arrêtée (arrêt du serveur)." when one was running.
  void AbortForServerStop();

 private:
  TReply RunTurn(const TRequest& Request);
  TSessionRef StartRun(const nlohmann::ordered_json& Body);
  uint32_t TurnLimitMs() const;
  TReply TurnAnswer(const TSessionRef& Session);
  TReply TimedOut(const TSessionRef& Session);
  void LogTurnTime(std::chrono::steady_clock::time_point Start);

  TRunContext FContext;
};

}  // namespace mirelon
