// Runs a program on a fresh interpreter and keeps what it showed and the
// message of the language error that ended it, both in UTF-8.
#pragma once

#include <string>
#include <vector>

#include "core/Interpreter.h"

namespace mirelon::test {

struct TProgramRun {
  std::vector<std::string> Lines;
  std::string Error;  // empty when the program ended normally
  std::string Last() const { return Lines.empty() ? std::string() : Lines.back(); }
};

inline TProgramRun RunProgram(const std::string& source) {
  TProgramRun run;
  TMirelon M;
  M.OnOutput = [&](const std::u16string& line) { run.Lines.push_back(Utf16ToUtf8(line)); };
  try {
    M.Execute(Utf8ToUtf16(source));
  } catch (const EMirelonError& e) {
    run.Error = Utf16ToUtf8(e.Message());
  }
  return run;
}

// The text of a program string literal holding s.
inline std::string Quoted(const std::string& s) { return "'" + s + "'"; }

}  // namespace mirelon::test
