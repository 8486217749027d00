// Block statements, loops and their jumps, definitions and classes.
#include <gtest/gtest.h>

#include "AnalyzerTestUtil.h"

namespace mirelon::test {
namespace {

TEST(AnalyzerSi, FullFormAndConditionOnItsOwnLine) {
  EXPECT_EQ(Findings("si x > 3 alors\naffiche 1\nsinon si x > 2 alors\naffiche 2\nsinon si x = 1 alors\nsinon\n"
                     "affiche 3\nfin si\nsi x\nalors\nfin si\nSI x ALORS\nFIN SI"),
            TFindings{});
}

TEST(AnalyzerSi, MissingAlorsIsFoundOnTheNextLineThenTheMissingEnd) {
  EXPECT_EQ(Findings("si x > 3\naffiche x\n"),
            (TFindings{"E2 \"alors\" attendu après la condition du \"si\"", "E1 \"fin si\" manquant"}));
}

TEST(AnalyzerSi, MissingAlorsAfterSinonSi) {
  EXPECT_EQ(Findings("si p alors\nsinon si q\naffiche 1\nfin si"),
            TFindings{"E3 \"alors\" attendu après la condition du \"sinon si\""});
}

TEST(AnalyzerSi, MissingConditionAndNestedMissingEnd) {
  EXPECT_EQ(Findings("si alors\nfin si"), TFindings{"E1 Expression manquante après \"si\""});
  EXPECT_EQ(Findings("si p alors\nsi q alors\naffiche 1\nfin si"), TFindings{"E1 \"fin si\" manquant"});
}

TEST(AnalyzerSi, SinonBranchEndsAtFinSiOnly) {
  EXPECT_EQ(Findings("si p alors\nsinon\nsinon si q alors\nfin si"),
            (TFindings{"E3 \"sinon\" sans \"si\" correspondant", "E3 Instruction inconnue après \"q\" (vaut / est / ajoute …)",
                       "E3 Instruction inattendue : \"alors\""}));
}

TEST(AnalyzerLoops, CorrectLoopsGiveNothing) {
  EXPECT_EQ(Findings("tant que x < 3\nx ajoute 1\nfin tant que\nrépète 3 fois\naffiche 'a'\nfin répète\n"
                     "repete n + 1 fois\nfin repete\npour i de 1 à 10 pas 2\naffiche i\nfin pour\n"
                     "pour j de 10 a 1 pas -1\nfin pour"),
            TFindings{});
}

TEST(AnalyzerLoops, MissingEnds) {
  EXPECT_EQ(Findings("tant que vrai\naffiche 1"), TFindings{"E1 \"fin tant que\" manquant"});
  EXPECT_EQ(Findings("\nrépète 2 fois\n"), TFindings{"E2 \"fin répète\" manquant"});
  EXPECT_EQ(Findings("pour i de 1 à 2\n"), TFindings{"E1 \"fin pour\" manquant"});
}

TEST(AnalyzerLoops, EmptyConditionReachesTheEndKeyword) {
  EXPECT_EQ(Findings("tant que\nfin tant que"), TFindings{"E1 Expression manquante après \"tant que\""});
}

TEST(AnalyzerLoops, RepeteNeedsFois) {
  EXPECT_EQ(Findings("repete 3\naffiche 1\nfin repete"),
            TFindings{"E1 \"fois\" attendu après l'expression dans \"répète\""});
}

TEST(AnalyzerLoops, PourHeader) {
  EXPECT_EQ(Findings("pour de 1 à 3\nfin pour"), TFindings{"E1 \"pour\" attend un identifiant de variable"});
  EXPECT_EQ(Findings("pour i 1 à 3\nfin pour"), TFindings{"E1 \"de\" attendu après la variable de boucle"});
  EXPECT_EQ(Findings("pour i de 1 3\nfin pour"),
            (TFindings{"E1 \"à\" attendu après la valeur de départ", "E1 Expression manquante après \"à\""}));
  EXPECT_EQ(Findings("pour i de 1 à 3 pas\nfin pour"), TFindings{"E1 Expression manquante après \"pas\""});
}

TEST(AnalyzerJumps, ArreteAndContinueOnlyInLoops) {
  EXPECT_EQ(Findings("arrête\n continue"), (TFindings{"E1 \"arrete\" utilisé en dehors d'une boucle",
                                                      "E2 \"continue\" utilisé en dehors d'une boucle"}));
  EXPECT_EQ(Findings("tant que vrai\nsi x alors\narrete\nsinon\ncontinue\nfin si\nfin tant que\narrête"),
            TFindings{"E8 \"arrete\" utilisé en dehors d'une boucle"});
}

TEST(AnalyzerJumps, LoopDepthCarriesIntoDefinitionsButNotOutOfThem) {
  EXPECT_EQ(Findings("fonction f\narrête\nfin fonction"), TFindings{"E2 \"arrete\" utilisé en dehors d'une boucle"});
  EXPECT_EQ(Findings("pour i de 1 à 2\nprocédure p\ncontinue\nfin procédure\nfin pour"), TFindings{});
}

TEST(AnalyzerSelon, BranchesAndRanges) {
  EXPECT_EQ(Findings("selon x\ncas 1, 3, 10 à 20 :\naffiche 'a'\ncas 'b' :\nsinon selon :\naffiche 'c'\nfin selon\n"
                     "selon y\nfin selon"),
            TFindings{});
}

TEST(AnalyzerSelon, WithoutBranchWarnsAndLosesItsEnd) {
  EXPECT_EQ(Findings("selon x\naffiche 1\nfin selon"),
            (TFindings{"W2 \"selon\" sans aucune branche \"cas\" — bloc probablement vide", "E1 \"fin selon\" manquant",
                       "E3 \"fin selon\" sans \"selon\" correspondant"}));
}

TEST(AnalyzerSelon, BranchHeaders) {
  EXPECT_EQ(Findings("selon x\ncas 1\nfin selon"), TFindings{"E2 \":\" attendu après la valeur du cas"});
  EXPECT_EQ(Findings("selon x\ncas :\nfin selon"), TFindings{"E2 Expression manquante après \"cas\""});
  EXPECT_EQ(Findings("selon x\ncas 1 à :\nfin selon"), TFindings{"E2 Expression manquante après \"cas … à\""});
  EXPECT_EQ(Findings("selon x\nsinon selon\nfin selon"), TFindings{"E2 \":\" attendu après \"sinon selon\""});
  EXPECT_EQ(Findings("selon\ncas 1 :\nfin selon"), TFindings{"E1 Expression manquante après \"selon\""});
}

TEST(AnalyzerSelon, CasAfterSinonSelonIsOutOfPlace) {
  EXPECT_EQ(Findings("selon x\nsinon selon :\ncas 2 :\nfin selon"),
            (TFindings{"E3 Instruction inattendue : \"cas\"", "E3 Instruction inattendue : \"2\"",
                       "E3 Instruction inattendue : \":\""}));
}

TEST(AnalyzerEssayer, AttraperIsOptionalButWarned) {
  EXPECT_EQ(Findings("essayer\naffiche 10 / 0\nattraper e\naffiche e\nfin essayer\nessayer\nattraper\nfin essayer"),
            TFindings{});
  EXPECT_EQ(Findings("essayer\naffiche 1\nfin essayer"), TFindings{"W1 \"essayer\" sans \"attraper\" correspondant"});
  EXPECT_EQ(Findings("essayer\nattraper e\naffiche e"), TFindings{"E1 \"fin essayer\" manquant"});
}

TEST(AnalyzerDefinition, FunctionsAndProcedures) {
  EXPECT_EQ(Findings("fonction carre(x)\nretourne x * x\nfin fonction\nprocédure salue(nom, age)\naffiche nom\n"
                     "fin procédure\nfonction f\nretourne 1\nfin fonction\nprocedure p()\nfin procedure"),
            TFindings{});
}

TEST(AnalyzerDefinition, MissingNameSkipsTheWholeDefinition) {
  EXPECT_EQ(Findings("fonction (x)\nretourne = =\nfin fonction\naffiche 2"),
            TFindings{"E1 Nom attendu après \"fonction\""});
  EXPECT_EQ(Findings("procédure\n"), TFindings{"E1 Nom attendu après \"procédure\""});
}

TEST(AnalyzerDefinition, Parameters) {
  EXPECT_EQ(Findings("fonction f(x\nretourne x\nfin fonction"),
            TFindings{"E1 \")\" manquant dans la définition de \"f\""});
  EXPECT_EQ(Findings("fonction f(x, 3)\nfin fonction"),
            (TFindings{"E1 Nom de paramètre attendu dans \"f\"", "E1 \")\" manquant dans la définition de \"f\"",
                       "E1 Instruction inattendue : \"3\"", "E1 Instruction inattendue : \")\""}));
}

TEST(AnalyzerDefinition, MissingOrWrongEnd) {
  EXPECT_EQ(Findings("fonction f()\nretourne 1"), TFindings{"E1 \"fin fonction\" manquant pour \"f\""});
  EXPECT_EQ(Findings("procédure p\nfin fonction"), (TFindings{"E2 \"fin fonction\" sans \"fonction\" correspondante",
                                                              "E1 \"fin procédure\" manquant pour \"p\""}));
}

TEST(AnalyzerClasse, CorrectClassesGiveNothing) {
  EXPECT_EQ(Findings("classe Point :\nx, y est un nombre\nnom est un texte\n\ntags est un tableau\nimg est une image\n"
                     "vu est booléen\nfin classe\nclasse Rien :\nfin classe"),
            TFindings{});
}

TEST(AnalyzerClasse, HeaderProblems) {
  EXPECT_EQ(Findings("classe :\nx est un nombre\nfin classe\naffiche 1"), TFindings{"E1 \"classe\" attend un nom"});
  EXPECT_EQ(Findings("classe P\nx est un nombre\nfin classe"), TFindings{"E1 \":\" attendu après \"classe P\""});
  EXPECT_EQ(Findings("classe P :\nx est un nombre"), TFindings{"E1 \"fin classe\" manquant"});
}

TEST(AnalyzerClasse, FieldProblems) {
  EXPECT_EQ(Findings("classe P :\nx est un mot\nfin classe"),
            TFindings{"E2 Type de champ inconnu \"mot\" dans la classe \"P\". Types valides : nombre, texte, booléen, "
                      "tableau, enregistrement, date, heure, toile"});
  EXPECT_EQ(Findings("classe P :\nx un nombre\nfin classe"), TFindings{"E2 \"est\" attendu après le nom du champ"});
  EXPECT_EQ(Findings("classe P :\nx est\nfin classe"), TFindings{"E2 Type attendu pour le champ de la classe \"P\""});
  EXPECT_EQ(Findings("classe P :\nx, est un nombre\nfin classe"),
            TFindings{"E2 Nom de champ attendu après \",\" dans la classe \"P\""});
}

TEST(AnalyzerClasse, BadFieldLineSkipsToTheEndOfTheClass) {
  EXPECT_EQ(Findings("classe P :\n3 est un nombre\ny = 2\nfin classe\naffiche 1"),
            TFindings{"E2 Nom de champ attendu dans la classe \"P\""});
}

TEST(AnalyzerClasse, NewClassBeforeTheEnd) {
  EXPECT_EQ(Findings("classe P :\nx est un nombre\nclasse Q :\ny est un texte\nfin classe"),
            (TFindings{"E3 \"fin classe\" manquant pour la classe \"P\" avant le début d'une nouvelle classe",
                       "E1 \"fin classe\" manquant"}));
}

}  // namespace
}  // namespace mirelon::test
