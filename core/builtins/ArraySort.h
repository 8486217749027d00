// The ordering of "trier": numbers against numbers by value, every other
// pair by the code units of their text forms.
#pragma once

#include "core/Interpreter.h"

namespace mirelon {

// Sorts in place, stably: equal elements keep their order. Raises
// EMirelonAborted, as it goes, when M's run is aborted (the array's order
// is then unspecified, and the run is over).
void SortArray(TMirelon& M, TMirelonArray& a, bool descending);

}  // namespace mirelon
