// Whatever a pupil types ends in a language error or runs: no crash, no
// hang, no exhaustion of the process.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include "TestRun.h"

using namespace mirelon;
using namespace mirelon::test;

namespace {

// Ends in a language error (catchable by "essayer") or runs.
void ExpectContained(const TRunResult& r) { EXPECT_TRUE(!r.Failed || r.Language) << r.Error; }

[[maybe_unused]] long MaxRssMb() {  // not checked under the address sanitizer
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss / 1024;
}

std::string Repeat(const std::string& s, int n) {
  std::string r;
  r.reserve(s.size() * n);
  for (int i = 0; i < n; ++i) r += s;
  return r;
}

}  // namespace

TEST(HostileText, BrokenEncodingsAndNulCharacters) {
  // Invalid bytes and encoded surrogates become U+FFFD, an unknown character.
  ExpectContained(RunProgram("affiche 'a\xFF\xFE' + \"\xED\xA0\x80\"\n\xC3"));
  EXPECT_EQ(Out("affiche '\xF0\x9F\x98\x80'"), "\xF0\x9F\x98\x80");
  EXPECT_EQ(Out(std::string("affiche 1\n\0affiche 2", 20)), "1");  // a NUL character ends the text
  EXPECT_EQ(Out("affiche U+10FFFF = U+10FFFF"), "vrai");
  EXPECT_EQ(Err("affiche U+110000"), "Ligne 1: U+110000 : code Unicode hors limites (max U+10FFFF)");
  EXPECT_FALSE(RunProgram("affiche U+DFFF").Language);  // a host error, reported without line
}

TEST(HostileSize, HugeAndDeepPrograms) {
  std::string many = Repeat("x vaut x + 1 // " + std::string(200, 'c') + "\n", 50000);  // 10 MB
  TRunResult r = RunProgram("x vaut 0\n" + many + "affiche x");
  EXPECT_EQ(r.Text(), "50000");
  std::string line = "affiche 0" + Repeat(" + 1", 250000);  // one line of 1 MB
  EXPECT_EQ(Out(line), "250000");
  ExpectContained(RunProgram("t vaut " + Repeat("[", 100000) + Repeat("]", 100000)));
  ExpectContained(RunProgram(Repeat("si vrai alors\n", 100000) + Repeat("fin si\n", 100000)));
  ExpectContained(RunProgram(Repeat("si vrai alors ", 100000)));
  ExpectContained(RunProgram(Repeat("pour i de 1 à 2\n", 50000)));
  ExpectContained(RunProgram("affiche " + Repeat("-(", 50000)));
  // Operands led by a name: calls, indexes and powers nested as deep.
  ExpectContained(RunProgram("fonction f(x)\nretourne x\nfin fonction\naffiche " + Repeat("f(", 100000) + "1" +
                             Repeat(")", 100000)));
  ExpectContained(RunProgram("t vaut [1]\naffiche " + Repeat("t[", 100000) + "0" + Repeat("]", 100000)));
  ExpectContained(RunProgram("x vaut 1\naffiche " + Repeat("x ^ ", 100000) + "1"));
}

// A program cut anywhere (a pupil still typing) ends: the interpreter reads
// past the last token only as far as its end-of-program padding allows.
TEST(HostileSize, EveryPrefixOfAProgramEnds) {
  const std::string program =
      "constante N vaut $0A\nclasse Point :\n  x, y est un nombre\nfin classe\n"
      "fonction carre(v)\n  retourne v ^ 2\nfin fonction\n"
      "procédure montre(t)\n  affiche couleur('#FF0000', t) + html('<em>' + t + '</em>')\nfin procédure\n"
      "p est un enregistrement\np.x vaut -N mod 3 + Point.x\np.y vaut 0\nt vaut [1, 'a', [vrai]]\nt[0] vaut t[0] + #65\n"
      "si non p.x > 2 et t[1] = 'a' alors\n  appelle montre('oui')\nsinon si p.y < 0 alors\n  affiche 1\n"
      "sinon\n  affiche 2\nfin si\ntant que p.y < 3\n  p.y ajoute 1\nfin tant que\n"
      "répète 2 fois\n  arrête\nfin répète\npour i de 10 à 1 pas -3\n  continue\nfin pour\n"
      "selon carre(2)\ncas 1, 2 :\n  affiche 'petit'\ncas 3 à 5 :\n  affiche 'moyen'\nsinon selon :\n"
      "  affiche 'grand'\nfin selon\nessayer\n  affiche 1 / 0\nattraper e\n  affiche e\nfin essayer\n"
      "c, k est un nombre\ndemande 'nom ?' dans nom\nchoisir ['a', 'b'] dans c\nappuyer ['z'] dans k\n"
      "x, y est un texte\nt supprime 0\nvide t\naffiche x + y + nom\n";
  for (size_t cut = 0; cut <= program.size(); ++cut) {
    if (cut < program.size() && (static_cast<unsigned char>(program[cut]) & 0xC0) == 0x80) continue;  // inside a character
    TMirelon M{StandardBuiltins()};
    int checks = 0;
    M.SetOnCheckAbort([&checks] { return ++checks > 2000; });
    M.OnOutput = [](const std::u16string&) {};
    M.OnInput = [](const std::u16string&) { return std::u16string(u"a"); };
    try {
      M.Execute(Utf8ToUtf16(program.substr(0, cut)));
    } catch (const EMirelonError&) {
    } catch (const EMirelonAborted&) {
    }
  }
}

TEST(HostileNumbers, AtAndPastTwoPowerFiftyThree) {
  EXPECT_EQ(Out("affiche 9007199254740992 - 1 + 1"), "9007199254740992");
  EXPECT_TRUE(RunProgram("affiche 9007199254740992 * 2").Language);
  EXPECT_TRUE(RunProgram("x vaut '1e400'\naffiche x * 1").Language);
  EXPECT_TRUE(RunProgram("affiche 2 ^ 9999999999").Language);
  EXPECT_TRUE(RunProgram("t vaut []\nt[9007199254740992] vaut 1").Language);
  ExpectContained(RunProgram("affiche hasard(-9007199254740992, 9007199254740992)"));
  ExpectContained(RunProgram("répète 9007199254740992 fois\nfin répète"));
}

TEST(HostileCollections, SelfContainingArraysAndRecords) {
  EXPECT_EQ(Out("t vaut [1]\nt ajoute t\nu vaut [t]\naffiche u"), "[[1, [...]]]");
  ExpectContained(RunProgram("t vaut [1]\nt ajoute t\nt ajoute t\ntrier(t)\naffiche unique(t)\naffiche t = t"));
  ExpectContained(RunProgram("e est un enregistrement\ne.moi vaut e\nselon e\ncas e :\naffiche 'oui'\nfin selon"));
  // An array nested a hundred thousand deep prints, compares and is freed.
  ExpectContained(RunProgram("t vaut []\npour i de 1 à 100000\n  t vaut [t]\nfin pour\naffiche longueur('' + t)\n"
                             "affiche t = t"));
}

TEST(HostileMemory, LimitsStopRunawayPrograms) {
  auto expectLimit = [](const std::string& program, const char* message) {
    TRunResult r = RunProgram(program);
    EXPECT_TRUE(r.Language) << r.Error;
    EXPECT_NE(r.Error.find(message), std::string::npos) << r.Error;
  };
  expectLimit("s vaut 'ab'\nrépète 60 fois\n  s vaut s + s\nfin répète", "Texte trop long");
  expectLimit("t vaut []\npour i de 1 à 100000\n  pour j de 1 à 100\n    t ajoute j\n  fin pour\nfin pour",
              "Tableau trop grand");
  expectLimit("t vaut []\npour i de 1 à 1000\n  t ajoute intervalle(1, 1000000)\nfin pour", "Mémoire insuffisante");
  expectLimit("s vaut repeter_texte('x', 10000)\nrépète 10 fois\n  s vaut repeter_texte(s, 10000)\nfin répète",
              "Texte trop long");
  expectLimit("t vaut []\ns vaut repeter_texte('x', 10000)\ns vaut repeter_texte(s, 1600)\npour i de 1 à 100\n"
              "  t ajoute s + i\nfin pour",
              "Mémoire insuffisante");
#ifndef __SANITIZE_ADDRESS__  // the sanitizer's shadow memory would count too
  EXPECT_LT(MaxRssMb(), 1024);
#endif
  EXPECT_EQ(AccountedBytes(), 0);  // every value of those runs was freed
}

TEST(HostileAnswers, OneMegabyteAnswers) {
  std::string big(1 << 20, 'x');
  EXPECT_EQ(Out("demande r\naffiche longueur(r)", {big}), "1048576");
  EXPECT_EQ(Out("n est un nombre\ndemande n\naffiche n", {big}), "0");
  EXPECT_EQ(Out("n est un nombre\nchoisir ['a', 'b'] dans n\naffiche n", {big}), "1");
}
