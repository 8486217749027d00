// The whole walk, expressions, and statements that start with an unexpected token.
#include <gtest/gtest.h>

#include "AnalyzerTestUtil.h"

namespace mirelon::test {
namespace {

TEST(AnalyzerGeneral, EmptyTextsAndCommentsGiveNothing) {
  for (const char* src : {"", "\n\n  \n", "// note\n{ un commentaire\nsur deux lignes }\n", "\r\n\t\r\n"})
    EXPECT_EQ(Findings(src), TFindings{}) << src;
  std::vector<TMirelonDiagnostic> diags{{1, u"ancien", true}};
  EXPECT_TRUE(TMirelonAnalyzer().Analyze(u"", diags));
  EXPECT_TRUE(diags.empty());
}

TEST(AnalyzerGeneral, ResultIsFalseOnlyWhenAnErrorIsFound) {
  std::vector<TMirelonDiagnostic> diags;
  TMirelonAnalyzer a;
  EXPECT_TRUE(a.Analyze(u"essayer\naffiche 1\nfin essayer", diags));
  EXPECT_EQ(diags.size(), 1u);
  EXPECT_FALSE(diags[0].IsFatal);
  EXPECT_FALSE(a.Analyze(u"affiche", diags));
  ASSERT_EQ(diags.size(), 1u);
  EXPECT_TRUE(diags[0].IsFatal);
  // Nothing of one analysis is left in the next one.
  EXPECT_TRUE(a.Analyze(u"affiche 1", diags));
  EXPECT_TRUE(diags.empty());
}

TEST(AnalyzerGeneral, LoopDepthIsResetAfterAnAbortedWalk) {
  TMirelonAnalyzer a;
  std::vector<TMirelonDiagnostic> diags;
  std::u16string deep;
  for (int i = 0; i < 5000; ++i) deep += u"tant que vrai\n";
  EXPECT_FALSE(a.Analyze(deep, diags));
  EXPECT_FALSE(a.Analyze(u"arrête", diags));
  ASSERT_EQ(diags.size(), 1u);
  EXPECT_EQ(diags[0].Line, 1);
}

TEST(AnalyzerGeneral, HtmlReferencesAreDecodedBeforeLexing) {
  EXPECT_EQ(Findings("&#120; vaut 3 &lt; 4"), TFindings{});
  EXPECT_EQ(Findings("affiche &quot;a)&quot;"), TFindings{});
}

TEST(AnalyzerGeneral, UnknownStatementAfterANameThenEachStrayToken) {
  EXPECT_EQ(Findings("x = 5"), (TFindings{"E1 Instruction inconnue après \"x\" (vaut / est / ajoute …)",
                                          "E1 Instruction inattendue : \"=\"", "E1 Instruction inattendue : \"5\""}));
}

TEST(AnalyzerGeneral, TokensThatStartNoStatement) {
  EXPECT_EQ(Findings("cas 1 :"), (TFindings{"E1 Instruction inattendue : \"cas\"", "E1 Instruction inattendue : \"1\"",
                                            "E1 Instruction inattendue : \":\""}));
  EXPECT_EQ(Findings("\n\n'abc'\nsinon selon"),
            (TFindings{"E3 Instruction inattendue : \"abc\"", "E4 Instruction inattendue : \"sinon selon\""}));
}

TEST(AnalyzerGeneral, ClosingAndMiddleKeywordsOnTheirOwn) {
  const std::pair<const char*, const char*> cases[] = {
      {"sinon", "\"sinon\" sans \"si\" correspondant"},
      {"sinon si", "\"sinon\" sans \"si\" correspondant"},
      {"fin si", "\"fin si\" sans \"si\" correspondant"},
      {"fin tant que", "\"fin tant que\" sans \"tant que\" correspondant"},
      {"fin repete", "\"fin répète\" sans \"répète\" correspondant"},
      {"fin pour", "\"fin pour\" sans \"pour\" correspondant"},
      {"fin selon", "\"fin selon\" sans \"selon\" correspondant"},
      {"attraper", "\"attraper\" sans \"essayer\" correspondant"},
      {"fin essayer", "\"fin essayer\" sans \"essayer\" correspondant"},
      {"fin fonction", "\"fin fonction\" sans \"fonction\" correspondante"},
      {"fin procédure", "\"fin procédure\" sans \"procédure\" correspondante"},
      {"fin classe", "\"fin classe\" sans \"classe\" correspondant"},
  };
  for (const auto& [src, msg] : cases) EXPECT_EQ(Findings(std::string("\n") + src), TFindings{std::string("E2 ") + msg});
}

TEST(AnalyzerGeneral, TerminerAndSimpleStatementsAreAccepted) {
  EXPECT_EQ(Findings("terminer\naffiche 'fin'\nx vaut 1\nx ajoute 2\nx soustrait 1\n"), TFindings{});
}

TEST(AnalyzerExpression, MissingAtTheEndOfTheText) {
  EXPECT_EQ(Findings("affiche 1\naffiche"), TFindings{"E2 Expression manquante après \"affiche\""});
  EXPECT_EQ(Findings("x vaut\n\n"), TFindings{"E1 Expression manquante après \"x vaut\""});
}

TEST(AnalyzerExpression, ExpressionMayStartOnALaterLine) {
  EXPECT_EQ(Findings("affiche\n\n3"), TFindings{});
}

TEST(AnalyzerExpression, EmptyBeforeAClosingBracket) {
  EXPECT_EQ(Findings("affiche )"),
            (TFindings{"E1 Expression vide après \"affiche\"", "E1 Instruction inattendue : \")\""}));
}

TEST(AnalyzerExpression, UnclosedParenthesisSwallowsTheRestOfTheText) {
  EXPECT_EQ(Findings("affiche (1 + 2\naffiche 3\nfin si\n= ="),
            TFindings{"E1 Parenthèse(s) non fermée(s) dans l'expression après \"affiche\""});
}

TEST(AnalyzerExpression, UnclosedBracketsAndBothKindsTogether) {
  EXPECT_EQ(Findings("affiche [1, 2"), TFindings{"E1 Crochet(s) non fermé(s) dans l'expression après \"affiche\""});
  EXPECT_EQ(Findings("affiche ([1"), (TFindings{"E1 Parenthèse(s) non fermée(s) dans l'expression après \"affiche\"",
                                                "E1 Crochet(s) non fermé(s) dans l'expression après \"affiche\""}));
}

TEST(AnalyzerExpression, DiagnosticTakesTheLineWhereTheExpressionWasExpected) {
  EXPECT_EQ(Findings("x vaut\n(1 + 2"), TFindings{"E1 Parenthèse(s) non fermée(s) dans l'expression après \"x vaut\""});
}

TEST(AnalyzerExpression, InsideBracketsLineEndsAndCommasDoNotEndIt) {
  EXPECT_EQ(Findings("t vaut [1,\n2,\n3]\naffiche max(a, b) + t[0]\naffiche (1 alors 2)"), TFindings{});
}

TEST(AnalyzerExpression, EndKeywordEndsTheExpression) {
  EXPECT_EQ(Findings("affiche 1 alors"), TFindings{"E1 Instruction inattendue : \"alors\""});
  EXPECT_EQ(Findings("affiche 1, 2"),
            (TFindings{"E1 Instruction inattendue : \",\"", "E1 Instruction inattendue : \"2\""}));
}

TEST(AnalyzerExpression, ComparisonPhrasesAreSymbolsByThen) {
  EXPECT_EQ(Findings("si âge est supérieur ou égal à 18 alors\naffiche 'Majeur'\nfin si"), TFindings{});
}

}  // namespace
}  // namespace mirelon::test
