#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "TestRun.h"

using namespace mirelon;
using namespace mirelon::test;
namespace fs = std::filesystem;

namespace {

// The text of a program literal holding s.
std::string Quoted(const std::string& s) { return "'" + s + "'"; }

// Each test works in its own empty folder.
class FilesLocal : public ::testing::Test {
 protected:
  void SetUp() override {
    char name[] = "/tmp/mirelon-files-XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    Dir = name;
  }
  void TearDown() override { fs::remove_all(Dir); }

  std::string At(const std::string& name) const { return (Dir / name).string(); }
  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(Dir / name, std::ios::binary) << bytes;
  }
  std::string Read(const std::string& name) const {
    std::ifstream f(Dir / name, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
  }
  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(Dir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  TRunResult Call(const std::string& call) const { return RunProgram("affiche " + call); }

  fs::path Dir;
};

TEST_F(FilesLocal, ImportReadsTextFilesWithTheirLimits) {
  Write("notes.TXT", "\xEF\xBB\xBFun\r\ndeux\xC3\xA9");
  TRunResult r = Call("importer(" + Quoted(At("notes.TXT")) + ")");
  EXPECT_EQ(r.Error, "");
  EXPECT_EQ(r.Text(), "un\r\ndeux\xC3\xA9");  // mark skipped, line breaks kept

  Write("plein.csv", std::string(1048576, 'a'));
  EXPECT_EQ(Call("longueur(importer(" + Quoted(At("plein.csv")) + "))").Text(), "1048576");
  Write("gros.txt", std::string(2000000, 'a'));
  EXPECT_EQ(Call("importer(" + Quoted(At("gros.txt")) + ")").Error,
            "importer : fichier trop volumineux (2000000 octets, maximum 1 Mo)");
}

TEST_F(FilesLocal, ImportRefusals) {
  EXPECT_EQ(Call("importer('notes.doc')").Error,
            "importer : seuls les fichiers .txt et .csv sont autorisés (obtenu : \".doc\")");
  EXPECT_EQ(Call("importer(" + Quoted(At("absent.csv")) + ")").Error,
            "Ligne 1: importer : fichier introuvable : \"" + At("absent.csv") + "\"");
  fs::create_directory(Dir / "dossier.txt");  // a folder is not a file
  EXPECT_EQ(Call("importer(" + Quoted(At("dossier.txt")) + ")").Error,
            "Ligne 1: importer : fichier introuvable : \"" + At("dossier.txt") + "\"");
  EXPECT_EQ(Call("importer('HTTP://exemple.fr/a.txt')").Error,
            "importer : les URLs non sécurisées (http://) ne sont pas autorisées. Utilisez https:// à la place.");
  EXPECT_EQ(Call("importer()").Error, "Ligne 1: importer(chemin) attend 1 argument");
}

TEST_F(FilesLocal, ImportSvgGivesAnImageWithoutSizeLimit) {
  Write("logo.svg", "<svg viewBox=\"0 0 24 24\">" + std::string(2000000, ' ') + "</svg>");
  TRunResult r = Call("importer(" + Quoted(At("logo.svg")) + ")");
  EXPECT_EQ(r.Error, "");
  EXPECT_EQ(r.Text(), "[image]");
  EXPECT_EQ(Call("importer(" + Quoted(At("absent.svg")) + ")").Error,
            "Ligne 1: importer : fichier introuvable : \"" + At("absent.svg") + "\"");
}

TEST_F(FilesLocal, SaveWritesMarkAndTextWhole) {
  TRunResult r = Call("sauvegarder(" + Quoted(At("a.txt")) + ", 'x')");
  EXPECT_EQ(r.Error, "");
  EXPECT_EQ(r.Text(), "vrai");
  EXPECT_EQ(Read("a.txt"), "\xEF\xBB\xBFx");

  fs::permissions(Dir / "a.txt", fs::perms::owner_read | fs::perms::owner_write);
  Call("sauvegarder(" + Quoted(At("a.txt")) + ", 'été')");  // replaced, not appended
  EXPECT_EQ(Read("a.txt"), "\xEF\xBB\xBF\xC3\xA9t\xC3\xA9");
  EXPECT_EQ(fs::status(Dir / "a.txt").permissions(), fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(Entries(), std::vector<std::string>{"a.txt"});  // no temporary file left
}

TEST_F(FilesLocal, SaveRefusalsLeaveNothingBehind) {
  EXPECT_EQ(Call("sauvegarder(" + Quoted(At("absent/a.txt")) + ", 'x')").Error,
            "sauvegarder : le dossier destination n'existe pas : \"" + At("absent") + "\"");
  EXPECT_EQ(Call("sauvegarder('a.doc', 'x')").Error,
            "sauvegarder : seuls les fichiers .txt et .csv sont autorisés (obtenu : \".doc\")");
  EXPECT_EQ(Call("sauvegarder('a.txt')").Error, "sauvegarder(chemin, texte) attend 2 arguments");

  fs::create_directory(Dir / "pris.txt");  // the host refuses to replace a folder by a file
  std::string error = Call("sauvegarder(" + Quoted(At("pris.txt")) + ", 'x')").Error;
  EXPECT_EQ(error.rfind("sauvegarder : impossible d'écrire dans \"" + At("pris.txt") + "\" : ", 0), 0u) << error;
  EXPECT_TRUE(fs::is_directory(Dir / "pris.txt"));
  EXPECT_EQ(Entries(), std::vector<std::string>{"pris.txt"});
}

TEST_F(FilesLocal, NulInAPathNamesNoFile) {
  // Cut at the NUL, the name would be x.exe: the host's refusal instead.
  std::string path = Quoted(At("x.exe")) + " + caractère(0) + '.txt'";
  std::string error = Call("sauvegarder(" + path + ", 'x')").Error;
  EXPECT_EQ(error.rfind("sauvegarder : impossible d'écrire dans \"" + At("x.exe"), 0), 0u) << error;
  EXPECT_EQ(Call("ajouter_ligne(" + path + ", 'x')").Error.rfind("ajouter_ligne : impossible d'écrire dans", 0), 0u);
  EXPECT_TRUE(Entries().empty());
  Write("x.exe", "");
  EXPECT_EQ(Call("fichier_existe(" + path + ")").Text(), "faux");
}

TEST_F(FilesLocal, AppendLineEndsEachLineWithoutMark) {
  std::string path = Quoted(At("log.txt"));
  TRunResult r = RunProgram("affiche ajouter_ligne(" + path + ", 'un')\naffiche ajouter_ligne(" + path + ", 'deux')");
  EXPECT_EQ(r.Error, "");
  EXPECT_EQ(r.Lines, (std::vector<std::string>{"vrai", "vrai"}));
  EXPECT_EQ(Read("log.txt"), "un\r\ndeux\r\n");

  Call("sauvegarder(" + Quoted(At("b.csv")) + ", 'a;b')");
  Call("ajouter_ligne(" + Quoted(At("b.csv")) + ", 'c;d')");
  EXPECT_EQ(Read("b.csv"), "\xEF\xBB\xBF" "a;bc;d\r\n");

  EXPECT_EQ(Call("ajouter_ligne(" + Quoted(At("non/log.txt")) + ", 'x')").Error,
            "ajouter_ligne : le dossier destination n'existe pas : \"" + At("non") + "\"");
  EXPECT_EQ(Call("ajouter_ligne('log.html', 'x')").Error,
            "ajouter_ligne : seuls les fichiers .txt et .csv sont autorisés (obtenu : \".html\")");
  fs::create_directory(Dir / "d.txt");
  std::string error = Call("ajouter_ligne(" + Quoted(At("d.txt")) + ", 'x')").Error;
  EXPECT_EQ(error.rfind("ajouter_ligne : impossible d'écrire dans \"" + At("d.txt") + "\" : ", 0), 0u) << error;
}

TEST_F(FilesLocal, FileExistsChecksTheExtensionFirst) {
  Write("x.TXT", "");
  fs::create_directory(Dir / "d.csv");
  EXPECT_EQ(Call("fichier_existe(" + Quoted(At("x.TXT")) + ")").Text(), "vrai");
  EXPECT_EQ(Call("fichier_existe(" + Quoted(At("y.txt")) + ")").Text(), "faux");
  EXPECT_EQ(Call("fichier_existe(" + Quoted(At("d.csv")) + ")").Text(), "faux");
  EXPECT_EQ(Call("fichier_existe(" + Quoted(Dir.string()) + ")").Error,
            "fichier_existe : seuls les fichiers .txt et .csv sont autorisés (obtenu : \"\")");
  EXPECT_EQ(Call("fichier_existe('C:\\Windows')").Error,
            "fichier_existe : seuls les fichiers .txt et .csv sont autorisés (obtenu : \"\")");
  EXPECT_EQ(Call("fichier_existe()").Error, "fichier_existe(chemin) attend 1 argument");
}

TEST(FilesEvaluate, ArithmeticWithPrecedence) {
  const std::pair<const char*, const char*> cases[] = {
    {"25,8 * (8 + 2)", "258"}, {"2+3*4", "14"}, {"8 / 4 / 2", "1"}, {"10 - 4 - 3", "3"},
    {"  ( 1 + 2 ) * 3  ", "9"}, {",5 + 1", "1,5"}, {"7 / 2", "3,5"},
  };
  for (auto [expression, value] : cases) {
    TRunResult r = RunProgram(std::string("affiche évaluer('") + expression + "')");
    EXPECT_EQ(r.Error, "") << expression;
    EXPECT_EQ(r.Text(), value) << expression;
  }
  EXPECT_EQ(RunProgram("affiche EVALUER('1+1')").Text(), "2");
}

TEST(FilesEvaluate, ErrorsCarryTheLine) {
  const std::pair<const char*, const char*> cases[] = {
    {"(1+2", "évaluer : parenthèse fermante manquante"},
    {"-3", "évaluer : caractère non autorisé \"-\" (seuls ( ) + - * / , et 0..9 sont permis)"},
    {"3.5", "évaluer : caractère inattendu \".\""},
    {"", "évaluer : expression incomplète"},
    {"2 *", "évaluer : expression incomplète"},
    {"1/0", "évaluer : division par zéro"},
    {"1/(2-2)", "évaluer : division par zéro"},
    {",", "évaluer : nombre invalide \",\""},
    {"1\t+ 1", "évaluer : caractère inattendu \"\t\""},
    {"1 😀", "évaluer : caractère inattendu \"😀\""},
  };
  for (auto [expression, message] : cases)
    EXPECT_EQ(RunProgram(std::string("\naffiche évaluer('") + expression + "')").Error,
              std::string("Ligne 2: ") + message)
        << expression;
  EXPECT_EQ(RunProgram("affiche évaluer()").Error, "Ligne 1: évaluer(expression) attend 1 argument");
}

TEST(FilesEvaluate, DeepNestingIsALanguageError) {
  std::string nested = std::string(150, '(') + "1" + std::string(150, ')');
  EXPECT_EQ(RunProgram("affiche évaluer('" + nested + "')").Text(), "1");
  EXPECT_EQ(RunProgram("affiche évaluer('" + std::string(100000, '(') + "')").Error,
            "Ligne 1: évaluer : trop de parenthèses imbriquées (maximum 200)");
}

}  // namespace
