// The ordering of "trier": numbers against numbers by value, every other
// pair by the code units of their text forms.
#pragma once

#include "core/Value.h"

namespace mirelon {

// Sorts in place, stably: equal elements keep their order.
void SortArray(TMirelonArray& a, bool descending);

}  // namespace mirelon
