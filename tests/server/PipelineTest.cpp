// The request pipeline over loopback: the order of its routes, the token
// and the cookie, the checks that come before any route, its answers and
// its log lines.
#include <gtest/gtest.h>

#include "ServerTestKit.h"

namespace mirelon::test {
namespace {

class Pipeline : public ::testing::Test {
 protected:
  TTestServer Server;
  std::unique_ptr<httplib::Client> Client = Server.Client();

  httplib::Result Get(const std::string& Path, httplib::Headers Headers = {}) { return Client->Get(Path, Headers); }
  httplib::Result Post(const std::string& Path, httplib::Headers Headers = {}, const std::string& Body = "{}") {
    return Client->Post(Path, Headers, Body, "application/json");
  }
  httplib::Headers Cookie() const { return Server.WithCookie(); }
};

void ExpectSecurityHeaders(const httplib::Result& Answer) {
  ASSERT_TRUE(Answer);
  EXPECT_EQ(Answer->get_header_value("X-Content-Type-Options"), "nosniff");
  EXPECT_EQ(Answer->get_header_value("X-Frame-Options"), "DENY");
  EXPECT_EQ(Answer->get_header_value("Referrer-Policy"), "no-referrer");
  EXPECT_EQ(Answer->get_header_value_count("X-Frame-Options"), 1u);
}

TEST_F(Pipeline, TheTokenRouteSetsTheCookieAndCanBeUsedAgain) {
  for (int Round = 0; Round < 2; ++Round) {
    auto Answer = Get("/auth?token=" + kToken);
    ASSERT_TRUE(Answer);
    EXPECT_EQ(Answer->status, 302);
    EXPECT_EQ(Answer->get_header_value("Location"), "/");
    EXPECT_EQ(Answer->get_header_value("Set-Cookie"),
              "mirelon_session=" + kToken + "; Path=/; HttpOnly; SameSite=Lax");
    ExpectSecurityHeaders(Answer);
  }
  EXPECT_TRUE(Server.LogHas("# Auth OK → cookie posé, redirection /"));
}

TEST_F(Pipeline, AWrongEmptyOrShortTokenIsRefused) {
  std::string OneChanged = kToken;
  OneChanged[40] = 'b';
  for (const std::string& Query : std::vector<std::string>{"/auth", "/auth?token=", "/auth?token=" + OneChanged,
                                   "/auth?token=" + kToken.substr(1), "/AUTH?token=" + kToken + "a"}) {
    auto Answer = Get(Query);
    ASSERT_TRUE(Answer) << Query;
    EXPECT_EQ(Answer->status, 403) << Query;
    EXPECT_EQ(Answer->body, R"({"error":"Token invalide"})");
    EXPECT_EQ(Answer->get_header_value("Content-Type"), "application/json; charset=utf-8");
    EXPECT_FALSE(Answer->has_header("Set-Cookie"));
  }
  EXPECT_TRUE(Server.LogHas("# Auth refusée (token invalide)"));
}

TEST_F(Pipeline, PingAndReleaseHaveTheirOwnUnauthenticatedAnswer) {
  auto Ping = Get("/api/ping");
  ASSERT_TRUE(Ping);
  EXPECT_EQ(Ping->status, 401);
  EXPECT_EQ(Ping->body, R"({"error":"Non authentifi\u00E9"})");
  auto Release = Post("/api/release");
  ASSERT_TRUE(Release);
  EXPECT_EQ(Release->status, 401);
  EXPECT_EQ(Release->body, Ping->body);
  EXPECT_EQ(Get("/API/PING", Cookie())->body, "ping");
  EXPECT_EQ(Post("/api/Release", Cookie())->body, "release");
}

TEST_F(Pipeline, PingsAreNotCountedEvenInCapitals) {
  Get("/api/ping", Cookie());
  Get("/API/PING", Cookie());
  EXPECT_EQ(Server.Counters().Read().Requests, 0);
  Get("/api/options", Cookie());
  EXPECT_EQ(Server.Counters().Read().Requests, 1);
  // The log drops "GET /api/ping" in exact case only.
  const std::vector<std::string> Lines = Server.TakeLog();
  EXPECT_EQ(std::count(Lines.begin(), Lines.end(), "$ Requête : GET /API/PING  CT=  Len=-1"), 1);
  for (const std::string& Line : Lines) EXPECT_EQ(Line.find("GET /api/ping"), std::string::npos) << Line;
}

TEST_F(Pipeline, WithoutTheCookieAnUnknownPathIs401AndWithItIs404) {
  auto Refused = Get("/nothing/here");
  ASSERT_TRUE(Refused);
  EXPECT_EQ(Refused->status, 401);
  EXPECT_EQ(Refused->body, R"({"error":"Session invalide. Relance Mirelon."})");
  EXPECT_TRUE(Server.LogHas("# Accès refusé (cookie de session absent ou invalide)"));
  auto Missing = Get("/nothing/here", Cookie());
  ASSERT_TRUE(Missing);
  EXPECT_EQ(Missing->status, 404);
  EXPECT_EQ(Missing->body, "Not found");
  EXPECT_EQ(Missing->get_header_value("Content-Type"), "text/plain; charset=utf-8");
  ExpectSecurityHeaders(Missing);
  EXPECT_TRUE(Server.LogHas("404 : GET /nothing/here"));
  EXPECT_EQ(Get("/nothing", Server.WithCookie(kToken.substr(1) + "b"))->status, 401);
}

TEST_F(Pipeline, EachApiRouteAnswersOnlyItsMethod) {
  struct TCase {
    std::string Method, Path, Body;
  };
  for (const TCase& Case : std::vector<TCase>{{"GET", "/api/options", "get options"},
                                              {"POST", "/api/options", "post options"},
                                              {"GET", "/api/projects/list", "projects list"},
                                              {"POST", "/api/projects/save", "projects save"},
                                              {"POST", "/API/Projects/REM", "projects rem"},
                                              {"POST", "/api/projects/del", "projects del"},
                                              {"POST", "/api/projects/load", "projects load"},
                                              {"POST", "/api/execute", "execute:2"},
                                              {"POST", "/api/analyze", "analyze"},
                                              {"POST", "/api/projects/list", "Not found"},
                                              {"GET", "/api/projects/save", "Not found"},
                                              {"GET", "/api/execute", "Not found"},
                                              {"PUT", "/api/options", "Not found"},
                                              {"DELETE", "/api/execute", "Not found"}}) {
    auto Answer = Case.Method == "GET" ? Get(Case.Path, Cookie())
                  : Case.Method == "POST"
                      ? Post(Case.Path, Cookie())
                      : (Case.Method == "PUT" ? Client->Put(Case.Path, Cookie(), "{}", "application/json")
                                              : Client->Delete(Case.Path, Cookie(), "{}", "application/json"));
    ASSERT_TRUE(Answer) << Case.Path;
    EXPECT_EQ(Answer->body, Case.Body) << Case.Method << " " << Case.Path;
  }
}

TEST_F(Pipeline, OptionsOnAnyPathIs204WithoutTheCookieNorCorsHeaders) {
  auto Answer = Client->Options("/api/execute");
  ASSERT_TRUE(Answer);
  EXPECT_EQ(Answer->status, 204);
  EXPECT_EQ(Answer->body, "");
  EXPECT_FALSE(Answer->has_header("Access-Control-Allow-Origin"));
  ExpectSecurityHeaders(Answer);
}

TEST_F(Pipeline, HeadReachesTheCookieCheckAndThen404) {
  auto Refused = Client->Head("/");
  ASSERT_TRUE(Refused);
  EXPECT_EQ(Refused->status, 401);
  auto Missing = Client->Head("/app.html", Cookie());
  ASSERT_TRUE(Missing);
  EXPECT_EQ(Missing->status, 404);
  EXPECT_EQ(Missing->body, "");
  ExpectSecurityHeaders(Missing);
}

TEST_F(Pipeline, AnErrorInARouteIs500WithItsMessageAsText) {
  auto Answer = Post("/api/abort", Cookie());
  ASSERT_TRUE(Answer);
  EXPECT_EQ(Answer->status, 500);
  EXPECT_EQ(Answer->body, "la route a échoué");
  EXPECT_EQ(Answer->get_header_value("Content-Type"), "text/plain; charset=utf-8");
  ExpectSecurityHeaders(Answer);
  // The server goes on answering on the same connection.
  EXPECT_EQ(Get("/api/options", Cookie())->body, "get options");
}

TEST_F(Pipeline, TheRequestTraceHasItsExactSpacing) {
  Post("/api/execute", Cookie(), "12345");
  EXPECT_TRUE(Server.LogHas("$ Requête : POST /api/execute  CT=application/json  Len=5"));
}

TEST_F(Pipeline, OutsideTextCannotForgeALogLine) {
  Get("/x%0A%23%20Serveur%20d%C3%A9marr%C3%A9%01", Cookie());
  const std::vector<std::string> Lines = Server.TakeLog();
  ASSERT_FALSE(Lines.empty());
  EXPECT_EQ(Lines.front(), "$ Requête : GET /x\\n# Serveur démarré\\u0001  CT=  Len=-1");
  for (const std::string& Line : Lines) EXPECT_EQ(Line.find('\n'), std::string::npos);
}

TEST_F(Pipeline, TheWorkbenchFilesAreServedWithTheirTypesAndNoStore) {
  struct TCase {
    std::string Path, ContentType;
  };
  for (const TCase& Case : std::vector<TCase>{{"/", "text/html; charset=utf-8"},
                                              {"/APP.HTML", "text/html; charset=utf-8"},
                                              {"/fonts.css", "text/css; charset=utf-8"},
                                              {"/pattern.svg", "image/svg+xml"},
                                              {"/favicon.ico", "image/x-icon"},
                                              {"/Auth.js", "application/javascript; charset=utf-8"},
                                              {"/background.svg", "image/svg+xml"}}) {
    auto Answer = Get(Case.Path);
    ASSERT_TRUE(Answer) << Case.Path;
    EXPECT_EQ(Answer->status, 200) << Case.Path;
    EXPECT_EQ(Answer->get_header_value("Content-Type"), Case.ContentType) << Case.Path;
    EXPECT_EQ(Answer->get_header_value("Cache-Control"), "no-store") << Case.Path;
    EXPECT_FALSE(Answer->body.empty()) << Case.Path;
    ExpectSecurityHeaders(Answer);
  }
  EXPECT_TRUE(Server.LogHas("$ Serve static : /APP.HTML"));
  EXPECT_TRUE(Server.LogHas("$ Réponse : STATIC -> 200  CT=text/html  TextLen=0"));
  // "/" must be exact: two slashes are no file, and need the cookie.
  EXPECT_EQ(Get("//")->status, 401);
}

TEST_F(Pipeline, TheWorkbenchScriptNeedsTheSession) {
  auto Refused = Get("/app.js");
  ASSERT_TRUE(Refused);
  EXPECT_EQ(Refused->status, 401);
  EXPECT_EQ(Refused->body, R"({"error":"Session invalide. Relance Mirelon."})");
  EXPECT_EQ(Refused->get_header_value("Cache-Control"), "no-store");
  EXPECT_TRUE(Server.LogHas("$ Réponse : STATIC -> 401  CT=application/json  TextLen=46"));
  auto Script = Get("/app.js", Cookie());
  ASSERT_TRUE(Script);
  EXPECT_EQ(Script->status, 200);
  EXPECT_EQ(Script->get_header_value("Content-Type"), "application/javascript; charset=utf-8");
}

TEST_F(Pipeline, ScriptsAreCompressedOnlyBySelfAndOnlyWhenAccepted) {
  auto Plain = Get("/help.js");
  auto Compressed = Get("/help.js", {{"Accept-Encoding", "gzip"}});
  ASSERT_TRUE(Plain && Compressed);
  EXPECT_FALSE(Plain->has_header("Content-Encoding"));
  EXPECT_EQ(Compressed->get_header_value("Content-Encoding"), "gzip");
  EXPECT_EQ(Compressed->get_header_value_count("Content-Encoding"), 1u);
  EXPECT_EQ(Compressed->get_header_value("Vary"), "Accept-Encoding");
  // Answers that are not workbench scripts are never compressed, whatever the client accepts.
  auto Text = Get("/nothing", {{"Accept-Encoding", "gzip, br"}, {"Cookie", "mirelon_session=" + kToken}});
  ASSERT_TRUE(Text);
  EXPECT_FALSE(Text->has_header("Content-Encoding"));
  EXPECT_EQ(Text->body, "Not found");
}

TEST_F(Pipeline, ARangeHeaderDoesNotCutTheAnswer) {
  auto Whole = Get("/app.html");
  auto Ranged = Get("/app.html", {{"Range", "bytes=0-9"}});
  ASSERT_TRUE(Whole && Ranged);
  EXPECT_EQ(Ranged->status, 200);
  EXPECT_EQ(Ranged->body, Whole->body);
  EXPECT_FALSE(Ranged->has_header("Content-Range"));
}

// What a page of another site, or a rebound DNS name, could send.
TEST_F(Pipeline, AForeignHostIsRefusedBeforeAnyRoute) {
  const std::string Port = std::to_string(Server.Port());
  for (const std::string& Host : std::vector<std::string>{"evil.example:" + Port, "localhost", "localhost:1", "127.0.0.2:" + Port,
                                  "localhost:" + Port + ".evil.example"}) {
    auto Answer = Client->Options("/", {{"Host", Host}});
    ASSERT_TRUE(Answer) << Host;
    EXPECT_EQ(Answer->status, 403) << Host;
    EXPECT_EQ(Answer->body, R"({"error":"H\u00F4te refus\u00E9"})");
    ExpectSecurityHeaders(Answer);
  }
  EXPECT_EQ(Client->Options("/", {{"Host", "LocalHost:" + Port}})->status, 204);
  EXPECT_EQ(Client->Options("/", {{"Host", "127.0.0.1:" + Port}})->status, 204);
}

TEST_F(Pipeline, APostFromAnotherOriginIsRefused) {
  const std::string Port = std::to_string(Server.Port());
  httplib::Headers Foreign = Cookie();
  Foreign.emplace("Origin", "http://localhost:" + std::to_string(Server.Port() + 1));
  auto Refused = Post("/api/execute", Foreign);
  ASSERT_TRUE(Refused);
  EXPECT_EQ(Refused->status, 403);
  EXPECT_EQ(Refused->body, R"({"error":"Origine refus\u00E9e"})");
  for (const std::string& Origin : std::vector<std::string>{"null", "https://localhost:" + Port, "http://evil.example"}) {
    httplib::Headers Headers = Cookie();
    Headers.emplace("Origin", Origin);
    EXPECT_EQ(Post("/api/execute", Headers)->status, 403) << Origin;
  }
  httplib::Headers Own = Cookie();
  Own.emplace("Origin", "http://127.0.0.1:" + Port);
  EXPECT_EQ(Post("/api/execute", Own)->status, 200);
}

TEST_F(Pipeline, ARequestMarkedFromAnotherSiteCannotReachTheApiNorTheScript) {
  for (const char* Site : {"cross-site", "same-site"}) {
    httplib::Headers Headers = Cookie();
    Headers.emplace("Sec-Fetch-Site", Site);
    EXPECT_EQ(Get("/api/options", Headers)->status, 403) << Site;
    EXPECT_EQ(Get("/app.js", Headers)->status, 403) << Site;
    // The page itself may be linked to from anywhere.
    EXPECT_EQ(Get("/", Headers)->status, 200) << Site;
  }
  httplib::Headers Own = Cookie();
  Own.emplace("Sec-Fetch-Site", "same-origin");
  EXPECT_EQ(Get("/api/options", Own)->status, 200);
}

}  // namespace
}  // namespace mirelon::test
