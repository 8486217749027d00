// A pipeline with stand-in routes behind the real transport, on a free
// loopback port, and the clients that talk to it: httplib's for ordinary
// requests, a raw socket for what no well-behaved client sends.
#pragma once

#include <httplib.h>

#include <memory>
#include <string>
#include <vector>

#include "log/ConsoleLog.h"
#include "log/StatusCounters.h"
#include "server/HttpServer.h"
#include "server/Pipeline.h"
#include "server/StaticAssets.h"

namespace mirelon::test {

inline const std::string kToken(64, 'a');

class TTestServer {
 public:
  explicit TTestServer(THttpSettings Settings = {}, TRoutes Routes = StandInRoutes());
  ~TTestServer();

  // Each stand-in answers 200 with its own name as the body, "execute"
  // echoing the body's length ("execute:N"); "abort" raises.
  static TRoutes StandInRoutes();

  int Port() const { return FServer.BoundPort(); }
  THttpServer& Server() { return FServer; }
  TStatusCounters& Counters() { return FCounters; }
  // The log lines since the previous call.
  std::vector<std::string> TakeLog() { return FLog.TakeLines(); }
  bool LogHas(const std::string& Line);

  std::unique_ptr<httplib::Client> Client() const;
  httplib::Headers WithCookie(const std::string& Token = kToken) const;

 private:
  TConsoleLog FLog;
  TStatusCounters FCounters;
  TStaticAssets FAssets;
  TPipeline FPipeline;
  THttpServer FServer;
  std::vector<std::string> FSeen;
};

// A raw connection to 127.0.0.1:Port.
class TRawClient {
 public:
  explicit TRawClient(int Port);
  ~TRawClient();
  bool Send(const std::string& Bytes);
  // Everything until the server closes the connection or Timeout passes.
  std::string ReadAll(int TimeoutMs = 3000);
  // One answer: its head and a Content-Length body.
  std::string ReadAnswer(int TimeoutMs = 3000);
  // True when the server closed the connection within TimeoutMs; what
  // arrives meanwhile is dropped.
  bool ClosedWithin(int TimeoutMs);

 private:
  int FSocket = -1;
  std::string FPending;
};

// What an offline start on a custom port logs, from the port line to the
// storage line.
std::vector<std::string> OfflineStartUpLines(int Port, const std::string& StorageFile);

// A loopback port that was free a moment ago.
int FreePort();

// The status code of a raw answer ("HTTP/1.1 503 ..." gives 503), 0 if none.
int RawStatus(const std::string& Answer);

}  // namespace mirelon::test
