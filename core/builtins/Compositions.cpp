#include "core/builtins/Builtins.h"

namespace mirelon {

namespace {
void NotBuilt(TMirelon& M, TBuiltinArgs&, TMirelonValue&) { M.Fail(u"Fonction native non disponible"); }
}  // namespace

std::span<const TBuiltinDef> CompositionBuiltins() {
  static const TBuiltinDef defs[] = {
    {u"grille", NotBuilt},
    {u"degrade/dégradé", NotBuilt},
    {u"icone/icône", NotBuilt},
    {u"histogramme", NotBuilt},
    {u"svg", NotBuilt},
  };
  return defs;
}

}  // namespace mirelon
