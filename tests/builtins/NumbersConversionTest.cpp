#include <gtest/gtest.h>

#include <ctime>

#include "NumbersRun.h"

namespace mirelon::testing {
namespace {

TEST(NumbersTypes, TestsAndNames) {
  EXPECT_EQ(RunProgram("affiche est_nombre(' 12 ')\naffiche est_nombre('3,5')\naffiche est_nombre('1e3')\n"
                       "affiche est_nombre('a')\naffiche est_nombre(vrai)\naffiche est_booléen(faux)\n"
                       "affiche est_texte(1)\naffiche type_de(vrai)\naffiche type_de([1])"),
            "vrai\nvrai\nvrai\nfaux\nfaux\nvrai\nfaux\nbooléen\ntableau");
  EXPECT_EQ(RunError("affiche est_texte()"), "Ligne 1: est_texte(x) attend 1 argument");
}

TEST(NumbersConvert, ToNumberAndText) {
  EXPECT_EQ(RunProgram("affiche convertir_nombre(' 2,5 ') + 1\naffiche convertir_nombre(vrai)\n"
                       "affiche convertir_texte(2.5)"),
            "3,5\n1\n2,5");
  EXPECT_EQ(RunError("affiche convertir_nombre('x')"), "convertir_nombre: texte non convertible en nombre");
  EXPECT_EQ(RunError("affiche convertir_nombre([1])"), "Ligne 1: convertir_nombre: type non convertible");
}

TEST(NumbersConvert, VersType) {
  EXPECT_EQ(RunProgram("affiche vers_type('Nombre', '12,5')\naffiche vers_type(' TEXTE ', 3)\n"
                       "affiche vers_type('date', 45000.7)\naffiche vers_type('heure', 2.25)\n"
                       "affiche vers_type('nombre', vrai)"),
            "12,5\n3\n15/03/2023\n06:00:00\n1");
  EXPECT_EQ(RunProgram("affiche vers_type('date', ' 15/3/2023 ')\naffiche vers_type('heure', '10:30')"),
            "15/03/2023\n10:30:00");
  EXPECT_EQ(RunError("affiche vers_type('date', '31/02/2024')"),
            "Ligne 1: vers_type : \"31/02/2024\" n'est pas une date valide");
  EXPECT_EQ(RunError("affiche vers_type('heure', '25:00')"), "Ligne 1: vers_type : \"25:00\" n'est pas une heure valide");
  EXPECT_EQ(RunError("affiche vers_type('booléen', 1)"),
            "Ligne 1: vers_type : type cible inconnu \"booléen\" (attendu : nombre, texte, date ou heure)");
  EXPECT_EQ(RunError("affiche vers_type('nombre', ' x ')"),
            "Ligne 1: vers_type : \" x \" n'est pas convertible en nombre");
  EXPECT_EQ(RunError("affiche vers_type('nombre', [1])"),
            "Ligne 1: vers_type : conversion vers nombre impossible pour ce type");
  EXPECT_EQ(RunError("affiche vers_type('date', vrai)"),
            "Ligne 1: vers_type : conversion vers date impossible pour ce type");
  EXPECT_EQ(RunError("affiche vers_type('heure', [1])"),
            "Ligne 1: vers_type : conversion vers heure impossible pour ce type");
}

TEST(NumbersDefaults, NewValuesOfTheSameKind) {
  EXPECT_EQ(RunProgram("t vaut [1, 2]\nu vaut défaut(t)\nu ajoute 3\naffiche t\naffiche u\n"
                       "affiche défaut(5)\naffiche défaut(vrai)\nh est une heure\naffiche défaut(h)"),
            "[1, 2]\n[3]\n0\nfaux\n00:00:00");
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char today[16];
  std::strftime(today, sizeof today, "%d/%m/%Y", &local);
  EXPECT_EQ(RunProgram("d est une date\naffiche défaut(d)"), today);
  EXPECT_EQ(RunError("i est une image\naffiche défaut(i)"), "Ligne 2: défaut : type non pris en charge");
}

TEST(NumbersChoice, SialorsKeepsTheChosenValue) {
  EXPECT_EQ(RunProgram("t vaut [1]\nu vaut sialors('faux', 0, t)\nu ajoute 2\naffiche t\naffiche sialors(1, 'a', 'b')"),
            "[1, 2]\na");
}

TEST(NumbersUid, RandomWhateverTheSeed) {
  std::string two = RunProgram("affiche uid()\naffiche uid()");
  ASSERT_EQ(two.size(), 73u);
  std::string a = two.substr(0, 36), b = two.substr(37);
  EXPECT_NE(a, b);
  EXPECT_NE(a, RunProgram("affiche uid()").substr(0, 36));
  for (size_t i = 0; i < a.size(); ++i) {
    if (i == 8 || i == 13 || i == 18 || i == 23)
      EXPECT_EQ(a[i], '-');
    else
      EXPECT_TRUE(isdigit(a[i]) || (a[i] >= 'a' && a[i] <= 'f')) << a;
  }
  EXPECT_EQ(a[14], '4');
  EXPECT_EQ(RunError("affiche uid(1)"), "Ligne 1: uid() ne prend aucun argument");
}

}  // namespace
}  // namespace mirelon::testing
