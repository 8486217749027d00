// The minify cache, its log lines, gzip and the fallback to the stored file,
// on made-up resources (and once on the embedded ones).
#include "server/StaticAssets.h"

#include <gtest/gtest.h>

#include <locale>
#include <thread>

#include "GzipTestUtil.h"
#include "core/Errors.h"
#include "minify/Minify.h"
#include "resources/Resources.h"

namespace mirelon::test {
namespace {

class StaticAssets : public ::testing::Test {
 protected:
  std::map<std::string, std::string, std::less<>> Files = {
      {"APP_JS", "var  a  =  1 ;  // one\nvar  b  =  2 ;"},  // 37 -> 16
      {"APP_CSS", "a  {  color : red ;  }"},                  // 22 -> 12
      {"EMPTY_JS", ""},
      {"BAD_JS", "var s = '\xC3(';"},
      {"ICON", std::string("\0\x01\xFF", 3)},
  };
  std::vector<std::string> Lines;
  std::mutex LinesLock;
  TStaticAssets::TSteps Steps = TStaticAssets::RealSteps();

  void SetUp() override {
    Steps.Find = [this](std::string_view name) -> std::optional<std::string_view> {
      auto found = Files.find(name);
      if (found == Files.end()) return std::nullopt;
      return found->second;
    };
  }

  TStaticAssets Make() {
    return TStaticAssets(
        [this](const std::string& line) {
          std::lock_guard lock(LinesLock);
          Lines.push_back(line);
        },
        Steps);
  }
};

TEST_F(StaticAssets, FirstUseLogsTheSizesThenTheCacheAnswers) {
  TStaticAssets assets = Make();
  const TBytes first = assets.GetMinifiedJs("APP_JS");
  EXPECT_EQ(*first, "var a=1;var b=2;");
  const TBytes second = assets.GetMinifiedJs("APP_JS");
  EXPECT_EQ(second, first);  // the stored bytes themselves
  EXPECT_EQ(*assets.GetMinifiedCss("APP_CSS"), "a{color:red}");
  EXPECT_EQ(Lines, (std::vector<std::string>{
                       "# Minify APP_JS : 37 -> 16 octets (-56.8%)",
                       "# Minify APP_JS : depuis le cache (16 octets)",
                       "# Minify APP_CSS : 22 -> 12 octets (-45.5%)",
                   }));
}

TEST_F(StaticAssets, EmptyResourceHasNoPercentage) {
  TStaticAssets assets = Make();
  EXPECT_EQ(*assets.GetMinifiedJs("EMPTY_JS"), "");
  EXPECT_EQ(Lines, std::vector<std::string>{"# Minify EMPTY_JS : 0 -> 0 octets"});
}

// A locale whose decimal separator is a comma.
struct TCommaDecimals : std::numpunct<char> {
  char do_decimal_point() const override { return ','; }
};

TEST_F(StaticAssets, PercentageUsesAPointWhateverTheLocale) {
  const std::locale previous = std::locale::global(std::locale(std::locale::classic(), new TCommaDecimals));
  Files["THIRD_JS"] = "a  b";  // 4 -> 3: 25.0
  TStaticAssets assets = Make();
  assets.GetMinifiedJs("THIRD_JS");
  std::locale::global(previous);
  EXPECT_EQ(Lines, std::vector<std::string>{"# Minify THIRD_JS : 4 -> 3 octets (-25.0%)"});
}

TEST_F(StaticAssets, PlainAnswerWithoutAcceptEncoding) {
  TStaticAssets assets = Make();
  for (std::string_view accept : {"", "deflate, br", "gzi p"}) {
    const TStaticReply js = assets.ServeJs("APP_JS", accept);
    EXPECT_EQ(js.ContentType, "application/javascript; charset=utf-8");
    EXPECT_EQ(js.Body, "var a=1;var b=2;");
    EXPECT_FALSE(js.Gzipped) << accept;
  }
  const TStaticReply css = assets.ServeCss("APP_CSS", "");
  EXPECT_EQ(css.ContentType, "text/css; charset=utf-8");
  EXPECT_EQ(css.Body, "a{color:red}");
  for (const std::string& line : Lines) EXPECT_EQ(line.find("# Gzip"), std::string::npos) << line;
}

TEST_F(StaticAssets, GzipInAnyLetterCaseEveryRequestLogged) {
  TStaticAssets assets = Make();
  std::vector<std::string> bodies;
  for (std::string_view accept : {"deflate, GZIP", "gzip", "br;q=1, GzIp;q=0.5"}) {
    const TStaticReply reply = assets.ServeJs("APP_JS", accept);
    EXPECT_TRUE(reply.Gzipped) << accept;
    EXPECT_EQ(reply.ContentType, "application/javascript; charset=utf-8");
    EXPECT_EQ(Gunzip(reply.Body), "var a=1;var b=2;");
    bodies.push_back(reply.Body);
  }
  EXPECT_EQ(bodies[1], bodies[0]);
  const std::string gzipLine = "# Gzip APP_JS : 16 -> " + std::to_string(bodies[0].size()) + " octets";
  EXPECT_EQ(Lines, (std::vector<std::string>{"# Minify APP_JS : 37 -> 16 octets (-56.8%)", gzipLine,
                                             "# Minify APP_JS : depuis le cache (16 octets)", gzipLine,
                                             "# Minify APP_JS : depuis le cache (16 octets)", gzipLine}));
}

TEST_F(StaticAssets, FailingMinifierSendsTheStoredFileAndCachesNothing) {
  int calls = 0;
  Steps.MinifyCss = [&calls](std::string_view) -> std::string {
    ++calls;
    throw std::runtime_error("panne");
  };
  TStaticAssets assets = Make();
  for (int i = 0; i < 2; ++i) {
    const TStaticReply reply = assets.ServeCss("APP_CSS", "gzip");
    EXPECT_EQ(reply.Body, Files["APP_CSS"]);
    EXPECT_FALSE(reply.Gzipped);
    EXPECT_EQ(reply.ContentType, "text/css; charset=utf-8");
  }
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(Lines, (std::vector<std::string>(2, "# Service CSS échoué (APP_CSS) : panne — envoi brut.")));
}

TEST_F(StaticAssets, FailingCompressionSendsTheStoredFileUncompressed) {
  Steps.Gzip = [](std::string_view) -> std::string { throw Exception(u"zlib en panne"); };
  TStaticAssets assets = Make();
  const TStaticReply reply = assets.ServeJs("APP_JS", "gzip");
  EXPECT_EQ(reply.Body, Files["APP_JS"]);
  EXPECT_FALSE(reply.Gzipped);
  EXPECT_EQ(Lines.back(), "# Service JS échoué (APP_JS) : zlib en panne — envoi brut.");
  // The minified form was kept; a client without gzip gets it.
  EXPECT_EQ(assets.ServeJs("APP_JS", "").Body, "var a=1;var b=2;");
}

TEST_F(StaticAssets, InvalidUtf8FallsBackWithTheMinifiersMessage) {
  TStaticAssets assets = Make();
  const TStaticReply reply = assets.ServeJs("BAD_JS", "");
  EXPECT_EQ(reply.Body, Files["BAD_JS"]);
  EXPECT_EQ(Lines, std::vector<std::string>{"# Service JS échoué (BAD_JS) : UTF-8 invalide à l'octet 9 — envoi brut."});
}

TEST_F(StaticAssets, MissingResourceRaisesAfterTheFallbackLine) {
  TStaticAssets assets = Make();
  try {
    assets.ServeJs("NONE_JS", "gzip");
    ADD_FAILURE() << "no error";
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(), "Ressource introuvable : NONE_JS");
  }
  EXPECT_EQ(Lines, std::vector<std::string>{
                       "# Service JS échoué (NONE_JS) : Ressource introuvable : NONE_JS — envoi brut."});
  EXPECT_THROW(assets.ServeResource("NONE", "image/x-icon"), Exception);
}

TEST_F(StaticAssets, StoredResourceBytesAndCharsetRules) {
  TStaticAssets assets = Make();
  const TStaticReply icon = assets.ServeResource("ICON", "image/x-icon");
  EXPECT_EQ(icon.Body, Files["ICON"]);
  EXPECT_EQ(icon.ContentType, "image/x-icon");
  EXPECT_FALSE(icon.Gzipped);
  EXPECT_TRUE(Lines.empty());

  EXPECT_EQ(WithCharset("image/svg+xml"), "image/svg+xml");
  EXPECT_EQ(WithCharset("text/html"), "text/html; charset=utf-8");
  EXPECT_EQ(WithCharset("text/html; charset=utf-8"), "text/html; charset=utf-8");
  EXPECT_EQ(WithCharset("text/plain; charset=iso-8859-1"), "text/plain; charset=iso-8859-1");
  EXPECT_EQ(WithCharset("application/javascript"), "application/javascript; charset=utf-8");
  EXPECT_EQ(WithCharset("application/json"), "application/json; charset=utf-8");
  EXPECT_EQ(WithCharset("Text/html"), "Text/html");  // "text/" in exact case only
}

TEST(AcceptEncoding, GzipAnywhereInAnyCase) {
  for (const char* yes : {"gzip", "GZIP", "deflate, gZiP", "x-gzip", "gzip;q=0"}) EXPECT_TRUE(AcceptsGzip(yes)) << yes;
  for (const char* no : {"", "gzi", "deflate", "br, identity", "g zip"}) EXPECT_FALSE(AcceptsGzip(no)) << no;
}

TEST_F(StaticAssets, ConcurrentFirstRequestsAgreeOnTheBytes) {
  TStaticAssets assets = Make();
  std::vector<std::thread> threads;
  std::vector<std::string> bodies(8);
  for (int t = 0; t < 8; ++t)
    threads.emplace_back([&assets, &bodies, t] {
      for (int i = 0; i < 50; ++i) bodies[t] = assets.ServeJs("APP_JS", i % 2 ? "gzip" : "").Body;
    });
  for (std::thread& thread : threads) thread.join();
  for (const std::string& body : bodies) EXPECT_EQ(Gunzip(body), "var a=1;var b=2;");
  size_t minified = 0, cached = 0;
  for (const std::string& line : Lines) {
    minified += line == "# Minify APP_JS : 37 -> 16 octets (-56.8%)";
    cached += line == "# Minify APP_JS : depuis le cache (16 octets)";
  }
  EXPECT_GE(minified, 1u);
  EXPECT_EQ(minified + cached, 400u);
}

TEST(StaticAssetsEmbedded, EveryScriptAndStyleSheetIsServedMinified) {
  TStaticAssets assets([](const std::string&) {});
  for (const char* name : {"AUTH_JS", "HELP_JS", "EMOJI_JS", "ICONS_JS", "APP_JS"}) {
    const TStaticReply reply = assets.ServeJs(name, "gzip");
    ASSERT_TRUE(reply.Gzipped) << name;
    EXPECT_EQ(Gunzip(reply.Body), MinifyJsResource(*FindResource(name))) << name;
  }
  for (const char* name : {"FONTS_CSS", "APP_CSS"})
    EXPECT_EQ(assets.ServeCss(name, "").Body, MinifyCssResource(*FindResource(name))) << name;
}

}  // namespace
}  // namespace mirelon::test
