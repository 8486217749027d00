#include <gtest/gtest.h>

#include "TestRun.h"

using namespace mirelon::test;

TEST(DeclarationsTyped, DefaultsAndKinds) {
  EXPECT_EQ(Out("x est un Nombre\nt est un tableau\ne est un enregistrement\nb est un booléen\naffiche x\naffiche t\n"
                "affiche e\naffiche b"),
            "0\n[]\n{}\nfaux");
  EXPECT_EQ(Err("x est un BOOLÉEN"), "Ligne 1: Type inconnu : \"BOOLÉEN\"");
  EXPECT_EQ(Out("p, q est un tableau\np ajoute 1\naffiche q"), "[]");
  EXPECT_EQ(Out("x, y est une date\naffiche y"), "30/12/1899");
  EXPECT_EQ(Err("x, y est un\ntruc"), "Ligne 1: Type inconnu : \"EOL\"");
  EXPECT_EQ(Err("x, y est un truc"), "Ligne 1: Type inconnu : \"truc\"");
  EXPECT_EQ(Err("x, 3, y est un nombre"), "Ligne 1: Identifiant attendu après \",\"");
  EXPECT_EQ(Err("x, y vaut 3"), "Ligne 1: Après \"x, y\", seule la forme \"x, y est ...\" est supportée");
  EXPECT_EQ(Err("x est un nombre vaut 5"), "Ligne 1: Nom de variable interdit : \"nombre\" est un nom de type");
}

TEST(DeclarationsConstants, AllForms) {
  EXPECT_EQ(Out("constante MAX vaut 10\naffiche max"), "10");
  EXPECT_EQ(Out("pi2 est une constante vaut 6.28\naffiche pi2"), "6,28");
  EXPECT_EQ(Out("p, q est une constante vaut 2\naffiche p + q"), "4");
  EXPECT_EQ(Err("constante N vaut 3\nN est un nombre"), "Ligne 2: \"N\" est une constante : modification interdite");
  EXPECT_EQ(Err("constante N vaut 3\nn vaut 4"), "Ligne 2: \"n\" est une constante : modification interdite");
  EXPECT_EQ(Err("constante N vaut 3\nconstante n vaut 4"), "Ligne 2: Constante déjà définie : \"n\"");
  EXPECT_EQ(Err("x vaut 1\nconstante X vaut 4"), "Ligne 2: \"X\" existe déjà comme variable");
  EXPECT_EQ(Err("constante\n"), "Ligne 1: Constante attend un identifiant");
  // A shared array held by a constant is changed before the refusal.
  EXPECT_EQ(Out("constante T vaut [1]\nu vaut T\nessayer\nT ajoute 2\nattraper\nfin essayer\naffiche u"), "[1, 2]");
}

TEST(DeclarationsAssign, KindIsFixedByTheFirstValue) {
  EXPECT_EQ(Err("x vaut 5\nx vaut \"a\""), "Ligne 2: \"x\" est de type nombre, impossible d'affecter un texte");
  EXPECT_EQ(Err("x est un nombre\nx vaut 3 > 2"), "Ligne 2: \"x\" est de type nombre, impossible d'affecter un booléen");
  EXPECT_EQ(Out("t est un tableau\nu vaut t\nu ajoute 1\naffiche t"), "[1]");
}

TEST(DeclarationsAdd, NumbersTextsArrays) {
  EXPECT_EQ(Out("s est un texte\ns ajoute 5\naffiche s"), "5");
  EXPECT_EQ(Out("s vaut 'a'\nt vaut s\ns ajoute 'b'\naffiche s + t"), "aba");  // a shared text is not changed
  EXPECT_EQ(Err("s est un texte\ns soustrait 1"), "Ligne 2: \"s\" est de type texte, \"soustrait\" réservé aux nombres");
  EXPECT_EQ(Err("b est un booléen\nb ajoute 1"), "Ligne 2: \"ajoute\" non supporté sur le type booléen");
  EXPECT_EQ(Err("x vaut 1\nx ajoute 'a'"), "Ligne 2: \"x\" est de type nombre, impossible d'ajouter un texte");
  EXPECT_EQ(Err("x vaut 1\nx soustrait 'a'"), "Ligne 2: Impossible de soustraire un texte à un nombre");
  EXPECT_EQ(Out("x vaut 10\nx soustrait 2.5\naffiche x"), "7,5");
}

TEST(DeclarationsArrays, SupprimeVideAndIndexedAssignment) {
  EXPECT_EQ(Err("t est un tableau\nt supprime 0"), "Ligne 2: Index hors limites : t[0]");
  EXPECT_EQ(Err("t est un tableau\nsupprime t 0"), "Ligne 2: Index hors limites : t[0]");
  EXPECT_EQ(Out("t vaut [1, 2, 3]\nsupprime t 1\naffiche t\nvide t\naffiche t"), "[1, 3]\n[]");
  EXPECT_EQ(Err("x vaut 1\nvide x"), "Ligne 2: \"x\" n'est pas un tableau");
  EXPECT_EQ(Err("vide 3"), "Ligne 1: vide attend un nom de tableau");
  EXPECT_EQ(Err("supprime 3 1"), "Ligne 1: supprime attend un nom de tableau");
  EXPECT_EQ(Out("t vaut []\nt[3] vaut 7\naffiche t"), "[, , , 7]");
  EXPECT_EQ(Out("t vaut []\nt[1][2] vaut 'x'\naffiche t\naffiche t[0]"), "[[], [, , x]]\n[]");
  EXPECT_EQ(Out("t vaut [5]\nt[0][1] vaut 2\naffiche t"), "[[, 2]]");
  EXPECT_EQ(Err("t vaut []\nt[-1] vaut 2"), "Ligne 2: Index négatif interdit");
  EXPECT_EQ(Err("t vaut 'abc'\nt[0] vaut 1"), "Ligne 2: \"t\" n'est pas un tableau");
  TRunResult r = RunProgram("t vaut []\nt[100000000] vaut 1");
  EXPECT_TRUE(r.Language);
  EXPECT_NE(r.Error.find("Tableau trop grand"), std::string::npos) << r.Error;
}

// The same field read or written at one place of the program, in records
// whose fields stand in other orders, or after a field is removed.
TEST(DeclarationsFields, SamePlaceDifferentRecords) {
  const char* records =
      "fonction lire(r)\n  retourne r.b\nfin fonction\nprocédure ecrire(r, v)\n  r.b vaut v\nfin procédure\n"
      "u est un enregistrement\nu.x vaut 1\nu.b vaut 2\nc est un enregistrement\nc.b vaut 3\nc.x vaut 4\n";
  EXPECT_EQ(Out(std::string(records) + "affiche lire(u) + lire(c) * 10 + lire(u) * 100"), "232");
  EXPECT_EQ(Out(std::string(records) + "appelle ecrire(c, 7)\nappelle ecrire(u, 8)\nappelle ecrire(c, 9)\n"
                                       "affiche u\naffiche c"),
            "{x: 1, b: 8}\n{b: 9, x: 4}");
  EXPECT_EQ(Out(std::string(records) + "affiche lire(u)\nsupprime_champ(u, 'x')\naffiche lire(u)\n"
                                       "u.B vaut 5\naffiche lire(u)\naffiche u"),
            "2\n2\n5\n{b: 5}");
  EXPECT_EQ(Err(std::string(records) + "affiche lire(u)\nsupprime_champ(u, 'b')\naffiche lire(u)"),
            "Champ inconnu : \"b\"");
}

TEST(DeclarationsFields, VautAjouteSoustrait) {
  EXPECT_EQ(Err("e est un enregistrement\ne.nom vaut \"A\"\ne.nom vaut 3"),
            "Ligne 3: \"e.nom\" est de type texte, impossible d'affecter un nombre");
  EXPECT_EQ(Err("e est un enregistrement\ne.age ajoute 1"), "Champ inconnu : \"age\"");
  EXPECT_EQ(Out("e est un enregistrement\ne.n vaut 1\ne.n ajoute 2\ne.s vaut 'a'\ne.s ajoute 1\naffiche e"),
            "{n: 3, s: a1}");
  EXPECT_EQ(Err("e est un enregistrement\ne.nom affiche"), "Ligne 2: instruction invalide sur champ \"e.nom\"");
  EXPECT_EQ(Err("e est un enregistrement\ne.p.q vaut 1"), "Ligne 2: instruction invalide sur champ \"e.p\"");
  EXPECT_EQ(Err("x vaut 1\nx.p vaut 1"), "Ligne 2: \"x\" n'est pas un enregistrement");
  EXPECT_EQ(Err("e est un enregistrement\ne.n vaut 'a'\ne.n soustrait 1"),
            "Ligne 3: \"e.n\" est de type texte, \"soustrait\" réservé aux nombres");
}
