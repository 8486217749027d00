#include "core/builtins/Builtins.h"

namespace mirelon {

namespace {
void NotBuilt(TMirelon& M, TBuiltinArgs&, TMirelonValue&) { M.Fail(u"Fonction native non disponible"); }
}  // namespace

std::span<const TBuiltinDef> FileBuiltins() {
  static const TBuiltinDef defs[] = {
    {u"importer", NotBuilt},
    {u"sauvegarder", NotBuilt},
    {u"ajouter_ligne", NotBuilt},
    {u"fichier_existe", NotBuilt},
    {u"telecharger/télécharger", NotBuilt},
    {u"evaluer/évaluer", NotBuilt},
  };
  return defs;
}

}  // namespace mirelon
