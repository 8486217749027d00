#include <gtest/gtest.h>

#include <pthread.h>

#include "TestRun.h"

using namespace mirelon::test;

TEST(CallablesDefinitions, RegisteredBeforeTheRun) {
  EXPECT_EQ(Out("affiche double(4)\nfonction double(x)\nretourne x * 2\nfin fonction"), "8");
  EXPECT_EQ(Out("fonction f()\nretourne 1\nfin fonction\nfonction F()\nretourne 2\nfin fonction\naffiche f()"), "2");
  EXPECT_EQ(Out("fonction pair(x)\nretourne 'moi'\nfin fonction\naffiche pair(3)"), "faux");  // builtins win
  EXPECT_EQ(Err("fonction f\nretourne 1"), "Définition \"f\" sans fin correspondante");
  EXPECT_EQ(Err("fonction (x)\nfin fonction"), "Ligne 1: Nom attendu après \"fonction\"");
  EXPECT_EQ(Err("affiche 1\nfonction f(x\nfin fonction"), "Ligne 2: \")\" attendu");
}

TEST(CallablesDefinitions, ParameterNames) {
  EXPECT_EQ(Err("fonction f(z, Z)\nfin fonction"), "Ligne 1: Paramètre en double : \"Z\"");
  EXPECT_EQ(Err("fonction f(texte)\nfin fonction"), "Ligne 1: Nom de paramètre interdit : \"texte\" est un nom de type");
  EXPECT_EQ(Err("fonction f(si)\nfin fonction"), "Ligne 1: Nom de paramètre interdit : \"si\" est un mot réservé");
  EXPECT_EQ(Err("fonction f(longueur)\nfin fonction"),
            "Ligne 1: Nom de paramètre interdit : \"longueur\" est une fonction native");
  EXPECT_EQ(Err("fonction g()\nfin fonction\nfonction f(G)\nfin fonction"),
            "Ligne 3: Nom de paramètre interdit : \"G\" est déjà une fonction ou une procédure");
}

TEST(CallablesCalls, ArgumentsResultsAndScopes) {
  EXPECT_EQ(Err("fonction f(x)\nretourne x\nfin fonction\naffiche f(1, 2)"),
            "Ligne 4: \"f\" : 1 paramètre(s) attendu(s), 2 fourni(s)");
  EXPECT_EQ(Err("affiche inconnue(1)\n"), "Ligne 1: Fonction/procédure inconnue : \"inconnue\"");
  EXPECT_EQ(Out("fonction f()\nx vaut 1\nfin fonction\naffiche f()"), "0");
  EXPECT_EQ(Out("procédure p()\nretourne 5\nfin procédure\naffiche p()"), "0");
  // The result replaces whatever the value read before it held.
  EXPECT_EQ(Out("procédure p()\nfin procédure\nselon 0\ncas 'a', p() :\naffiche 'zéro'\nfin selon"), "zéro");
  EXPECT_EQ(Out("selon 2\ncas 'a', longueur('xy') :\naffiche 'deux'\nfin selon"), "deux");
  EXPECT_EQ(Out("fonction f()\naffiche 'dans f'\nretourne 3\nfin fonction\nappelle f"), "dans f");
  EXPECT_EQ(Out("x vaut 1\nprocédure p()\nx vaut 2\nlocal vaut 3\nfin procédure\nappelle p()\naffiche x\n"
                "affiche local"),
            "ERREUR: Ligne 8: Variable inconnue : \"local\"");
  // A callee sees and changes the variables of every caller on the stack.
  EXPECT_EQ(Out("procédure change()\nv vaut 'changé'\nfin procédure\nprocédure appelant()\nv vaut 'local'\n"
                "appelle change\naffiche v\nfin procédure\nappelle appelant"),
            "changé");
  EXPECT_EQ(Out("procédure ajoute1(t)\nt ajoute 1\nfin procédure\ntab vaut []\nappelle ajoute1(tab)\naffiche tab"),
            "[1]");
  EXPECT_EQ(Out("fonction f(n)\npour i de 1 à 10\nsi i = n alors\nretourne i * 10\nfin si\nfin pour\nfin fonction\n"
                "affiche f(3)"),
            "30");
  EXPECT_EQ(Err("constante K vaut 1\nfonction f(k)\nfin fonction\naffiche f(2)"),
            "Ligne 4: \"k\" est une constante : modification interdite");
  EXPECT_EQ(Err("appelle 3"), "Ligne 1: appelle attend un nom de procédure");
  EXPECT_EQ(Err("fonction f()\nretourne\nfin fonction\naffiche f()"), "Ligne 2: retourne attend une expression");
}

// Operands are read left to right: a call that changes a variable affects
// only the reads that come after it, and a result survives the calls nested
// in the expression that returns it.
TEST(CallablesCalls, OperandsAroundCallsThatChangeVariables) {
  const char* bump = "x vaut 1\nfonction f()\nx vaut x + 10\nretourne 100\nfin fonction\n";
  EXPECT_EQ(Out(std::string(bump) + "affiche x + f() + x"), "112");
  EXPECT_EQ(Out(std::string(bump) + "affiche f() * 0 + x * 2"), "22");
  EXPECT_EQ(Out(std::string(bump) + "t vaut 'x' + x + f() + x\naffiche t"), "x110011");
  EXPECT_EQ(Out("fonction g(n)\nsi n = 0 alors\nretourne 'fin'\nfin si\nretourne n + '-' + g(n - 1) + '-' + n\n"
                "fin fonction\naffiche g(2)"),
            "2-1-fin-1-2");
}

// Arguments wait on one stack while later arguments make calls of their own,
// deep enough to make that stack grow.
TEST(CallablesCalls, ArgumentsKeptAcrossNestedCalls) {
  EXPECT_EQ(Out("fonction cumul(p, b, c, d)\n  si p <= 0 alors\n    retourne b + c + d\n  fin si\n"
                "  retourne cumul(p - 1, b + 1, cumul(0, c, 1, 1), d + p)\nfin fonction\n"
                "affiche cumul(60, 0, 0, 0)\naffiche cumul(3, 1, 2, 3)\naffiche longueur('ab' + cumul(1, 'x', 2, 3))"),
            "2010\n21\n6");
}

TEST(CallablesRecursion, EndsWithTheFatalError) {
  TRunResult r = RunProgram("fonction f(n)\nretourne f(n + 1)\nfin fonction\naffiche f(1)");
  EXPECT_TRUE(r.Fatal);
  EXPECT_NE(r.Error.find("Récursion trop profonde ("), std::string::npos) << r.Error;
  EXPECT_NE(r.Error.find("\"f\" s'appelle peut-être elle-même sans condition d'arrêt."), std::string::npos);
  EXPECT_EQ(r.ErrorLine, 2);
}

TEST(CallablesRecursion, SmallStackRefusesBeforeItOverflows) {
  // The worker of a run has 1 MiB of stack.
  TRunResult r;
  pthread_attr_t attr;
  pthread_attr_init(&attr);
  pthread_attr_setstacksize(&attr, 1 << 20);
  pthread_t t;
  auto body = [](void* p) -> void* {
    *static_cast<TRunResult*>(p) = RunProgram("fonction f(n)\nretourne f(n + 1) + 1\nfin fonction\naffiche f(1)");
    return nullptr;
  };
  ASSERT_EQ(pthread_create(&t, &attr, body, &r), 0);
  pthread_join(t, nullptr);
  pthread_attr_destroy(&attr);
  EXPECT_TRUE(r.Fatal) << r.Error;
}

TEST(CallablesClasses, RecordsWithTypedFields) {
  EXPECT_EQ(Out("classe joueur :\nnom est un texte\nscore, vie est un nombre\nfin classe\naffiche joueur\n"
                "joueur.score vaut 100\naffiche joueur.score"),
            "{nom: , score: 0, vie: 0}\n100");
  EXPECT_EQ(Err("classe c :\nx est un mot\nfin classe"), "Ligne 2: Type de champ inconnu dans la classe : \"mot\"");
  EXPECT_EQ(Err("classe c :\n3 est un nombre\nfin classe"), "Ligne 2: Nom de champ attendu dans la classe \"c\"");
  EXPECT_EQ(Err("classe :\nfin classe"), "Ligne 1: classe attend un nom");
  EXPECT_EQ(Err("classe c :\nx est un nombre\n"), "Ligne 3: Élément attendu : fin classe, mais trouvé : la fin du programme");
  EXPECT_EQ(Err("classe c :\nx est un texte\nfin classe\nc.x vaut 3"),
            "Ligne 4: \"c.x\" est de type texte, impossible d'affecter un nombre");
  EXPECT_EQ(Out("classe c :\nnom est un texte\nfin classe\nnom vaut 'ok'\naffiche nom"), "ok");
}

TEST(CallablesNames, ReservedNamesRefusedBeforeTheRun) {
  EXPECT_EQ(Err("affiche 1\ntableau est un nombre"), "Ligne 2: Nom de variable interdit : \"tableau\" est un mot réservé");
  EXPECT_EQ(Err("affiche 1\ntexte vaut 3"), "Ligne 2: Nom de variable interdit : \"texte\" est un nom de type");
  EXPECT_EQ(Err("racine vaut 3"), "Ligne 1: Nom de variable interdit : \"racine\" est une fonction native");
  EXPECT_EQ(Err("fonction f()\nfin fonction\nf vaut 3"),
            "Ligne 3: Nom de variable interdit : \"f\" est déjà une fonction ou une procédure");
  EXPECT_EQ(Err("tant vaut 1"), "Ligne 1: Nom de variable interdit : \"tant\" est un mot réservé");
  EXPECT_EQ(Err("x 5"), "Ligne 1: Instruction inconnue après \"x\"");
  EXPECT_TRUE(RunProgram("affiche 'avant'\n5 vaut 3").Lines.empty());
}
