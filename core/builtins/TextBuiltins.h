// Pieces shared by the two units of the text builtins: Texts.cpp (the table,
// cutting, codes, filters) and TextSearch.cpp (search, replacement, case-
// insensitive comparisons, regular expressions, similarity).
#pragma once

#include <algorithm>
#include <limits>

#include "core/builtins/Builtins.h"

namespace mirelon::texts {

// For the builtins whose count message carries no line.
inline void RequireCountNoLine(const TBuiltinArgs& Args, size_t n, const char16_t* message) {
  if (Args.size() != n) FailNoLine(message);
}

// An integer argument kept to 32 bits. Out-of-range values saturate rather
// than wrap, so 2^32 + 1 stays a huge count instead of becoming 1.
inline int32_t Int32Arg(TMirelon& M, const TMirelonValue& v) {
  int64_t n = M.ToInteger(v);
  return static_cast<int32_t>(std::clamp<int64_t>(n, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

// Code unit comparisons a plain search may make between two abort checks.
constexpr size_t kComparisonsPerWindow = size_t{1} << 22;

// FindText past one window: the places window by window.
size_t FindTextInWindows(TMirelon& M, std::u16string_view text, std::u16string_view pattern, size_t from);

// The first occurrence of a non-empty pattern in text at or after from, or
// npos. A plain search compares each place over up to the pattern's length,
// so a long pattern that almost occurs everywhere ("aa...ab" in "aaaa...")
// can keep it busy for hours: past kComparisonsPerWindow it searches window
// by window and checks for an abort before each.
inline size_t FindText(TMirelon& M, std::u16string_view text, std::u16string_view pattern, size_t from = 0) {
  M.CheckAbort();
  // Places times pattern length cannot overflow: both stay below 2^25.
  size_t places = from < text.size() ? text.size() - from : 0;
  if (places * pattern.size() <= kComparisonsPerWindow) return text.find(pattern, from);
  return FindTextInWindows(M, text, pattern, from);
}

// Calls f(from, at) for each non-overlapping occurrence of pattern in text,
// left to right, where `from` is where the text before the occurrence starts.
// Returns where the rest after the last occurrence starts. An empty pattern
// has no occurrence.
template <class F>
size_t ForEachOccurrence(TMirelon& M, std::u16string_view text, std::u16string_view pattern, F&& f) {
  size_t from = 0;
  if (pattern.empty()) return from;
  for (size_t at; (at = FindText(M, text, pattern, from)) != std::u16string_view::npos; from = at + pattern.size())
    f(from, at);
  return from;
}

void Contient(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result);
void Remplacer(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result);
void CommencePar(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result);
void TerminePar(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result);
void Compter(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result);
void Position(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result);
void Expression(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result);
void Retirer(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result);
void Similaire(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result);

}  // namespace mirelon::texts
