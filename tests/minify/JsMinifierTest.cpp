// The script minifier, rule by rule.
#include <gtest/gtest.h>

#include "MinifyTestUtil.h"

namespace mirelon::test {
namespace {

TEST(JsWhitespace, OneSpaceBetweenWordsNoneNextToOperators) {
  EXPECT_EQ(Js("var   x  =  1 ;"), "var x=1;");
  EXPECT_EQ(Js("if ( a ) {\n  b ( ) ;\n}\n"), "if(a){b();}");
  EXPECT_EQ(Js("  \t leading and trailing \n\n"), "leading and trailing");
  EXPECT_EQ(Js("x = a ? b : c , d"), "x=a?b:c,d");
  EXPECT_EQ(Js("_ $ 1"), "_ $ 1");  // "_" and "$" are word characters
}

TEST(JsWhitespace, LineBreaksJoinStatements) {
  EXPECT_EQ(Js("return\nx"), "return x");
  EXPECT_EQ(Js("total = a\n  + b\n  - c;"), "total=a+b-c;");
  EXPECT_EQ(Js("a\r\n\r\nb"), "a b");
}

TEST(JsWhitespace, UnicodeSpacesAreWhitespace) {
  // no-break space, next line, em space, ideographic space, line and paragraph separators
  for (const char* space : {"\u00A0", "\u0085", "\u2003", "\u3000", "\u2028", "\u2029", "\v", "\f"}) {
    EXPECT_EQ(Js(std::string("a") + space + "b"), "a b") << space;
    EXPECT_EQ(Js(std::string("a") + space + "=" + space + "b"), "a=b") << space;
  }
  // The zero-width no-break space is a format character, not a space: it is copied.
  EXPECT_EQ(Js("a \uFEFF b"), "a\uFEFFb");
}

TEST(JsWhitespace, NonAsciiLettersAndDigitsAreWordCharacters) {
  EXPECT_EQ(Js("let  été = 1"), "let été=1");
  EXPECT_EQ(Js("return   ñ"), "return ñ");
  EXPECT_EQ(Js("x \u0663"), "x \u0663");  // ARABIC-INDIC DIGIT THREE: a decimal digit
  // Outside the Basic Multilingual Plane a letter is one character.
  EXPECT_EQ(Js("var \U0001D400 = \U0001D400  \U0001D401"), "var \U0001D400=\U0001D400 \U0001D401");
  // Neither an emoji nor a letter-like number (ROMAN NUMERAL TWELVE) is a word character.
  EXPECT_EQ(Js("a \U0001F600 b"), "a\U0001F600b");
  EXPECT_EQ(Js("a \u216B"), "a\u216B");
}

TEST(JsComments, LineCommentsGoWithTheirLineBreak) {
  EXPECT_EQ(Js("a // note\nb"), "a b");
  EXPECT_EQ(Js("a // note\r\nb"), "a b");
  EXPECT_EQ(Js("a // note\rb"), "a b");
  EXPECT_EQ(Js("a // note\r\n+ b"), "a+b");
  EXPECT_EQ(Js("x = 1; // the end"), "x=1;");
  EXPECT_EQ(Js("// only a comment"), "");
}

TEST(JsComments, BlockComments) {
  EXPECT_EQ(Js("a/* x */b"), "a b");
  EXPECT_EQ(Js("a /**/ + b"), "a+b");
  EXPECT_EQ(Js("/* a\n * b\n */x"), "x");
  EXPECT_EQ(Js("/*/ still inside */y"), "y");  // the "*" of "/*" does not close it
  EXPECT_EQ(Js("a /* never closed"), "a");
  EXPECT_EQ(Js("a /* // */ b"), "a b");
}

TEST(JsStrings, CopiedWithWhitespaceAndCommentLikeText) {
  EXPECT_EQ(Js("x = ' a  // b ' ;"), "x=' a  // b ';");
  EXPECT_EQ(Js("y = \"/* c */\t\";"), "y=\"/* c */\t\";");
  EXPECT_EQ(Js("s = 'l1\nl2'"), "s='l1\nl2'");
  EXPECT_EQ(Js("s = '\"  `' + \"'  `\""), "s='\"  `'+\"'  `\"");
}

TEST(JsStrings, EscapesDoNotCloseAndNoSpaceBeforeAQuote) {
  EXPECT_EQ(Js("s = 'it\\'s  so' ;"), "s='it\\'s  so';");
  EXPECT_EQ(Js("s = \"a\\\\\"  +  b"), "s=\"a\\\\\"+b");  // an escaped backslash, then the quote closes
  EXPECT_EQ(Js("return 'x'"), "return'x'");
  EXPECT_EQ(Js("'unterminated  string"), "'unterminated  string");
  EXPECT_EQ(Js("'ends in a backslash\\"), "'ends in a backslash\\");
}

TEST(JsRegex, DivisionAfterWordsAndClosingBrackets) {
  EXPECT_EQ(Js("a / b / c"), "a/b/c");
  EXPECT_EQ(Js("f(x) / 2 / y"), "f(x)/2/y");
  EXPECT_EQ(Js("t[0] / 2 / y"), "t[0]/2/y");
  EXPECT_EQ(Js("$ / 2 / _ / 3"), "$/2/_/3");
  EXPECT_EQ(Js("10 / 2 / 5"), "10/2/5");
  EXPECT_EQ(Js("{} / 2 / 1"), "{}/2/1");
}

TEST(JsRegex, RegexAfterOpenersOperatorsAndAtTheStart) {
  EXPECT_EQ(Js("f( / a b /g )"), "f(/ a b /g)");
  EXPECT_EQ(Js("x = / a b / ;"), "x=/ a b /;");
  EXPECT_EQ(Js("[1, / c d /]"), "[1,/ c d /]");
  EXPECT_EQ(Js("/ at start /.test(s)"), "/ at start /.test(s)");
  EXPECT_EQ(Js("x = ! / a b /.test(s)"), "x=!/ a b /.test(s)");
  // A non-ASCII letter does not stop a regular expression either.
  EXPECT_EQ(Js("é / 2 / 1"), "é/ 2 /1");
}

TEST(JsRegex, BodyIsCopiedUntilAnUnescapedSlash) {
  EXPECT_EQ(Js("r = /a\\/ b'/ ;"), "r=/a\\/ b'/;");  // escaped slash; a quote inside is no string
  EXPECT_EQ(Js("r = /[/] +1/"), "r=/[/]+1/");      // a class is not tracked: "/" inside it ends the regex
  EXPECT_EQ(Js("r = /never  closed"), "r=/never  closed");
  // After a keyword the slash counts as a division: the quote then opens a string.
  EXPECT_EQ(Js("return /x'/ + 'y'"), "return/x'/ + 'y'");
}

TEST(JsOperators, SpacesBetweenOperatorsAreDroppedEvenWhenTheyMatter) {
  EXPECT_EQ(Js("a - -b"), "a--b");
  EXPECT_EQ(Js("a + +b"), "a++b");
  EXPECT_EQ(Js("a = b - - c"), "a=b--c");
}

TEST(JsTemplates, TextKeptExpressionsMinified) {
  EXPECT_EQ(Js("x = ` a  b ${ y + 1 } c  d ` ;"), "x=` a  b ${y+1} c  d `;");
  EXPECT_EQ(Js("`${ a }  after  `"), "`${a}  after  `");
  EXPECT_EQ(Js("`line1\n  line2`"), "`line1\n  line2`");
  EXPECT_EQ(Js("`$ {not} $`"), "`$ {not} $`");
  EXPECT_EQ(Js("`\\${ not } \\``"), "`\\${ not } \\``");
  EXPECT_EQ(Js("`unterminated ${ x"), "`unterminated ${x");
}

TEST(JsTemplates, NestedTemplatesAndBracesBalance) {
  EXPECT_EQ(Js("`a ${ `b ${ c } b` } a`"), "`a ${`b ${c} b`} a`");
  EXPECT_EQ(Js("`${ { k : 1 }.k }  t`"), "`${{k:1}.k}  t`");
  EXPECT_EQ(Js("`${ (() => { if (a) { return 1; } })() }  z  `"), "`${(()=>{if(a){return 1;}})()}  z  `");
  EXPECT_EQ(Js("`${ '}' + \"}\" }  x`"), "`${'}'+\"}\"}  x`");  // braces in strings do not count
  EXPECT_EQ(Js("`${ a /* } */ }  k`"), "`${a}  k`");
  EXPECT_EQ(Js("`${ / } /.source }  r`"), "`${/ } /.source}  r`");
  EXPECT_EQ(Js("if (a) { s = `${ b }` ; }  else  { }"), "if(a){s=`${b}`;}else{}");
}

TEST(JsTemplates, DeepNestingRunsOnTheHeap) {
  std::string source, expected;
  for (int i = 0; i < 100000; ++i) source += "` ${ ", expected += "` ${";
  for (int i = 0; i < 100000; ++i) source += " } `", expected += "} `";
  EXPECT_EQ(Js(source), expected);
}

TEST(JsEdges, EmptyNulAndLoneSurrogates) {
  EXPECT_EQ(Js(""), "");
  EXPECT_EQ(Js(" \n\t "), "");
  EXPECT_EQ(MinifyJs(std::u16string(u"a \0 b", 5)), std::u16string(u"a\0b", 3));
  EXPECT_EQ(MinifyJs(u"a \xD800 b \xDC00"), u"a\xD800" u"b\xDC00");
}

}  // namespace
}  // namespace mirelon::test
