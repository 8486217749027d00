#include "TestHttpsServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509v3.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>

namespace mirelon::test {

namespace {

void Check(bool ok, const char* what) {
  if (!ok) throw std::runtime_error(std::string("test certificate: ") + what);
}

void AddExtension(X509* cert, int nid, const char* value) {
  X509V3_CTX ctx;
  X509V3_set_ctx_nodb(&ctx);
  X509V3_set_ctx(&ctx, cert, cert, nullptr, nullptr, 0);
  X509_EXTENSION* ext = X509V3_EXT_conf_nid(nullptr, &ctx, nid, value);
  Check(ext && X509_add_ext(cert, ext, -1), "extension");
  X509_EXTENSION_free(ext);
}

template <class Write>
void WritePem(const std::string& path, Write write) {
  std::unique_ptr<BIO, decltype(&BIO_free)> bio(BIO_new_file(path.c_str(), "w"), BIO_free);
  Check(bio && write(bio.get()), "write");
}

TTestCertificate MakeCertificate() {
  char dirTemplate[] = "/tmp/mirelon-tls-XXXXXX";
  Check(mkdtemp(dirTemplate) != nullptr, "temporary folder");
  std::string dir = dirTemplate;

  std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)> key(EVP_EC_gen("P-256"), EVP_PKEY_free);
  std::unique_ptr<X509, decltype(&X509_free)> cert(X509_new(), X509_free);
  Check(key && cert, "allocation");
  X509* x = cert.get();
  X509_set_version(x, 2);
  ASN1_INTEGER_set(X509_get_serialNumber(x), 1);
  X509_gmtime_adj(X509_getm_notBefore(x), -3600);
  X509_gmtime_adj(X509_getm_notAfter(x), 7 * 86400);
  X509_set_pubkey(x, key.get());
  X509_NAME* name = X509_get_subject_name(x);
  X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>("127.0.0.1"), -1, -1, 0);
  X509_set_issuer_name(x, name);
  AddExtension(x, NID_basic_constraints, "critical,CA:TRUE");
  AddExtension(x, NID_subject_key_identifier, "hash");
  AddExtension(x, NID_subject_alt_name, "IP:127.0.0.1,DNS:localhost");
  Check(X509_sign(x, key.get(), EVP_sha256()) > 0, "signature");

  TTestCertificate c{dir + "/cert.pem", dir + "/key.pem"};
  WritePem(c.CertFile, [&](BIO* b) { return PEM_write_bio_X509(b, x) == 1; });
  WritePem(c.KeyFile, [&](BIO* b) {
    return PEM_write_bio_PrivateKey(b, key.get(), nullptr, nullptr, 0, nullptr, nullptr) == 1;
  });
  return c;
}

// A socket bound to 127.0.0.1 on a port the system chooses; returns the port.
int BindLoopback(int fd) {
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) throw std::runtime_error("bind");
  socklen_t len = sizeof a;
  getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
  return ntohs(a.sin_port);
}

}  // namespace

const TTestCertificate& TestCertificate() {
  static const TTestCertificate c = MakeCertificate();
  return c;
}

TTestHttpsServer::TTestHttpsServer(const std::function<void(httplib::Server&)>& routes)
    : FServer(TestCertificate().CertFile.c_str(), TestCertificate().KeyFile.c_str()) {
  routes(FServer);
  FPort = FServer.bind_to_any_port("127.0.0.1");
  if (FPort <= 0) throw std::runtime_error("test server: bind");
  FThread = std::thread([this] { FServer.listen_after_bind(); });
  while (!FServer.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

TTestHttpsServer::~TTestHttpsServer() {
  FServer.stop();
  FThread.join();
}

std::string TTestHttpsServer::Url(const std::string& path) const {
  return "https://127.0.0.1:" + std::to_string(FPort) + path;
}

TSilentListener::TSilentListener() : FSocket(socket(AF_INET, SOCK_STREAM, 0)) {
  FPort = BindLoopback(FSocket);
  listen(FSocket, 8);  // the kernel completes the handshakes; nobody ever reads or writes
}

TSilentListener::~TSilentListener() { close(FSocket); }

int ClosedPort() {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  int port = BindLoopback(fd);
  close(fd);
  return port;
}

}  // namespace mirelon::test
