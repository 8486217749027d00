// The analyzer ends on any input, however broken, and reports lexer errors
// and internal failures as the callers expect.
#include <gtest/gtest.h>

#include <pthread.h>

#include <random>

#include "AnalyzerTestUtil.h"
#include "core/Errors.h"

namespace mirelon::test {
namespace {

std::u16string Repeat(std::u16string_view piece, int n) {
  std::u16string s;
  s.reserve(piece.size() * n);
  for (int i = 0; i < n; ++i) s += piece;
  return s;
}

TEST(AnalyzerRobustness, RandomTokenSoupsAlwaysEnd) {
  static const char16_t* const kWords[] = {
      u"si", u"alors", u"sinon", u"sinon si", u"fin si", u"tant que", u"fin tant que", u"répète", u"fois",
      u"fin répète", u"pour", u"de", u"à", u"pas", u"fin pour", u"selon", u"cas", u"sinon selon", u"fin selon",
      u"essayer", u"attraper", u"fin essayer", u"fonction", u"fin fonction", u"procédure", u"fin procédure",
      u"classe", u"fin classe", u"retourne", u"appelle", u"arrête", u"continue", u"terminer", u"affiche",
      u"demande", u"choisir", u"appuyer", u"dans", u"déboguer", u"couleur", u"html", u"constante", u"est", u"un",
      u"une", u"tableau", u"vaut", u"ajoute", u"soustrait", u"supprime", u"vide", u"nombre", u"mot", u"x", u"y",
      u"(", u")", u"[", u"]", u",", u":", u".", u"+", u"=", u"<>", u"3", u"'t'", u"\n", u"\n", u"fin", u"#", u"$",
      u"{", u"'"};
  std::mt19937 rng(20261209);
  std::uniform_int_distribution<size_t> pick(0, std::size(kWords) - 1);
  std::uniform_int_distribution<int> length(0, 80);
  TMirelonAnalyzer analyzer;
  std::vector<TMirelonDiagnostic> diags;
  for (int round = 0; round < 3000; ++round) {
    std::u16string src;
    for (int n = length(rng); n > 0; --n) (src += kWords[pick(rng)]) += u' ';
    analyzer.Analyze(src, diags);
    for (const auto& d : diags) {
      ASSERT_FALSE(d.Msg.empty());
      ASSERT_GE(d.Line, 1) << Utf16ToUtf8(src) << "\n" << Utf16ToUtf8(d.Msg);
    }
  }
}

TEST(AnalyzerRobustness, DeepNestingEndsWithAnInternalErrorInsteadOfACrash) {
  std::vector<TMirelonDiagnostic> diags;
  TMirelonAnalyzer a;
  EXPECT_FALSE(a.Analyze(u"fin si\n" + Repeat(u"si x alors\n", 100000), diags));
  ASSERT_EQ(diags.size(), 2u);
  EXPECT_EQ(Utf16ToUtf8(diags[0].Msg), "\"fin si\" sans \"si\" correspondant");
  EXPECT_EQ(diags[1].Line, -1);
  EXPECT_EQ(Utf16ToUtf8(diags[1].Msg), "Erreur interne de l'analyseur : Imbrication trop profonde");
  EXPECT_FALSE(a.Analyze(Repeat(u"fonction f\npour i de 1 à 2\nselon i\ncas 1 :\n", 3000), diags));
  EXPECT_EQ(diags.back().Line, -1);
}

// A request thread may have a small stack: the walk must end before it runs out.
TEST(AnalyzerRobustness, DeepNestingOnASmallStackEndsCleanly) {
  struct TJob {
    std::u16string Src = Repeat(u"tant que x\n", 100000);
    std::vector<TMirelonDiagnostic> Diags;
  } job;
  pthread_attr_t attr;
  pthread_attr_init(&attr);
  pthread_attr_setstacksize(&attr, 192 * 1024);
  pthread_t thread;
  ASSERT_EQ(pthread_create(
                &thread, &attr,
                [](void* p) -> void* {
                  auto* j = static_cast<TJob*>(p);
                  TMirelonAnalyzer().Analyze(j->Src, j->Diags);
                  return nullptr;
                },
                &job),
            0);
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attr);
  ASSERT_FALSE(job.Diags.empty());
  EXPECT_EQ(Utf16ToUtf8(job.Diags.back().Msg), "Erreur interne de l'analyseur : Imbrication trop profonde");
}

TEST(AnalyzerRobustness, ReasonableNestingIsAnalysedFully) {
  EXPECT_EQ(Findings(Utf16ToUtf8(Repeat(u"si x alors\n", 500) + Repeat(u"fin si\n", 500))), TFindings{});
  EXPECT_EQ(Findings(Utf16ToUtf8(Repeat(u"tant que x\n", 300))).size(), 300u);
}

TEST(AnalyzerRobustness, DeepBracketsAreCountedNotRecursed) {
  EXPECT_EQ(Findings("affiche " + std::string(100000, '(')),
            TFindings{"E1 Parenthèse(s) non fermée(s) dans l'expression après \"affiche\""});
  EXPECT_EQ(Findings("x vaut " + std::string(100000, '[') + std::string(100000, ']')), TFindings{});
}

TEST(AnalyzerRobustness, LexerErrorsLeaveAnalyzeAsExceptions) {
  std::vector<TMirelonDiagnostic> diags;
  try {
    TMirelonAnalyzer().Analyze(u"affiche 1\naffiche U+110000", diags);
    FAIL() << "no exception";
  } catch (const EMirelonError& e) {
    EXPECT_EQ(Utf16ToUtf8(e.Message()), "Ligne 2: U+110000 : code Unicode hors limites (max U+10FFFF)");
    EXPECT_EQ(e.Line(), 2);
  }
}

TEST(AnalyzerRaise, FirstErrorIsRaisedWarningsAreNot) {
  TMirelonAnalyzer a;
  EXPECT_NO_THROW(a.AnalyzeOrRaise(u"essayer\nfin essayer"));
  try {
    a.AnalyzeOrRaise(u"essayer\nfin essayer\nfin si\naffiche");
    FAIL() << "no exception";
  } catch (const EMirelonError& e) {
    EXPECT_EQ(Utf16ToUtf8(e.Message()), "Ligne 3: \"fin si\" sans \"si\" correspondant");
    EXPECT_EQ(e.Line(), 3);
  }
}

}  // namespace
}  // namespace mirelon::test
