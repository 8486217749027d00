// The run-counter report: at every new run, one signed POST tells the
// maker's service that a program was run. It carries only a timestamp and
// its signature, runs in the background and fails silently.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "update/BackgroundJob.h"
#include "update/Service.h"

namespace mirelon {

// The 64 lowercase hexadecimal characters shared with the counting service,
// fixed when the program is built.
std::string_view RunCounterKey();

// HMAC-SHA256 of message under key (their bytes as they are), as 64
// lowercase hexadecimal characters.
std::string HmacSha256Hex(std::string_view key, std::string_view message);

// Sends one report to the service now, on this thread: POST of "{}" with
// the headers "X-Timestamp" (Unix seconds) and "X-Signature" (its HMAC under
// key), TLS 1.2 or 1.3, 4 s to connect and 4 s to answer, the answer unread.
// Raises EHttpsError when no answer comes.
void SendRunReport(const std::string& serviceBase, std::string_view key, std::function<bool()> cancelled);

class TRunReporter {
 public:
  // Tells whether the service can be reached before each report.
  using TConnectivity = std::function<bool(const std::string& url)>;

  // serviceBase: "https://host[:port]" of the maker's service; empty: no
  // reports at all.
  explicit TRunReporter(std::string serviceBase, std::string key = std::string(RunCounterKey()),
                        TConnectivity isConnected = IsConnected);
  // Cancels a report in flight and waits for its thread (some 50 ms at most).
  ~TRunReporter() = default;

  // For a new run (never a resumed one): starts one report in the background
  // and returns at once. Skipped without the service, while an earlier
  // report is still in flight, and once Stop was called; true when started.
  // Callable from any thread.
  bool PingRunCounter();
  void Stop() { FJob.Stop(); }
  bool InFlight() const { return FJob.Running(); }

 private:
  std::string FServiceBase;
  std::string FKey;
  TConnectivity FIsConnected;
  TBackgroundJob FJob;
};

}  // namespace mirelon
