// What the abort checks must not change: the searches that work window by
// window or stop at the last ">" find what a plain search finds.
#include <gtest/gtest.h>

#include <random>

#include "TestRun.h"
#include "core/builtins/SvgImage.h"
#include "core/builtins/TextBuiltins.h"

using namespace mirelon;
using namespace mirelon::test;

namespace {

// Mostly "a", with the pattern planted at the given places.
std::u16string Planted(size_t Length, const std::u16string& Pattern, std::initializer_list<size_t> At) {
  std::u16string Text(Length, u'a');
  for (size_t P : At) Text.replace(P, Pattern.size(), Pattern);
  return Text;
}

}  // namespace

// Long enough for several windows: each place is compared over the whole
// pattern, so an occurrence that starts in one window and ends in the next
// must still be found, once.
TEST(AbortChecksSearch, WindowsFindWhatAPlainSearchFinds) {
  TMirelon M{StandardBuiltins()};
  const std::u16string Pattern = std::u16string(99, u'a') + u"b";
  const size_t Window = texts::kComparisonsPerWindow / Pattern.size();
  std::mt19937 Random(7);
  for (int Round = 0; Round < 10; ++Round) {
    size_t Length = 3 * Window + Random() % Window;
    size_t Near = Window - 1 - Random() % 3;  // starts at the end of the first window
    size_t Later = 2 * Window + Random() % (Length - 2 * Window - Pattern.size());
    std::u16string Text = Planted(Length, Pattern, {Near, Later});
    for (size_t From : {size_t{0}, Near, Near + 1, Later, Later + 1, Length - 1, Length, Length + 5}) {
      ASSERT_EQ(texts::FindText(M, Text, Pattern, From), std::u16string_view(Text).find(Pattern, From))
          << "length " << Length << " from " << From;
    }
  }
  std::u16string Tail = Planted(2 * Window + 10, Pattern, {2 * Window + 10 - Pattern.size()});  // ends the text
  EXPECT_EQ(texts::FindText(M, Tail, Pattern), Tail.size() - Pattern.size());
  EXPECT_EQ(texts::FindText(M, u"ab", Pattern), std::u16string::npos);  // longer than the text
}

TEST(AbortChecksSearch, LanguageSearchesOverManyWindows) {
  const std::string Long = "tx vaut 'a'\nrépète 17 fois\n  tx vaut tx + tx\nfin répète\nm vaut copier(tx, 1, 100) + 'b'\n";
  EXPECT_EQ(Out(Long + "affiche position(m, tx + 'b')"), "130973");
  EXPECT_EQ(Out(Long + "affiche contient(tx + 'B', m)"), "vrai");
  EXPECT_EQ(Out(Long + "affiche compter(tx + 'b' + tx + 'b', m)"), "2");
  EXPECT_EQ(Out(Long + "affiche longueur(remplacer(tx + 'b', m, ''))"), "130972");
}

// Nothing after the last ">" can be a tag: cutting the search there changes
// no result.
TEST(AbortChecksSearch, TagsEndAtTheLastClosingBracket) {
  EXPECT_EQ(Out("affiche html('<em>x</em> a<b')"), "__HTML__<em>x</em> a<b__");
  EXPECT_EQ(Out("affiche html('x <b')"), "__HTML__x <b__");
  EXPECT_EQ(Err("affiche html('<em>x<b>')"),
            "Ligne 1: html : balise <b> non autorisée. Balises permises : h1 à h6, a, img, ul, ol, li, strong, em.");
  EXPECT_EQ(Err("affiche html('<em <b>')"), "");  // one tag "em" up to the only ">"

  TMirelon M{StandardBuiltins()};
  TSvgImage Image = ReadSvgImage(M, u"<svg a=\"1\" <svg width=\"3\" height=\"4\">x<rect/></svg>", u"f.svg", u"");
  EXPECT_EQ(Image.Width, 3);
  EXPECT_EQ(Image.Body, u"x<rect/>");
  EXPECT_THROW(ReadSvgImage(M, u"<rect/><svg width=\"3\"", u"f.svg", u""), EMirelonError);
}
