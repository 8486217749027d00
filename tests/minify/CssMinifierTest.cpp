// The style-sheet minifier, rule by rule.
#include <gtest/gtest.h>

#include "MinifyTestUtil.h"

namespace mirelon::test {
namespace {

TEST(CssPunctuation, SpacesAroundPunctuationDisappear) {
  EXPECT_EQ(Css("a > b  {  color : red ; }"), "a>b{color:red}");
  EXPECT_EQ(Css("a:hover , b ~ c [ x ] { }"), "a:hover,b~c[x]{}");
  EXPECT_EQ(Css("\n\n.x {\n\tmargin : 0 ;\n}\n"), ".x{margin:0}");
}

TEST(CssPunctuation, SemicolonBeforeClosingBraceGoes) {
  EXPECT_EQ(Css("a{b:c;}"), "a{b:c}");
  EXPECT_EQ(Css("a{b:c; \n }"), "a{b:c}");
  EXPECT_EQ(Css("a{b:c;/* last */}"), "a{b:c}");
  EXPECT_EQ(Css("a{b:c;;}"), "a{b:c;}");  // only the one just before
  EXPECT_EQ(Css("a{b:';'}"), "a{b:';'}");  // a quoted ";" is no semicolon
  EXPECT_EQ(Css("@media x{a{b:c;}}"), "@media x{a{b:c}}");
}

TEST(CssValues, SpacesBetweenValuesAreKept) {
  EXPECT_EQ(Css("margin :  0   auto"), "margin:0 auto");
  EXPECT_EQ(Css("border: 1px  solid  #000"), "border:1px solid #000");
  EXPECT_EQ(Css("width: calc( 1px + 2px )"), "width:calc(1px + 2px)");
  EXPECT_EQ(Css("width: calc(100% - 2em)"), "width:calc(100% - 2em)");
  EXPECT_EQ(Css("color: rgb(1, 2, 3)  solid"), "color:rgb(1,2,3) solid");  // after ")" before a word
  EXPECT_EQ(Css(".a  .b  #c"), ".a .b #c");
}

TEST(CssValues, SpacesBeforeBangAndAroundStarDisappear) {
  EXPECT_EQ(Css("color: red !important"), "color:red!important");
  EXPECT_EQ(Css("a * b"), "a*b");
  EXPECT_EQ(Css("f(x) !important"), "f(x)!important");
}

TEST(CssComments, CommentBetweenWordsIsOneSpace) {
  EXPECT_EQ(Css("a/**/b"), "a b");
  EXPECT_EQ(Css("a /* x */ b"), "a b");
  EXPECT_EQ(Css("a/* x */{b:c}"), "a{b:c}");
  EXPECT_EQ(Css("/* only */"), "");
  EXPECT_EQ(Css("a{b:c}/* never closed"), "a{b:c}");
}

TEST(CssStrings, CopiedWithSpacesAndEscapes) {
  EXPECT_EQ(Css("content : ' a  /* b */ ' ;"), "content:' a  /* b */ ';");
  EXPECT_EQ(Css("content: \"it\\\"s  \""), "content:\"it\\\"s  \"");
  EXPECT_EQ(Css("font: 12px  'Open Sans' , serif"), "font:12px 'Open Sans',serif");
  EXPECT_EQ(Css("a{content:'unterminated  "), "a{content:'unterminated  ");
}

TEST(CssUrl, LowerCasedAndUnquotedSpacesRemoved) {
  EXPECT_EQ(Css("background: URL( a b.png ) no-repeat"), "background:url(ab.png) no-repeat");
  EXPECT_EQ(Css("src: Url( 'a b.woff2' ) format( 'woff2' )"), "src:url('a b.woff2') format('woff2')");
  EXPECT_EQ(Css("x: uRl(\"q ) r\")"), "x:url(\"q ) r\")");  // a quoted ")" does not close
  EXPECT_EQ(Css("a{b:url(x;)}"), "a{b:url(x;)}");
  // Unquoted spaces go even in a data URL; quoted ones stay.
  EXPECT_EQ(Css("b: url(data:image/svg+xml;utf8,<svg a='1  2'/>)"), "b:url(data:image/svg+xml;utf8,<svga='1  2'/>)");
}

TEST(CssUrl, SpaceBeforeUrlOnlyAfterAWord) {
  EXPECT_EQ(Css("background: red  url(a.png)"), "background:red url(a.png)");
  EXPECT_EQ(Css("src: url(a) ,  url(b)"), "src:url(a),url(b)");
  EXPECT_EQ(Css("background: url(a)  url(b)"), "background:url(a)url(b)");
  EXPECT_EQ(Css("a: url(x)  center"), "a:url(x) center");
  EXPECT_EQ(Css("x: CURL( a b )"), "x:Curl(ab)");  // the end of any word ending in "url("
  EXPECT_EQ(Css("a: url(never closed  {"), "a:url(neverclosed{");
}

TEST(CssUnicode, LettersAndSpacesBeyondAscii) {
  EXPECT_EQ(Css(".été  .x"), ".été .x");
  EXPECT_EQ(Css(".a\u00A0.b\u3000.c"), ".a .b .c");
  EXPECT_EQ(Css(".\U0001D400  .\U0001D401"), ".\U0001D400 .\U0001D401");
  EXPECT_EQ(Css("a \U0001F600 b"), "a\U0001F600b");  // an emoji is no word character
}

TEST(CssEdges, EmptyAndWhitespaceOnly) {
  EXPECT_EQ(Css(""), "");
  EXPECT_EQ(Css(" \r\n\t"), "");
  // The rules are not a parser: "and (" in a media query becomes a function call.
  EXPECT_EQ(Css("@media (min-width: 1px) and (x)"), "@media(min-width:1px) and(x)");
}

}  // namespace
}  // namespace mirelon::test
