// How much native stack the current thread has left, so that deep nesting
// and recursion end in a language error instead of a crash.
#pragma once

#include <cstddef>

namespace mirelon {

size_t StackRemaining();

}  // namespace mirelon
