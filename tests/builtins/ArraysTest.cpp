#include <gtest/gtest.h>

#include "NumbersRun.h"

namespace mirelon::testing {
namespace {

TEST(ArraysInPlace, TailleIsSeenBySharers) {
  EXPECT_EQ(RunProgram("t vaut [10, 20, 30]\nu vaut t\naffiche taille(t, 2)\naffiche u\nappelle taille(t, 4)\n"
                       "affiche longueur(joindre(u, '|'))\naffiche u[3] = ''"),
            "0\n[10, 20]\n7\nvrai");
  EXPECT_EQ(RunError("t vaut [1]\naffiche taille(t, -1)"), "Ligne 2: taille(tableau, n) : n doit être >= 0");
  EXPECT_EQ(RunError("affiche taille(5, -1)"),
            "Ligne 1: taille(tableau, n) : le premier argument doit être un tableau");
  EXPECT_EQ(RunError("affiche taille([1])"), "Ligne 1: taille(tableau, n) attend exactement 2 arguments");
}

TEST(ArraysShuffle, FollowsTheSeed) {
  EXPECT_EQ(RunProgram("t vaut [1, 2, 3, 4, 5]\nu vaut mélanger(t)\nu ajoute 6\naffiche t"), "[2, 4, 3, 5, 1, 6]");
  // A single element draws nothing: the next draw is the seed's first one.
  EXPECT_EQ(RunProgram("affiche mélanger([7])\naffiche hasard(100)"), "[7]\n0");
  EXPECT_EQ(RunError("affiche melanger(5)"), "Ligne 1: melanger attend un tableau");
}

TEST(ArraysSort, NumbersTextsAndMixtures) {
  EXPECT_EQ(RunProgram("affiche trier([3, 1, 2])\naffiche trier([3, 1, 2], ' DESC ')\n"
                       "affiche trier([3, 1, 2], 'décroissant')\naffiche trier(['b', 'B', 'a'])\n"
                       "affiche trier(['été', 'zèbre', 'abricot', 'Zèbre'])"),
            "[1, 2, 3]\n[3, 2, 1]\n[1, 2, 3]\n[B, a, b]\n[Zèbre, abricot, zèbre, été]");
  // Mixed arrays: numbers against numbers by value, anything else by text.
  EXPECT_EQ(RunProgram("affiche trier([10, '9', 2])\naffiche trier([2, '10', 9])\naffiche trier([1, '10', 5], 'desc')"),
            "[2, 10, 9]\n[10, 2, 9]\n[5, 10, 1]");
  // Stable: equal values keep their order (1 and '1' print alike, so look at kinds).
  EXPECT_EQ(RunProgram("t vaut trier(['1', 'b', 1])\naffiche type_de(t[0]) + ' ' + type_de(t[1])"), "texte nombre");
  EXPECT_EQ(RunError("affiche trier(1)"), "trier : le premier argument doit être un tableau");
  EXPECT_EQ(RunError("affiche trier()"), "trier(tableau [, sens]) attend 1 ou 2 arguments");
}

TEST(ArraysElements, EndsAndListing) {
  EXPECT_EQ(RunProgram("affiche premier([4, 5])\naffiche dernier([4, 5])"), "4\n5");
  EXPECT_EQ(RunError("affiche premier([])"), "Ligne 1: premier: tableau vide");
  EXPECT_EQ(RunError("affiche dernier(5)"), "Ligne 1: dernier attend un tableau");
  EXPECT_EQ(RunProgram("affiche liste_tableau(['a', 2])"), "[0] = a\n[1] = 2\n0");
  EXPECT_EQ(RunError("affiche liste_tableau()"), "liste_tableau(tableau) attend 1 argument");
  EXPECT_EQ(RunError("affiche liste_tableau(1)"), "Ligne 1: liste_tableau attend un tableau");
}

TEST(ArraysRecords, FieldsIgnoreLetterCase) {
  EXPECT_EQ(RunProgram("e est un enregistrement\ne.Nom vaut 'x'\ne.age vaut 3\naffiche existe(e, 'NOM')\n"
                       "affiche existe(e, '')\naffiche champs(e)\naffiche supprime_champ(e, 'nom')\n"
                       "affiche supprime_champ(e, 'nom')\naffiche e\naffiche est_vide(e)"),
            "vrai\nfaux\n[Nom, age]\nvrai\nfaux\n{age: 3}\nfaux");
  EXPECT_EQ(RunError("affiche existe([1], 'x')"), "existe: premier argument doit être un enregistrement");
  EXPECT_EQ(RunError("affiche champs(1)"), "champs: argument doit être un enregistrement");
}

TEST(ArraysAggregates, SumsMeansMedians) {
  EXPECT_EQ(RunProgram("affiche somme(['3', 'abc', vrai])\naffiche somme([])\naffiche moyenne([1, 2])\n"
                       "t vaut [4, 1, 3, 2]\naffiche médiane(t)\naffiche t\naffiche mediane([3, 1, 2])"),
            "4\n0\n1,5\n2,5\n[4, 1, 3, 2]\n2");
  EXPECT_EQ(RunError("affiche moyenne([])"), "Ligne 1: moyenne : le tableau est vide");
  EXPECT_EQ(RunError("affiche médiane([])"), "Ligne 1: médiane : le tableau ne doit pas être vide");
  EXPECT_EQ(RunError("affiche somme([[1]])"), "Ligne 1: Conversion en nombre impossible");
  EXPECT_EQ(RunError("affiche somme(1)"), "somme : l'argument doit être un tableau");
}

TEST(ArraysSearch, EqualityOfValues) {
  EXPECT_EQ(
      RunProgram("affiche unique([1, '1', 2, 1.0])\naffiche unique([[1], [1]])\nx vaut [1]\naffiche unique([x, x])\n"
                 "affiche index_de(['a', 'b'], 'b')\naffiche index_de([1, 2], '2')\naffiche index_de([], 1)"),
      "[1, 2]\n[[1], [1]]\n[[1]]\n2\n2\n0");
  // Arrays of one kind take the set lookups: same results, and fast on large arrays.
  EXPECT_EQ(RunProgram("affiche unique(['a', 'A', 'a'])\naffiche unique([0.1 + 0.2, 0.3, 1, 0.3000001])\n"
                       "u vaut unique(intervalle(1, 300000))\naffiche u[299999]"),
            "[a, A]\n[0,3, 1, 0,3000001]\n300000");
  EXPECT_EQ(RunProgram("affiche joindre([1, 2.5, vrai], ' - ')\naffiche joindre([], '-') = ''"),
            "1 - 2,5 - vrai\nvrai");
  EXPECT_EQ(RunError("affiche joindre(1, '-')"), "joindre : le premier argument doit être un tableau");
}

TEST(ArraysNew, RangesMergesAndZips) {
  EXPECT_EQ(RunProgram("affiche intervalle(5, 1)\naffiche intervalle(1.9, 3.9)\n"
                       "t vaut intervalle(0, 999999)\naffiche t[999999]"),
            "[5, 4, 3, 2, 1]\n[1, 2, 3]\n999999");
  EXPECT_EQ(RunError("affiche intervalle(0, 1000000)"),
            "Ligne 1: intervalle : plage trop grande (maximum 1 000 000 éléments)");
  EXPECT_EQ(RunError("affiche intervalle('-1e300', '1e300')"),
            "Ligne 1: intervalle : plage trop grande (maximum 1 000 000 éléments)");
  EXPECT_EQ(RunProgram("p vaut [[0]]\nq vaut [2]\nf vaut fusionner(p, q)\nf ajoute 3\nx vaut p[0]\nx ajoute 1\n"
                       "affiche f\naffiche p\naffiche q"),
            "[[0, 1], 2, 3]\n[[0, 1]]\n[2]");
  EXPECT_EQ(RunError("affiche fusionner([1], 2)"), "fusionner : le second argument doit être un tableau");
  EXPECT_EQ(RunProgram("affiche assembler([1, 2, 3], ['a', 'b'])"), "[[1, a], [2, b]]");
  EXPECT_EQ(RunError("affiche assembler([1])"),
            "Ligne 1: assembler(tableau1, tableau2, ...) attend au moins 2 tableaux");
  EXPECT_EQ(RunError("affiche assembler([1], 2)"), "Ligne 1: assembler : tous les arguments doivent être des tableaux");
}

TEST(ArraysEmpty, KindsItAccepts) {
  EXPECT_EQ(RunProgram("affiche est_vide('')\naffiche est_vide(' ')\naffiche est_vide([])"), "vrai\nfaux\nvrai");
  EXPECT_EQ(RunError("affiche est_vide(0)"), "est_vide : attend un texte, un tableau ou un enregistrement");
}

}  // namespace
}  // namespace mirelon::testing
