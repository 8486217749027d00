// The style-sheet minifier: comments, strings and the inside of "url( )"
// are the only states; whitespace survives only between two words (or after
// a closing parenthesis before a word), where it separates values.
#include "Minify.h"
#include "Scanner.h"

namespace mirelon {

namespace {

using minify::IsCssWordChar;
using minify::IsWhitespace;

enum TCssState { cssCode, cssComment, cssSQuote, cssDQuote };

bool IsCssPunctuation(char32_t c) {
  switch (c) {
    case U'(': case U')': case U',': case U':': case U';': case U'>':
    case U'[': case U']': case U'{': case U'}': case U'~':
      return true;
    default:
      return false;
  }
}

char32_t AsciiLower(char32_t c) { return c >= U'A' && c <= U'Z' ? c + 32 : c; }

class TCssMinifier {
 public:
  explicit TCssMinifier(std::u16string_view text) : FWalk(text), FOut(text.size()) {}

  std::u16string Run() {
    while (!FWalk.AtEnd()) {
      switch (FState) {
        case cssCode: StepCode(); break;
        case cssComment: StepComment(); break;
        case cssSQuote: StepQuoted(U'\''); break;
        case cssDQuote: StepQuoted(U'"'); break;
      }
    }
    return FOut.Take();
  }

 private:
  bool AtUrlOpening() const {
    return AsciiLower(FWalk.Current()) == U'u' && AsciiLower(FWalk.Peek(1)) == U'r' &&
           AsciiLower(FWalk.Peek(2)) == U'l' && FWalk.Peek(3) == U'(';
  }

  // Before a string or "url(": the skipped whitespace stays as one space only after a word.
  void SpaceBeforeOpening() {
    if (FPendingSpace && IsCssWordChar(FOut.LastChar())) FOut.AppendSpace();
    FPendingSpace = false;
  }

  void StepCode() {
    const char32_t c = FWalk.Current();
    if (c == U'/' && FWalk.Peek() == U'*') {
      FState = cssComment;
      FWalk.Advance(2);
      return;
    }
    if (c == U'\'' || c == U'"') {
      SpaceBeforeOpening();
      FOut.Append(c);
      FState = c == U'\'' ? cssSQuote : cssDQuote;
    } else if (!FInUrl && AtUrlOpening()) {
      SpaceBeforeOpening();
      for (char32_t u : std::u32string_view(U"url(")) FOut.Append(u);
      FInUrl = true;
      FWalk.Advance(4);
      return;
    } else if (FInUrl) {
      // Inside "url( )" unquoted spaces go and every other character stays.
      if (c == U')') FInUrl = false;
      if (!IsWhitespace(c)) FOut.Append(c);
    } else if (IsWhitespace(c)) {
      FPendingSpace = true;
    } else if (IsCssPunctuation(c)) {
      FPendingSpace = false;
      if (c == U'}' && FOut.LastChar() == U';') FOut.RemoveLast();
      FOut.Append(c);
    } else {
      if (FPendingSpace && IsCssWordChar(c) && (IsCssWordChar(FOut.LastChar()) || FOut.LastChar() == U')'))
        FOut.AppendSpace();
      FPendingSpace = false;
      FOut.Append(c);
    }
    FWalk.Advance();
  }

  void StepComment() {
    if (minify::SkipBlockCommentChar(FWalk)) {
      FPendingSpace = true;
      FState = cssCode;
    }
  }

  void StepQuoted(char32_t closing) {
    const char32_t c = FWalk.Current();
    if (!minify::CopyEscapeOrChar(FWalk, FOut) && c == closing) FState = cssCode;
  }

  minify::TTextWalk FWalk;
  minify::TOutput FOut;
  TCssState FState = cssCode;
  bool FPendingSpace = false;
  bool FInUrl = false;
};

}  // namespace

std::u16string MinifyCss(std::u16string_view text) { return TCssMinifier(text).Run(); }

}  // namespace mirelon
