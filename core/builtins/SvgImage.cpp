#include "core/builtins/SvgImage.h"

#include "core/Interpreter.h"

namespace mirelon {

// Placeholder until the drawing unit is built.
TSvgImage ReadSvgImage(TMirelon&, const std::u16string& S, const std::u16string&, const std::u16string&) {
  return TSvgImage{S, 1, 1};
}

}  // namespace mirelon
