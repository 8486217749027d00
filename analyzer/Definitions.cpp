// Definitions: functions, procedures and classes.
#include "analyzer/Analyzer.h"

namespace mirelon {

void TMirelonAnalyzer::AnalyzeDefinition() {
  const int32_t line = CurrentLine();
  const bool isFunction = At(ttFonction);
  AdvanceToken();
  if (!At(ttIdentifiant)) {
    AddError(line, u"Nom attendu après \"%s\"", {isFunction ? u"fonction" : u"procédure"});
    SkipUntilToken({ttFinFonction, ttFinProcedure});
    AdvanceToken();
    return;
  }
  const std::u16string name = PeekToken().Value;
  AdvanceToken();
  if (Accept(ttParOuv)) {
    while (!AtAny({ttParFerm, ttEOF})) {
      if (!Accept(ttIdentifiant)) {
        AddError(CurrentLine(), u"Nom de paramètre attendu dans \"%s\"", {name});
        break;
      }
      if (!Accept(ttVirgule)) break;
    }
    if (!Accept(ttParFerm)) AddError(CurrentLine(), u"\")\" manquant dans la définition de \"%s\"", {name});
  }
  SkipLineEnds();
  const TMirelonTokenType close = isFunction ? ttFinFonction : ttFinProcedure;
  {
    TDepthScope body(FFunctionDepth);
    AnalyzeBlock({close, ttEOF});
  }
  if (!Accept(close))
    AddError(line, isFunction ? u"\"fin fonction\" manquant pour \"%s\"" : u"\"fin procédure\" manquant pour \"%s\"",
             {name});
}

void TMirelonAnalyzer::AnalyzeClasse() {
  const int32_t line = CurrentLine();
  AdvanceToken();
  if (!At(ttIdentifiant)) {
    AddError(CurrentLine(), u"\"classe\" attend un nom");
    SkipUntilToken({ttFinClasse});
    Accept(ttFinClasse);
    return;
  }
  const std::u16string c = PeekToken().Value;
  AdvanceToken();
  if (!Accept(ttDeuxPoints)) AddError(CurrentLine(), u"\":\" attendu après \"classe %s\"", {c});
  SkipLineEnds();
  while (!AtAny({ttFinClasse, ttEOF}) && AnalyzeClassField(c)) SkipLineEnds();
  ExpectBlockEnd(ttFinClasse, u"\"fin classe\" manquant", line);
}

// One field line: NAME [, NAME ...] est [un|une] TYPE
bool TMirelonAnalyzer::AnalyzeClassField(const std::u16string& C) {
  if (At(ttClasse)) {
    AddError(CurrentLine(), u"\"fin classe\" manquant pour la classe \"%s\" avant le début d'une nouvelle classe",
             {C});
    return false;
  }
  if (!Accept(ttIdentifiant)) {
    AddError(CurrentLine(), u"Nom de champ attendu dans la classe \"%s\"", {C});
    SkipUntilToken({ttFinClasse});
    return false;
  }
  while (Accept(ttVirgule)) {
    if (!Accept(ttIdentifiant)) {
      AddError(CurrentLine(), u"Nom de champ attendu après \",\" dans la classe \"%s\"", {C});
      break;
    }
  }
  if (!Accept(ttEst)) AddError(CurrentLine(), u"\"est\" attendu après le nom du champ");
  if (!Accept(ttUn)) Accept(ttUne);
  if (Accept(ttTableau)) return true;
  if (!At(ttIdentifiant)) {
    AddError(CurrentLine(), u"Type attendu pour le champ de la classe \"%s\"", {C});
    return true;
  }
  if (!IsTypeWord(PeekToken().Value))
    AddError(CurrentLine(),
             u"Type de champ inconnu \"%s\" dans la classe \"%s\". Types valides : nombre, texte, booléen, "
             u"tableau, enregistrement, date, heure, toile",
             {PeekToken().Value, C});
  AdvanceToken();
  return true;
}

}  // namespace mirelon
