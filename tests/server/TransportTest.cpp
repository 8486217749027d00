// The transport under load and abuse: the body cap counted as bytes arrive,
// the connection cap, clients that stall, malformed input, and a stop that
// does not wait for anyone.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "ServerTestKit.h"
#include "core/Errors.h"

namespace mirelon::test {
namespace {

using namespace std::chrono_literals;
using TClock = std::chrono::steady_clock;

std::string Head(const std::string& RequestLine, int Port, const std::string& More = "") {
  return RequestLine + "\r\nHost: 127.0.0.1:" + std::to_string(Port) + "\r\nCookie: mirelon_session=" + kToken +
         "\r\n" + More + "\r\n";
}

THttpSettings Small() {
  THttpSettings Settings;
  Settings.MaxBody = 1000;
  Settings.MaxConnections = 4;
  Settings.IdleRead = 300ms;
  Settings.RequestDeadline = 1000ms;
  return Settings;
}

TEST(Transport, ABodyUpToTheCapIsHandedOverWhole) {
  TTestServer Server(Small());
  auto Client = Server.Client();
  auto Answer = Client->Post("/api/execute", Server.WithCookie(), std::string(1000, 'x'), "text/plain");
  ASSERT_TRUE(Answer);
  EXPECT_EQ(Answer->body, "execute:1000");
}

TEST(Transport, ADeclaredLengthOverTheCapIs413AndTheConnectionCloses) {
  TTestServer Server(Small());
  TRawClient Raw(Server.Port());
  Raw.Send(Head("POST /api/execute HTTP/1.1", Server.Port(), "Content-Length: 1001\r\n") + std::string(1001, 'x'));
  const std::string Answer = Raw.ReadAnswer();
  EXPECT_EQ(RawStatus(Answer), 413);
  EXPECT_NE(Answer.find(R"({"error":"Payload too large"})"), std::string::npos);
  EXPECT_NE(Answer.find("X-Frame-Options: DENY"), std::string::npos);
  EXPECT_NE(Answer.find("Connection: close"), std::string::npos);
  EXPECT_TRUE(Raw.ClosedWithin(2000));
}

TEST(Transport, AChunkedBodyIsCountedAsItArrives) {
  TTestServer Server(Small());
  TRawClient Fits(Server.Port());
  Fits.Send(Head("POST /api/execute HTTP/1.1", Server.Port(), "Transfer-Encoding: chunked\r\n") +
            "1f4\r\n" + std::string(500, 'a') + "\r\n1F4;ext=1\r\n" + std::string(500, 'b') + "\r\n0\r\n\r\n");
  EXPECT_NE(Fits.ReadAnswer().find("execute:1000"), std::string::npos);
  // Small chunks that add up past the cap, the declared length of none of them too large.
  TRawClient Over(Server.Port());
  std::string Chunks;
  for (int I = 0; I < 11; ++I) Chunks += "64\r\n" + std::string(100, 'c') + "\r\n";
  Over.Send(Head("POST /api/execute HTTP/1.1", Server.Port(), "Transfer-Encoding: chunked\r\n") + Chunks + "0\r\n\r\n");
  const std::string Answer = Over.ReadAnswer();
  EXPECT_EQ(RawStatus(Answer), 413);
  EXPECT_NE(Answer.find(R"({"error":"Payload too large"})"), std::string::npos);
}

TEST(Transport, TheRealCapIs64MiB) {
  TTestServer Server;
  auto Client = Server.Client();
  auto Fits = Client->Post("/api/execute", Server.WithCookie(), std::string(64 << 20, 'x'), "text/plain");
  ASSERT_TRUE(Fits);
  EXPECT_EQ(Fits->body, "execute:" + std::to_string(64 << 20));
  auto Over = Client->Post("/api/execute", Server.WithCookie(), std::string((64 << 20) + 1, 'x'), "text/plain");
  ASSERT_TRUE(Over);
  EXPECT_EQ(Over->status, 413);
}

// A compressed body is not inflated: a small one never becomes a huge one.
TEST(Transport, AContentEncodingIsPassedOnNotUndone) {
  TTestServer Server(Small());
  TRawClient Raw(Server.Port());
  Raw.Send(Head("POST /api/execute HTTP/1.1", Server.Port(), "Content-Encoding: gzip\r\nContent-Length: 3\r\n") + "abc");
  EXPECT_NE(Raw.ReadAnswer().find("execute:3"), std::string::npos);
}

TEST(Transport, AMalformedBodyFramingIs400AndClosesTheConnection) {
  TTestServer Server(Small());
  for (const std::string& Framing : {std::string("Content-Length: abc\r\n"), std::string("Content-Length: 5\r\nContent-Length: 6\r\n"),
                                     std::string("Transfer-Encoding: gzip\r\n")}) {
    TRawClient Raw(Server.Port());
    Raw.Send(Head("POST /api/execute HTTP/1.1", Server.Port(), Framing) + "hello");
    EXPECT_EQ(RawStatus(Raw.ReadAnswer()), 400) << Framing;
    EXPECT_TRUE(Raw.ClosedWithin(2000)) << Framing;
  }
}

TEST(Transport, AMalformedRequestLineIsAnsweredWithTheSecurityHeaders) {
  TTestServer Server(Small());
  for (const std::string Line : {"GARBAGE", "GET / HTTP/9.9", "BREW /pot HTTP/1.1", "GET  HTTP/1.1"}) {
    TRawClient Raw(Server.Port());
    Raw.Send(Line + "\r\n\r\n");
    const std::string Answer = Raw.ReadAll(2000);
    EXPECT_EQ(RawStatus(Answer), 400) << Line;
    EXPECT_NE(Answer.find("X-Content-Type-Options: nosniff"), std::string::npos) << Line;
  }
  auto Client = Server.Client();
  EXPECT_EQ(Client->Get("/api/ping", Server.WithCookie())->body, "ping");
}

TEST(Transport, AHugeHeadIsCutOffAndTheServerGoesOn) {
  TTestServer Server(Small());
  TRawClient Raw(Server.Port());
  std::string Headers;
  for (int I = 0; I < 200; ++I) Headers += "X-Filler-" + std::to_string(I) + ": " + std::string(1000, 'f') + "\r\n";
  Raw.Send(Head("GET /api/ping HTTP/1.1", Server.Port(), Headers));
  EXPECT_TRUE(Raw.ClosedWithin(3000));
  EXPECT_EQ(Server.Client()->Get("/api/ping", Server.WithCookie())->body, "ping");
}

TEST(Transport, ASlowOrHalfSentRequestHoldsUpNoOneAndTimesOut) {
  THttpSettings Settings = Small();
  Settings.IdleRead = 1500ms;
  Settings.RequestDeadline = 2500ms;
  TTestServer Server(Settings);
  TRawClient Stalled(Server.Port());
  Stalled.Send("POST /api/execute HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(Server.Port()) + "\r\nContent-Length: 10\r\n\r\nabc");
  TRawClient Dripping(Server.Port());
  Dripping.Send("GET /api/pi");
  const auto Start = TClock::now();
  EXPECT_EQ(Server.Client()->Get("/api/ping", Server.WithCookie())->body, "ping");
  // Well before either stalled request times out.
  EXPECT_LT(TClock::now() - Start, 1000ms);
  // A client that keeps sending a byte now and then still meets the request's deadline.
  bool Closed = false;
  for (int I = 0; I < 30 && !Closed; ++I) {
    Dripping.Send("n");
    Closed = Dripping.ClosedWithin(200);
  }
  EXPECT_TRUE(Closed);
  EXPECT_TRUE(Stalled.ClosedWithin(2000));
}

TEST(Transport, BeyondTheConnectionCapA503IsSentAndRoomComesBack) {
  TTestServer Server(Small());
  std::vector<std::unique_ptr<TRawClient>> Held;
  for (int I = 0; I < 4; ++I) {
    Held.push_back(std::make_unique<TRawClient>(Server.Port()));
    Held.back()->Send(Head("GET /api/ping HTTP/1.1", Server.Port()));
    EXPECT_EQ(RawStatus(Held.back()->ReadAnswer()), 200);
  }
  TRawClient Refused(Server.Port());
  Refused.Send(Head("GET /api/ping HTTP/1.1", Server.Port()));
  const std::string Answer = Refused.ReadAll();
  EXPECT_EQ(RawStatus(Answer), 503);
  EXPECT_NE(Answer.find("X-Frame-Options: DENY"), std::string::npos);
  Held.pop_back();
  for (int Try = 0; Try < 100 && Server.Server().OpenConnections() == 4; ++Try) std::this_thread::sleep_for(10ms);
  EXPECT_EQ(Server.Client()->Get("/api/ping", Server.WithCookie())->status, 200);
}

TEST(Transport, OneConnectionCarriesManyRequestsAndPipelinedOnes) {
  TTestServer Server;
  TRawClient Raw(Server.Port());
  Raw.Send(Head("GET /api/ping HTTP/1.1", Server.Port()) + Head("POST /api/execute HTTP/1.1", Server.Port(), "Content-Length: 3\r\n") +
           "abc" + Head("GET /api/options HTTP/1.1", Server.Port()));
  EXPECT_NE(Raw.ReadAnswer().find("ping"), std::string::npos);
  EXPECT_NE(Raw.ReadAnswer().find("execute:3"), std::string::npos);
  EXPECT_NE(Raw.ReadAnswer().find("get options"), std::string::npos);
  EXPECT_EQ(Server.Server().OpenConnections(), 1u);
}

TEST(Transport, StopClosesIdleAndHalfSentConnectionsAtOnce) {
  TTestServer Server;
  std::vector<std::unique_ptr<TRawClient>> Clients;
  for (int I = 0; I < 20; ++I) {
    Clients.push_back(std::make_unique<TRawClient>(Server.Port()));
    Clients.back()->Send(I % 2 ? Head("GET /api/ping HTTP/1.1", Server.Port()) : "GET /api/pi");
  }
  for (int Try = 0; Try < 100 && Server.Server().OpenConnections() < 20; ++Try) std::this_thread::sleep_for(10ms);
  const auto Start = TClock::now();
  Server.Server().Stop();
  // Far less than the idle wait (5 s) or the keep-alive (30 s) these connections would otherwise get.
  EXPECT_LT(TClock::now() - Start, 1000ms);
  EXPECT_FALSE(Server.Server().Active());
  for (auto& Client : Clients) EXPECT_TRUE(Client->ClosedWithin(1000));
}

TEST(Transport, ATakenPortCannotBeBoundTwice) {
  TTestServer First;
  THttpServer Second([](const TRequest&) { return TReply(); });
  try {
    Second.Start(First.Port());
    FAIL() << "bound a taken port";
  } catch (const Exception& Error) {
    EXPECT_EQ(std::string(Error.what()), "le port " + std::to_string(First.Port()) + " est déjà utilisé");
  }
  EXPECT_FALSE(Second.Active());
  // A stopped server frees its port, and starts again on it.
  const int Port = First.Port();
  First.Server().Stop();
  Second.Start(Port);
  EXPECT_TRUE(Second.Active());
}

}  // namespace
}  // namespace mirelon::test
