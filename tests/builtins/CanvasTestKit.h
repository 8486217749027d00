// Helpers of the canvas tests: call a drawing builtin directly, read a
// canvas's entries, run a whole program.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Names.h"
#include "core/builtins/Builtins.h"

namespace canvastest {

using namespace mirelon;

inline TMirelonValue N(double v) { return TMirelonValue::Number(v); }
inline TMirelonValue T(const char* s) { return TMirelonValue::Text(U(s)); }
inline TMirelonValue List(std::initializer_list<TMirelonValue> items) {
  IMirelonArray a = TMirelonArray::New();
  for (const TMirelonValue& v : items) a->Add(v);
  return TMirelonValue::ArrayVal(a);
}

inline TMirelonValue Call(TMirelon& M, const char* name, std::vector<TMirelonValue> values) {
  auto it = BuiltinIndex().find(FoldName(U(name)));
  EXPECT_NE(it, BuiltinIndex().end()) << name;
  TMirelonValue r;
  TBuiltinArgs args(values);
  BuiltinFunction(it->second)(M, args, r);
  return r;
}

// The message a failing call raises, without its "Ligne n: " prefix; empty when it succeeds.
inline std::string CallError(TMirelon& M, const char* name, std::vector<TMirelonValue> values) {
  try {
    Call(M, name, std::move(values));
  } catch (const EMirelonError& e) {
    std::string m = Utf16ToUtf8(e.Message());
    size_t colon = m.find(": ");
    return m.rfind("Ligne ", 0) == 0 && colon != std::string::npos ? m.substr(colon + 2) : m;
  }
  return "";
}

// The entries of a canvas, as UTF-8.
inline std::vector<std::string> Entries(TMirelon& M, const TMirelonValue& canvas) {
  std::vector<std::string> r;
  for (const std::u16string& e : M.CanvasElements(canvas, u"test")) r.push_back(Utf16ToUtf8(e));
  return r;
}

inline std::string Last(TMirelon& M, const TMirelonValue& canvas) {
  auto e = Entries(M, canvas);
  return e.empty() ? "" : e.back();
}

struct TRun {
  std::vector<std::string> Lines;
  std::string Error;
};

// Runs a program with a given random seed, collecting its output entries.
inline TRun RunProgram(const std::string& source, uint32_t seed = 0) {
  SeedRandom(seed);
  TRun run;
  TMirelon M{StandardBuiltins()};
  M.OnOutput = [&](const std::u16string& s) { run.Lines.push_back(Utf16ToUtf8(s)); };
  try {
    M.Execute(Utf8ToUtf16(source));
  } catch (const EMirelonError& e) {
    run.Error = Utf16ToUtf8(e.Message());
  }
  return run;
}

}  // namespace canvastest
