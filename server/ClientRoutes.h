// The workbench's own routes: "/api/options" (the options file) and the
// single-tab guard, "/api/ping" and "/api/release". The cookie is checked
// by the pipeline before these run.
#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

#include "server/HttpTypes.h"

namespace mirelon {

class TConsoleLog;

// The owner of the workbench: the first tab to ping, until more than 15
// whole seconds pass without its ping or it releases the workbench.
class TClientGuard {
 public:
  using TClock = std::function<std::chrono::steady_clock::time_point()>;
  TClientGuard(TConsoleLog& Log, std::function<int()> StoppingMinutes,
               TClock Now = std::chrono::steady_clock::now);

  TReply HandlePing(const TRequest& Request);
  TReply HandleRelease(const TRequest& Request);
  // At every server start: no owner, no heartbeat.
  void Reset();

 private:
  TConsoleLog& FLog;
  std::function<int()> FStoppingMinutes;
  TClock FNow;
  std::mutex FClientLock;  // no log line is written while it is held
  std::string FActiveClientId;
  std::chrono::steady_clock::time_point FLastHeartbeat{};
};

class TOptionsRoutes {
 public:
  // OptionsFile: <application data>/Mirelon/Mirelon.json
  TOptionsRoutes(TConsoleLog& Log, std::filesystem::path OptionsFile);

  TReply HandleGet(const TRequest& Request);
  TReply HandlePost(const TRequest& Request);

 private:
  // The file's text, or "{}"; logs a read failure.
  std::string ReadOptions();
  // Empty when written; else the failure's message, already logged.
  std::optional<std::string> WriteOptions(const std::string& JsonText);

  TConsoleLog& FLog;
  std::filesystem::path FOptionsFile;
};

}  // namespace mirelon
