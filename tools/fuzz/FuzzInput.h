// Shared by the fuzz targets: the input bytes read as a UTF-8 program text
// (invalid sequences go through the same decoder a pupil's file does), and
// the one rule every target checks: only the system's own exceptions may
// leave a run; anything else escaping, or a crash, is a finding.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/Errors.h"
#include "core/Text.h"

namespace mirelon::fuzz {

inline std::u16string InputText(const uint8_t* data, size_t size) {
  return Utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(data), size));
}

// Runs f, letting every mirelon::Exception end quietly.
template <class F>
void Guarded(F&& f) {
  try {
    f();
  } catch (const Exception&) {
  } catch (const std::exception& e) {
    std::fprintf(stderr, "foreign exception escaped: %s\n", e.what());
    std::abort();
  } catch (...) {
    std::fprintf(stderr, "unknown exception escaped\n");
    std::abort();
  }
}

}  // namespace mirelon::fuzz
