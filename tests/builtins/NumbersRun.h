// Runs small programs for the number and array builtin tests.
#pragma once

#include <string>

#include "core/Interpreter.h"
#include "core/builtins/Builtins.h"

namespace mirelon::testing {

// The output entries of a program run from the given seed, joined by '\n'.
inline std::string RunProgram(const std::string& source, uint32_t seed = 0) {
  TMirelon M{StandardBuiltins()};
  std::string out;
  M.OnOutput = [&](const std::u16string& entry) {
    if (!out.empty()) out += '\n';
    out += Utf16ToUtf8(entry);
  };
  SeedRandom(seed);
  M.Execute(Utf8ToUtf16(source));
  return out;
}

// The message of the language error a program ends with, "" when it ends well.
inline std::string RunError(const std::string& source) {
  try {
    RunProgram(source);
  } catch (const EMirelonError& e) {
    return Utf16ToUtf8(e.Message());
  }
  return "";
}

}  // namespace mirelon::testing
