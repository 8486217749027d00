#include "server/RequestGuard.h"

#include <string>

#include "log/ConsoleLog.h"
#include "log/LogText.h"
#include "server/ErrorReply.h"

namespace mirelon {
namespace {

bool IsOwnAuthority(std::string_view Authority, int Port) {
  const std::string Suffix = ":" + std::to_string(Port);
  if (Authority.size() <= Suffix.size() || Authority.substr(Authority.size() - Suffix.size()) != Suffix) return false;
  const std::string_view Host = Authority.substr(0, Authority.size() - Suffix.size());
  return SameAscii(Host, "localhost") || Host == "127.0.0.1";
}

bool IsOwnOrigin(std::string_view Origin, int Port) {
  constexpr std::string_view kScheme = "http://";
  return Origin.size() > kScheme.size() && SameAscii(Origin.substr(0, kScheme.size()), kScheme) &&
         IsOwnAuthority(Origin.substr(kScheme.size()), Port);
}

bool StartsWithAscii(std::string_view Text, std::string_view Prefix) {
  return Text.size() >= Prefix.size() && SameAscii(Text.substr(0, Prefix.size()), Prefix);
}

// The paths through which a page could read or change the pupil's data.
bool IsGuardedPath(std::string_view Path) { return StartsWithAscii(Path, "/api/") || SameAscii(Path, "/app.js"); }

bool IsFromAnotherSite(const TRequest& Request) {
  const std::string Site = Request.Header("Sec-Fetch-Site");
  return SameAscii(Site, "cross-site") || SameAscii(Site, "same-site");
}

TReply Refuse(TConsoleLog& Log, std::string_view Error, std::string_view What, std::string_view Value) {
  Log.ELogEvent("# Accès refusé (" + std::string(What) + " : " + LogText(Value) + ")");
  return ErrorReply(403, Error);
}

}  // namespace

std::optional<TReply> GuardRequest(const TRequest& Request, int Port, TConsoleLog& Log) {
  const std::string Host = Request.Header("Host");
  if (!IsOwnAuthority(Host, Port)) return Refuse(Log, "Hôte refusé", "hôte non autorisé", Host);
  const std::string Origin = Request.Header("Origin");
  if (SameAscii(Request.Method, "POST") && Request.HasHeader("Origin") && !IsOwnOrigin(Origin, Port))
    return Refuse(Log, "Origine refusée", "origine non autorisée", Origin);
  if (IsGuardedPath(Request.Path) && IsFromAnotherSite(Request))
    return Refuse(Log, "Origine refusée", "requête d'un autre site", Request.Header("Sec-Fetch-Site"));
  return std::nullopt;
}

}  // namespace mirelon
