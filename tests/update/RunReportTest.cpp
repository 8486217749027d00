#include <gtest/gtest.h>

#include <openssl/core_names.h>
#include <openssl/evp.h>

#include <atomic>
#include <ctime>
#include <mutex>

#include "UpdateTestService.h"
#include "update/RunReport.h"

using namespace mirelon;
using namespace mirelon::test;

namespace {

std::string Hex(const unsigned char* bytes, size_t n) {
  static const char kDigits[] = "0123456789abcdef";
  std::string s;
  for (size_t i = 0; i < n; ++i) s += {kDigits[bytes[i] >> 4], kDigits[bytes[i] & 15]};
  return s;
}

// HMAC-SHA256 through OpenSSL's EVP_MAC interface, apart from the code
// under test.
std::string ReferenceHmac(std::string_view key, std::string_view message) {
  EVP_MAC* mac = EVP_MAC_fetch(nullptr, "HMAC", nullptr);
  EVP_MAC_CTX* ctx = EVP_MAC_CTX_new(mac);
  char digest[] = "SHA256";
  OSSL_PARAM params[] = {OSSL_PARAM_construct_utf8_string(OSSL_MAC_PARAM_DIGEST, digest, 0), OSSL_PARAM_END};
  unsigned char out[32];
  size_t length = 0;
  EVP_MAC_init(ctx, reinterpret_cast<const unsigned char*>(key.data()), key.size(), params);
  EVP_MAC_update(ctx, reinterpret_cast<const unsigned char*>(message.data()), message.size());
  EVP_MAC_final(ctx, out, &length, sizeof out);
  EVP_MAC_CTX_free(ctx);
  EVP_MAC_free(mac);
  return Hex(out, length);
}

TEST(RunReportSignature, MatchesTheHmacTestVectors) {
  // RFC 4231, test cases 1, 2 and 6 (a key longer than a block is hashed first).
  EXPECT_EQ(HmacSha256Hex(std::string(20, '\x0b'), "Hi There"),
            "b0344c61d8db38535ca8afceaf0bf12b881dc200c9833da726e9376c2e32cff7");
  EXPECT_EQ(HmacSha256Hex("Jefe", "what do ya want for nothing?"),
            "5bdcc146bf60754e6a042426089575c75a003f089d2739839dec58b964ec3843");
  EXPECT_EQ(HmacSha256Hex(std::string(131, '\xaa'), "Test Using Larger Than Block-Size Key - Hash Key First"),
            "60e431591ee0b67f0d8a26aacbf5b77f8e0bc6213728c5140546040f0ee37f54");
}

TEST(RunReportSignature, TheKeyIsItsSixtyFourCharacters) {
  std::string_view key = RunCounterKey();
  ASSERT_EQ(key.size(), 64u);
  EXPECT_EQ(key.find_first_not_of("0123456789abcdef"), std::string_view::npos);
  // Used as 64 ASCII bytes, exactly a block, not as the 32 bytes they encode.
  const std::string ours = "00112233445566778899aabbccddeeff00112233445566778899aabbccddeeff";
  EXPECT_EQ(HmacSha256Hex(ours, "1700000000"), ReferenceHmac(ours, "1700000000"));
  EXPECT_NE(HmacSha256Hex(ours, "1700000000"), HmacSha256Hex(std::string(32, '\x11'), "1700000000"));
}

// A counting service that records the reports it gets.
class RunReport : public ::testing::Test {
 protected:
  static constexpr const char* kKey = "0123456789abcdef0123456789abcdef0123456789abcdef0123456789abcdef";

  struct TReceived {
    std::string Method, Path, ContentType, Timestamp, Signature, Body;
  };

  std::function<void(httplib::Server&)> Routes() {
    return [this](httplib::Server& s) {
      auto record = [this](const httplib::Request& q, httplib::Response& r) {
        {
          std::lock_guard<std::mutex> lock(FLock);
          FReceived.push_back({q.method, q.path, q.get_header_value("Content-Type"), q.get_header_value("X-Timestamp"),
                               q.get_header_value("X-Signature"), q.body});
        }
        for (int i = 0; i < 300 && FHold; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        r.set_content(std::string(100000, 'x'), "text/plain");  // nobody reads it
      };
      s.Post("/includes/api_run.php", record);
      s.Get("/includes/api_run.php", record);
    };
  }
  std::vector<TReceived> Received() {
    std::lock_guard<std::mutex> lock(FLock);
    return FReceived;
  }
  std::atomic<bool> FHold = false;

 private:
  std::mutex FLock;
  std::vector<TReceived> FReceived;
};

TEST_F(RunReport, OneSignedPostOfAnEmptyObject) {
  TUpdateService service(Routes());
  long long before = std::time(nullptr);
  TRunReporter reporter(service.Base(), kKey);
  ASSERT_TRUE(reporter.PingRunCounter());
  ASSERT_TRUE(WaitUntil([&] { return !reporter.InFlight(); }, 10000));
  long long after = std::time(nullptr);

  std::vector<TReceived> got = Received();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].Method, "POST");
  EXPECT_EQ(got[0].Path, "/includes/api_run.php");
  EXPECT_EQ(got[0].ContentType, "application/json");
  EXPECT_EQ(got[0].Body, "{}");
  ASSERT_FALSE(got[0].Timestamp.empty());
  EXPECT_EQ(got[0].Timestamp.find_first_not_of("0123456789"), std::string::npos) << got[0].Timestamp;
  long long stamp = std::stoll(got[0].Timestamp);
  EXPECT_GE(stamp, before);
  EXPECT_LE(stamp, after);
  EXPECT_EQ(got[0].Signature, ReferenceHmac(kKey, got[0].Timestamp));
}

TEST_F(RunReport, AtMostOneReportInFlight) {
  TUpdateService service(Routes());
  TRunReporter reporter(service.Base(), kKey);
  FHold = true;
  ASSERT_TRUE(reporter.PingRunCounter());
  ASSERT_TRUE(WaitUntil([&] { return Received().size() == 1; }, 10000));
  EXPECT_FALSE(reporter.PingRunCounter());  // skipped, not queued
  EXPECT_FALSE(reporter.PingRunCounter());
  FHold = false;
  ASSERT_TRUE(WaitUntil([&] { return !reporter.InFlight(); }, 10000));
  EXPECT_TRUE(reporter.PingRunCounter());  // the next run reports again
  ASSERT_TRUE(WaitUntil([&] { return !reporter.InFlight(); }, 10000));
  EXPECT_EQ(Received().size(), 2u);
}

TEST_F(RunReport, NothingIsSentWithoutAConnectionOrAService) {
  TUpdateService service(Routes());
  std::string asked;
  TRunReporter unconnected(service.Base(), kKey, [&](const std::string& url) {
    asked = url;
    return false;
  });
  EXPECT_TRUE(unconnected.PingRunCounter());
  EXPECT_TRUE(WaitUntil([&] { return !unconnected.InFlight(); }, 5000));
  EXPECT_EQ(asked, service.Base());

  TRunReporter offline("", kKey);
  EXPECT_FALSE(offline.PingRunCounter());

  TRunReporter stopped(service.Base(), kKey);
  stopped.Stop();
  EXPECT_FALSE(stopped.PingRunCounter());
  EXPECT_TRUE(Received().empty());
}

TEST_F(RunReport, FailuresEndTheReportSilently) {
  TRunReporter refused(LocalBase(ClosedPort()), kKey);
  EXPECT_TRUE(refused.PingRunCounter());
  EXPECT_TRUE(WaitUntil([&] { return !refused.InFlight(); }, 5000));
  EXPECT_TRUE(refused.PingRunCounter());  // and the next one still goes

  unsetenv("SSL_CERT_FILE");  // a certificate that is not trusted
  TTestHttpsServer untrusted(Routes());
  TRunReporter refusedCertificate(LocalBase(untrusted.Port()), kKey);
  EXPECT_TRUE(refusedCertificate.PingRunCounter());
  EXPECT_TRUE(WaitUntil([&] { return !refusedCertificate.InFlight(); }, 5000));
  EXPECT_TRUE(Received().empty());
}

// The stop is timed with a wide margin: the check comes every 50 ms, but
// the test machine may be loaded or sanitized.
TEST_F(RunReport, ShutDownNeverWaitsForASilentService) {
  LoadHttpsClient();
  TUpdateService service(Routes());
  TSilentListener silent;  // accepts, never shakes hands
  auto reporter = std::make_unique<TRunReporter>(LocalBase(silent.Port()), kKey);
  EXPECT_LT(Elapsed([&] { EXPECT_TRUE(reporter->PingRunCounter()); }), 100);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_TRUE(reporter->InFlight());
  EXPECT_LT(Elapsed([&] { reporter.reset(); }), 500);

  // Nor for one that takes the report and never answers.
  FHold = true;
  reporter = std::make_unique<TRunReporter>(service.Base(), kKey);
  reporter->PingRunCounter();
  ASSERT_TRUE(WaitUntil([&] { return Received().size() == 1; }, 10000));
  EXPECT_LT(Elapsed([&] { reporter.reset(); }), 500);
  FHold = false;  // lets the service stop
}

}  // namespace
