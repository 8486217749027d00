// The options file through "/api/options": what is stored and how, what is
// refused, and files that cannot be read or written.
#include <gtest/gtest.h>

#include "RoutesTestKit.h"
#include "server/ClientRoutes.h"

using namespace mirelon;
using namespace mirelon::test;

namespace {

constexpr const char* kBom = "\xEF\xBB\xBF";

class OptionsRoutesTest : public ::testing::Test {
 protected:
  TReply Read() { return Routes.HandleGet(Get()); }
  TReply Write(std::string Body, int64_t ContentLength = -2) {
    return Routes.HandlePost(Post(std::move(Body), ContentLength));
  }

  TTempDir Home;
  fs::path File = Home.Path() / "config" / "Mirelon" / "Mirelon.json";  // its folders do not exist yet
  TLogLines Lines;
  TOptionsRoutes Routes{Lines.Log(), File};
};

TEST_F(OptionsRoutesTest, WithoutAFileTheOptionsAreEmpty) {
  const TReply Reply = Read();
  EXPECT_EQ(Reply.Status, 200);
  EXPECT_EQ(Reply.FullContentType(), "application/json; charset=utf-8");
  EXPECT_EQ(Reply.Body, "{}");
  EXPECT_EQ(Lines.Lines(), std::vector<std::string>{"$ API options - GET"});
}

TEST_F(OptionsRoutesTest, AnObjectIsStoredCompactAndAsciiInItsOrderAndReadBack) {
  const TReply Stored = Write(
      "{ \"fontSize\" : 14, \"darkMode\": true,\n \"nom\": \"Élève 😀\", \"lien\": \"a/b\", "
      "\"emoji\": \"\\ud83d\\ude00\", \"liste\": [1, 2.5, null, {}], \"vide\": \"\" }");
  EXPECT_EQ(Stored.Status, 200);
  EXPECT_EQ(Stored.Body, R"({"ok":true})");
  const std::string Expected = R"({"fontSize":14,"darkMode":true,"nom":"\u00C9l\u00E8ve \uD83D\uDE00","lien":"a\/b",)"
                               R"("emoji":"\uD83D\uDE00","liste":[1,2.5,null,{}],"vide":""})";
  EXPECT_EQ(ReadBytes(File), kBom + Expected);
  EXPECT_EQ(Read().Body, Expected);
  EXPECT_EQ(Lines.Lines(), (std::vector<std::string>{"$ API options - POST (enregistrées)", "$ API options - GET"}));

  EXPECT_EQ(Write("{\"fontSize\":16}").Status, 200);  // the whole object is replaced
  EXPECT_EQ(Read().Body, R"({"fontSize":16})");
  EXPECT_EQ(Names(File.parent_path()), std::set<std::string>{"Mirelon.json"});  // no temporary file left
}

TEST_F(OptionsRoutesTest, AnythingButAJsonObjectIsRefusedAndKeepsTheStoredOptions) {
  ASSERT_EQ(Write(R"({"fontSize":14})").Status, 200);
  Lines.Take();
  const std::string Deep = "{\"x\":" + std::string(512, '[') + std::string(512, ']') + "}";  // 513 levels
  for (const std::string& Body : {std::string("[1,2]"), std::string("pas du json"), std::string(""), std::string("42"),
                                  std::string("{\"a\":1"), Deep}) {
    const TReply Reply = Write(Body);
    EXPECT_EQ(Reply.Status, 400) << Body;
    EXPECT_EQ(Reply.Body, R"({"error":"JSON invalide"})");
  }
  const auto Log = Lines.Take();
  ASSERT_EQ(Log.size(), 6u);
  EXPECT_EQ(Log[0], "Erreur API options : Le corps de la requête n'est pas un objet JSON.");
  EXPECT_EQ(Log[1], "Erreur API options : JSON invalide");
  EXPECT_EQ(Read().Body, R"({"fontSize":14})");

  const std::string Deepest = "{\"x\":" + std::string(511, '[') + std::string(511, ']') + "}";  // 512 levels
  EXPECT_EQ(Write(Deepest).Status, 200);
}

TEST_F(OptionsRoutesTest, AStoredTextIsSentAsItIsUnlessItIsBlank) {
  fs::create_directories(File.parent_path());
  WriteBytes(File, std::string(kBom) + "pas du json");  // the workbench falls back to its defaults
  EXPECT_EQ(Read().Body, "pas du json");
  WriteBytes(File, " {\"a\" : 1}\r\n");
  EXPECT_EQ(Read().Body, " {\"a\" : 1}\r\n");
  for (const std::string& Blank : {std::string(""), std::string(kBom), std::string(" \t\r\n ")}) {
    WriteBytes(File, Blank);
    EXPECT_EQ(Read().Body, "{}");
  }
  WriteBytes(File, "{\"a\":\"\xFF\"}");  // invalid UTF-8 is not sent on
  EXPECT_EQ(Read().Body, "{\"a\":\"\xEF\xBF\xBD\"}");
}

TEST_F(OptionsRoutesTest, AFileThatCannotBeReadGivesEmptyOptionsAndALine) {
  fs::create_directories(File);  // a folder where the file should be
  EXPECT_EQ(Read().Body, "{}");
  const auto Log = Lines.Lines();
  ASSERT_EQ(Log.size(), 2u);
  EXPECT_TRUE(Log[0].starts_with("# Lecture options échouée : ")) << Log[0];
  EXPECT_NE(Log[0].find(File.string()), std::string::npos) << Log[0];
  EXPECT_EQ(Log[1], "$ API options - GET");
}

TEST_F(OptionsRoutesTest, AWriteThatFailsAnswers500AndKeepsTheOldFile) {
  fs::create_directories(Home.Path() / "config");
  WriteBytes(Home.Path() / "config" / "Mirelon", "un fichier, pas un dossier");
  TReply Reply = Write(R"({"a":1})");
  EXPECT_EQ(Reply.Status, 500);
  EXPECT_EQ(Reply.FullContentType(), "application/json; charset=utf-8");
  EXPECT_TRUE(Reply.Body.starts_with(R"({"error":")")) << Reply.Body;
  auto Log = Lines.Take();
  ASSERT_EQ(Log.size(), 1u);
  EXPECT_TRUE(Log[0].starts_with("# Écriture options échouée : ")) << Log[0];

  fs::remove(Home.Path() / "config" / "Mirelon");
  fs::create_directories(File / "occupé");  // the target is a folder that is not empty
  Reply = Write(R"({"a":1})");
  EXPECT_EQ(Reply.Status, 500);
  Log = Lines.Take();
  ASSERT_EQ(Log.size(), 1u);
  EXPECT_TRUE(Log[0].starts_with("# Écriture options échouée : ")) << Log[0];
  EXPECT_TRUE(fs::is_directory(File / "occupé"));
}

TEST_F(OptionsRoutesTest, TheLimitCountsTheDeclaredLengthAndTheBytesReceived) {
  const auto Padded = [](size_t Size) {
    std::string Body = R"({"p":""})";
    Body.insert(6, Size - Body.size(), 'x');
    return Body;
  };
  EXPECT_EQ(Write(Padded(524288)).Status, 200);
  for (const TReply& Reply : {Write(R"({"a":1})", 524289), Write(Padded(524289), -1), Write(Padded(524289), 10)}) {
    EXPECT_EQ(Reply.Status, 413);
    EXPECT_EQ(Reply.FullContentType(), "application/json; charset=utf-8");
    EXPECT_EQ(Reply.Body, R"({"error":"Payload too large"})");
  }
  EXPECT_EQ(Lines.Lines().size(), 1u);  // refusals log nothing
  EXPECT_EQ(ReadBytes(File).size(), 3 + 524288u);
}

}  // namespace
