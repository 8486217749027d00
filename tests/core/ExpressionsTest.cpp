#include <gtest/gtest.h>

#include "TestRun.h"

using namespace mirelon::test;

namespace {
std::string Show(const std::string& expr) { return Out("affiche " + expr); }
}  // namespace

TEST(ExpressionsPrecedence, Levels) {
  EXPECT_EQ(Show("-2 ^ 2"), "-4");
  EXPECT_EQ(Show("2 ^ 3 ^ 2"), "512");
  EXPECT_EQ(Show("2 ^ -1"), "0,5");
  EXPECT_EQ(Show("1 + 2 * 3 - 4 / 2"), "5");
  EXPECT_EQ(Show("non 1 = 2"), "vrai");
  EXPECT_EQ(Show("non non vrai"), "vrai");
  EXPECT_EQ(Err("affiche - -3"), "Ligne 1: Expression attendue, obtenu : \"-\"");
  EXPECT_EQ(Err("si 1 < 2 < 3 alors\nfin si"), "Ligne 1: Élément attendu : alors, mais trouvé : \"<\"");
}

// Mixed levels in one expression: associativity, where "non" and the unary
// minus may stand, and a comparison that does not chain even after "et" or "non".
TEST(ExpressionsPrecedence, MixedLevels) {
  EXPECT_EQ(Show("1 - 2 - 3"), "-4");
  EXPECT_EQ(Show("12 / 3 / 2"), "2");
  EXPECT_EQ(Show("1 + 2 * 3 ^ 2 - -1"), "20");
  EXPECT_EQ(Show("2 * -3 + 1"), "-5");
  EXPECT_EQ(Show("2 ^ 2 ^ -1"), "1,4142135624");
  EXPECT_EQ(Show("(1 + 2) * (3 + 4) mod 5"), "1");
  EXPECT_EQ(Show("1 = 1 et 2 = 2 ou faux"), "vrai");
  EXPECT_EQ(Show("faux ou vrai et faux"), "faux");
  EXPECT_EQ(Show("non 1 = 2 et faux"), "faux");
  EXPECT_EQ(Show("vrai et non faux"), "vrai");
  EXPECT_EQ(Show("'a' + 1 = 'a1'"), "vrai");
  EXPECT_EQ(Show("(1 < 2) = vrai"), "vrai");
  EXPECT_EQ(Err("affiche 1 + non vrai"), "Ligne 1: Expression attendue, obtenu : \"non\"");
  EXPECT_EQ(Err("affiche 2 * non vrai"), "Ligne 1: Expression attendue, obtenu : \"non\"");
  EXPECT_EQ(Err("si vrai et 1 = 1 = 1 alors\nfin si"), "Ligne 1: Élément attendu : alors, mais trouvé : \"=\"");
  EXPECT_EQ(Err("si non 1 = 1 = 1 alors\nfin si"), "Ligne 1: Élément attendu : alors, mais trouvé : \"=\"");
  EXPECT_EQ(Err("si 1 + 1 = 2 < 3 ou vrai alors\nfin si"), "Ligne 1: Élément attendu : alors, mais trouvé : \"<\"");
}

TEST(ExpressionsLogic, BothSidesAlwaysEvaluated) {
  EXPECT_EQ(Err("x vaut 0\nsi x <> 0 et 10 / x > 1 alors\nfin si"), "Ligne 2: Division par zéro");
  EXPECT_EQ(Show("0 ou ''"), "faux");
  EXPECT_EQ(Show("3"), "3");  // no operator: the value passes unchanged
}

TEST(ExpressionsArithmetic, DivisionModuloPower) {
  EXPECT_EQ(Show("7 mod 3"), "1");
  EXPECT_EQ(Show("-7 mod 3"), "-1");
  EXPECT_EQ(Show("7 mod -3"), "1");
  EXPECT_EQ(Show("7.5 % 2"), "1,5");
  EXPECT_EQ(Err("affiche 1 mod 0"), "Ligne 1: Modulo par zéro");
  EXPECT_EQ(Show("2 ^ 0.5"), "1,4142135624");
  EXPECT_EQ(Show("0 ^ 0"), "1");
  EXPECT_EQ(Err("affiche 10 ^ 16"),
            "Nombre trop grand : au-delà de 9 007 199 254 740 992 (2^53), les nombres ne sont plus exacts");
  EXPECT_EQ(Show("'6' * 2"), "12");
  EXPECT_EQ(Show("'six' * 2"), "0");
  EXPECT_EQ(Show("vrai + 1"), "2");
  EXPECT_EQ(Err("t vaut []\naffiche t * 2"), "Ligne 2: Conversion en nombre impossible");
}

TEST(ExpressionsText, ConcatenationAndComparison) {
  EXPECT_EQ(Show("'n = ' + 1,5"), "n = 1,5");
  EXPECT_EQ(Show("1 + '1'"), "11");
  EXPECT_EQ(Show("'t' + [1, 2]"), "t[1, 2]");
  EXPECT_EQ(Err("affiche 'a' - 1"), "Ligne 1: Soustraction de textes impossible");
  EXPECT_EQ(Show("10 < '9'"), "vrai");
  EXPECT_EQ(Show("'10' < '9'"), "vrai");
  EXPECT_EQ(Show("10 < 9"), "faux");
  EXPECT_EQ(Show("'Z' < 'a'"), "vrai");
  EXPECT_EQ(Show("3 = '3'"), "vrai");
  EXPECT_EQ(Show("3 = '3,0'"), "faux");
  EXPECT_EQ(Show("vrai = 1"), "vrai");
  EXPECT_EQ(Show("0.1 + 0.2 = 0.3"), "faux");
  EXPECT_EQ(Err("d est une date\naffiche d < d"), "Ligne 2: Conversion en nombre impossible");
}

// A text literal is read once per run and shared: growing a value read from
// it must never change what the literal gives next time.
TEST(ExpressionsText, LiteralsStayUnchangedWhenValuesGrow) {
  EXPECT_EQ(Out("pour i de 1 à 3\n  s vaut 'ab'\n  s ajoute 'c'\n  affiche s + i\nfin pour"), "abc1\nabc2\nabc3");
  EXPECT_EQ(Out("pour i de 1 à 3\n  affiche 'n' + i + 'n'\nfin pour"), "n1n\nn2n\nn3n");
  EXPECT_EQ(Out("t est un tableau\npour i de 1 à 2\n  t ajoute 'x'\nfin pour\nt[0] vaut t[0] + 'y'\naffiche t"), "[xy, x]");
}

TEST(ExpressionsLiterals, HexadecimalAndCharacterCodes) {
  EXPECT_EQ(Show("$FF"), "255");
  EXPECT_EQ(Show("$FFFFFFFF"), "-1");
  EXPECT_EQ(Show("$7FFFFFFF"), "2147483647");
  EXPECT_EQ(Show("$80000000"), "-2147483648");
  EXPECT_EQ(Show("$000000001"), "1");
  EXPECT_EQ(Err("affiche $100000000"), "Ligne 1: Nombre hexadécimal invalide : $100000000");
  EXPECT_EQ(Show("#65"), "A");
  EXPECT_EQ(Err("affiche #256"), "Ligne 1: Code ASCII invalide");
  EXPECT_EQ(Err("affiche # x"), "Ligne 1: Nombre attendu après \"#\"");
  EXPECT_EQ(Show("VRAI"), "vrai");
  EXPECT_EQ(Out("vrai vaut 3\naffiche vrai"), "vrai");
}

TEST(ExpressionsNames, IndexesAndFields) {
  EXPECT_EQ(Out("t vaut [10, 20]\naffiche t[1.9]\naffiche t[-0.5]"), "20\n10");
  EXPECT_EQ(Out("nom vaut 'abc'\naffiche nom[1]"), "a");
  EXPECT_EQ(Err("nom vaut 'abc'\naffiche nom[0]"), "Ligne 2: Index hors limites : nom[0]");
  EXPECT_EQ(Err("t vaut [1]\naffiche t[1]"), "Ligne 2: Index hors limites : t[1]");
  EXPECT_EQ(Out("t vaut [[1, 'xy']]\naffiche t[0][1][2]"), "y");
  EXPECT_EQ(Err("x vaut 3\naffiche x[0]"), "Ligne 2: \"x\" n'est pas un tableau ni un texte");
  EXPECT_EQ(Err("r vaut 'a'\naffiche r.nom"), "Ligne 2: \"r\" n'est pas un enregistrement");
  EXPECT_EQ(Err("affiche inconnu"), "Ligne 1: Variable inconnue : \"inconnu\"");
  EXPECT_EQ(Err("affiche \"abc\"[1]"), "Ligne 1: Instruction inattendue : \"[\"");
}

TEST(ExpressionsArrays, LiteralsAcrossLines) {
  EXPECT_EQ(Out("t vaut [1, 2,\n 3]\naffiche t"), "[1, 2, 3]");
  EXPECT_EQ(Err("t vaut [\n1]"), "Ligne 1: Expression attendue, obtenu : \"EOL\"");
  EXPECT_EQ(Err("t vaut [1, 2"), "Ligne 1: Crochet fermant \"]\" attendu dans le tableau");
  EXPECT_EQ(Err("affiche\n"), "Ligne 1: Expression attendue, obtenu : \"EOL\"");
  EXPECT_EQ(Err("affiche"), "Ligne 1: Expression attendue, obtenu : \"\"");
  EXPECT_EQ(Err("affiche (1 + 2"), "Ligne 1: Élément attendu : \")\", mais trouvé : la fin du programme");
}

TEST(ExpressionsNesting, DeepNestingEndsInALanguageError) {
  std::string deep(100000, '(');
  TRunResult r = RunProgram("affiche " + deep + "1");
  EXPECT_TRUE(r.Language);
  EXPECT_EQ(r.Error, "Ligne 1: Imbrication trop profonde (parenthèses, crochets ou blocs)");
  std::string nots;
  for (int i = 0; i < 100000; ++i) nots += "non ";
  TRunResult n = RunProgram("affiche " + nots + "vrai");
  EXPECT_TRUE(!n.Failed || n.Language) << n.Error;  // runs, or ends in a language error
}

// Expressions of numbers and booleans take a shortcut; random expressions,
// well formed or not, must give the same values, the same end and the same
// errors with it and without it.
namespace {

class TExpressionMaker {
 public:
  explicit TExpressionMaker(uint32_t seed) : FState(seed) {}
  std::string Make() { return Expression(0); }

 private:
  uint32_t Next(uint32_t n) {
    FState = FState * 1664525u + 1013904223u;
    return (FState >> 8) % n;
  }
  template <size_t N>
  const char* Pick(const char* const (&words)[N]) { return words[Next(N)]; }

  std::string Operand(int depth) {
    static const char* const atoms[] = {"0", "1", "2", "3", "7", "0.5", "2.5", "10", "$FF",
                                        "x", "y", "n", "t", "f", "k", "vrai", "faux"};
    // Operands the shortcut leaves to the general evaluator.
    static const char* const others[] = {"'4'", "inconnu", "99999999999999999999", "longueur('ab')", "p.x",
                                         "p.b", "p.s", "p.zz", "p.x.y", "l[0]", "l[1 + 1]", "l[x - 3]", "l[9]",
                                         "l[-1]", "l[3]", "l[0][0]", "l[vrai]", "l[(x)] ^ 2", "x.y", "vrai.x"};
    switch (Next(12)) {
      case 0: return depth < 4 ? "(" + Expression(depth + 1) + ")" : Pick(atoms);
      case 1: return "-" + Operand(depth + 1);
      case 2: return "non " + Operand(depth + 1);
      case 3: return Next(2) == 0 ? Pick(others) : Pick(atoms);
      default: return Pick(atoms);
    }
  }
  std::string Expression(int depth) {
    static const char* const operators[] = {"+", "-", "*", "/", "mod", "^", "=", "<>", "<",
                                            ">", "<=", ">=", "et", "ou", "+", "*", "<", "et"};
    static const char* const stray[] = {"(", ")", "non", "-", "^", ",", "alors"};
    std::string e = Operand(depth);
    for (uint32_t n = Next(4); n > 0; --n) {
      e += std::string(" ") + Pick(operators) + " " + Operand(depth);
      if (Next(40) == 0) e += std::string(" ") + Pick(stray);
    }
    return e;
  }
  uint32_t FState;
};

void ExpectSameRuns(const std::string& program) {
  TRunResult quick = RunProgram(program);
  TRunResult general = RunProgram(program, {}, 0, [](mirelon::TMirelon& M) { M.SetQuickNumbers(false); });
  ASSERT_EQ(quick.Text(), general.Text()) << program;
  ASSERT_EQ(quick.Error, general.Error) << program;
}

}  // namespace

TEST(ExpressionsShortcut, SameResultsAsTheGeneralEvaluator) {
  const std::string variables =
      "constante k vaut 4\nx vaut 3\ny vaut -2\nn vaut 0\nt vaut vrai\nf vaut faux\np est un enregistrement\n"
      "p.x vaut 3\np.b vaut vrai\np.s vaut 't'\nl vaut [1, 2.5, vrai, 'z']\n";
  TExpressionMaker maker(7);
  for (int i = 0; i < 3000; ++i) {
    std::string e = maker.Make();
    ExpectSameRuns(variables + "affiche " + e);
    ExpectSameRuns(variables + "si " + e + " alors\naffiche 'oui'\nsinon\naffiche 'non'\nfin si");
  }
}

// "vaut", "ajoute" and "soustrait" change a number variable or field in place
// when their expression reads as a number: the same values and errors, also
// on a constant, a boolean, a text, a value past 2^53 and a missing field.
TEST(ExpressionsShortcut, NumberStatementsInPlace) {
  const std::string variables =
      "constante k vaut 4\nx vaut 3\ny vaut -2\nn vaut 0\nt vaut vrai\nf vaut faux\np est un enregistrement\n"
      "p.x vaut 3\np.b vaut vrai\np.s vaut 't'\np.g vaut 2 ^ 53\nl vaut [1, 2.5, vrai, 'z']\ngrand vaut 2 ^ 53\n"
      "mot vaut 'a'\n";
  const char* const targets[] = {"x", "x", "y", "k", "t", "mot", "grand", "absent",
                                 "p.x", "p.x", "p.b", "p.s", "p.g", "p.zz", "k.x", "x.y", "l.x"};
  const char* const statements[] = {" vaut ", " ajoute ", " soustrait "};
  TExpressionMaker maker(11);
  for (int i = 0; i < 3000; ++i) {
    std::string e = maker.Make();
    const char* target = targets[i % std::size(targets)];
    ExpectSameRuns(variables + target + statements[i % 3] + e + "\naffiche " + target);
  }
}

TEST(ExpressionsShortcut, VariablesThatChangeKind) {
  // The shortcut gives up on the text, and its result stays right when the
  // variable is a number again.
  EXPECT_EQ(Out("pour i de 1 à 3\n  si i = 2 alors\n    x est un texte\n    x vaut 'deux'\n  sinon\n"
                "    x est un nombre\n    x vaut i\n  fin si\n  affiche x + 1\nfin pour"),
            "2\ndeux1\n4");
  EXPECT_EQ(Out("x vaut 2\naffiche x * x > 3 et non x = 5"), "vrai");
  EXPECT_EQ(Err("x vaut 2\naffiche x / (x - 2)"), "Ligne 2: Division par zéro");
}
