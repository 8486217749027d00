// Runs a program in a fresh interpreter and collects what it shows, for
// tests of every folder.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "core/Interpreter.h"
#include "core/builtins/Builtins.h"
#include "session/RunOutcome.h"

namespace mirelon::test {

struct TRunResult {
  std::vector<std::string> Lines;    // output entries, UTF-8
  std::vector<std::string> Prompts;  // prompts of the questions asked
  std::string Error;                 // message of the error that ended the run, UTF-8
  bool Failed = false;
  bool Fatal = false;     // the error was an EMirelonFatal
  bool Language = false;  // the error was an EMirelonError (catchable by "essayer")
  bool Aborted = false;
  int ErrorLine = 0;      // 0 when the error has no line

  std::string Text() const {  // all lines joined with "\n"
    std::string r;
    for (size_t i = 0; i < Lines.size(); ++i) r += (i ? "\n" : "") + Lines[i];
    return r;
  }
};

// `answers` are given to the questions in order; the empty text after them.
// `configure` may change the interpreter before the run.
inline TRunResult RunProgram(const std::string& program, std::deque<std::string> answers = {}, uint32_t seed = 0,
                             const std::function<void(TMirelon&)>& configure = {}) {
  TRunResult r;
  TMirelon M{StandardBuiltins()};
  if (configure) configure(M);
  M.OnOutput = [&](const std::u16string& msg) { r.Lines.push_back(Utf16ToUtf8(msg)); };
  M.OnInput = [&](const std::u16string& prompt) {
    r.Prompts.push_back(Utf16ToUtf8(prompt));
    std::string a;
    if (!answers.empty()) {
      a = answers.front();
      answers.pop_front();
    }
    return Utf8ToUtf16(a);
  };
  SeedRandom(seed);
  TRunOutcome outcome = RunToOutcome([&] { M.Execute(Utf8ToUtf16(program)); });
  r.Aborted = outcome.State == ssAborted;
  r.Failed = outcome.State == ssError;
  r.Fatal = outcome.Kind == ekFatal;
  r.Language = r.Fatal || outcome.Kind == ekLanguage;
  r.ErrorLine = outcome.ErrorLine;
  r.Error = Utf16ToUtf8(outcome.ErrorMsg);
  return r;
}

// The output of a program that must succeed, lines joined with "\n"; the
// error message instead when it fails (so that a comparison shows it).
inline std::string Out(const std::string& program, std::deque<std::string> answers = {}) {
  TRunResult r = RunProgram(program, std::move(answers));
  return r.Failed ? "ERREUR: " + r.Error : r.Text();
}

// The error message of a program that must fail ("" when it succeeds).
inline std::string Err(const std::string& program, std::deque<std::string> answers = {}) {
  return RunProgram(program, std::move(answers)).Error;
}

}  // namespace mirelon::test
