// Real HTTPS servers on the loopback interface for the network tests: a
// cpp-httplib SSL server with a key and self-signed certificate made at test
// time, a listener that never answers, and a port where nothing listens.
#pragma once

#ifndef CPPHTTPLIB_OPENSSL_SUPPORT
#define CPPHTTPLIB_OPENSSL_SUPPORT
#endif
#include <httplib.h>

#include <functional>
#include <string>
#include <thread>

namespace mirelon::test {

// The certificate (its own CA, valid for 127.0.0.1 and localhost) and its
// key, made once per test process in a temporary folder.
struct TTestCertificate {
  std::string CertFile;
  std::string KeyFile;
};
const TTestCertificate& TestCertificate();

// An HTTPS server on 127.0.0.1 and a free port, serving the routes that the
// set-up function registers, until destroyed.
class TTestHttpsServer {
 public:
  explicit TTestHttpsServer(const std::function<void(httplib::Server&)>& routes);
  ~TTestHttpsServer();
  std::string Url(const std::string& path) const;
  int Port() const { return FPort; }

 private:
  httplib::SSLServer FServer;
  std::thread FThread;
  int FPort = 0;
};

// A TCP listener that accepts connections and never sends a byte.
class TSilentListener {
 public:
  TSilentListener();
  ~TSilentListener();
  int Port() const { return FPort; }

 private:
  int FSocket = -1;
  int FPort = 0;
};

// A loopback port on which nothing listens (connections are refused).
int ClosedPort();

}  // namespace mirelon::test
