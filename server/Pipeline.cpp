#include "server/Pipeline.h"

#include "log/ConsoleLog.h"
#include "log/LogText.h"
#include "log/StatusCounters.h"
#include "server/Auth.h"
#include "server/ErrorReply.h"
#include "server/RequestGuard.h"
#include "server/StaticRoutes.h"

namespace mirelon {
namespace {

bool Is(const TRequest& Request, std::string_view Method, std::string_view Path) {
  return SameAscii(Request.Method, Method) && SameAscii(Request.Path, Path);
}

TReply NoContent() {
  TReply Reply;
  Reply.Status = 204;
  return Reply;
}

}  // namespace

const THeaderList& SecurityHeaders() {
  static const THeaderList kHeaders = {
      {"X-Content-Type-Options", "nosniff"}, {"X-Frame-Options", "DENY"}, {"Referrer-Policy", "no-referrer"}};
  return kHeaders;
}

void SetSecurityHeaders(TReply& Reply) {
  for (const auto& [Name, Value] : SecurityHeaders()) Reply.SetHeader(Name, Value);
}

TPipeline::TPipeline(TConsoleLog& Log, TStatusCounters& Counters, TStaticAssets& Assets, TRoutes Routes)
    : FLog(Log), FCounters(Counters), FAssets(Assets), FRoutes(std::move(Routes)) {}

void TPipeline::SetSession(std::string Token, int Port) {
  FSessionToken = std::move(Token);
  FPort = Port;
}

TReply TPipeline::HandleRequest(const TRequest& Request) {
  LogRequest(Request);
  TReply Reply;
  try {
    Reply = Route(Request);
  } catch (const std::exception& Error) {
    Reply = TextReply(500, Error.what());
  }
  SetSecurityHeaders(Reply);
  return Reply;
}

// Heartbeats are not counted; their trace is dropped by the log itself.
void TPipeline::LogRequest(const TRequest& Request) {
  if (!SameAscii(Request.Path, "/api/ping")) FCounters.IncReqCount();
  FLog.ELogEvent("$ Requête : " + LogText(Request.Method) + " " + LogText(Request.Path) +
                 "  CT=" + LogText(Request.ContentType) + "  Len=" + std::to_string(Request.ContentLength));
}

bool TPipeline::Authenticated(const TRequest& Request) const {
  return !FSessionToken.empty() && SameToken(ReadSessionCookie(Request), FSessionToken);
}

TReply TPipeline::Route(const TRequest& Request) {
  if (std::optional<TReply> Refused = GuardRequest(Request, FPort, FLog)) return *Refused;
  if (SameAscii(Request.Method, "OPTIONS")) return NoContent();
  if (Is(Request, "GET", "/auth")) return CheckToken(Request);
  const bool Ping = Is(Request, "GET", "/api/ping"), Release = Is(Request, "POST", "/api/release");
  if (Ping || Release) {
    if (!Authenticated(Request)) return ErrorReply(401, "Non authentifié");
    return Ping ? FRoutes.Ping(Request) : FRoutes.Release(Request);
  }
  if (SameAscii(Request.Method, "GET")) {
    if (std::optional<TReply> File = ServeFile(Request)) return *File;
  }
  if (!Authenticated(Request)) {
    FLog.ELogEvent("# Accès refusé (cookie de session absent ou invalide)");
    return ErrorReply(401, "Session invalide. Relance Mirelon.");
  }
  return AuthenticatedRoute(Request);
}

// The token is not consumed: the same address authenticates again for as
// long as the server runs with it.
TReply TPipeline::CheckToken(const TRequest& Request) {
  if (FSessionToken.empty() || !SameToken(Request.QueryParam("token"), FSessionToken)) {
    FLog.ELogEvent("# Auth refusée (token invalide)");
    return ErrorReply(403, "Token invalide");
  }
  TReply Reply;
  Reply.Status = 302;
  Reply.Location = "/";
  SetSessionCookie(Reply, FSessionToken);
  FLog.ELogEvent("# Auth OK → cookie posé, redirection /");
  return Reply;
}

// Row 5; none when the path names no workbench file.
std::optional<TReply> TPipeline::ServeFile(const TRequest& Request) {
  try {
    std::optional<TReply> File = ServeStatic(Request, FAssets, Authenticated(Request));
    if (!File) return std::nullopt;
    File->SetHeader("Cache-Control", "no-store");
    FLog.ELogEvent("$ Serve static : " + LogText(Request.Path));
    LogResponse(FLog, "STATIC", *File);
    return *File;
  } catch (const std::exception& Error) {
    FLog.ELogEvent("$ Erreur static : " + LogText(Request.Path) + " : " + LogText(Error.what()));
    return TextReply(500, std::string("Erreur ressource : ") + Error.what());
  }
}

TReply TPipeline::AuthenticatedRoute(const TRequest& Request) {
  if (Is(Request, "GET", "/api/options")) return FRoutes.GetOptions(Request);
  if (Is(Request, "POST", "/api/options")) return FRoutes.PostOptions(Request);
  if (Is(Request, "GET", "/api/projects/list")) return FRoutes.Projects("list", Request);
  for (std::string_view Action : {"save", "rem", "del", "load"})
    if (Is(Request, "POST", "/api/projects/" + std::string(Action))) return FRoutes.Projects(Action, Request);
  if (Is(Request, "POST", "/api/abort")) return FRoutes.Abort(Request);
  if (Is(Request, "POST", "/api/execute")) return FRoutes.Execute(Request);
  if (Is(Request, "POST", "/api/analyze")) return FRoutes.Analyze(Request);
  FLog.ELogEvent("404 : " + LogText(Request.Method) + " " + LogText(Request.Path));
  return TextReply(404, "Not found");
}

}  // namespace mirelon
