#include "core/builtins/Builtins.h"

namespace mirelon {

namespace {
void NotBuilt(TMirelon& M, TBuiltinArgs&, TMirelonValue&) { M.Fail(u"Fonction native non disponible"); }
}  // namespace

std::span<const TBuiltinDef> TextBuiltins() {
  static const TBuiltinDef defs[] = {
    {u"longueur", NotBuilt},
    {u"majuscules", NotBuilt},
    {u"minuscules", NotBuilt},
    {u"hasardtexte", NotBuilt},
    {u"contient", NotBuilt},
    {u"remplacer", NotBuilt},
    {u"inverser", NotBuilt},
    {u"supprime_espace", NotBuilt},
    {u"repeter_texte/répéter_texte", NotBuilt},
    {u"commence_par", NotBuilt},
    {u"termine_par", NotBuilt},
    {u"compter", NotBuilt},
    {u"position", NotBuilt},
    {u"copier", NotBuilt},
    {u"caractere/caractère", NotBuilt},
    {u"code", NotBuilt},
    {u"decouper/découper", NotBuilt},
    {u"insertion", NotBuilt},
    {u"majuscule_initiale", NotBuilt},
    {u"chiffres", NotBuilt},
    {u"lettres", NotBuilt},
    {u"normaliser", NotBuilt},
    {u"expression", NotBuilt},
    {u"retirer", NotBuilt},
    {u"compter_mots", NotBuilt},
    {u"similaire", NotBuilt},
    {u"supprimer", NotBuilt},
  };
  return defs;
}

}  // namespace mirelon
