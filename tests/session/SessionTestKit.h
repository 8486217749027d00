// Helpers of the session tests: texts in UTF-8, generous waits (a loaded
// 2-core machine can be slow, and a wait that ends early costs nothing).
#pragma once

#include <chrono>
#include <string>

#include "core/Text.h"
#include "session/ExecSession.h"

namespace mirelon::test {

constexpr uint32_t kTurnMs = 20000;  // a turn that must end

inline TSessionRef Start(const std::string& Program, int32_t Seed = 0) {
  return StartSession(Utf8ToUtf16(Program), Seed);
}

inline std::string Output(TExecSession& S) { return Utf16ToUtf8(S.OutputSinceLastScreen()); }

// Nested loops whose inner body is empty: the run spends its time in the
// empty loop, each loop stays under its iteration limit, and the whole
// never ends in a test's time.
constexpr const char* kEndless =
    "tant que vrai\n  essayer\n    tant que vrai\n    fin tant que\n  attraper e\n  fin essayer\nfin tant que\n";

// Milliseconds since Start, on a monotonic clock.
class TStopwatch {
 public:
  double Ms() const { return std::chrono::duration<double, std::milli>(Clock::now() - FStart).count(); }

 private:
  using Clock = std::chrono::steady_clock;
  Clock::time_point FStart = Clock::now();
};

}  // namespace mirelon::test
