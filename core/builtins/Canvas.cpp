#include "core/builtins/Builtins.h"

namespace mirelon {

namespace {
void NotBuilt(TMirelon& M, TBuiltinArgs&, TMirelonValue&) { M.Fail(u"Fonction native non disponible"); }
}  // namespace

std::span<const TBuiltinDef> CanvasBuiltins() {
  static const TBuiltinDef defs[] = {
    {u"dimension", NotBuilt},
    {u"rectangle", NotBuilt},
    {u"cercle", NotBuilt},
    {u"ellipse", NotBuilt},
    {u"rectangle_arrondi", NotBuilt},
    {u"ligne", NotBuilt},
    {u"pixel", NotBuilt},
    {u"polygone", NotBuilt},
    {u"courbe", NotBuilt},
    {u"arc", NotBuilt},
    {u"remplir", NotBuilt},
    {u"label", NotBuilt},
    {u"label_largeur", NotBuilt},
    {u"label_hauteur", NotBuilt},
    {u"contour", NotBuilt},
    {u"effacer", NotBuilt},
    {u"animation", NotBuilt},
    {u"rgb", NotBuilt},
  };
  return defs;
}

}  // namespace mirelon
