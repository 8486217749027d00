// Where a run's files go: a session given a files folder resolves relative
// paths there, each run its own, while the process's current folder stays;
// `mirelon run` keeps the current folder.
#include <gtest/gtest.h>

#include <unistd.h>

#include "StorageTestKit.h"
#include "core/Text.h"
#include "session/ExecSession.h"

using namespace mirelon;
using namespace mirelon::test;

namespace {

constexpr uint32_t kTurnMs = 20000;

std::string Output(TExecSession& Session) {
  std::string Text = Utf16ToUtf8(Session.OutputSinceLastScreen());
  if (Session.State() == ssError) Text += "ERREUR: " + Utf16ToUtf8(Session.ErrorMsg());
  return Text;
}

std::unique_ptr<TExecSession> StartIn(const fs::path& Folder, const std::string& Program) {
  TSessionOptions Options;
  Options.FilesFolder = Folder;
  auto Session = std::make_unique<TExecSession>(Utf8ToUtf16(Program), 0, std::move(Options));
  Session->Start();
  return Session;
}

std::string RunIn(const fs::path& Folder, const std::string& Program) {
  auto Session = StartIn(Folder, Program);
  EXPECT_TRUE(Session->WaitTurn(kTurnMs));
  return Output(*Session);
}

std::string CurrentFolder() {
  char Buffer[4096];
  return ::getcwd(Buffer, sizeof Buffer) ? Buffer : "";
}

}  // namespace

TEST(ServedRunFiles, RelativePathsLeadToTheFilesFolder) {
  TTempDir Dir;
  const fs::path Files = Dir.Path() / "Documents" / "Mirelon";  // made by the first file builtin
  const std::string Here = CurrentFolder();
  const fs::path Outside = Dir.Path() / "dehors.txt";
  EXPECT_EQ(RunIn(Files,
                  "sauvegarder('notes.txt', 'bonjour')\n"
                  "ajouter_ligne('journal.csv', 'a;b')\n"
                  "affiche importer('notes.txt')\n"
                  "affiche fichier_existe('journal.csv')\n"
                  "affiche fichier_existe('absent.txt')\n"
                  "sauvegarder('" + Outside.string() + "', 'absolu')\n"),
            "bonjour\r\nvrai\r\nfaux\r\n");
  EXPECT_EQ(ReadBytes(Files / "notes.txt"), "\xEF\xBB\xBF" "bonjour");
  EXPECT_EQ(ReadBytes(Files / "journal.csv"), "a;b\r\n");
  EXPECT_EQ(ReadBytes(Outside), "\xEF\xBB\xBF" "absolu");  // an absolute path is used as written
  EXPECT_EQ(CurrentFolder(), Here);
  EXPECT_FALSE(fs::exists("notes.txt"));

  // Drawings read from there too; messages name the path as the program wrote it.
  WriteBytes(Files / "logo.svg", "<svg viewBox=\"0 0 24 12\"><rect/></svg>");
  EXPECT_EQ(RunIn(Files, "affiche type_de(importer('logo.svg'))\n"
                         "t est une toile\nsvg(t, 0, 0, 'logo.svg', 10, 10)\naffiche 'dessiné'\n"),
            "image\r\ndessiné\r\n");
  EXPECT_EQ(RunIn(Files, "sauvegarder('sous/a.txt', 'x')\n"),
            "ERREUR: sauvegarder : le dossier destination n'existe pas : \"sous\"");
  fs::create_directory(Files / "sous");
  EXPECT_EQ(RunIn(Files, "sauvegarder('sous/a.txt', 'x')\naffiche importer('sous/a.txt')\n"), "x\r\n");
}

TEST(ServedRunFiles, EachRunHasItsOwnFolder) {
  TTempDir Dir;
  const fs::path One = Dir.Path() / "un", Two = Dir.Path() / "deux";
  const std::string Program = "demande 'Quoi ?' dans x\nsauvegarder('a.txt', x)\naffiche importer('a.txt')\n";
  // Both runs wait at their question at the same time, then write the same name.
  auto First = StartIn(One, Program);
  ASSERT_TRUE(First->WaitTurn(kTurnMs));
  auto Second = StartIn(Two, Program);
  ASSERT_TRUE(Second->WaitTurn(kTurnMs));
  ASSERT_EQ(First->State(), ssWaitingInput);
  ASSERT_EQ(Second->State(), ssWaitingInput);
  Output(*First);  // the prompts
  Output(*Second);
  ASSERT_TRUE(Second->ProvideInput(u"deux"));
  ASSERT_TRUE(First->ProvideInput(u"un"));
  ASSERT_TRUE(First->WaitTurn(kTurnMs));
  ASSERT_TRUE(Second->WaitTurn(kTurnMs));
  EXPECT_EQ(Output(*First), "un\r\n");
  EXPECT_EQ(Output(*Second), "deux\r\n");
  EXPECT_EQ(ReadBytes(One / "a.txt"), "\xEF\xBB\xBF" "un");
  EXPECT_EQ(ReadBytes(Two / "a.txt"), "\xEF\xBB\xBF" "deux");
}

#ifdef MIRELON_BINARY
TEST(ServedRunFiles, MirelonRunKeepsTheCurrentFolder) {
  TTempDir Dir;
  WriteBytes(Dir.Path() / "prog.mir", "sauvegarder('ici.txt', 'x')\nsauvegarder('" +
                                          (Dir.Path() / "abs.txt").string() + "', 'y')\n");
  pid_t Child = ::fork();
  ASSERT_GE(Child, 0);
  if (Child == 0) {
    if (::chdir(Dir.Path().c_str()) != 0) ::_exit(90);
    ::execl(MIRELON_BINARY, MIRELON_BINARY, "run", "prog.mir", static_cast<char*>(nullptr));
    ::_exit(91);
  }
  int Status = 0;
  ::waitpid(Child, &Status, 0);
  ASSERT_TRUE(WIFEXITED(Status));
  EXPECT_EQ(WEXITSTATUS(Status), 0);
  EXPECT_EQ(ReadBytes(Dir.Path() / "ici.txt"), "\xEF\xBB\xBF" "x");
  EXPECT_EQ(ReadBytes(Dir.Path() / "abs.txt"), "\xEF\xBB\xBF" "y");
}
#endif
