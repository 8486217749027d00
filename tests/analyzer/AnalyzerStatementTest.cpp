// Statements led by a name, declarations, the keyword statements of
// variables and constants, and the console statements.
#include <gtest/gtest.h>

#include "AnalyzerTestUtil.h"

namespace mirelon::test {
namespace {

TEST(AnalyzerAssignment, CorrectFormsGiveNothing) {
  EXPECT_EQ(Findings("x vaut 5\nx ajoute 1\nt supprime 0\np.nom vaut 'a'\np.age ajoute 1\np.age soustrait 2\n"
                     "t[0][i + 1] vaut 2\nf(1, 2)\nf()\ng(h(1), [2, 3])"),
            TFindings{});
}

TEST(AnalyzerAssignment, RightHandSidesAreChecked) {
  EXPECT_EQ(Findings("x ajoute\n"), TFindings{"E1 Expression manquante après \"x ajoute/soustrait\""});
  EXPECT_EQ(Findings("t supprime"), TFindings{"E1 Expression manquante après \"t supprime\""});
  EXPECT_EQ(Findings("p.nom vaut"), TFindings{"E1 Expression manquante après \"p.champ vaut\""});
  EXPECT_EQ(Findings("p.n soustrait (1"),
            TFindings{"E1 Parenthèse(s) non fermée(s) dans l'expression après \"p.champ ajoute/soustrait\""});
}

TEST(AnalyzerField, MissingFieldNameOrStatement) {
  EXPECT_EQ(Findings("p. vaut 3"), TFindings{"E1 Nom de champ attendu après \".\""});
  EXPECT_EQ(Findings("p.nom 3"),
            (TFindings{"E1 Instruction invalide sur le champ de \"p\"", "E1 Instruction inattendue : \"3\""}));
  EXPECT_EQ(Findings("p.nom\nx vaut 1"), TFindings{"E1 Instruction invalide sur le champ de \"p\""});
}

TEST(AnalyzerIndexed, IndexMustCloseAndBeFollowedByVaut) {
  EXPECT_EQ(Findings("t[0\naffiche 1"),
            (TFindings{"E1 \"]\" attendu, obtenu \"EOL\"", "E1 \"t[...] vaut ...\" attendu"}));
  EXPECT_EQ(Findings("t[0] 5"), (TFindings{"E1 \"t[...] vaut ...\" attendu", "E1 Instruction inattendue : \"5\""}));
  EXPECT_EQ(Findings("t[] vaut 1"), TFindings{"E1 Expression vide après \"index\""});
  EXPECT_EQ(Findings("t[1] vaut"), TFindings{"E1 Expression manquante après \"t[...] vaut\""});
}

TEST(AnalyzerCall, ArgumentsAndClosingParenthesis) {
  EXPECT_EQ(Findings("f(1, 2"), TFindings{"E1 \")\" manquant dans l'appel de \"f\""});
  EXPECT_EQ(Findings("f(1,"), TFindings{"E1 \")\" manquant dans l'appel de \"f\""});
  EXPECT_EQ(Findings("f(1 2)"), TFindings{});  // what lies inside an argument is not looked at
  EXPECT_EQ(Findings("f(, 1)"), TFindings{"E1 Expression manquante après \"argument\""});
  EXPECT_EQ(Findings("f(\n1)"), (TFindings{"E1 \")\" manquant dans l'appel de \"f\"", "E2 Instruction inattendue : \"1\"",
                                           "E2 Instruction inattendue : \")\""}));
}

TEST(AnalyzerDeclaration, TypesAreAcceptedIgnoringAsciiCase) {
  EXPECT_EQ(Findings("aa est un nombre\nb est un Texte\nc est un booléen\nd est un booleen\ne est un enregistrement\n"
                     "f est une date\ng est une heure\nh est une toile\ni est une image\nj est un tableau\n"
                     "k est tableau\nl est NOMBRE\nm est une constante vaut 3\nn est constante vaut 'x'"),
            TFindings{});
}

TEST(AnalyzerDeclaration, UnknownOrMissingType) {
  const std::string valid = ". Types valides : nombre, texte, booléen, tableau, enregistrement, date, heure, toile";
  EXPECT_EQ(Findings("x est un mot"), TFindings{"E1 Type inconnu \"mot\" pour \"x\"" + valid});
  EXPECT_EQ(Findings("x est un BOOLÉEN"), TFindings{"E1 Type inconnu \"BOOLÉEN\" pour \"x\"" + valid});
  EXPECT_EQ(Findings("x est"),
            TFindings{"E1 Type attendu pour la déclaration de \"x\" (nombre, texte, booléen, tableau, enregistrement, "
                      "date, heure, toile)"});
  EXPECT_EQ(Findings("x est un 5").size(), 2u);
}

TEST(AnalyzerDeclaration, ConstantWithoutVaut) {
  EXPECT_EQ(Findings("x est une constante"), TFindings{"E1 \"vaut\" attendu après \"constante\" pour \"x\""});
  EXPECT_EQ(Findings("x est une constante vaut"), TFindings{"E1 Expression manquante après \"x est constante vaut\""});
}

TEST(AnalyzerMultiDeclaration, ListOfNamesThenDeclaration) {
  EXPECT_EQ(Findings("u, v, w est un nombre\nd, e est une constante vaut 0"), TFindings{});
  EXPECT_EQ(Findings("u, v est un mot"),
            TFindings{"E1 Type inconnu \"mot\" pour \"v\". Types valides : nombre, texte, booléen, tableau, "
                      "enregistrement, date, heure, toile"});
  EXPECT_EQ(Findings("u, v vaut 3"), (TFindings{"E1 Déclaration multiple : \"est\" attendu après la liste de noms",
                                                "E1 Instruction inattendue : \"vaut\"",
                                                "E1 Instruction inattendue : \"3\""}));
}

TEST(AnalyzerMultiDeclaration, DeclarationNamesTheLastNameCollected) {
  EXPECT_EQ(Findings("u, est un mot"),
            (TFindings{"E1 Identifiant attendu après \",\"",
                       "E1 Type inconnu \"mot\" pour \"u\". Types valides : nombre, texte, booléen, tableau, "
                       "enregistrement, date, heure, toile"}));
}

TEST(AnalyzerMultiDeclaration, WalkGoesOnAfterABadName) {
  EXPECT_EQ(Findings("u, 3 est un nombre"),
            (TFindings{"E1 Identifiant attendu après \",\"", "E1 Déclaration multiple : \"est\" attendu après la liste de noms",
                       "E1 Instruction inattendue : \"3\"", "E1 Instruction inattendue : \"est\"",
                       "E1 Instruction inattendue : \"un\"",
                       "E1 Instruction inconnue après \"nombre\" (vaut / est / ajoute …)"}));
}

TEST(AnalyzerSupprimeVide, NeedAnArrayName) {
  EXPECT_EQ(Findings("supprime t 0\nvide t"), TFindings{});
  EXPECT_EQ(Findings("supprime 3"),
            (TFindings{"E1 \"supprime\" attend un nom de tableau", "E1 Instruction inattendue : \"3\""}));
  EXPECT_EQ(Findings("supprime t"), TFindings{"E1 Expression manquante après \"supprime\""});
  EXPECT_EQ(Findings("\nvide\n"), TFindings{"E2 \"vide\" attend un nom de tableau"});
}

TEST(AnalyzerConstante, NameThenVautThenExpression) {
  EXPECT_EQ(Findings("constante MAX vaut 10"), TFindings{});
  EXPECT_EQ(Findings("constante vaut 3"), (TFindings{"E1 \"constante\" attend un identifiant",
                                                     "E1 Instruction inattendue : \"vaut\"",
                                                     "E1 Instruction inattendue : \"3\""}));
  EXPECT_EQ(Findings("constante MAX 10"), (TFindings{"E1 \"vaut\" attendu après le nom de la constante \"MAX\"",
                                                     "E1 Instruction inattendue : \"10\""}));
  EXPECT_EQ(Findings("constante MAX vaut"), TFindings{"E1 Expression manquante après \"constante MAX vaut\""});
}

TEST(AnalyzerRetourne, OnlyInsideDefinitionsAndWithAValue) {
  EXPECT_EQ(Findings("retourne 1"), TFindings{"E1 \"retourne\" utilisé en dehors d'une fonction"});
  EXPECT_EQ(Findings("procédure p\nretourne 0\nfin procédure\nfonction f\nsi x alors\nretourne 1\nfin si\nfin fonction"),
            TFindings{});
  EXPECT_EQ(Findings("fonction f\nretourne\nfin fonction"), TFindings{"E2 \"retourne\" attend une expression"});
  EXPECT_EQ(Findings("retourne"), (TFindings{"E1 \"retourne\" utilisé en dehors d'une fonction",
                                             "E1 \"retourne\" attend une expression"}));
}

TEST(AnalyzerAppelle, ProcedureNameAndOptionalArguments) {
  EXPECT_EQ(Findings("appelle p\nappelle p()\nappelle p(1, 'a')"), TFindings{});
  EXPECT_EQ(Findings("appelle"), TFindings{"E1 \"appelle\" attend un nom de procédure"});
  EXPECT_EQ(Findings("appelle 3"),
            (TFindings{"E1 \"appelle\" attend un nom de procédure", "E1 Instruction inattendue : \"3\""}));
  EXPECT_EQ(Findings("appelle p(1\naffiche 2"), TFindings{"E1 \")\" manquant dans \"appelle\""});
}

TEST(AnalyzerDemande, TheThreeForms) {
  EXPECT_EQ(Findings("demande 'Nom ?' dans n\ndemande \"Âge : \" + x dans age\ndemande invite + ' ?' dans r\n"
                     "demande n dans m\ndemande n"),
            TFindings{});
}

TEST(AnalyzerDemande, MissingPieces) {
  EXPECT_EQ(Findings("demande 'Nom'"), (TFindings{"E1 \"dans\" attendu après la question",
                                                 "E1 Nom de variable attendu après \"dans\""}));
  EXPECT_EQ(Findings("demande 'Nom' dans"), TFindings{"E1 Nom de variable attendu après \"dans\""});
  EXPECT_EQ(Findings("demande n dans\n"), TFindings{"E1 Nom de variable destination attendu"});
  EXPECT_EQ(Findings("demande"), TFindings{"E1 \"demande\" attend un texte ou un nom de variable"});
  EXPECT_EQ(Findings("dans 3"), (TFindings{"E1 \"demande\" attend un texte ou un nom de variable",
                                           "E1 Instruction inattendue : \"3\""}));
}

TEST(AnalyzerChoisir, ListOrExpressionThenDans) {
  EXPECT_EQ(Findings("choisir ['A', 'B'] dans x\nchoisir options dans x\nchoisir [\n'A',\n'B'] dans x"), TFindings{});
  EXPECT_EQ(Findings("choisir [] dans x"), TFindings{"E1 \"choisir\" attend au moins une option"});
  EXPECT_EQ(Findings("choisir ['A'] dans"), TFindings{"E1 Nom de variable attendu après \"dans\""});
  EXPECT_EQ(Findings("choisir ['A']"), TFindings{"E1 \"dans\" attendu après les options de \"choisir\""});
  EXPECT_EQ(Findings("choisir dans x"), TFindings{"E1 Expression manquante après \"choisir\""});
  EXPECT_EQ(Findings("choisir ['A', ] dans x"), TFindings{"E1 Expression vide après \"choisir [\""});
}

TEST(AnalyzerChoisir, UnclosedListEndsTheCheck) {
  // The rest of the line is then read as a "dans" statement.
  EXPECT_EQ(Findings("choisir ['A' dans x"), TFindings{"E1 \"]\" manquant dans la liste d'options de \"choisir\""});
}

TEST(AnalyzerConsole, AppuyerAndDeboguerAreNotChecked) {
  EXPECT_EQ(Findings("appuyer ['z', 's'] dans k\ndéboguer x\ndeboguer ) ( ]\nappuyer"), TFindings{});
}

TEST(AnalyzerCouleurHtml, Arguments) {
  EXPECT_EQ(Findings("couleur('#FF0000', 'texte')\ncouleur(c)\nhtml('<b>gras</b>')"), TFindings{});
  EXPECT_EQ(Findings("couleur 3"), (TFindings{"E1 \"couleur\" attend une parenthèse ouvrante \"(\"",
                                              "E1 Instruction inattendue : \"3\""}));
  EXPECT_EQ(Findings("html"), TFindings{"E1 \"html\" attend une parenthèse ouvrante \"(\""});
  EXPECT_EQ(Findings("couleur('#F00', 'a'"), TFindings{"E1 \")\" manquant dans \"couleur(...)\""});
  EXPECT_EQ(Findings("couleur()"), TFindings{"E1 Expression vide après \"couleur(\""});
  EXPECT_EQ(Findings("couleur('#F00',)"), TFindings{"E1 Expression vide après \"couleur(\""});
}

TEST(AnalyzerCouleurHtml, HtmlTakesOneArgument) {
  EXPECT_EQ(Findings("html('a', 'b')"),
            (TFindings{"E1 \")\" manquant dans \"html(...)\"", "E1 Instruction inattendue : \",\"",
                       "E1 Instruction inattendue : \"b\"", "E1 Instruction inattendue : \")\""}));
}

}  // namespace
}  // namespace mirelon::test
