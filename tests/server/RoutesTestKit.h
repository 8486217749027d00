// Helpers of the route tests: requests built in one line, the log as a list
// of lines and generous waits (a loaded 2-core machine
// can be slow, and a wait that ends early costs nothing).
#pragma once

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "log/ConsoleLog.h"
#include "server/HttpTypes.h"
#include "storage/StorageTestKit.h"  // TTempDir, ReadBytes, WriteBytes, Names

namespace mirelon::test {

namespace fs = std::filesystem;

// A POST whose declared length is the body's own, unless told otherwise
// (-1: no Content-Length, as with a chunked body).
inline TRequest Post(std::string Body, int64_t ContentLength = -2) {
  TRequest Request;
  Request.Method = "POST";
  Request.ContentType = "application/json";
  Request.ContentLength = ContentLength == -2 ? static_cast<int64_t>(Body.size()) : ContentLength;
  Request.Body = std::move(Body);
  return Request;
}

inline TRequest Get(THeaderList Query = {}, THeaderList Headers = {}) {
  TRequest Request;
  Request.Method = "GET";
  Request.Query = std::move(Query);
  Request.Headers = std::move(Headers);
  return Request;
}

// Every line logged, in order; lines may come from several threads.
class TLogLines {
 public:
  TLogLines() {
    FLog.AddSink([this](const std::string& Line) {
      std::lock_guard<std::mutex> Guard(FLock);
      FLines.push_back(Line);
    });
  }
  TConsoleLog& Log() { return FLog; }
  std::vector<std::string> Lines() const {
    std::lock_guard<std::mutex> Guard(FLock);
    return FLines;
  }
  // The lines logged so far, then forgotten.
  std::vector<std::string> Take() {
    std::lock_guard<std::mutex> Guard(FLock);
    return std::exchange(FLines, {});
  }

 private:
  TConsoleLog FLog;
  mutable std::mutex FLock;
  std::vector<std::string> FLines;
};

// Polls Condition until it holds or 20 s have passed.
inline bool Eventually(const std::function<bool()>& Condition) {
  const auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!Condition()) {
    if (std::chrono::steady_clock::now() > Deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

}  // namespace mirelon::test
