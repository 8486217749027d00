#include "core/builtins/Builtins.h"

namespace mirelon {

namespace {
void NotBuilt(TMirelon& M, TBuiltinArgs&, TMirelonValue&) { M.Fail(u"Fonction native non disponible"); }
}  // namespace

std::span<const TBuiltinDef> ArrayBuiltins() {
  static const TBuiltinDef defs[] = {
    {u"taille", NotBuilt},
    {u"premier", NotBuilt},
    {u"dernier", NotBuilt},
    {u"melanger/mélanger", NotBuilt},
    {u"liste_tableau", NotBuilt},
    {u"existe", NotBuilt},
    {u"champs", NotBuilt},
    {u"supprime_champ", NotBuilt},
    {u"joindre", NotBuilt},
    {u"trier", NotBuilt},
    {u"unique", NotBuilt},
    {u"somme", NotBuilt},
    {u"moyenne", NotBuilt},
    {u"est_vide", NotBuilt},
    {u"fusionner", NotBuilt},
    {u"mediane/médiane", NotBuilt},
    {u"index_de", NotBuilt},
    {u"intervalle", NotBuilt},
    {u"assembler", NotBuilt},
  };
  return defs;
}

}  // namespace mirelon
