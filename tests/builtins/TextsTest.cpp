// Text builtins, exercised through small programs.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "TestRun.h"

using namespace mirelon;

namespace {

// What a one-statement program shows, or "! " and the error that stopped it.
std::string Show(const std::string& expression) {
  test::TRunResult r = test::RunProgram("affiche " + expression);
  return r.Failed ? "! " + r.Error : r.Text();
}

}  // namespace

TEST(TextsLength, TextsArraysAndOtherKinds) {
  EXPECT_EQ(Show("longueur('')"), "0");
  EXPECT_EQ(Show("longueur('été')"), "3");
  EXPECT_EQ(Show("longueur('😀')"), "2");  // outside the basic plane: two code units
  EXPECT_EQ(Show("longueur([1, 2, 3])"), "3");
  EXPECT_EQ(Show("longueur(12345)"), "! Ligne 1: longueur attend un texte ou un tableau");
  EXPECT_EQ(Show("longueur('a', 'b')"), "! Ligne 1: longueur(x) attend 1 argument");
}

TEST(TextsCase, AsciiRulesLeaveAccentsAlone) {
  EXPECT_EQ(Show("majuscules('élève')"), "éLèVE");
  EXPECT_EQ(Show("minuscules('ÉCOLE')"), "École");
  EXPECT_EQ(Show("majuscule_initiale('bONJOUR')"), "Bonjour");
  EXPECT_EQ(Show("longueur(majuscule_initiale(''))"), "0");
  EXPECT_EQ(Show("majuscules(12)"), "12");  // any kind through its text form
  EXPECT_EQ(Show("majuscule_initiale()"), "! majuscule_initiale(texte) attend 1 argument");
}

TEST(TextsFullCase, ContientOnTextsAndArrays) {
  EXPECT_EQ(Show("contient('Bonjour', 'JOUR')"), "vrai");
  EXPECT_EQ(Show("contient('ÉCOLE', 'école')"), "vrai");
  EXPECT_EQ(Show("contient('Bonjour', '')"), "faux");
  EXPECT_EQ(Show("contient('Bonjour', 'soir')"), "faux");
  EXPECT_EQ(Show("contient('𐐀', '𐐨')"), "vrai");  // case pair outside the basic plane
  EXPECT_EQ(Show("contient([1, 2, 3], '2')"), "vrai");
  EXPECT_EQ(Show("contient([1, 2, 3], 4)"), "faux");
  EXPECT_EQ(Show("contient(12, 1)"), "! contient attend un texte ou un tableau en premier argument");
  EXPECT_EQ(Show("contient('a')"), "! Ligne 1: contient(x, y) attend 2 arguments");
}

TEST(TextsFullCase, PrefixSuffixAndRemoval) {
  EXPECT_EQ(Show("commence_par('Élève', 'éL')"), "vrai");
  EXPECT_EQ(Show("commence_par('ab', 'abc')"), "faux");
  EXPECT_EQ(Show("commence_par('x', '')"), "vrai");
  EXPECT_EQ(Show("termine_par('Château', 'TEAU')"), "vrai");
  EXPECT_EQ(Show("termine_par('Château', 'Chat')"), "faux");
  EXPECT_EQ(Show("termine_par('x', '')"), "vrai");
  EXPECT_EQ(Show("termine_par('x')"), "! termine_par(texte, suffixe) attend 2 arguments");
  EXPECT_EQ(Show("retirer('Éléphant é', 'É')"), "lphant ");
  EXPECT_EQ(Show("retirer('abc', '')"), "abc");
  EXPECT_EQ(Show("retirer('abc')"), "! retirer(texte, motif) attend 2 arguments");
}

TEST(TextsReplace, ExactCaseWithoutRescanning) {
  EXPECT_EQ(Show("remplacer('aaa', 'a', 'aa')"), "aaaaaa");
  EXPECT_EQ(Show("remplacer('abc', '', 'x')"), "abc");
  EXPECT_EQ(Show("remplacer('Aa', 'a', 'b')"), "Ab");
  EXPECT_EQ(Show("remplacer('a-b-c', '-', '')"), "abc");
  EXPECT_EQ(Show("remplacer('a', 'b')"), "! remplacer(texte, ancien, nouveau) attend 3 arguments");
}

TEST(TextsRepeat, BoundIsTheOneTheMessageStates) {
  EXPECT_EQ(Show("longueur(repeter_texte('ab', -2))"), "0");
  EXPECT_EQ(Show("repeter_texte('-', 3)"), "---");
  EXPECT_EQ(Show("répéter_texte('ab', 2)"), "abab");
  EXPECT_EQ(Show("longueur(repeter_texte('x', 10000))"), "10000");
  EXPECT_EQ(Show("repeter_texte('x', 10001)"), "! Ligne 1: repeter_texte: n trop grand (max 10000)");
  EXPECT_EQ(Show("repeter_texte('x', 4294967297)"), "! Ligne 1: repeter_texte: n trop grand (max 10000)");
  EXPECT_EQ(Show("repeter_texte('x')"), "! repeter_texte(texte, n) attend 2 arguments");
  // Past the text limit: refused before the text is built.
  std::string big = Show("repeter_texte(repeter_texte('abcdefgh', 10000), 10000)");
  EXPECT_NE(big.find("Texte trop long"), std::string::npos) << big;
}

TEST(TextsSearch, CompterAndPosition) {
  EXPECT_EQ(Show("compter('Abracadabra', 'A')"), "5");
  EXPECT_EQ(Show("compter('aaaa', 'aa')"), "2");
  EXPECT_EQ(Show("compter('x', '')"), "0");
  EXPECT_EQ(Show("compter('été', 'É')"), "0");  // ASCII case only
  EXPECT_EQ(Show("position('o', 'Bonjour')"), "2");
  EXPECT_EQ(Show("position('O', 'bonjour', 3)"), "5");
  EXPECT_EQ(Show("position('b', 'abc', -4)"), "2");
  EXPECT_EQ(Show("position('', 'abc')"), "0");
  EXPECT_EQ(Show("position('c', 'abc', 4)"), "0");
  EXPECT_EQ(Show("position('a', 'abc', 4294967297)"), "0");
  EXPECT_EQ(Show("position('a')"), "! position(motif, chaine) ou position(motif, chaine, depart)");
  EXPECT_EQ(Show("compter('a')"), "! compter(texte, motif) attend 2 arguments");
}

TEST(TextsCut, CopierInsertionSupprimer) {
  EXPECT_EQ(Show("copier('Bonjour', 0, 3)"), "Bon");
  EXPECT_EQ(Show("copier('Bonjour', 6, 10)"), "ur");
  EXPECT_EQ(Show("longueur(copier('abc', 2, 0))"), "0");
  EXPECT_EQ(Show("longueur(copier('abc', 9, 2))"), "0");
  EXPECT_EQ(Show("copier('abc', 1)"), "! copier(texte, debut, longueur) attend 3 arguments");
  EXPECT_EQ(Show("insertion('abc', 0, 'X')"), "Xabc");
  EXPECT_EQ(Show("insertion('abc', 2, 'X')"), "aXbc");
  EXPECT_EQ(Show("insertion('abc', 99, 'X')"), "abcX");
  EXPECT_EQ(Show("insertion('abc', 1)"), "! insertion(texte, position, morceau) attend 3 arguments");
  EXPECT_EQ(Show("supprimer(2, 'Bonjour')"), "Bnjour");
  EXPECT_EQ(Show("supprimer(0, 'abc')"), "! Ligne 1: supprimer: position hors limites (0). Intervalle autorisé: 1..3");
  EXPECT_EQ(Show("supprimer(4, 'abc')"), "! Ligne 1: supprimer: position hors limites (4). Intervalle autorisé: 1..3");
  EXPECT_EQ(Show("supprimer(1)"), "! Ligne 1: supprimer(position, texte) attend 2 arguments");
}

TEST(TextsCut, Decouper) {
  EXPECT_EQ(Show("découper('a;b;c', ';')"), "[a, b, c]");
  EXPECT_EQ(Show("longueur(decouper('a,,b', ','))"), "3");
  EXPECT_EQ(Show("longueur(decouper('a,', ','))"), "2");
  EXPECT_EQ(Show("longueur(decouper('', ','))"), "1");
  EXPECT_EQ(Show("decouper('abc', '')"), "[a, b, c]");
  EXPECT_EQ(Show("longueur(decouper('', ''))"), "0");
  EXPECT_EQ(Show("decouper('a--b', '--')"), "[a, b]");
  EXPECT_EQ(Show("decouper('a')"), "! Ligne 1: découper(texte, séparateur) attend 2 arguments");
}

TEST(TextsCodes, CaractereAndCode) {
  EXPECT_EQ(Show("caractère(65)"), "A");
  EXPECT_EQ(Show("caractere(233)"), "é");
  EXPECT_EQ(Show("caractère(65536)"),
            "! Ligne 1: caractère: code hors limites (65536). Intervalle autorisé: 0..65535");
  EXPECT_EQ(Show("caractère(-1)"), "! Ligne 1: caractère: code hors limites (-1). Intervalle autorisé: 0..65535");
  EXPECT_EQ(Show("code('Abc')"), "65");
  EXPECT_EQ(Show("code('😀')"), "55357");  // the first code unit of the pair
  EXPECT_EQ(Show("code('')"), "! Ligne 1: code: texte vide");
  EXPECT_EQ(Show("code()"), "! Ligne 1: code(x) attend 1 argument");
}

TEST(TextsFilters, KeepFoldAndCount) {
  EXPECT_EQ(Show("lettres('A1é×2')"), "Aé×");
  EXPECT_EQ(Show("chiffres('tel: 06-12')"), "0612");
  EXPECT_EQ(Show("normaliser('Ça dépend, Ærø et Ñandú')"), "Ca depend, AEro et Ñandu");
  EXPECT_EQ(Show("normaliser('ßÿÝåÞŒ')"), "ssyYåÞŒ");
  EXPECT_EQ(Show("compter_mots('  un   deux\ttrois  ')"), "3");
  EXPECT_EQ(Show("compter_mots('   ')"), "0");
  EXPECT_EQ(Show("inverser('abc')"), "cba");
  EXPECT_EQ(Show("supprime_espace('  a b \t')"), "a b");
  EXPECT_EQ(Show("supprime_espace()"), "! supprime_espace(texte) attend 1 argument");
  EXPECT_EQ(Show("normaliser()"), "! Ligne 1: normaliser(texte) attend 1 argument");
}

TEST(TextsRegex, MatchesInOrder) {
  EXPECT_EQ(Show("expression('\\d+', 'a1b22c333')"), "[1, 22, 333]");
  EXPECT_EQ(Show("expression('A', 'banana')"), "[a, a, a]");  // case-insensitive
  EXPECT_EQ(Show("expression('(b)(a)', 'baba')"), "[ba, ba]");  // whole matches, not groups
  EXPECT_EQ(Show("longueur(expression('z', 'banana'))"), "0");
  // Empty matches move forward: '', 'aaa', '' for a* on baaa.
  EXPECT_EQ(Show("longueur(expression('a*', 'baaa'))"), "3");
  EXPECT_EQ(Show("longueur(expression('x*', 'ab'))"), "3");
  EXPECT_EQ(Show("expression('a')"), "! expression(pattern, texte) attend 2 arguments");
}

TEST(TextsRegex, InvalidAndRunawayPatternsFail) {
  std::string invalid = Show("expression('[', 'x')");
  EXPECT_EQ(invalid.rfind("! expression : pattern invalide \"[\" (", 0), 0u) << invalid;
  EXPECT_EQ(invalid.back(), ')');
  auto start = std::chrono::steady_clock::now();
  std::string runaway = Show("expression('(a+)+$', repeter_texte('a', 30) + 'b')");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
  EXPECT_EQ(runaway.rfind("! expression : pattern invalide \"(a+)+$\" (", 0), 0u) << runaway;
}

TEST(TextsSimilar, DistanceAndThreshold) {
  EXPECT_EQ(Show("similaire('Bonjour ', 'bonjour')"), "vrai");
  EXPECT_EQ(Show("similaire('É', 'é')"), "faux");
  EXPECT_EQ(Show("similaire('bonjour', 'bonjuor')"), "faux");
  EXPECT_EQ(Show("similaire('bonjour', 'bonjuor', 0.7)"), "vrai");
  EXPECT_EQ(Show("similaire('chat', '', 0)"), "vrai");
  EXPECT_EQ(Show("similaire('chat', '', 0.1)"), "faux");
  EXPECT_EQ(Show("similaire('  ', '')"), "vrai");
  EXPECT_EQ(Show("similaire('kitten', 'sitting', 0.57)"), "vrai");  // distance 3 of 7
  EXPECT_EQ(Show("similaire('kitten', 'sitting', 0.58)"), "faux");
  EXPECT_EQ(Show("similaire('a', 'b', 1.5)"), "! Ligne 1: similaire : le seuil doit être compris entre 0 et 1");
  EXPECT_EQ(Show("similaire('a')"), "! Ligne 1: similaire(texte1, texte2 [, seuil]) attend 2 ou 3 arguments");
  // Shifted long texts differ by two edits only.
  EXPECT_EQ(Show("similaire(repeter_texte('ab', 500), repeter_texte('ba', 500), 0.997)"), "vrai");
  EXPECT_EQ(Show("similaire(repeter_texte('ab', 500), repeter_texte('ba', 500), 0.9985)"), "faux");
}

TEST(TextsRandom, DrawsFromTheSharedGenerator) {
  SeedRandom(7);
  std::vector<std::string> expected;
  for (int i = 0; i < 20; ++i) expected.push_back(std::string(1, "abc"[NextRandom(3)]));
  EXPECT_EQ(test::RunProgram("répète 20 fois\naffiche hasardtexte('a', 'b', 'c')\nfin répète", {}, 7).Lines,
            expected);
  EXPECT_EQ(Show("hasardtexte(12)"), "12");
  EXPECT_EQ(Show("hasardtexte()"), "! Ligne 1: hasardtexte attend au moins un argument");
}
