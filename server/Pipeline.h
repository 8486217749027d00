// HandleRequest, the one handler of every request: it traces and counts the
// request, refuses what the workbench never sends (see RequestGuard), tries
// the routes in a fixed order, checks the session cookie where a route needs
// it, and puts the security headers on every answer. The routes themselves
// are handed in, so the pipeline does not depend on how they work.
//
//   #  method   path                              session cookie
//   1  OPTIONS  any                               no: 204
//   2  GET      /auth                             no: token check, cookie, 302 to /
//   3  GET      /api/ping                         yes, else 401 "Non authentifié"
//   4  POST     /api/release                      yes, else 401 "Non authentifié"
//   5  GET      the workbench files               no ("/app.js" yes)
//   6  any      anything else                     yes, else 401 "Session invalide. Relance Mirelon."
//   7  GET      /api/options           8  POST  /api/options
//   9  GET      /api/projects/list    10  POST  /api/projects/save|rem|del|load
//  11  POST     /api/abort            12  POST  /api/execute    13  POST  /api/analyze
//  14  any      anything else: 404 "Not found"
// Methods and paths are compared without ASCII case, except the page "/".
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "server/HttpTypes.h"

namespace mirelon {

class TConsoleLog;
class TStatusCounters;
class TStaticAssets;

using TRoute = std::function<TReply(const TRequest&)>;

struct TRoutes {
  TRoute Ping, Release;             // rows 3 and 4
  TRoute GetOptions, PostOptions;   // rows 7 and 8
  std::function<TReply(std::string_view Action, const TRequest&)> Projects;  // rows 9 and 10
  TRoute Abort, Execute, Analyze;   // rows 11 to 13
};

class TPipeline {
 public:
  TPipeline(TConsoleLog& Log, TStatusCounters& Counters, TStaticAssets& Assets, TRoutes Routes);

  // At every server start, before the first request: the session token
  // (64 hexadecimal characters) and the port the Host header must name.
  void SetSession(std::string Token, int Port);

  // Never raises: what a route raises is answered 500 with its message.
  TReply HandleRequest(const TRequest& Request);

 private:
  void LogRequest(const TRequest& Request);
  TReply Route(const TRequest& Request);
  TReply CheckToken(const TRequest& Request);
  std::optional<TReply> ServeFile(const TRequest& Request);
  TReply AuthenticatedRoute(const TRequest& Request);
  bool Authenticated(const TRequest& Request) const;

  TConsoleLog& FLog;
  TStatusCounters& FCounters;
  TStaticAssets& FAssets;
  TRoutes FRoutes;
  std::string FSessionToken;
  int FPort = 0;
};

// "X-Content-Type-Options: nosniff", "X-Frame-Options: DENY" and
// "Referrer-Policy: no-referrer".
void SetSecurityHeaders(TReply& Reply);
const THeaderList& SecurityHeaders();

}  // namespace mirelon
