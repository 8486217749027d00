// NameComparer: names of variables, constants, fields, callables and builtins
// are equal when their full Unicode lower-case forms are equal (accents count).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace mirelon {

// The full Unicode lower-case form of a name (ASCII names take a fast path).
std::u16string FoldName(std::u16string_view name);

struct NameComparer {
  static bool Equal(std::u16string_view a, std::u16string_view b) { return FoldName(a) == FoldName(b); }
};

}  // namespace mirelon
