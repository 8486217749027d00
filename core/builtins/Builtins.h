// The builtin library: 135 functions under 155 names. Each group of builtins
// lives in its own unit and lists its entries in one small table; the index
// of every name is built once for the process.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <unordered_map>

#include "core/Interpreter.h"

namespace mirelon {

struct TBuiltinDef {
  const char16_t* Names;  // aliases separated by '/', e.g. u"decimal/décimal"
  TBuiltinFunc Func;
};

// The groups, one unit each.
std::span<const TBuiltinDef> NumberBuiltins();       // Numbers.cpp
std::span<const TBuiltinDef> ArrayBuiltins();        // Arrays.cpp
std::span<const TBuiltinDef> DateBuiltins();         // Dates.cpp
std::span<const TBuiltinDef> CanvasBuiltins();       // Canvas.cpp
std::span<const TBuiltinDef> FileBuiltins();         // Files.cpp
std::span<const TBuiltinDef> TextBuiltins();         // Texts.cpp
std::span<const TBuiltinDef> CompositionBuiltins();  // Compositions.cpp

// Every group above, built once for the process: what a run is given.
const TBuiltinLibrary& StandardBuiltins();
// Folded name -> builtin number, and the function of each number.
inline const std::unordered_map<std::u16string, int32_t>& BuiltinIndex() { return StandardBuiltins().Index; }
inline TBuiltinFunc BuiltinFunction(int32_t number) { return StandardBuiltins().Functions[number]; }
inline int32_t BuiltinCount() { return static_cast<int32_t>(StandardBuiltins().Functions.size()); }

// The pseudo-random generator shared by every builtin that draws. Each
// thread has its own, so a run seeds and draws from the state of the thread
// it runs on, whatever other runs do at the same time.
extern thread_local uint32_t RandomState;
void SeedRandom(uint32_t seed);
// Advances RandomState; returns an integer in 0 .. N-1 (0 < N <= 2^31 - 1).
uint32_t NextRandom(uint32_t N);

// Where a path written in a program leads: a relative one is taken from the
// run's files folder (made when missing); an absolute or empty one, and any
// path of a run without files folder, as written. (Files.cpp)
std::filesystem::path ProgramPath(const TMirelon& M, std::u16string_view P);

// Helpers for the count and kind checks every builtin makes.
// The message is a pointer so that its length is only measured when the check fails.
inline void RequireCount(TMirelon& M, const TBuiltinArgs& Args, size_t n, const char16_t* message) {
  if (Args.size() != n) M.Fail(message);
}
[[noreturn]] inline void FailNoLine(std::u16string_view message) { throw EMirelonError::Create(message); }

}  // namespace mirelon
