#include <gtest/gtest.h>

#include "TestRun.h"

using namespace mirelon::test;

TEST(ControlFlowIf, Branches) {
  EXPECT_EQ(Out("fonction f()\naffiche 'f'\nretourne vrai\nfin fonction\nsi vrai alors\naffiche 1\nsinon si f() alors\n"
                "affiche 2\nfin si"),
            "1");
  EXPECT_EQ(Out("x vaut 5\nsi x > 1\nalors\naffiche 'grand'\nfin si"), "grand");
  EXPECT_EQ(Out("x vaut 2\nsi x = 1 alors\n si vrai alors\n affiche 'non'\n fin si\nsinon si x = 2 alors\naffiche 'deux'\n"
                "sinon\naffiche 'autre'\nfin si"),
            "deux");
  EXPECT_EQ(Out("si faux alors\naffiche 1\nsinon\naffiche 2\nfin si"), "2");
  EXPECT_EQ(Err("si vrai alors\naffiche 1\n"), "Ligne 3: Élément attendu : fin si, mais trouvé : la fin du programme");
  EXPECT_EQ(Err("fin si"), "Ligne 1: Instruction inattendue : \"fin si\"");
  EXPECT_EQ(Err("fin"), "Ligne 1: Instruction inattendue : \"fin\"");
}

TEST(ControlFlowLoops, RepeatCounts) {
  EXPECT_EQ(Out("n vaut 0\nrépète 2.9 fois\nn ajoute 1\nfin répète\naffiche n"), "2");
  EXPECT_EQ(Out("répète 0 fois\naffiche 'x'\nfin répète\nrépète -3 fois\naffiche 'y'\nfin répète\naffiche 'fin'"), "fin");
  EXPECT_EQ(Out("n vaut 0\nrépète 100000 fois\nn ajoute 1\nfin répète\naffiche n"), "100000");
  EXPECT_EQ(Err("n vaut 0\nrépète 100001 fois\nn ajoute 1\nfin répète\naffiche n"),
            "Ligne 2: \"répète 100001 fois\" dépasse la limite de 100000 itérations.");
  EXPECT_EQ(Out("répète 2 fois\naffiche 'a'"), "a\na");  // a missing "fin répète" is no error
}

TEST(ControlFlowLoops, WhileAndForLimits) {
  EXPECT_EQ(Err("x vaut 0\ntant que vrai\nx vaut 1\nfin tant que"),
            "Ligne 2: La boucle \"tant que\" dépasse 100000 itérations (probable boucle infinie).");
  TRunResult r = RunProgram("n vaut 0\ntant que vrai\nn ajoute 1\nsi n = 100000 alors\naffiche n\nfin si\nfin tant que");
  EXPECT_EQ(r.Text(), "100000");  // the body runs 100000 times, then the limit stops the loop
  EXPECT_EQ(Err("pour i de 1 à 200000\nfin pour"),
            "Ligne 1: La boucle \"pour\" dépasse 100000 itérations (probable boucle infinie).");
  EXPECT_EQ(Out("i vaut 0\ntant que i < 3\ni ajoute 1\nfin tant que\naffiche i"), "3");
  EXPECT_EQ(Err("tant que faux\naffiche 1\n"), "Ligne 3: Élément attendu : fin tant que, mais trouvé : la fin du programme");
}

TEST(ControlFlowLoops, ForSteps) {
  EXPECT_EQ(Out("pour i de 1 à 3\naffiche i\nfin pour\naffiche i"), "1\n2\n3\n3");
  EXPECT_EQ(Err("pour i de 3 à 1\nfin pour\naffiche i"), "Ligne 3: Variable inconnue : \"i\"");
  EXPECT_EQ(Out("pour i de 3 à 1 pas -1\naffiche i\nfin pour"), "3\n2\n1");
  EXPECT_EQ(Out("n vaut 0\npour i de 0 à 1 pas 0.1\nn ajoute 1\nfin pour\naffiche n"), "11");
  EXPECT_EQ(Out("n vaut 0\npour i de 1 à 3\ni vaut 10\nn ajoute 1\nfin pour\naffiche n"), "3");
  EXPECT_EQ(Err("pour i de 1 à 5 pas 0\nfin pour"), "Ligne 1: \"pas\" ne peut pas être 0");
  EXPECT_EQ(Err("pour 3 de 1 à 2\nfin pour"), "Ligne 1: \"pour\" attend un identifiant");
  // A counter that held a text becomes a number; a constant is refused.
  EXPECT_EQ(Out("i vaut 'x'\npour i de 1 à 2\naffiche i + 1\nfin pour\naffiche i"), "2\n3\n2");
  EXPECT_EQ(Err("constante c vaut 1\npour c de 1 à 2\nfin pour"),
            "Ligne 3: \"c\" est une constante : modification interdite");
}

TEST(ControlFlowSignals, BreakContinueAcrossBlocksAndCalls) {
  EXPECT_EQ(Out("i vaut 0\ntant que vrai\ni ajoute 1\nsi i = 3 alors\narrête\nfin si\nfin tant que\naffiche i"), "3");
  EXPECT_EQ(Out("pour i de 1 à 4\nsi i mod 2 = 0 alors\ncontinue\nfin si\naffiche i\nfin pour"), "1\n3");
  EXPECT_EQ(Err("arrête\n"), "Ligne 1: \"arrete\" ne peut être utilisé qu'à l'intérieur d'une boucle");
  EXPECT_EQ(Err("\ncontinue"), "Ligne 2: \"continue\" ne peut être utilisé qu'à l'intérieur d'une boucle");
  EXPECT_EQ(Out("procédure p()\narrête\naffiche 'jamais'\nfin procédure\npour i de 1 à 2\nappelle p\naffiche i\nfin pour"),
            "1\n2");
  EXPECT_EQ(Out("pour i de 1 à 3\nselon i\ncas 2 :\narrête\nsinon selon :\naffiche i\nfin selon\nfin pour"), "1");
  EXPECT_EQ(Out("pour i de 1 à 3\nessayer\nsi i = 2 alors\narrête\nfin si\nattraper\nfin essayer\naffiche i\nfin pour"),
            "1");
}

TEST(ControlFlowSelect, CasesAndRanges) {
  EXPECT_EQ(Out("selon 5\ncas 10 à 1 :\naffiche 'ok'\nfin selon"), "ok");
  EXPECT_EQ(Out("selon 'abc'\ncas -1 à 1 :\naffiche 'zéro'\nfin selon"), "zéro");
  EXPECT_EQ(Out("t vaut [1]\nselon t\ncas 0 à 10 :\naffiche 'non'\nsinon selon :\naffiche 'autre'\nfin selon"), "autre");
  EXPECT_EQ(Out("selon 5\ncas '5' :\naffiche 'cinq'\nfin selon"), "cinq");
  EXPECT_EQ(Out("selon 3\ncas 1, 3, 10 à 20 :\naffiche 'a'\ncas 3 :\naffiche 'b'\nsinon selon :\naffiche 'c'\nfin selon"),
            "a");
  EXPECT_EQ(Out("selon 1\ncas 1 :\naffiche 'un'\nsinon selon :\nselon 2\ncas 2 :\naffiche 'x'\nfin selon\nfin selon"),
            "un");
  EXPECT_EQ(Err("selon 1\n\ncas 1 :\nfin selon"), "Ligne 2: Élément attendu : fin selon, mais trouvé : une fin de ligne");
  // Values of later "cas" are still evaluated after a match.
  EXPECT_EQ(Err("selon 1\ncas 1 :\naffiche 'un'\ncas 1 / 0 :\nfin selon"), "Ligne 4: Division par zéro");
}

TEST(ControlFlowTry, WhatIsCaught) {
  EXPECT_EQ(Out("essayer\naffiche 10 / 0\nattraper e\naffiche e\nfin essayer"), "Ligne 2: Division par zéro");
  EXPECT_EQ(Out("essayer\naffiche 10 / 0\nattraper\naffiche 'pris'\nfin essayer"), "pris");
  EXPECT_EQ(Out("essayer\naffiche 1 / 0\nessayer\naffiche 2\nattraper\naffiche 'interne'\nfin essayer\nattraper e\n"
                "affiche 'externe'\nfin essayer"),
            "externe");
  EXPECT_EQ(Err("essayer\naffiche 1 / 0\nfin essayer"), "Ligne 2: Division par zéro");
  EXPECT_EQ(Out("essayer\nterminer\nattraper\naffiche 'non'\nfin essayer\naffiche 'non'"), "");
  EXPECT_EQ(Out("essayer\naffiche 1\nattraper e\naffiche e\nfin essayer\naffiche 'suite'"), "1\nsuite");
  EXPECT_EQ(Err("essayer\nx vaut 1 / 0\nattraper e\naffiche e\nfin essayer\naffiche e"),
            "Ligne 6: Variable inconnue : \"e\"");
  EXPECT_EQ(Out("essayer\nx vaut 1\naffiche 1 / 0\nattraper\nfin essayer\naffiche x"), "1");
  EXPECT_EQ(Err("essayer\naffiche 1 / 0\nattraper\naffiche 2 / 0\nfin essayer"), "Ligne 4: Division par zéro");
  TRunResult fatal = RunProgram("fonction f()\nretourne f()\nfin fonction\nessayer\naffiche f()\nattraper\naffiche 'non'\n"
                                "fin essayer");
  EXPECT_TRUE(fatal.Fatal);
  EXPECT_TRUE(fatal.Lines.empty());
}

TEST(ControlFlowEnd, TerminerAndEmptyPrograms) {
  EXPECT_EQ(Out(""), "");
  EXPECT_EQ(Out("// rien\n{ du tout }\n\n"), "");
  EXPECT_EQ(Out("fonction f()\npour i de 1 à 3\nsi i = 2 alors\nterminer\nfin si\naffiche i\nfin pour\nfin fonction\n"
                "appelle f\naffiche 'non'"),
            "1");
  EXPECT_EQ(Out("affiche 1\nretourne 2\naffiche 3"), "1");
}

TEST(ControlFlowSkipping, NestedBlocksInSkippedBranches) {
  EXPECT_EQ(Out("pour i de 1 à 3\nsi i = 2 alors\nsi vrai alors\ntant que faux\nfin tant que\nfin si\naffiche 'deux'\nsinon\n"
                "répète 1 fois\naffiche i\nfin répète\nfin si\nfin pour"),
            "1\ndeux\n3");
  EXPECT_EQ(Out("classe c :\nx est un nombre\nfin classe\naffiche 'après'"), "après");
}
