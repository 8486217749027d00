// Storage files that cannot be used, and writes that fail: no program is lost.
#include "ProjectsTestKit.h"

using namespace mirelon;
using namespace mirelon::test;

using TLines = std::vector<std::string>;

namespace {

const std::string kEntry = R"({"id":1,"titre":"Sauv\u00E9","categorie":"programme","code":"affiche 1"})";
const std::string kCreate = R"({"titre":"Sauvé","code":"affiche 1"})";

std::string CopyLine(const fs::path& Copy) { return "# Mirelon.json illisible : copie conservée dans " + Copy.string(); }

}  // namespace

TEST_F(TProjectsTest, UnusableFilesAreCopiedAsideBeforeTheyAreReplaced) {
  fs::create_directories(Folder);
  const std::string Broken = kBom + R"({"programmes":[{"id":1,"titre":"Perdu ?","code":"aff)";
  WriteBytes(Storage.File(), Broken);
  // Reading it gives no programs, without a log line; actions that change nothing write nothing.
  EXPECT_EQ(Answer("list"), R"(200 {"ok":true,"programmes":[]})");
  EXPECT_EQ(Act("del", R"({"id":1})").Status, 404);
  EXPECT_EQ(Act("save", R"({"id":1,"code":"x"})").Status, 404);
  EXPECT_EQ(TakeLines(), TLines{"$ API projets/list : 0 programme(s)"});
  EXPECT_EQ(Names(Folder), std::set<std::string>{"Mirelon.json"});

  EXPECT_EQ(Act("save", kCreate).Status, 200);
  const fs::path First = Folder / "Mirelon.json.illisible";
  EXPECT_EQ(ReadBytes(First), Broken);
  EXPECT_EQ(FileBytes(), StoredFile("[" + kEntry + "]"));
  EXPECT_EQ(TakeLines(), (TLines{CopyLine(First), "$ API projets/save : #1 « Sauvé » [programme]"}));

  // Other contents that are not stored programs, each to the next free name;
  // the same bytes again reuse the copy that already holds them.
  const std::string Others[] = {R"({"programs":[{"id":1}]})", "[]", R"({"programmes":{}})", Broken};
  const fs::path Copies[] = {Folder / "Mirelon.json.illisible.2", Folder / "Mirelon.json.illisible.3",
                             Folder / "Mirelon.json.illisible.4", First};
  for (size_t I = 0; I < std::size(Others); ++I) {
    WriteBytes(Storage.File(), Others[I]);
    EXPECT_EQ(Act("save", kCreate).Status, 200) << Others[I];
    EXPECT_EQ(ReadBytes(Copies[I]), Others[I]);
    EXPECT_EQ(TakeLines().front(), CopyLine(Copies[I]));
  }
  EXPECT_EQ(Names(Folder).size(), 5u);

  // A file of blanks holds nothing to keep.
  WriteBytes(Storage.File(), kBom + " \r\n\t");
  EXPECT_EQ(Act("save", kCreate).Status, 200);
  EXPECT_EQ(TakeLines(), TLines{"$ API projets/save : #1 « Sauvé » [programme]"});
  EXPECT_EQ(Names(Folder).size(), 5u);
}

TEST_F(TProjectsTest, AFileThatCannotBeReadIsNeverReplaced) {
  ASSERT_TRUE(Storage.PrepareStorage());
  ASSERT_EQ(Act("save", kCreate).Status, 200);
  const std::string Before = FileBytes();
  std::string Failure = InUnprivilegedChild(Dir.Path(), [&]() -> std::string {
    // Write-only: a write would succeed, and would lose the program.
    fs::permissions(Storage.File(), fs::perms::owner_write);
    TakeLines();
    if (Answer("list") != R"(200 {"ok":true,"programmes":[]})") return "list";
    TReply Reply = Act("save", R"({"titre":"Autre","code":""})");
    if (Reply.Status != 500 || Reply.Body.find("illisible") == std::string::npos) return "save: " + Reply.Body;
    TLines Logged = TakeLines();
    const std::string Read = "# Lecture Mirelon.json échouée : impossible de lire \"" + Storage.File().string() +
                             "\" : Permission denied";
    if (Logged != TLines{Read, "$ API projets/list : 0 programme(s)", Read}) return "log: " + Logged.front();
    return "";
  });
  EXPECT_EQ(Failure, "");
  EXPECT_EQ(FileBytes(), Before);
  EXPECT_EQ(Names(Folder), std::set<std::string>{"Mirelon.json"});
}

TEST_F(TProjectsTest, ACopyThatCannotBeMadeRefusesTheChange) {
  fs::create_directories(Folder);
  WriteBytes(Storage.File(), "{pas du json");
  std::string Failure = InUnprivilegedChild(Dir.Path(), [&]() -> std::string {
    fs::permissions(Folder, fs::perms::owner_read | fs::perms::owner_exec);
    TakeLines();
    TReply Reply = Act("save", kCreate);
    if (Reply.Status != 500 || Reply.Body.find("rien n'a été modifié") == std::string::npos) return Reply.Body;
    return TakeLines().empty() ? "" : "logged";
  });
  EXPECT_EQ(Failure, "");
  EXPECT_EQ(FileBytes(), "{pas du json");
  EXPECT_EQ(Names(Folder), std::set<std::string>{"Mirelon.json"});
}

TEST_F(TProjectsTest, AFailedWriteLeavesTheOldFileAndAnswers500) {
  ASSERT_TRUE(Storage.PrepareStorage());
  ASSERT_EQ(Act("save", kCreate).Status, 200);
  const std::string Before = FileBytes();
  TakeLines();
  {
    TFileSizeLimit Full(4096);  // the disk fills up during the write
    TReply Reply = Act("save", R"({"titre":"Gros","code":")" + std::string(100000, 'x') + "\"}");
    EXPECT_EQ(Reply.Status, 500);
    EXPECT_EQ(Reply.FullContentType(), "text/plain; charset=utf-8");
    EXPECT_NE(Reply.Body.find("Mirelon.json"), std::string::npos) << Reply.Body;
  }
  EXPECT_EQ(FileBytes(), Before);
  EXPECT_EQ(Names(Folder), std::set<std::string>{"Mirelon.json"});
  EXPECT_EQ(TakeLines(), TLines{});
  // The storage works again once there is room.
  EXPECT_EQ(Act("save", R"({"titre":"Petit","code":""})").Status, 200);
}

TEST_F(TProjectsTest, ReadOnlyFilesAndFoldersAreRefusedUntouched) {
  ASSERT_TRUE(Storage.PrepareStorage());
  ASSERT_EQ(Act("save", kCreate).Status, 200);
  const std::string Before = FileBytes();
  std::string Failure = InUnprivilegedChild(Dir.Path(), [&]() -> std::string {
    fs::permissions(Storage.File(), fs::perms::owner_read);
    if (Act("rem", R"({"id":1,"titre":"Nouveau"})").Status != 500) return "read-only file written";
    if (Answer("load", R"({"id":1})").rfind("200 ", 0) != 0) return "read-only file not read";
    fs::permissions(Storage.File(), fs::perms::owner_read | fs::perms::owner_write);
    fs::permissions(Folder, fs::perms::owner_read | fs::perms::owner_exec);
    if (Act("del", R"({"id":1})").Status != 500) return "read-only folder written";
    return "";
  });
  EXPECT_EQ(Failure, "");
  EXPECT_EQ(FileBytes(), Before);
  EXPECT_EQ(Names(Folder), std::set<std::string>{"Mirelon.json"});
}

TEST_F(TProjectsTest, PreparingFailsWhereNoStorageFileCanBe) {
  std::string Failure = InUnprivilegedChild(Dir.Path(), [&]() -> std::string {
    fs::permissions(Dir.Path(), fs::perms::owner_read | fs::perms::owner_exec);
    if (Storage.PrepareStorage()) return "prepared in a read-only folder";
    TLines Logged = TakeLines();
    const std::string Start = "# Création du stockage Mirelon.json échouée : impossible de créer le dossier";
    if (Logged.size() != 1 || Logged[0].rfind(Start, 0) != 0) return "log: " + (Logged.empty() ? "" : Logged[0]);
    return "";
  });
  EXPECT_EQ(Failure, "");
  // A folder where the file should be is not a storage file.
  fs::create_directories(Storage.File());
  EXPECT_FALSE(Storage.PrepareStorage());
}

// Writing parsed JSON back recurses once per level, so a file nested deeper
// than any program needs (another tool's doing) is kept aside like any other
// unusable file, and a request nested that deep is refused before parsing.
TEST_F(TProjectsTest, JsonNestedTooDeepIsNeverParsed) {
  fs::create_directories(Folder);
  const std::string Deep = std::string(200000, '[') + std::string(200000, ']');
  const std::string File = kBom + R"({"programmes":[{"id":1,"titre":"Profond","code":"x","extra":)" + Deep + "}]}";
  WriteBytes(Storage.File(), File);
  EXPECT_EQ(Answer("list"), R"(200 {"ok":true,"programmes":[]})");
  EXPECT_EQ(Act("save", kCreate).Status, 200);
  EXPECT_EQ(ReadBytes(Folder / "Mirelon.json.illisible"), File);
  EXPECT_EQ(FileBytes(), StoredFile("[" + kEntry + "]"));

  const std::string Body = R"({"titre":"Autre","code":"x","extra":)" + Deep + "}";
  EXPECT_EQ(Answer("save", Body), R"(400 {"ok":false,"error":"JSON invalide"})");
  // 512 levels are still read.
  const std::string Nested = std::string(511, '[') + std::string(511, ']');
  EXPECT_EQ(Act("save", R"({"titre":"Autre","code":"x","extra":)" + Nested + "}").Status, 200);
}
