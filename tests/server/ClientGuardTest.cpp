// The single-tab guard on a clock of its own: the first tab owns the
// workbench until it releases it or stays silent more than 15 whole seconds.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "RoutesTestKit.h"
#include "server/ClientRoutes.h"

using namespace mirelon;
using namespace mirelon::test;
using namespace std::chrono_literals;

namespace {

constexpr const char* kAccepted = R"({"ok":true,"stoppingMinutes":2})";
constexpr const char* kRefused = R"({"error":"already_open"})";
constexpr const char* kRefusedLine = "# Accès refusé : interface déjà ouverte dans un autre onglet.";

class ClientGuardTest : public ::testing::Test {
 protected:
  TReply Ping(const std::string& Id) { return Guard.HandlePing(Get({{"instanceId", Id}})); }
  // The body of a ping, after checking its status against that body.
  std::string PingBody(const std::string& Id) {
    const TReply Reply = Ping(Id);
    EXPECT_EQ(Reply.Status, Reply.Body == kAccepted ? 200 : 409) << Reply.Body;
    EXPECT_EQ(Reply.FullContentType(), "application/json; charset=utf-8");
    return Reply.Body;
  }
  TReply Release(THeaderList Query, THeaderList Headers = {}) {
    TRequest Request = Post("");
    Request.Query = std::move(Query);
    Request.Headers = std::move(Headers);
    return Guard.HandleRelease(Request);
  }

  TLogLines Lines;
  int Minutes = 2;
  std::chrono::steady_clock::time_point Now{std::chrono::hours(1000)};
  TClientGuard Guard{Lines.Log(), [this] { return Minutes; }, [this] { return Now; }};
};

TEST_F(ClientGuardTest, TheFirstTabOwnsTheWorkbenchUntilItReleasesIt) {
  EXPECT_EQ(PingBody("A"), kAccepted);
  EXPECT_EQ(PingBody("A"), kAccepted);
  EXPECT_EQ(PingBody("B"), kRefused);
  EXPECT_EQ(Lines.Take(), std::vector<std::string>{kRefusedLine});
  const TReply Released = Release({{"instanceId", "A"}});
  EXPECT_EQ(Released.Status, 204);
  EXPECT_TRUE(Released.Body.empty());
  EXPECT_TRUE(Released.ContentType.empty());
  EXPECT_EQ(PingBody("B"), kAccepted);
  EXPECT_EQ(PingBody("A"), kRefused);
  EXPECT_TRUE(Eventually([&] { return Lines.Lines().size() == 1; }));  // accepted pings log nothing

  Minutes = 7;  // read at each ping
  EXPECT_EQ(Ping("B").Body, R"({"ok":true,"stoppingMinutes":7})");
}

TEST_F(ClientGuardTest, AnOwnerSilentForMoreThan15WholeSecondsExpires) {
  EXPECT_EQ(PingBody("A"), kAccepted);
  Now += 15s;
  EXPECT_EQ(PingBody("B"), kRefused);
  Now += 999ms;  // 15.999 s: still 15 whole seconds
  EXPECT_EQ(PingBody("B"), kRefused);
  EXPECT_EQ(PingBody("A"), kAccepted);  // a ping of the owner starts the count again
  Now += 15999ms;
  EXPECT_EQ(PingBody("B"), kRefused);
  Now += 1ms;  // 16 s after A's last ping
  EXPECT_EQ(PingBody("B"), kAccepted);
  EXPECT_EQ(PingBody("A"), kRefused);
  // Refused pings do not keep the workbench: only the owner's count.
  Now += 16s;
  EXPECT_EQ(PingBody("A"), kAccepted);
}

TEST_F(ClientGuardTest, OnlyTheOwnersOwnIdReleasesTheWorkbench) {
  EXPECT_EQ(PingBody("abc"), kAccepted);
  for (const THeaderList& Query : {THeaderList{}, THeaderList{{"instanceId", ""}}, THeaderList{{"instanceId", "ABC"}},
                                   THeaderList{{"instanceId", "B"}}})
    EXPECT_EQ(Release(Query).Status, 204);
  EXPECT_EQ(Release({}, {{"X-Mirelon-Instance", "abc"}}).Status, 204);  // the header is the ping's only
  EXPECT_EQ(PingBody("ABC"), kRefused);                                 // ids differing in case are other tabs
  EXPECT_EQ(PingBody("abc"), kAccepted);
}

TEST_F(ClientGuardTest, TheHeaderNamesTheTabWhenTheQueryDoesNot) {
  const auto PingWith = [&](THeaderList Query, const std::string& Header) {
    return Guard.HandlePing(Get(std::move(Query), {{"x-mirelon-instance", Header}})).Status;
  };
  EXPECT_EQ(PingWith({}, "A"), 200);
  EXPECT_EQ(PingBody("A"), kAccepted);
  EXPECT_EQ(PingWith({{"instanceId", ""}}, "A"), 200);   // an empty parameter gives way to the header
  EXPECT_EQ(PingWith({{"instanceId", "B"}}, "A"), 409);  // a parameter wins over the header
  EXPECT_EQ(PingWith({{"instanceId", "A"}}, "B"), 200);
}

TEST_F(ClientGuardTest, APingWithoutAnIdLeavesTheWorkbenchWithoutAnOwner) {
  EXPECT_EQ(Guard.HandlePing(Get()).Status, 200);
  EXPECT_EQ(Guard.HandlePing(Get()).Status, 200);
  EXPECT_EQ(PingBody("B"), kAccepted);
  EXPECT_EQ(PingBody("C"), kRefused);
  EXPECT_EQ(Guard.HandlePing(Get()).Status, 409);  // a tab without an id is not the owner
}

TEST_F(ClientGuardTest, AServerStartForgetsTheOwner) {
  EXPECT_EQ(PingBody("A"), kAccepted);
  Guard.Reset();
  EXPECT_EQ(PingBody("B"), kAccepted);
  EXPECT_EQ(PingBody("A"), kRefused);
}

// The real clock: many tabs at once, one owner.
TEST(ClientGuardThreads, ConcurrentFirstPingsMakeExactlyOneOwner) {
  TLogLines Lines;
  TClientGuard Guard(Lines.Log(), [] { return 2; });
  std::atomic<int> Accepted{0};
  std::vector<std::thread> Tabs;
  for (int I = 0; I < 8; ++I)
    Tabs.emplace_back([&, I] {
      for (int K = 0; K < 50; ++K)
        if (Guard.HandlePing(Get({{"instanceId", "tab" + std::to_string(I)}})).Status == 200) ++Accepted;
    });
  for (auto& Tab : Tabs) Tab.join();
  EXPECT_EQ(Accepted, 50);
  EXPECT_EQ(Lines.Lines().size(), 350u);
}

}  // namespace
