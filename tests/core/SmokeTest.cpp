#include <gtest/gtest.h>

#include "TestRun.h"

using namespace mirelon::test;

TEST(Smoke, ArithmeticAndText) {
  EXPECT_EQ(Out("affiche 10 / 4\naffiche 'n = ' + 1,5\naffiche 2 ^ 3 ^ 2"), "2,5\nn = 1,5\n512");
}

TEST(Smoke, StatementsRun) {
  EXPECT_EQ(Out("x est un nombre\npour i de 1 à 3\n  x ajoute i\nfin pour\naffiche x\naffiche i"), "6\n3");
  EXPECT_EQ(Out("fonction f(n)\n si n < 2 alors\n retourne n\n fin si\n retourne f(n - 1) + f(n - 2)\nfin fonction\naffiche f(15)"), "610");
  EXPECT_EQ(Out("essayer\naffiche 10 / 0\nattraper e\naffiche e\nfin essayer"), "Ligne 2: Division par zéro");
  EXPECT_EQ(Out("t vaut [1, 2]\nt ajoute 3\naffiche t\nselon 5\ncas 10 à 1 :\naffiche 'ok'\nfin selon"), "[1, 2, 3]\nok");
  EXPECT_EQ(Out("si âge est plus grand que 17 alors\naffiche 1\nsinon\naffiche 2\nfin si"), "ERREUR: Ligne 1: Variable inconnue : \"âge\"");
}
