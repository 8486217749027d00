// The byte-level wrappers: byte-order mark, strict UTF-8, and properties that
// hold for any input.
#include <gtest/gtest.h>

#include <random>

#include "MinifyTestUtil.h"

namespace mirelon::test {
namespace {

using TResourceMinifier = std::string (*)(std::string_view);

TEST(MinifyResource, ByteOrderMarkIsSkippedAndNeverWritten) {
  EXPECT_EQ(MinifyJsResource("\xEF\xBB\xBFvar  a = 1"), "var a=1");
  EXPECT_EQ(MinifyCssResource("\xEF\xBB\xBF a { b : c ; }"), "a{b:c}");
  EXPECT_EQ(MinifyJsResource("\xEF\xBB\xBF"), "");
  EXPECT_EQ(MinifyJsResource(""), "");
  // Only the leading one: a second mark is an ordinary character.
  EXPECT_EQ(MinifyJsResource("\xEF\xBB\xBF\xEF\xBB\xBF" "a"), "\xEF\xBB\xBF" "a");
}

TEST(MinifyResource, MultiByteCharactersRoundTrip) {
  EXPECT_EQ(MinifyJsResource("let é\xF0\x9D\x90\x80 = '😀  ü' ;"), "let é\xF0\x9D\x90\x80='😀  ü';");
  EXPECT_EQ(MinifyCssResource(".été  { content : '→' }"), ".été{content:'→'}");
}

TEST(MinifyResource, InvalidUtf8RaisesWithTheOffset) {
  struct TCase {
    std::string Bytes;
    const char* Offset;
  } cases[] = {
      {"ab\xFF", "2"},                       // never a UTF-8 byte
      {"\x80", "0"},                         // a continuation byte alone
      {"a\xC0\xAF", "1"},                    // overlong "/"
      {"a\xE0\x80\xAF", "1"},                // overlong, three bytes
      {"x\xED\xA0\x80", "1"},                // a surrogate
      {"\xF4\x90\x80\x80", "0"},             // above U+10FFFF
      {"abc\xE2\x82", "3"},                  // cut at the end
      {"\xE2\x82" "abc", "0"},               // cut before ASCII
      {"\xEF\xBB\xBF" "ab\xFE", "5"},        // the offset counts the byte-order mark
      {std::string("a\0\xC3", 3), "2"},      // a NUL is valid, the cut sequence is not
  };
  for (const TCase& c : cases) {
    for (TResourceMinifier minify : {&MinifyJsResource, &MinifyCssResource}) {
      try {
        minify(c.Bytes);
        ADD_FAILURE() << "no error for offset " << c.Offset;
      } catch (const EMinifyError& e) {
        EXPECT_EQ(std::string(e.what()), std::string("UTF-8 invalide à l'octet ") + c.Offset);
      }
    }
  }
}

// Characters that drive the state machines, with letters and spaces from
// beyond ASCII.
const std::u16string kAlphabet =
    u"/*'\"`${}\\\n\r \tab1_-+.#%();:,>~[]!=uUrRlL\u00E9\u00A0\u2028\u3000\xD835\xDC00";

std::u16string RandomText(std::mt19937& random, size_t maxLength) {
  std::uniform_int_distribution<size_t> length(0, maxLength), pick(0, kAlphabet.size() - 1);
  std::u16string text(length(random), u' ');
  for (char16_t& c : text) c = kAlphabet[pick(random)];
  return text;
}

TEST(MinifyProperties, NeverLongerNeverFailingOnRandomText) {
  std::mt19937 random(20240611);
  for (int i = 0; i < 20000; ++i) {
    const std::u16string text = RandomText(random, 64);
    const std::u16string js = MinifyJs(text), css = MinifyCss(text);
    ASSERT_LE(js.size(), text.size()) << Utf16ToUtf8(text);
    ASSERT_LE(css.size(), text.size()) << Utf16ToUtf8(text);
    // Valid UTF-16 in, valid UTF-16 out: a surrogate pair is never split.
    const std::string utf8 = Utf16ToUtf8(text);
    if (utf8.find("\xEF\xBF\xBD") != std::string::npos) continue;  // the text itself had a lone surrogate
    ASSERT_NO_THROW(MinifyJsResource(MinifyJsResource(utf8))) << utf8;
    ASSERT_NO_THROW(MinifyCssResource(MinifyCssResource(utf8))) << utf8;
  }
}

TEST(MinifyProperties, RandomBytesEitherMinifyOrRaiseTheMinifyError) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> byte(0, 255), length(0, 48);
  int raised = 0;
  for (int i = 0; i < 20000; ++i) {
    std::string bytes(length(random), '\0');
    for (char& b : bytes) b = static_cast<char>(byte(random) < 200 ? "/*'`${}\\ \na"[byte(random) % 12] : byte(random));
    for (TResourceMinifier minify : {&MinifyJsResource, &MinifyCssResource}) {
      try {
        ASSERT_LE(minify(bytes).size(), bytes.size());
      } catch (const EMinifyError&) {
        ++raised;
      }
    }
  }
  EXPECT_GT(raised, 0);
}

// For words, operators and whitespace alone the script minifier is a simple
// function: words separated by whitespace keep one space, all other
// whitespace goes.
std::u16string CollapseWords(std::u16string_view text) {
  auto isWord = [](char16_t c) { return c == u'w' || c == u'7' || c == u'\u00E9' || c == u'_' || c == u'$'; };
  std::u16string out;
  bool skipped = false;
  for (char16_t c : text) {
    if (c == u' ' || c == u'\n' || c == u'\u00A0') {
      skipped = true;
      continue;
    }
    if (skipped && !out.empty() && isWord(out.back()) && isWord(c)) out += u' ';
    skipped = false;
    out += c;
  }
  return out;
}

TEST(MinifyProperties, WordsAndOperatorsMatchTheSimpleModel) {
  const std::u16string alphabet = u"w7\u00E9_$+-=;,( \n\u00A0";
  std::mt19937 random(99);
  std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1), length(0, 40);
  for (int i = 0; i < 5000; ++i) {
    std::u16string text(length(random), u' ');
    for (char16_t& c : text) c = alphabet[pick(random)];
    ASSERT_EQ(MinifyJs(text), CollapseWords(text)) << Utf16ToUtf8(text);
  }
}

}  // namespace
}  // namespace mirelon::test
