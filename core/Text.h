// UTF-16 text helpers shared by the whole language core.
// Language texts are std::u16string; every conversion to or from UTF-8
// (files, HTTP bodies, the console) goes through Utf8ToUtf16 / Utf16ToUtf8.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace mirelon {

// Invalid UTF-8 sequences become U+FFFD; a leading byte-order mark is kept
// (use StripBom to drop it).
std::u16string Utf8ToUtf16(std::string_view s);
// Lone surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view s);
std::string_view StripBom(std::string_view s);

// "Trimmed" throughout the language: characters of code <= 32 removed at both ends.
std::u16string Trim(std::u16string_view s);
// 'A'..'Z' -> 'a'..'z' only.
std::u16string AsciiLower(std::u16string_view s);
std::u16string AsciiUpper(std::u16string_view s);
bool SameAsciiCase(std::u16string_view a, std::u16string_view b);  // equal ignoring ASCII case

// A literal ASCII/UTF-8 source text as UTF-16, for messages written in code.
inline std::u16string U(std::string_view utf8) { return Utf8ToUtf16(utf8); }

// Message formatting with the placeholders "%s" (text) and "%d" (integer),
// filled in order. "%%" writes one "%".
struct TFmtArg {
  TFmtArg(std::u16string_view s) : Text(s), IsText(true) {}
  TFmtArg(const std::u16string& s) : Text(s), IsText(true) {}
  TFmtArg(const char16_t* s) : Text(s), IsText(true) {}
  TFmtArg(int v) : Int(v) {}
  TFmtArg(long v) : Int(v) {}
  TFmtArg(long long v) : Int(v) {}
  TFmtArg(unsigned v) : Int(v) {}
  std::u16string_view Text;
  int64_t Int = 0;
  bool IsText = false;
};
std::u16string Format(std::u16string_view fmt, std::initializer_list<TFmtArg> args);

std::u16string IntToText(int64_t v);

}  // namespace mirelon
