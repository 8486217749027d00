// The script minifier: a state machine over the characters, with a stack of
// saved states so that strings and templates inside the "${ }" expression of
// a template literal come back to the right place.
#include <cstdint>
#include <limits>
#include <vector>

#include "Minify.h"
#include "Scanner.h"

namespace mirelon {

namespace {

using minify::IsJsWordChar;
using minify::IsWhitespace;

enum TJsState { jsCode, jsLineComment, jsBlockComment, jsSQuote, jsDQuote, jsTemplate, jsRegex };

// A state saved by a push, with the braces opened since inside a template expression.
struct TSavedState {
  TJsState State;
  int32_t Braces;
};

class TJsMinifier {
 public:
  explicit TJsMinifier(std::u16string_view text) : FWalk(text), FOut(text.size()) {}

  std::u16string Run() {
    while (!FWalk.AtEnd()) {
      switch (FState) {
        case jsCode: StepCode(); break;
        case jsLineComment: StepLineComment(); break;
        case jsBlockComment: StepBlockComment(); break;
        case jsSQuote: StepQuoted(U'\''); break;
        case jsDQuote: StepQuoted(U'"'); break;
        case jsRegex: StepQuoted(U'/'); break;
        case jsTemplate: StepTemplate(); break;
      }
    }
    return FOut.Take();
  }

 private:
  void Push(TJsState state) {
    FStack.push_back({FState, 0});
    FState = state;
  }
  void Pop() {
    if (FStack.empty()) {
      FState = jsCode;
      return;
    }
    FState = FStack.back().State;
    FStack.pop_back();
  }
  bool InTemplateExpression() const { return !FStack.empty() && FStack.back().State == jsTemplate; }

  // A "/" after a name, a number or a closing bracket divides; anywhere else
  // it starts a regular expression (so also after a keyword such as "return").
  bool RegexMayStart() const {
    const char32_t last = FOut.LastChar();
    if (last >= 0x80) return true;  // non-ASCII letters included
    if (minify::IsLetterOrDigit(last)) return false;
    return last != U'$' && last != U')' && last != U']' && last != U'}' && last != U'_';
  }

  // Opens a literal: any skipped whitespace before it is dropped.
  void OpenLiteral(char32_t c, TJsState state) {
    FPendingSpace = false;
    FOut.Append(c);
    Push(state);
    FWalk.Advance();
  }

  // Writes an ordinary character, with one space before it when whitespace
  // was skipped between two word characters.
  void AppendCode(char32_t c) {
    if (FPendingSpace && IsJsWordChar(FOut.LastChar()) && IsJsWordChar(c)) FOut.Append(U' ');
    FPendingSpace = false;
    FOut.Append(c);
    FWalk.Advance();
  }

  void StepCode() {
    const char32_t c = FWalk.Current();
    switch (c) {
      case U'/': {
        const char32_t next = FWalk.Peek();
        if (next == U'/' || next == U'*') {
          FState = next == U'/' ? jsLineComment : jsBlockComment;
          FWalk.Advance(2);
          return;
        }
        if (RegexMayStart()) return OpenLiteral(c, jsRegex);
        break;
      }
      case U'\'': return OpenLiteral(c, jsSQuote);
      case U'"': return OpenLiteral(c, jsDQuote);
      case U'`': return OpenLiteral(c, jsTemplate);
      case U'{':
        if (InTemplateExpression()) {
          int32_t& braces = FStack.back().Braces;
          if (braces < std::numeric_limits<int32_t>::max()) ++braces;
        }
        break;
      case U'}':
        if (InTemplateExpression()) {
          int32_t& braces = FStack.back().Braces;
          if (braces < 1) {
            // The "}" that closes the expression: back to the template's text.
            FPendingSpace = false;
            FOut.Append(c);
            Pop();
            FWalk.Advance();
            return;
          }
          --braces;
        }
        break;
      default:
        if (IsWhitespace(c)) {
          FPendingSpace = true;
          FWalk.Advance();
          return;
        }
    }
    AppendCode(c);
  }

  void StepLineComment() {
    const char32_t c = FWalk.Current();
    if (c == U'\n' || c == U'\r') {
      FPendingSpace = true;
      FState = jsCode;
    }
    FWalk.Advance();
  }

  void StepBlockComment() {
    if (minify::SkipBlockCommentChar(FWalk)) {
      FPendingSpace = true;
      FState = jsCode;
    }
  }

  // Strings and regular expressions end at their closing character; a
  // character class of a regular expression is not tracked.
  void StepQuoted(char32_t closing) {
    const char32_t c = FWalk.Current();
    if (!minify::CopyEscapeOrChar(FWalk, FOut) && c == closing) Pop();
  }

  void StepTemplate() {
    const char32_t c = FWalk.Current();
    if (c == U'$' && FWalk.Peek() == U'{') {
      FOut.Append(U'$');
      FOut.Append(U'{');
      FWalk.Advance(2);
      Push(jsCode);
      return;
    }
    if (!minify::CopyEscapeOrChar(FWalk, FOut) && c == U'`') Pop();
  }

  minify::TTextWalk FWalk;
  minify::TOutput FOut;
  TJsState FState = jsCode;
  std::vector<TSavedState> FStack;
  bool FPendingSpace = false;
};

}  // namespace

std::u16string MinifyJs(std::u16string_view text) { return TJsMinifier(text).Run(); }

}  // namespace mirelon
