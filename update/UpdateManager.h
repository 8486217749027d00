// The update check: asks the maker's service which version is current and
// turns the answer into one console line. It never downloads anything.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "core/Errors.h"
#include "net/HttpsClient.h"
#include "update/Version.h"

namespace mirelon {

// The outcomes of a check that the user should notice: no answer from the
// service, or a newer version.
class EUpdate : public Exception {
 public:
  using Exception::Exception;
};

class TUpdateManager {
 public:
  // serviceBase: "https://host[:port]" of the maker's service, empty when
  // the program runs without it (the check then finds no server).
  explicit TUpdateManager(const std::string& serviceBase, TVersionNumber current = BuildVersion());

  // Asked while a request runs; true stops it (see THttpsClient).
  void SetCancelCheck(std::function<bool()> cancelled);
  // Where the probe's trace lines go, one call per line; stderr by default.
  void SetTrace(std::function<void(const std::string& line)> trace) { FTrace = std::move(trace); }

  // One GET of address that does not follow redirects: true for a status
  // from 200 to 399. Traces the answer, or the error, and never raises.
  bool ProbeServer(const std::string& address, int32_t timeoutMs);
  // GET of the version endpoint, redirects followed: its trimmed body read
  // as a version; 0.0 when blank, not a version or not a success. Raises
  // EHttpsError when no answer comes, EUpdate when the body is too long.
  TVersionNumber FetchLatestVersion();
  // The whole check. It always ends by raising an error whose message is
  // the outcome: EUpdate for "no answer" and "new version", the base
  // Exception for "no update", EHttpsError when the version request fails.
  [[noreturn]] void CheckForUpdates();

 private:
  std::string FEndpoint;  // empty when offline
  TVersionNumber FCurrentVersion;
  THttpsClient FHttpClient;
  std::function<bool()> FCancelled;
  std::function<void(const std::string&)> FTrace;
};

// Runs the check and gives its one console line: "# " and the outcome.
std::u16string UpdateCheckLine(TUpdateManager& manager);

}  // namespace mirelon
