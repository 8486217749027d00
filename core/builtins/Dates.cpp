#include "core/builtins/Builtins.h"

namespace mirelon {

namespace {
void NotBuilt(TMirelon& M, TBuiltinArgs&, TMirelonValue&) { M.Fail(u"Fonction native non disponible"); }
}  // namespace

std::span<const TBuiltinDef> DateBuiltins() {
  static const TBuiltinDef defs[] = {
    {u"maintenant", NotBuilt},
    {u"aujourd_hui", NotBuilt},
    {u"hier", NotBuilt},
    {u"demain", NotBuilt},
    {u"convertir_date", NotBuilt},
    {u"convertir_heure", NotBuilt},
    {u"jours_entre", NotBuilt},
    {u"jour_semaine", NotBuilt},
    {u"année_de/annee_de", NotBuilt},
    {u"mois_de", NotBuilt},
    {u"jour_de", NotBuilt},
    {u"heure_de", NotBuilt},
    {u"minute_de", NotBuilt},
    {u"seconde_de", NotBuilt},
    {u"semaine_de", NotBuilt},
    {u"est_bissextile", NotBuilt},
    {u"ajouter_jours", NotBuilt},
    {u"ajouter_mois", NotBuilt},
    {u"ajouter_annees/ajouter_années", NotBuilt},
    {u"ajouter_heures", NotBuilt},
    {u"ajouter_minutes", NotBuilt},
    {u"format_date", NotBuilt},
    {u"vers_date", NotBuilt},
    {u"vers_heure", NotBuilt},
  };
  return defs;
}

}  // namespace mirelon
