#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "UpdateTestService.h"
#include "update/UpdateCheck.h"
#include "update/UpdateManager.h"

using namespace mirelon;
using namespace mirelon::test;

namespace {

const std::u16string kNoAnswer = u"# Le serveur ne répond pas !";
const std::u16string kNoUpdate = u"# Aucune mise à jour n'est disponible.";

std::u16string NewVersion(std::u16string_view v) {
  return u"# La version " + std::u16string(v) + u" est maintenant disponible en téléchargement.";
}

// A service whose version endpoint answers body to every request.
std::function<void(httplib::Server&)> Answering(std::string body) {
  return [body](httplib::Server& s) {
    s.Get("/includes/update.php",
          [body](const httplib::Request&, httplib::Response& r) { r.set_content(body, "text/plain"); });
  };
}

struct TCheck {
  std::u16string Line;
  std::vector<std::string> Trace;
};

TCheck Check(const std::string& base, TVersionNumber current) {
  TCheck c;
  TUpdateManager manager(base, current);
  manager.SetTrace([&](const std::string& line) { c.Trace.push_back(line); });
  c.Line = UpdateCheckLine(manager);
  return c;
}

TEST(UpdateCheck, TheAnnouncedVersionAgainstOurs) {
  struct TCase {
    std::string Answer;
    TVersionNumber Current;
    std::u16string Line;
  };
  const TCase cases[] = {
      {"2.8", {2, 7}, NewVersion(u"2.8")},
      {"2.7", {2, 7}, kNoUpdate},
      {"2.6", {2, 7}, kNoUpdate},
      {"2.10", {2, 9}, NewVersion(u"2.10")},
      {"3", {2, 7}, NewVersion(u"3.0")},
      {"3", {3, 0}, kNoUpdate},
      {"1.9", {2, 0}, kNoUpdate},
      {"2.7.5", {2, 7}, kNoUpdate},
      {" \r\n2.8\n", {2, 7}, NewVersion(u"2.8")},
      {"\xEF\xBB\xBF" "2.8", {2, 7}, NewVersion(u"2.8")},
      {"", {2, 7}, kNoUpdate},
      {"pas un numéro", {2, 7}, kNoUpdate},
  };
  for (const TCase& c : cases) {
    TUpdateService service(Answering(c.Answer));
    TCheck check = Check(service.Base(), c.Current);
    EXPECT_EQ(check.Line, c.Line) << c.Answer;
    ASSERT_EQ(check.Trace.size(), 1u) << c.Answer;
    EXPECT_EQ(check.Trace[0], "Update check: 200 OK  Location=");
  }
}

TEST(UpdateCheck, TheProbeSeesTheRedirectAndTheVersionRequestFollowsIt) {
  std::atomic<int> probes = 0;
  std::string elsewhere;
  TUpdateService service([&](httplib::Server& s) {
    s.Get("/includes/update.php", [&](const httplib::Request& q, httplib::Response& r) {
      if (q.get_header_value("User-Agent") == "MirelonUpdater/1.0") ++probes;
      r.set_redirect(elsewhere);
    });
    s.Get("/ailleurs/version.txt",
          [](const httplib::Request&, httplib::Response& r) { r.set_content("2.8", "text/plain"); });
  });
  elsewhere = service.Base() + "/ailleurs/version.txt";
  TCheck check = Check(service.Base(), {2, 7});
  EXPECT_EQ(check.Line, NewVersion(u"2.8"));
  EXPECT_EQ(probes, 1);
  ASSERT_EQ(check.Trace.size(), 1u);
  EXPECT_EQ(check.Trace[0], "Update check: 302 Found  Location=" + elsewhere);
}

TEST(UpdateCheck, NoAnswerFromTheService) {
  TUpdateService service([](httplib::Server& s) {
    s.Get("/includes/update.php", [](const httplib::Request&, httplib::Response& r) {
      r.status = 404;
      r.set_content("2.8", "text/plain");
    });
  });
  TCheck check = Check(service.Base(), {2, 7});  // a status of 400 or more
  EXPECT_EQ(check.Line, kNoAnswer);
  EXPECT_EQ(check.Trace, std::vector<std::string>{"Update check: 404 Not Found  Location="});

  check = Check(LocalBase(ClosedPort()), {2, 7});  // nothing listens
  EXPECT_EQ(check.Line, kNoAnswer);
  ASSERT_EQ(check.Trace.size(), 1u);
  EXPECT_EQ(check.Trace[0].rfind("Update check exception: EHttpsError - connexion impossible", 0), 0u)
      << check.Trace[0];

  check = Check("", {2, 7});  // without the service: nothing is sent
  EXPECT_EQ(check.Line, kNoAnswer);
  EXPECT_TRUE(check.Trace.empty());
}

TEST(UpdateCheck, TheVersionRequestsOwnFailuresBecomeTheLine) {
  // The probe is answered; the version request gets an error page, a body
  // far longer than a version, or is sent where nothing listens.
  int closed = ClosedPort();
  TUpdateService service([&](httplib::Server& s) {
    auto probeThen = [](std::function<void(httplib::Response&)> answer) {
      return [answer](const httplib::Request& q, httplib::Response& r) {
        if (q.get_header_value("User-Agent") == "MirelonUpdater/1.0") return r.set_content("ok", "text/plain");
        answer(r);
      };
    };
    s.Get("/erreur/includes/update.php", probeThen([](httplib::Response& r) {
            r.status = 500;
            r.set_content("9", "text/plain");  // an error page is not a version
          }));
    s.Get("/long/includes/update.php",
          probeThen([](httplib::Response& r) { r.set_content("2.8" + std::string(5000, ' '), "text/plain"); }));
    s.Get("/ferme/includes/update.php", probeThen([closed](httplib::Response& r) {
            r.set_redirect("https://127.0.0.1:" + std::to_string(closed) + "/");
          }));
  });
  EXPECT_EQ(Check(service.Base() + "/erreur", {2, 7}).Line, kNoUpdate);
  EXPECT_EQ(Check(service.Base() + "/long", {2, 7}).Line, u"# Réponse trop longue du serveur de mises à jour.");
  std::u16string line = Check(service.Base() + "/ferme", {2, 7}).Line;
  EXPECT_EQ(line.rfind(u"# connexion impossible", 0), 0u) << Utf16ToUtf8(line);
}

TEST(UpdateCheck, CheckForUpdatesAlwaysRaisesItsOutcome) {
  TUpdateService service(Answering("2.8"));
  TUpdateManager newer(service.Base(), {2, 7});
  newer.SetTrace([](const std::string&) {});
  EXPECT_THROW(newer.CheckForUpdates(), EUpdate);
  TUpdateManager same(service.Base(), {2, 8});
  same.SetTrace([](const std::string&) {});
  try {
    same.CheckForUpdates();
  } catch (const EUpdate&) {
    ADD_FAILURE() << "no update is not an update outcome";
  } catch (const Exception& e) {
    EXPECT_EQ(u"# " + e.Message(), kNoUpdate);
  }
}

// The background check as start-up uses it.
class BackgroundUpdateCheck : public ::testing::Test {
 protected:
  TBackgroundUpdateCheck::TLineCallback Collect() {
    return [this](const std::u16string& line) {
      std::lock_guard<std::mutex> lock(FLock);
      FLines.push_back(line);
      FArrived.notify_all();
    };
  }
  std::vector<std::u16string> WaitForLine() {
    std::unique_lock<std::mutex> lock(FLock);
    FArrived.wait_for(lock, std::chrono::seconds(10), [this] { return !FLines.empty(); });
    return FLines;
  }
  std::vector<std::u16string> Lines() {
    std::lock_guard<std::mutex> lock(FLock);
    return FLines;
  }

 private:
  std::mutex FLock;
  std::condition_variable FArrived;
  std::vector<std::u16string> FLines;
};

TEST_F(BackgroundUpdateCheck, DeliversItsOneLineWhenItEnds) {
  TUpdateService service(Answering("2.8"));
  TBackgroundUpdateCheck check(service.Base(), Collect(), {2, 7});
  EXPECT_EQ(WaitForLine(), std::vector<std::u16string>{NewVersion(u"2.8")});
  EXPECT_TRUE(WaitUntil([&] { return !check.Running(); }, 1000));
  EXPECT_EQ(Lines().size(), 1u);

  TBackgroundUpdateCheck offline("", Collect(), {2, 7});
  ASSERT_TRUE(WaitUntil([&] { return Lines().size() == 2; }, 5000));
  EXPECT_EQ(Lines().back(), kNoAnswer);
}

// The stop is timed with a wide margin: the check comes every 50 ms, but
// the test machine may be loaded or sanitized.
TEST_F(BackgroundUpdateCheck, AServiceThatNeverAnswersHoldsUpNeitherStartNorStop) {
  LoadHttpsClient();
  std::atomic<bool> released = false;
  TUpdateService stalling([&](httplib::Server& s) {
    s.Get("/includes/update.php", [&](const httplib::Request& q, httplib::Response& r) {
      for (int i = 0; i < 500 && !released && q.get_header_value("User-Agent") != "MirelonUpdater/1.0"; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
      r.set_content("2.8", "text/plain");
    });
  });
  TSilentListener silent;  // accepts, never shakes hands
  std::unique_ptr<TBackgroundUpdateCheck> check;
  EXPECT_LT(Elapsed([&] { check = std::make_unique<TBackgroundUpdateCheck>(LocalBase(silent.Port()), Collect()); }),
            100);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_TRUE(check->Running());
  EXPECT_LT(Elapsed([&] { check.reset(); }), 500);
  EXPECT_TRUE(Lines().empty());  // a stopped check has nothing to say

  // The same when the service answers the probe and then stalls.
  check = std::make_unique<TBackgroundUpdateCheck>(stalling.Base(), Collect(), TVersionNumber{2, 7});
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_TRUE(check->Running());
  EXPECT_LT(Elapsed([&] { check.reset(); }), 500);
  released = true;
  EXPECT_TRUE(Lines().empty());
}

}  // namespace
