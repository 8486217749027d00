#include "core/builtins/Builtins.h"

namespace mirelon {

namespace {
void NotBuilt(TMirelon& M, TBuiltinArgs&, TMirelonValue&) { M.Fail(u"Fonction native non disponible"); }
}  // namespace

std::span<const TBuiltinDef> NumberBuiltins() {
  static const TBuiltinDef defs[] = {
    {u"racine", NotBuilt},
    {u"absolue", NotBuilt},
    {u"arrondi", NotBuilt},
    {u"decimal/décimal", NotBuilt},
    {u"hasard", NotBuilt},
    {u"minimum", NotBuilt},
    {u"maximum", NotBuilt},
    {u"puissance", NotBuilt},
    {u"limiter", NotBuilt},
    {u"sinus", NotBuilt},
    {u"cosinus", NotBuilt},
    {u"tangente", NotBuilt},
    {u"pi", NotBuilt},
    {u"logarithme", NotBuilt},
    {u"pair", NotBuilt},
    {u"impair", NotBuilt},
    {u"pourcentage", NotBuilt},
    {u"arrondi_superieur/arrondi_supérieur", NotBuilt},
    {u"arrondi_inférieur/arrondi_inferieur", NotBuilt},
    {u"signe", NotBuilt},
    {u"factorielle", NotBuilt},
    {u"pgcd", NotBuilt},
    {u"increment/incrément", NotBuilt},
    {u"decrement/décrement", NotBuilt},
    {u"vers_hexadecimal/vers_hexadécimal", NotBuilt},
    {u"vers_decimal/vers_décimal", NotBuilt},
    {u"est_nombre", NotBuilt},
    {u"est_texte", NotBuilt},
    {u"est_booleen/est_booléen", NotBuilt},
    {u"type_de", NotBuilt},
    {u"convertir_texte", NotBuilt},
    {u"convertir_nombre", NotBuilt},
    {u"vers_type", NotBuilt},
    {u"defaut/défaut", NotBuilt},
    {u"sialors", NotBuilt},
    {u"uid", NotBuilt},
  };
  return defs;
}

}  // namespace mirelon
