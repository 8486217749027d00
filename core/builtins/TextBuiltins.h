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

// Calls f(from, at) for each non-overlapping occurrence of pattern in text,
// left to right, where `from` is where the text before the occurrence starts.
// Returns where the rest after the last occurrence starts. An empty pattern
// has no occurrence.
template <class F>
size_t ForEachOccurrence(std::u16string_view text, std::u16string_view pattern, F&& f) {
  size_t from = 0;
  if (pattern.empty()) return from;
  for (size_t at; (at = text.find(pattern, from)) != std::u16string_view::npos; from = at + pattern.size())
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
