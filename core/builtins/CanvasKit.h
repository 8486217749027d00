// Small helpers shared by the drawing builtins (Canvas.cpp, Compositions.cpp):
// argument counts and conversions, canvas fields, and the number forms
// written inside SVG attributes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/Canvases.h"
#include "core/builtins/Builtins.h"

namespace mirelon {

// Raises `message` at the current line unless lo <= count <= hi.
inline void RequireCountIn(TMirelon& M, const TBuiltinArgs& Args, size_t lo, size_t hi, const char16_t* message) {
  if (Args.size() < lo || Args.size() > hi) M.Fail(message);
}

// The low 32 bits of an integer, as the builtins that keep only 32 bits read it.
inline int32_t Low32(int64_t v) { return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(v))); }

// The checked colour of argument i, or Default when the argument is absent.
std::u16string ColorArg(TMirelon& M, const TBuiltinArgs& Args, size_t i, std::u16string_view Default);

// Nearest integer, halves to the even neighbour.
int64_t RoundHalfEven(double v);

// "." as decimal separator, up to 15 significant digits without trailing
// zeros, exponent form below 0.00001 in magnitude: 0.5, -22.5, 1E-6.
std::u16string DotNumberText(double v);

}  // namespace mirelon
