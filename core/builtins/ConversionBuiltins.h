// The type tests and conversions of the number group; listed in the group's
// table in Numbers.cpp.
#pragma once

#include "core/builtins/Builtins.h"

namespace mirelon {

void VersHexadecimal(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result);
void VersDecimal(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result);
void EstNombre(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result);
void EstTexte(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result);
void EstBooleen(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result);
void TypeDe(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result);
void ConvertirTexte(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result);
void ConvertirNombre(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result);
void VersType(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result);
void Defaut(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result);
void SiAlors(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result);
void Uid(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result);

}  // namespace mirelon
