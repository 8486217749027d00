// The run routes: "/api/execute" (one turn of a run), "/api/abort" and
// "/api/analyze". They run programs only through execution sessions.
#pragma once

#include <filesystem>
#include <functional>

#include "server/HttpTypes.h"

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
  TRunContext FContext;
};

}  // namespace mirelon
