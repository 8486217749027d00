// How a run ended. Every host of a run (the execution session, `mirelon
// run`, the tests and the fuzzers) turns the run's end into an outcome here,
// so that they all agree on what counts as done, error or aborted.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "core/Errors.h"
#include "session/ExecSession.h"

namespace mirelon {

// Raised by a question whose session was aborted while it waited for the
// answer. Not an EMirelonError, so no "essayer" of the program catches it.
class ESessionAbort : public Exception {
 public:
  ESessionAbort() : Exception(u"ABORTED") {}
};

// Which exception ended a run in error; the tests and the fuzzers tell them
// apart.
enum TErrorKind : uint8_t {
  ekNone,
  ekLanguage,  // an EMirelonError that "essayer" could have caught
  ekFatal,     // an EMirelonFatal (the recursion limit)
  ekHost,      // another exception of the system (EHostError and its kin)
  ekForeign,   // an exception from outside the system: a fault of ours
};

struct TRunOutcome {
  TSessionState State = ssDone;  // ssDone, ssError or ssAborted
  std::u16string ErrorMsg;       // ssError: the message ("Ligne %d: %s" when the error has a line)
  int32_t ErrorLine = 0;         // ssError: the error's line when 1 or more, else 0
  TErrorKind Kind = ekNone;
};

// Runs Run to its end: returning and "terminer" are done; EMirelonAborted
// and ESessionAbort are aborted; every other exception is an error.
TRunOutcome RunToOutcome(const std::function<void()>& Run);

}  // namespace mirelon
