#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "TestHttpsServer.h"
#include "net/HttpsClient.h"

using namespace mirelon;
using namespace mirelon::test;

namespace {

constexpr int64_t kMiB = 1048576;

class HttpsClient : public ::testing::Test {
 protected:
  static void Routes(httplib::Server& s) {
    s.Get("/hello", [](const httplib::Request&, httplib::Response& r) {
      r.set_content("bonjour \xC3\xA9t\xC3\xA9", "text/plain; charset=iso-8859-1");
    });
    s.Post("/echo", [](const httplib::Request& q, httplib::Response& r) {
      r.set_content(q.method + "|" + q.get_header_value("Content-Type") + "|" + q.get_header_value("X-Signature") +
                        "|" + q.get_header_value("User-Agent") + "|" + q.body,
                    "text/plain");
    });
    s.Get("/moved", [](const httplib::Request&, httplib::Response& r) { r.set_redirect("/hello"); });
    s.Get("/exact", [](const httplib::Request&, httplib::Response& r) {
      r.set_content(std::string(kMiB, 'a'), "text/plain");
    });
    s.Get("/announced", [](const httplib::Request&, httplib::Response& r) {
      r.set_content(std::string(2 * kMiB, 'a'), "text/plain");
    });
    // Streams without Content-Length; ends after 64 MiB so that a client
    // that does not stop still ends the test.
    s.Get("/endless", [](const httplib::Request&, httplib::Response& r) {
      r.set_chunked_content_provider("text/plain", [](size_t offset, httplib::DataSink& sink) {
        static const std::string block(65536, 'b');
        if (offset >= 64 * static_cast<size_t>(kMiB)) {
          sink.done();
          return true;
        }
        return sink.write(block.data(), block.size());
      });
    });
    s.Get("/slow", [](const httplib::Request&, httplib::Response& r) {
      for (int i = 0; i < 300 && !Released; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
      r.set_content("late", "text/plain");
    });
  }

  static void SetUpTestSuite() { Server = new TTestHttpsServer(Routes); }
  static void TearDownTestSuite() {
    Released = true;
    delete Server;
  }
  void SetUp() override { unsetenv("SSL_CERT_FILE"); }

  static THttpsClient Trusting() {
    THttpsClient c;
    c.SetCaFile(TestCertificate().CertFile);
    return c;
  }

  static inline TTestHttpsServer* Server = nullptr;
  static inline std::atomic<bool> Released = false;
};

// Runs f, which must raise EHttpsError, and returns how long it took in ms.
template <class F>
long long FailureTime(F f, std::string& message) {
  auto start = std::chrono::steady_clock::now();
  try {
    f();
    ADD_FAILURE() << "no error raised";
  } catch (const EHttpsError& e) {
    message = e.what();
  }
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
}

TEST_F(HttpsClient, AnswersGiveStatusHeadersAndBody) {
  THttpsResponse r = Trusting().Get(Server->Url("/hello"));
  EXPECT_EQ(r.StatusCode, 200);
  EXPECT_EQ(r.StatusText, "OK");
  EXPECT_EQ(r.Body, "bonjour \xC3\xA9t\xC3\xA9");
  EXPECT_EQ(r.Text(), u"bonjour été");  // UTF-8 whatever the declared charset
  EXPECT_EQ(r.Header("content-TYPE"), "text/plain; charset=iso-8859-1");
  EXPECT_EQ(r.Header("X-Absent"), "");
  EXPECT_FALSE(r.TooLarge);

  THttpsResponse missing = Trusting().Get(Server->Url("/absent"));  // any answer is not an error
  EXPECT_EQ(missing.StatusCode, 404);
  EXPECT_EQ(missing.StatusText, "Not Found");
}

TEST_F(HttpsClient, PostSendsBodyTypeHeadersAndUserAgent) {
  THttpsClient c = Trusting();
  c.AddHeader("X-Signature", "abc123");
  c.SetUserAgent("MirelonUpdater/1.0");
  c.RestrictToTls12And13();
  THttpsResponse r = c.Post(Server->Url("/echo"), "{}", "application/json");
  EXPECT_EQ(r.StatusCode, 200);
  EXPECT_EQ(r.Body, "POST|application/json|abc123|MirelonUpdater/1.0|{}");
}

TEST_F(HttpsClient, RedirectsFollowedOrReturned) {
  THttpsResponse followed = Trusting().Get(Server->Url("/moved"));
  EXPECT_EQ(followed.StatusCode, 200);
  EXPECT_EQ(followed.Body, "bonjour \xC3\xA9t\xC3\xA9");

  THttpsClient c = Trusting();
  c.SetFollowRedirects(false);
  THttpsResponse kept = c.Get(Server->Url("/moved"));
  EXPECT_EQ(kept.StatusCode, 302);
  EXPECT_EQ(kept.Header("Location"), "/hello");
}

TEST_F(HttpsClient, BodyCapStopsTheTransfer) {
  THttpsClient c = Trusting();
  c.SetBodyLimit(kMiB);

  THttpsResponse exact = c.Get(Server->Url("/exact"));  // the cap itself is allowed
  EXPECT_FALSE(exact.TooLarge);
  EXPECT_EQ(exact.Body.size(), static_cast<size_t>(kMiB));

  THttpsResponse announced = c.Get(Server->Url("/announced"));  // refused on its headers
  EXPECT_TRUE(announced.TooLarge);
  EXPECT_EQ(announced.AnnouncedLength, 2 * kMiB);
  EXPECT_EQ(announced.ReceivedBytes, 0);

  THttpsResponse endless = c.Get(Server->Url("/endless"));
  EXPECT_TRUE(endless.TooLarge);
  EXPECT_EQ(endless.AnnouncedLength, -1);
  EXPECT_GT(endless.ReceivedBytes, kMiB);
  EXPECT_LT(endless.ReceivedBytes, kMiB + 256 * 1024);
  EXPECT_LE(endless.Body.size(), static_cast<size_t>(kMiB));
}

TEST_F(HttpsClient, CertificatesAreVerified) {
  std::string message;
  FailureTime([] { THttpsClient().Get(Server->Url("/hello")); }, message);  // not in the system's bundle
  EXPECT_NE(message.find("certificat"), std::string::npos) << message;

  setenv("SSL_CERT_FILE", TestCertificate().CertFile.c_str(), 1);
  EXPECT_EQ(THttpsClient().Get(Server->Url("/hello")).StatusCode, 200);
  unsetenv("SSL_CERT_FILE");
}

TEST_F(HttpsClient, NoAnswerRaisesWithinTheTimeOuts) {
  std::string message;
  TSilentListener silent;  // connects, never shakes hands
  long long ms = FailureTime(
      [&] {
        THttpsClient c = Trusting();
        c.SetTimeouts(300, 300);
        c.Get("https://127.0.0.1:" + std::to_string(silent.Port()) + "/");
      },
      message);
  EXPECT_LT(ms, 2000);
  EXPECT_NE(message.find("délai d'attente dépassé"), std::string::npos) << message;

  ms = FailureTime(
      [] {
        THttpsClient c = Trusting();
        c.SetTimeouts(300, 300);
        c.Get(Server->Url("/slow"));  // connects, answers too late
      },
      message);
  EXPECT_LT(ms, 2000);
  EXPECT_NE(message.find("délai d'attente dépassé"), std::string::npos) << message;
}

// A cancel check stops a request that is waiting on a silent peer long
// before its time-outs, whether the peer never shakes hands or never answers.
TEST_F(HttpsClient, CancelCheckStopsAWaitingRequestPromptly) {
  TSilentListener silent;
  for (std::string url : {"https://127.0.0.1:" + std::to_string(silent.Port()) + "/", Server->Url("/slow")}) {
    std::atomic<bool> cancel = false;
    std::thread canceller([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(150));
      cancel = true;
    });
    std::string message;
    long long ms = FailureTime(
        [&] {
          THttpsClient c = Trusting();
          c.SetCancelCheck([&] { return cancel.load(); });
          c.Get(url);
        },
        message);
    canceller.join();
    EXPECT_GE(ms, 150) << url;
    EXPECT_LT(ms, 500) << url;
    EXPECT_NE(message.find("requête annulée"), std::string::npos) << message;
  }

  // A check that answers false changes nothing.
  THttpsClient c = Trusting();
  c.SetCancelCheck([] { return false; });
  EXPECT_EQ(c.Get(Server->Url("/hello")).Body, "bonjour \xC3\xA9t\xC3\xA9");
}

TEST_F(HttpsClient, UnreachableOrRefusedAddressesRaise) {
  std::string message;
  FailureTime([] { Trusting().Get("https://127.0.0.1:" + std::to_string(ClosedPort()) + "/"); }, message);
  EXPECT_NE(message.find("connexion impossible"), std::string::npos) << message;

  // Only https is spoken.
  FailureTime([] { Trusting().Get("http://127.0.0.1:" + std::to_string(Server->Port()) + "/hello"); }, message);
  EXPECT_NE(message.find("adresse invalide"), std::string::npos) << message;
  FailureTime([] { Trusting().Get("pas une adresse"); }, message);
  EXPECT_FALSE(message.empty());
}

}  // namespace
