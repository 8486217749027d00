#include <gtest/gtest.h>

#include <cmath>

#include "CanvasTestKit.h"
#include "NumbersRun.h"

namespace mirelon::testing {
namespace {

TEST(NumbersRandom, GeneratorFollowsItsSeed) {
  SeedRandom(0);
  uint32_t draws[5];
  for (uint32_t& d : draws) d = NextRandom(101);
  EXPECT_EQ(std::vector<uint32_t>(draws, draws + 5), (std::vector<uint32_t>{0, 3, 86, 20, 27}));
  EXPECT_EQ(RunProgram("affiche hasard(100)\naffiche hasard(100)\naffiche hasard(100)"), "0\n3\n86");
}

TEST(NumbersRandom, BoundsAndOrder) {
  EXPECT_EQ(RunProgram("affiche hasard(0)\naffiche hasard(-5)"), "0\n0");
  std::string draws = RunProgram("pour i de 1 à 200\naffiche hasard(6, 1)\nfin pour", 7);
  for (char c : draws) EXPECT_TRUE(c == '\n' || (c >= '1' && c <= '6')) << draws;
  EXPECT_NE(draws.find('1'), std::string::npos);
  EXPECT_NE(draws.find('6'), std::string::npos);
  EXPECT_EQ(RunError("affiche hasard(1, 2, 3)"), "Ligne 1: hasard(n) ou hasard(min,max)");
}

TEST(NumbersRounding, HalvesGoToEvenOrAwayFromZero) {
  EXPECT_EQ(RunProgram("affiche arrondi(2.5)\naffiche arrondi(3.5)\naffiche arrondi(-2.5)\naffiche arrondi(-0.4)"),
            "2\n4\n-2\n0");
  EXPECT_EQ(RunProgram("affiche décimal(2.5, 0)\naffiche decimal(1.235, 2)\naffiche DÉCIMAL(-3.14159, 3)"),
            "3\n1,24\n-3,142");
  // Halves are those of the digits written, whatever the binary value below
  // them (9.995 and 2.675 are stored just under the half); -0.001 must not
  // print as -0.
  EXPECT_EQ(RunProgram("affiche décimal(9.995, 2)\naffiche décimal(2.675, 2)\naffiche décimal(9.9951, 2)\n"
                       "affiche décimal(-0.001, 2)\naffiche décimal(1234567.891, 1)"),
            "10\n2,68\n10\n0\n1234567,9");
  EXPECT_EQ(RunError("affiche decimal(1, -1)"), "Ligne 1: decimal(x, n) : n doit être >= 0");
  EXPECT_EQ(RunError("affiche décimal(1, 16)"), "Ligne 1: decimal(x, n) : n trop grand (max 15)");
  EXPECT_EQ(
      RunProgram("affiche arrondi_supérieur(-1.7)\naffiche arrondi_inferieur(-1.2)\naffiche arrondi_superieur(-0.5)"),
      "-1\n-2\n0");
}

// "décimal" for every n, compared with the double of the expected text.
TEST(NumbersRounding, DecimalForEveryCount) {
  const double piTo[16] = {
      3,          3.1,           3.14,            3.142,
      3.1416,     3.14159,       3.141593,        3.1415927,
      3.14159265, 3.141592654,   3.1415926536,    3.14159265359,
      3.14159265359, 3.1415926535898, 3.14159265358979, 3.141592653589793,
  };
  const double twoThirdsTo[16] = {
      -1,          -0.7,         -0.67,          -0.667,
      -0.6667,     -0.66667,     -0.666667,      -0.6666667,
      -0.66666667, -0.666666667, -0.6666666667,  -0.66666666667,
      -0.666666666667, -0.6666666666667, -0.66666666666667, -0.666666666666667,
  };
  const double largeTo[16] = {
      1234568,     1234567.9,   1234567.89,  1234567.891, 1234567.891, 1234567.891, 1234567.891, 1234567.891,
      1234567.891, 1234567.891, 1234567.891, 1234567.891, 1234567.891, 1234567.891, 1234567.891, 1234567.891,
  };
  TMirelon M{StandardBuiltins()};
  auto Decimal = [&](double x, int n) {
    return canvastest::Call(M, "décimal", {canvastest::N(x), canvastest::N(n)}).Num;
  };
  for (int n = 0; n <= 15; ++n) {
    EXPECT_EQ(Decimal(3.141592653589793, n), piTo[n]) << "pi, " << n;
    EXPECT_EQ(Decimal(-2.0 / 3, n), twoThirdsTo[n]) << "-2/3, " << n;
    EXPECT_EQ(Decimal(1234567.891, n), largeTo[n]) << "1234567.891, " << n;
  }
  // Ties of the written digits go away from zero at every count.
  EXPECT_EQ(Decimal(1.005, 2), 1.01);
  EXPECT_EQ(Decimal(-0.125, 2), -0.13);
  EXPECT_EQ(Decimal(0.000000000000005, 14), 0.00000000000001);
  EXPECT_EQ(Decimal(0.000000000000005, 13), 0);
  EXPECT_EQ(Decimal(1.0000000000000002, 15), 1);
  EXPECT_EQ(Decimal(4503599627370495.5, 0), 4503599627370496);
  EXPECT_EQ(Decimal(4503599627370495.5, 1), 4503599627370495.5);
  EXPECT_FALSE(std::signbit(Decimal(-0.001, 2)));
}

TEST(NumbersHostErrors, AreNotCaughtByEssayer) {
  const char* guarded = "essayer\naffiche %s\nattraper e\naffiche 'pris'\nfin essayer";
  for (const char* call : {"racine(-1)", "puissance(-8, 0.5)", "puissance(0, -1)"}) {
    char program[128];
    snprintf(program, sizeof program, guarded, call);
    EXPECT_THROW(RunProgram(program), EHostError) << call;
  }
  EXPECT_EQ(RunProgram("essayer\naffiche pi(1)\nattraper e\naffiche e\nfin essayer"),
            "Ligne 2: pi ne prend aucun argument");
}

TEST(NumbersPower, IntegralAndRealExponents) {
  EXPECT_EQ(RunProgram("affiche puissance(2, 10)\naffiche puissance(0, 0)\naffiche puissance(2, -2)\n"
                       "affiche puissance(-2, 3)\naffiche puissance(4, 0.5)\naffiche puissance(0, -0.5)"),
            "1024\n1\n0,25\n-8\n2\n0");
  EXPECT_EQ(RunError("affiche puissance(10, 400)"),
            "Dépassement numérique : la valeur dépasse le maximum représentable");
}

TEST(NumbersArithmetic, ResultsAndMessages) {
  EXPECT_EQ(
      RunProgram("affiche RACINE(16)\naffiche limiter(5, 10, 0)\naffiche limiter(-3, 0, 10)\n"
                 "affiche pair(3)\naffiche impair(-3)\naffiche signe(-0.5)\naffiche pgcd(-12, 18)\n"
                 "affiche pgcd(0, 0)\naffiche incrément('3')\naffiche increment(1, 'x')\naffiche décrement(1, 3)"),
      "4\n5\n0\nfaux\nvrai\n-1\n6\n0\n4\n1\n-2");
  EXPECT_EQ(RunError("affiche tangente(pi() / 2)"), "Ligne 1: tangente(x) : valeur indéfinie (cos = 0)");
  EXPECT_EQ(RunError("affiche logarithme(0)"), "Ligne 1: logarithme(x) : x doit être strictement positif");
  EXPECT_EQ(RunError("affiche pourcentage(1, 0)"), "Ligne 1: pourcentage : le total ne peut pas être zéro");
  EXPECT_EQ(RunError("affiche pourcentage(1)"), "pourcentage(valeur, total) attend 2 arguments");
  EXPECT_EQ(RunError("affiche pgcd(1.5, 3)"), "Ligne 1: pgcd : les deux arguments doivent être des entiers");
  EXPECT_EQ(RunError("affiche décrement()"), "Ligne 1: décrément(x[, n]) attend 1 ou 2 arguments");
  EXPECT_EQ(RunError("affiche racine([1])"), "Ligne 1: Conversion en nombre impossible");
}

TEST(NumbersFactorial, LimitsOfExactness) {
  EXPECT_EQ(RunProgram("affiche factorielle(18)\naffiche factorielle(0)"), "6402373705728000\n1");
  EXPECT_EQ(RunError("affiche factorielle(19)"),
            "Nombre trop grand : au-delà de 9 007 199 254 740 992 (2^53), les nombres ne sont plus exacts");
  EXPECT_EQ(RunError("affiche factorielle(171)"), "Ligne 1: factorielle : n trop grand (max 170)");
  EXPECT_EQ(RunError("affiche factorielle(2.5)"), "Ligne 1: factorielle : n doit être un entier");
  EXPECT_EQ(RunError("affiche factorielle(-1)"), "Ligne 1: factorielle : n doit être >= 0");
}

TEST(NumbersBases, HexadecimalBothWays) {
  EXPECT_EQ(RunProgram("affiche vers_hexadécimal(255)\naffiche vers_hexadecimal(255, '0x', 4)\n"
                       "affiche vers_hexadecimal(-255, '#')\naffiche vers_hexadecimal(0)"),
            "FF\n0x00FF\n-#FF\n0");
  EXPECT_EQ(RunError("affiche vers_hexadécimal(10, '', 20)"),
            "Ligne 1: vers_hexadecimal : largeur trop grande (max 16)");
  EXPECT_EQ(RunProgram("affiche vers_décimal('0xFF', 16)\naffiche vers_decimal('$ff', 16)\n"
                       "affiche vers_decimal('-101', 2)"),
            "255\n255\n-5");
  EXPECT_EQ(RunError("affiche vers_décimal('0x', 16)"), "Ligne 1: vers_decimal : texte vide");
  EXPECT_EQ(RunError("affiche vers_décimal('', 2)"), "Ligne 1: vers_decimal : texte vide");
  EXPECT_EQ(RunError("affiche vers_décimal('102', 2)"), "Ligne 1: vers_decimal : chiffre \"2\" invalide en base 2");
  EXPECT_EQ(RunError("affiche vers_décimal('12', 10)"), "Ligne 1: vers_decimal : base invalide (2, 8 ou 16 seulement)");
  EXPECT_EQ(RunError("affiche vers_décimal('-0x1F', 16)"), "Ligne 1: vers_decimal : caractere invalide \"X\"");
}

}  // namespace
}  // namespace mirelon::testing
