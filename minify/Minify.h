// The script and style-sheet minifiers of the workbench files the server sends.
// Each is one left-to-right pass with a small state machine, not a parser: it
// drops comments and whitespace and copies string, template and regular
// expression literals untouched. Neither fails on any text; an unterminated
// string, comment or literal runs to the end.
#pragma once

#include <string>
#include <string_view>

#include "core/Errors.h"

namespace mirelon {

// Scripts: line breaks are dropped and a space is kept only between two word
// characters (letters, digits, "_", "$"), so the scripts end their statements
// with semicolons.
std::u16string MinifyJs(std::u16string_view text);
// Style sheets: whitespace goes around punctuation, ";" before "}" goes, and
// "url(" is written in lower case with its unquoted spaces removed.
std::u16string MinifyCss(std::u16string_view text);

// Raised by the resource wrappers when the bytes are not valid UTF-8.
class EMinifyError : public Exception {
 public:
  using Exception::Exception;
};

// Resource bytes -> minified UTF-8 bytes without byte-order mark: a leading
// byte-order mark is skipped, the rest must be valid UTF-8 (EMinifyError
// otherwise, naming the offset of the first bad byte).
std::string MinifyJsResource(std::string_view bytes);
std::string MinifyCssResource(std::string_view bytes);

}  // namespace mirelon
