#include "update/UpdateManager.h"

#include <cstdio>

#include "update/Service.h"

namespace mirelon {

namespace {

constexpr int32_t kProbeTimeoutMs = 5000;
// A version number is a few bytes; anything much longer is not one, and is
// not read to its end.
constexpr int64_t kVersionBodyLimit = 4096;

const char16_t* const kNoAnswer = u"Le serveur ne répond pas !";

void TraceToStderr(const std::string& line) { std::fprintf(stderr, "%s\n", line.c_str()); }

// The trace's name of an error: the class that the program raised it as.
const char* ErrorClassName(const std::exception& e) {
  if (dynamic_cast<const EHttpsError*>(&e)) return "EHttpsError";
  if (dynamic_cast<const EUpdate*>(&e)) return "EUpdate";
  return "Exception";
}

// The body without byte-order mark and without blanks and control
// characters at either end.
std::string_view TrimmedBody(std::string_view body) {
  body = StripBom(body);
  while (!body.empty() && static_cast<unsigned char>(body.front()) <= 32) body.remove_prefix(1);
  while (!body.empty() && static_cast<unsigned char>(body.back()) <= 32) body.remove_suffix(1);
  return body;
}

}  // namespace

TUpdateManager::TUpdateManager(const std::string& serviceBase, TVersionNumber current)
    : FEndpoint(ServiceEndpoint(serviceBase, kUpdatePath)), FCurrentVersion(current), FTrace(TraceToStderr) {
  FHttpClient.SetBodyLimit(kVersionBodyLimit);
}

void TUpdateManager::SetCancelCheck(std::function<bool()> cancelled) {
  FCancelled = std::move(cancelled);
  FHttpClient.SetCancelCheck(FCancelled);
}

bool TUpdateManager::ProbeServer(const std::string& address, int32_t timeoutMs) {
  try {
    THttpsClient probe;
    probe.SetFollowRedirects(false);
    probe.SetTimeouts(timeoutMs, timeoutMs);
    probe.SetUserAgent("MirelonUpdater/1.0");
    probe.SetBodyLimit(0);  // the status line and the headers are the answer
    probe.SetCancelCheck(FCancelled);
    THttpsResponse r = probe.Get(address);
    FTrace("Update check: " + std::to_string(r.StatusCode) + " " + r.StatusText + "  Location=" + r.Header("Location"));
    return r.StatusCode >= 200 && r.StatusCode <= 399;
  } catch (const std::exception& e) {
    FTrace(std::string("Update check exception: ") + ErrorClassName(e) + " - " + e.what());
    return false;
  }
}

TVersionNumber TUpdateManager::FetchLatestVersion() {
  THttpsResponse r = FHttpClient.Get(FEndpoint);
  if (r.TooLarge) throw EUpdate(u"Réponse trop longue du serveur de mises à jour.");
  // An error page is not a version, even when it reads as a number ("404").
  if (r.StatusCode < 200 || r.StatusCode > 299) return {};
  return TVersionNumber::Parse(TrimmedBody(r.Body));
}

void TUpdateManager::CheckForUpdates() {
  if (FEndpoint.empty() || !ProbeServer(FEndpoint, kProbeTimeoutMs)) throw EUpdate(kNoAnswer);
  TVersionNumber latest = FetchLatestVersion();
  if (!IsNewer(latest, FCurrentVersion)) throw Exception(u"Aucune mise à jour n'est disponible.");
  throw EUpdate(Format(u"La version %s est maintenant disponible en téléchargement.", {latest.ToString()}));
}

std::u16string UpdateCheckLine(TUpdateManager& manager) {
  try {
    manager.CheckForUpdates();
  } catch (const Exception& e) {
    return u"# " + e.Message();
  } catch (const std::exception& e) {
    return u"# " + Utf8ToUtf16(e.what());
  }
}

}  // namespace mirelon
