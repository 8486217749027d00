// The transport of the local server, on cpp-httplib: it listens on
// 127.0.0.1 only, gives every connection a thread of its own (keep-alive on,
// at most MaxConnections at once, politely refused with 503 beyond), reads
// every request with its body into a TRequest for the one handler, whatever
// the method, and sends the handler's TReply as it is (no compression, no
// ranges). Stop closes every connection at once.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>

#include "server/HttpTypes.h"

namespace mirelon {

struct THttpSettings {
  size_t MaxConnections = 256;
  size_t MaxBody = 64 * 1024 * 1024;  // bytes received; beyond: 413 {"error":"Payload too large"}
  size_t MaxHead = 64 * 1024;         // request line and headers
  std::chrono::milliseconds IdleRead{5000};          // a request that stops arriving
  std::chrono::milliseconds RequestDeadline{30000};  // a whole request, head and body
  std::chrono::milliseconds WriteTimeout{10000};     // a client that stops reading
  std::chrono::milliseconds KeepAlive{30000};        // an idle connection
  THeaderList EveryAnswer;  // header lines of every answer, the transport's own ones too
};

class THttpServer {
 public:
  // Called on the connection's thread; should not raise (what it raises is
  // answered 500 without its message).
  using THandler = std::function<TReply(const TRequest&)>;

  explicit THttpServer(THandler Handler, THttpSettings Settings = {});
  ~THttpServer();  // stops
  THttpServer(const THttpServer&) = delete;
  THttpServer& operator=(const THttpServer&) = delete;

  // Binds 127.0.0.1:Port (0: a free port chosen by the system) and listens
  // on a thread of its own. Raises mirelon::Exception with the reason (the
  // port is taken, ...) and stays inactive. Does nothing when active.
  void Start(int Port);
  // Closes the listener and every connection, then waits for their threads
  // (a handler that is still running is waited for). Does nothing when inactive.
  void Stop();
  bool Active() const;
  int BoundPort() const;  // 0 when inactive
  size_t OpenConnections() const;

 private:
  struct TImpl;
  std::unique_ptr<TImpl> FImpl;
};

}  // namespace mirelon
