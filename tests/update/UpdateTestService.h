// The maker's service as the update tests see it: a loopback HTTPS server
// with a certificate made at test time, reached as https://localhost:PORT
// and trusted through SSL_CERT_FILE, as a real deployment would trust its own.
#pragma once

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>

#include "net/HttpsClient.h"
#include "net/TestHttpsServer.h"

namespace mirelon::test {

class TUpdateService {
 public:
  explicit TUpdateService(const std::function<void(httplib::Server&)>& routes) : FServer(routes) {
    setenv("SSL_CERT_FILE", TestCertificate().CertFile.c_str(), 1);
  }
  ~TUpdateService() { unsetenv("SSL_CERT_FILE"); }
  std::string Base() const { return "https://localhost:" + std::to_string(FServer.Port()); }

 private:
  TTestHttpsServer FServer;
};

inline std::string LocalBase(int port) { return "https://localhost:" + std::to_string(port); }

// The first request of a process loads libcurl, which no cancel check can
// shorten; tests that time a stop make it beforehand.
inline void LoadHttpsClient() {
  try {
    THttpsClient().Get("https://127.0.0.1:" + std::to_string(ClosedPort()) + "/");
  } catch (const EHttpsError&) {
  }
}

// Waits up to ms for done(); its last answer.
inline bool WaitUntil(const std::function<bool()>& done, int ms) {
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!done() && std::chrono::steady_clock::now() < end) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  return done();
}

// Milliseconds that f takes.
inline long long Elapsed(const std::function<void()>& f) {
  auto start = std::chrono::steady_clock::now();
  f();
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace mirelon::test
