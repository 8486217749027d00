#include <gtest/gtest.h>

#include "core/Errors.h"
#include "core/Lexer.h"

using namespace mirelon;

namespace {

// "type:value" of every token but the final end token, space separated.
std::string Lex(const std::string& src) {
  std::string r;
  auto tokens = TMirelonLexer(Utf8ToUtf16(src)).Tokenize();
  EXPECT_EQ(tokens.back().TokenType, ttEOF);
  for (size_t i = 0; i + 1 < tokens.size(); ++i) {
    if (i) r += ' ';
    r += std::to_string(tokens[i].TokenType) + ":" + Utf16ToUtf8(tokens[i].Value);
  }
  return r;
}

std::vector<TMirelonTokenType> Types(const std::string& src) {
  std::vector<TMirelonTokenType> r;
  for (auto& t : TMirelonLexer(Utf8ToUtf16(src)).Tokenize()) r.push_back(t.TokenType);
  r.pop_back();
  return r;
}

using V = std::vector<TMirelonTokenType>;

}  // namespace

TEST(LexerKeywords, AsciiCaseOnly) {
  EXPECT_EQ(Types("AFFICHE 3"), (V{ttAffiche, ttNombre}));
  EXPECT_EQ(Types("Répète"), (V{ttRepete}));
  EXPECT_EQ(Types("RÉPÈTE"), (V{ttIdentifiant}));
  EXPECT_EQ(Types("a à de pas un"), (V{ttA, ttA, ttDe, ttPas, ttUn}));
  EXPECT_EQ(Lex("Affiche"), "12:Affiche");  // value kept as written
}

TEST(LexerKeywords, TwoWordForms) {
  EXPECT_EQ(Types("fin si"), (V{ttFinSi}));
  EXPECT_EQ(Types("FIN   SI"), (V{ttFinSi}));
  EXPECT_EQ(Lex("fin répète"), "27:fin répète");
  EXPECT_EQ(Lex("Fin Procedure"), "47:fin procédure");
  EXPECT_EQ(Types("fin\nsi"), (V{ttInconnu, ttEOL, ttSi}));
  EXPECT_EQ(Types("fin tant que"), (V{ttFinTantQue}));
  EXPECT_EQ(Lex("fin tant x"), "78:fin 2:tant 2:x");
  EXPECT_EQ(Lex("fin classe"), "74:fin classe");
  EXPECT_EQ(Lex("tant"), "2:tant");
  EXPECT_EQ(Types("tant que"), (V{ttTantQue}));
  EXPECT_EQ(Lex("sinon afficher"), "20:sinon 2:afficher");
  EXPECT_EQ(Types("sinon si sinon selon"), (V{ttSinonSi, ttSinonSelon}));
}

TEST(LexerLiterals, Texts) {
  EXPECT_EQ(Lex("'l''été'"), "1:l'été");
  EXPECT_EQ(Lex("\"a\\\" b"), "1:a\\ 2:b");
  EXPECT_EQ(Lex("'a \"b\"'"), "1:a \"b\"");
  EXPECT_EQ(Lex("'sans fin"), "1:sans fin");
  auto tokens = TMirelonLexer(u"'a\nb'").Tokenize();
  EXPECT_EQ(tokens[0].Line, 2);  // a literal carries its last line
}

TEST(LexerLiterals, NumbersColoursAndCodes) {
  EXPECT_EQ(Lex("3,14 3.14"), "0:3.14 0:3.14");
  EXPECT_EQ(Lex("3."), "0:3 77:.");
  EXPECT_EQ(Lex("1,2,3"), "0:1.2 69:, 0:3");
  EXPECT_EQ(Lex("1e5 -3"), "0:1 2:e5 60:- 0:3");
  EXPECT_EQ(Lex("#FF8800 #0 #65 #fff"), "1:#FF8800 1:#0 78:# 0:65 78:# 2:fff");
  EXPECT_EQ(Lex("$1F $"), "0:$1F 78:$");
  EXPECT_EQ(Lex("U+1F600"), "1:\xF0\x9F\x98\x80");
  EXPECT_EQ(Lex("U+1234567"), "2:U 59:+ 0:1234567");
  EXPECT_EQ(Lex("Ux"), "2:Ux");
}

TEST(LexerLiterals, UnicodeCodesOutOfRange) {
  try {
    TMirelonLexer(u"\nU+110000").Tokenize();
    FAIL();
  } catch (const EMirelonError& e) {
    EXPECT_STREQ(e.what(), "Ligne 2: U+110000 : code Unicode hors limites (max U+10FFFF)");
  }
  EXPECT_THROW(TMirelonLexer(u"U+D800").Tokenize(), EHostError);
}

TEST(LexerLines, CommentsAndLineBreaks) {
  EXPECT_EQ(Types("x // note\ny"), (V{ttIdentifiant, ttEOL, ttIdentifiant}));
  auto tokens = TMirelonLexer(u"{ a\nb } x").Tokenize();
  EXPECT_EQ(tokens[0].Line, 2);
  EXPECT_EQ(Types("x\ry\rz"), (V{ttIdentifiant, ttIdentifiant, ttIdentifiant}));
  EXPECT_EQ(Types("{ sans fin"), V{});
  EXPECT_EQ(Types(std::string("x\0y", 3)), (V{ttIdentifiant}));  // a NUL character ends the text
}

TEST(LexerPhrases, ComparisonWords) {
  EXPECT_EQ(Lex("si âge est plus grand que 17 alors"), "18:si 2:âge 56:> 0:17 19:alors");
  EXPECT_EQ(Lex("si x est égal à 3"), "18:si 2:x 53:= 0:3");
  EXPECT_EQ(Lex("x est inférieur ou égal à y"), "2:x 57:<= 2:y");
  EXPECT_EQ(Lex("si a différent de b"), "18:si 30:a 54:<> 2:b");
  EXPECT_EQ(Lex("x est plus grand ou égal à 3"), "2:x 58:>= 0:3");
  EXPECT_EQ(Lex("x est PLUS GRAND QUE 3"), "2:x 56:> 0:3");
  EXPECT_EQ(Lex("x est Égal à 3"), "2:x 3:est 2:Égal 30:à 0:3");
}

TEST(LexerPhrases, TextLiteralsAreNeverRewritten) {
  EXPECT_EQ(Lex("affiche \"égal\""), "12:affiche 1:égal");
  EXPECT_EQ(Lex("x est 'plus' grand"), "2:x 3:est 1:plus 2:grand");
  EXPECT_EQ(Lex("x est \"égal\""), "2:x 3:est 1:égal");
}

TEST(LexerPhrases, WorkedExample) {
  auto tokens = TMirelonLexer(Utf8ToUtf16("si âge est supérieur ou égal à 18 alors\n  affiche 'Majeur' // adulte\nFin Si\n"))
                    .Tokenize();
  ASSERT_EQ(tokens.size(), 12u);
  EXPECT_EQ(tokens[2].TokenType, ttSupEgal);
  EXPECT_EQ(Utf16ToUtf8(tokens[2].Value), ">=");
  EXPECT_EQ(tokens[9].TokenType, ttFinSi);
  EXPECT_EQ(tokens[10].Line, 3);
  EXPECT_EQ(tokens[11].Line, 4);
}

TEST(LexerNames, TokenTypeNames) {
  EXPECT_EQ(Utf16ToUtf8(TokenTypeName(ttParFerm)), "\")\"");
  EXPECT_EQ(Utf16ToUtf8(TokenTypeName(ttFinClasse)), "fin classe");
  EXPECT_EQ(Utf16ToUtf8(TokenTypeName(ttExposant)), "\"^\"");
  EXPECT_EQ(Utf16ToUtf8(TokenTypeName(ttInconnu)), "élément inconnu");
}

TEST(LexerEntities, HtmlReferences) {
  EXPECT_EQ(Utf16ToUtf8(DecodeHtmlEntities(u"a &lt; b &amp;&amp; &quot;x&quot; &#65;&#x42; &nope; &")),
            "a < b && \"x\" AB &nope; &");
}
