// Shared by the fuzz targets: the input bytes read as a UTF-8 program text
// (invalid sequences go through the same decoder a pupil's file does), and
// the one rule every target checks: only the system's own exceptions may
// leave a run (RunToOutcome tells them apart); anything else escaping, or a
// crash, is a finding.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/Text.h"
#include "session/RunOutcome.h"

namespace mirelon::fuzz {

inline std::u16string InputText(const uint8_t* data, size_t size) {
  return Utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(data), size));
}

// Runs f, letting every exception of the system end quietly; a foreign one
// is a finding.
template <class F>
void Guarded(F&& f) {
  TRunOutcome outcome = RunToOutcome(f);
  if (outcome.Kind == ekForeign) {
    std::fprintf(stderr, "foreign exception escaped: %s\n", Utf16ToUtf8(outcome.ErrorMsg).c_str());
    std::abort();
  }
}

}  // namespace mirelon::fuzz
