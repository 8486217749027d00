// The outgoing HTTPS requests of the process: file imports and downloads of
// programs, the update check and the run-counter report. A client is created
// for one purpose, configured, used for a request or two and dropped; it is
// used by one thread only. Only https:// is spoken, redirects included, and
// certificates are always verified.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/Errors.h"

namespace mirelon {

// A request that got no answer at all: name resolution, connection,
// certificate, time-out. Not a language error.
class EHttpsError : public EHostError {
 public:
  using EHostError::EHostError;
};

struct THttpsResponse {
  int StatusCode = 0;
  std::string StatusText;
  std::vector<std::pair<std::string, std::string>> Headers;  // of the final answer
  std::string Body;

  // Set when the body passed the client's size cap: the transfer stopped
  // there and Body is incomplete.
  bool TooLarge = false;
  int64_t AnnouncedLength = -1;  // Content-Length of the answer, -1 when absent
  int64_t ReceivedBytes = 0;     // body bytes that arrived

  // The first header of that name, compared without ASCII case; empty when absent.
  std::string Header(std::string_view name) const;
  // The body decoded as UTF-8 whatever the declared charset.
  std::u16string Text() const;
};

class THttpsClient {
 public:
  // Follows redirects; connects within 30 s and answers within 60 s more.
  THttpsClient();

  // Off: a 3xx answer is returned as it is, with its "Location" header.
  void SetFollowRedirects(bool on) { FFollowRedirects = on; }
  // A request must connect within connectMs and be complete within both
  // time-outs added together.
  void SetTimeouts(int32_t connectMs, int32_t responseMs);
  void SetUserAgent(std::string agent) { FUserAgent = std::move(agent); }
  // TLS 1.2 is always the minimum; this also caps the protocol at TLS 1.3.
  void RestrictToTls12And13() { FRestrictTls = true; }
  // Sent with every later request of this client.
  void AddHeader(std::string_view name, std::string_view value);
  // Stop the transfer as soon as more than maxBytes of body have arrived, or
  // at once when Content-Length announces more; -1 for no cap.
  void SetBodyLimit(int64_t maxBytes) { FBodyLimit = maxBytes; }
  // The CA bundle that certificates are checked against. When unset, the
  // file named by the environment variable SSL_CERT_FILE, else the system's.
  void SetCaFile(std::string path) { FCaFile = std::move(path); }
  // Asked every 10 ms or so while a request runs, from the requesting
  // thread; true stops the request with an EHttpsError ("requête annulée"),
  // so that a thread being shut down need not wait for the time-outs.
  void SetCancelCheck(std::function<bool()> cancelled) { FCancelled = std::move(cancelled); }

  THttpsResponse Get(const std::string& url);
  THttpsResponse Post(const std::string& url, std::string_view body, std::string_view contentType);

 private:
  THttpsResponse Perform(const std::string& url, const std::string_view* body, std::string_view contentType);

  bool FFollowRedirects = true;
  bool FRestrictTls = false;
  int32_t FConnectMs = 30000;
  int32_t FResponseMs = 60000;
  int64_t FBodyLimit = -1;
  std::string FUserAgent = "Mirelon/1.0";
  std::string FCaFile;
  std::vector<std::string> FHeaders;  // "Name: value"
  std::function<bool()> FCancelled;
};

}  // namespace mirelon
