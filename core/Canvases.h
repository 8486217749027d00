// Readers of the canvas record, shared by the interpreter and the drawing
// builtins. The canvas operations themselves are members of TMirelon.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/Interpreter.h"

namespace mirelon {

// The identifier of a canvas already resolved by CanvasElements.
std::u16string CanvasId(const TMirelonValue& Canvas);

// A field of a canvas record ("largeur", "hauteur") as an integer.
int64_t CanvasIntField(TMirelon& M, const TMirelonValue& Canvas, std::u16string_view Name);

}  // namespace mirelon
