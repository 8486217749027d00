// The JSON answer of an analysis.
#include "analyzer/AnalysisJson.h"

#include <gtest/gtest.h>

namespace mirelon {
namespace {

TEST(AnalysisJson, EmptyListIsOk) {
  EXPECT_EQ(DiagnosticsJson({}), R"({"diagnostics":[],"ok":true})");
}

TEST(AnalysisJson, WarningAloneIsNotOkButDoesNotFail) {
  bool failed = true;
  EXPECT_EQ(AnalysisJson(u"essayer\nfin essayer", failed),
            R"({"diagnostics":[{"line":1,"msg":"\"essayer\" sans \"attraper\" correspondant","fatal":false}],"ok":false})");
  EXPECT_FALSE(failed);
}

TEST(AnalysisJson, ErrorsAreAsciiEscapedInOrder) {
  bool failed = false;
  EXPECT_EQ(AnalysisJson(u"\nfin répète\nretourne 1", failed),
            R"({"diagnostics":[{"line":2,"msg":"\"fin r\u00E9p\u00E8te\" sans \"r\u00E9p\u00E8te\" correspondant","fatal":true},)"
            R"({"line":3,"msg":"\"retourne\" utilis\u00E9 en dehors d'une fonction","fatal":true}],"ok":false})");
  EXPECT_TRUE(failed);
}

TEST(AnalysisJson, LexerErrorBecomesAnErrorObject) {
  bool failed = false;
  EXPECT_EQ(AnalysisJson(u"affiche U+110000", failed),
            R"j({"error":"Ligne 1: U+110000 : code Unicode hors limites (max U+10FFFF)"})j");
  EXPECT_TRUE(failed);
}

}  // namespace
}  // namespace mirelon
