// What the two minifiers share: a walk over the code points of a text with a
// look at the next ones, the output with its last appended character, and the
// character classes. A character is a code point: a letter outside the Basic
// Multilingual Plane is one letter; a lone surrogate is a character of its own.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace mirelon::minify {

// Stands for "no character": before the first output, after the last input.
constexpr char32_t kNone = 0;

class TTextWalk {
 public:
  explicit TTextWalk(std::u16string_view text) : FText(text) { Load(); }

  bool AtEnd() const { return FCurrentLength == 0; }
  char32_t Current() const { return FCurrent; }
  // The character Ahead places after the current one (1 = the next), or kNone
  // past the end; HasNext tells a real U+0000 from the end.
  char32_t Peek(int ahead = 1) const;
  bool HasNext() const { return FPos + FCurrentLength < FText.size(); }
  void Advance() {
    FPos += FCurrentLength;
    Load();
  }
  void Advance(int count) {
    while (count-- > 0) Advance();
  }

 private:
  // Reads the code point at Pos; returns its length in units (0 at the end).
  static size_t Decode(std::u16string_view text, size_t pos, char32_t& c) {
    if (pos >= text.size()) {
      c = kNone;
      return 0;
    }
    c = text[pos];
    if (c < 0xD800 || c > 0xDBFF || pos + 1 >= text.size()) return 1;
    const char32_t low = text[pos + 1];
    if (low < 0xDC00 || low > 0xDFFF) return 1;  // a lone high surrogate
    c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
    return 2;
  }
  void Load() { FCurrentLength = Decode(FText, FPos, FCurrent); }

  std::u16string_view FText;
  size_t FPos = 0;
  size_t FCurrentLength = 0;
  char32_t FCurrent = kNone;
};

// The output buffer, sized at the input's length: a minifier never writes
// more than it reads, so the buffer never grows during the pass (the check in
// Write only keeps a broken rule from writing out of bounds).
class TOutput {
 public:
  explicit TOutput(size_t inputLength) : FText(inputLength, u'\0') {}

  char32_t LastChar() const { return FLastChar; }
  // Writes C and makes it the last character.
  void Append(char32_t c) {
    Write(c);
    FLastChar = c;
  }
  // Writes a space that leaves the last character as it was.
  void AppendSpace() { Write(U' '); }
  // Removes the last unit written; only used after an ASCII character.
  void RemoveLast() { --FLength; }
  std::u16string Take() {
    FText.resize(FLength);
    return std::move(FText);
  }

 private:
  void Write(char32_t c) {
    if (c < 0x10000 && FLength < FText.size()) {
      FText[FLength++] = static_cast<char16_t>(c);
      return;
    }
    WritePair(c);
  }
  // A character outside the Basic Multilingual Plane, or a write past the end.
  void WritePair(char32_t c);

  std::u16string FText;
  size_t FLength = 0;
  char32_t FLastChar = kNone;
};

// Copies the current character, or a backslash with the character it
// escapes (both consumed); returns true for an escape. String literals of
// both languages are copied this way.
inline bool CopyEscapeOrChar(TTextWalk& walk, TOutput& out) {
  const char32_t c = walk.Current();
  out.Append(c);
  if (c == U'\\' && walk.HasNext()) {
    out.Append(walk.Peek());
    walk.Advance(2);
    return true;
  }
  walk.Advance();
  return false;
}

bool IsNonAsciiLetterOrDigit(char32_t c);
bool IsNonAsciiWhitespace(char32_t c);

// Skips one character of a block comment, or its closing "*/" (both
// consumed); returns true when the comment ended.
inline bool SkipBlockCommentChar(TTextWalk& walk) {
  if (walk.Current() == U'*' && walk.Peek() == U'/') {
    walk.Advance(2);
    return true;
  }
  walk.Advance();
  return false;
}

// Letters (the letter categories) and decimal digits (the decimal-number category).
inline bool IsLetterOrDigit(char32_t c) {
  if (c >= 0x80) return IsNonAsciiLetterOrDigit(c);
  return (c >= U'0' && c <= U'9') || ((c | 0x20) >= U'a' && (c | 0x20) <= U'z');
}

// Characters 9 to 13, 32, U+0085, U+00A0 and the space, line and paragraph separators.
inline bool IsWhitespace(char32_t c) {
  if (c >= 0x80) return IsNonAsciiWhitespace(c);
  return c == U' ' || (c >= 9 && c <= 13);
}

inline bool IsJsWordChar(char32_t c) { return c == U'_' || c == U'$' || IsLetterOrDigit(c); }

inline bool IsCssWordChar(char32_t c) {
  switch (c) {
    case U'-': case U'_': case U'%': case U'#': case U'.': case U'+':
      return true;
    default:
      return IsLetterOrDigit(c);
  }
}

}  // namespace mirelon::minify
