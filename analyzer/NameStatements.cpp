// Statements led by a name (assignments, declarations, calls, field and
// indexed statements) and the keyword statements of variables and constants.
#include "analyzer/Analyzer.h"

namespace mirelon {

bool TMirelonAnalyzer::IsTypeWord(const std::u16string& Word) {
  static const char16_t* const kTypes[] = {u"nombre", u"texte",  u"booléen", u"booleen", u"enregistrement",
                                           u"date",   u"heure",  u"toile",   u"image"};
  const std::u16string lower = AsciiLower(Word);
  for (const char16_t* t : kTypes)
    if (lower == t) return true;
  return false;
}

void TMirelonAnalyzer::AnalyzeNameStatement() {
  const int32_t line = CurrentLine();
  const std::u16string n = PeekToken().Value;
  AdvanceToken();
  switch (PeekToken().TokenType) {
    case ttDot: AnalyzeFieldStatement(n, line); break;
    case ttVirgule: AnalyzeMultiDeclaration(n); break;
    case ttCroOuv: AnalyzeIndexedAssignment(n); break;
    case ttEst: AnalyzeDeclaration(n); break;
    case ttVaut:
      AdvanceToken();
      CheckExpression(n + u" vaut");
      break;
    case ttAjoute:
    case ttSoustrait:
      AdvanceToken();
      CheckExpression(n + u" ajoute/soustrait");
      break;
    case ttSupprime:
      AdvanceToken();
      CheckExpression(n + u" supprime");
      break;
    case ttParOuv:
      AdvanceToken();
      if (!CheckCallArguments()) AddError(line, u"\")\" manquant dans l'appel de \"%s\"", {n});
      break;
    default: AddError(line, u"Instruction inconnue après \"%s\" (vaut / est / ajoute …)", {n});
  }
}

void TMirelonAnalyzer::AnalyzeFieldStatement(const std::u16string& N, int32_t Line) {
  AdvanceToken();
  if (!Accept(ttIdentifiant)) AddError(Line, u"Nom de champ attendu après \".\"");
  if (Accept(ttVaut))
    CheckExpression(N + u".champ vaut");
  else if (Accept(ttAjoute) || Accept(ttSoustrait))
    CheckExpression(N + u".champ ajoute/soustrait");
  else
    AddError(CurrentLine(), u"Instruction invalide sur le champ de \"%s\"", {N});
}

void TMirelonAnalyzer::AnalyzeMultiDeclaration(const std::u16string& N) {
  std::u16string last = N;
  while (Accept(ttVirgule)) {
    if (!At(ttIdentifiant)) {
      AddError(CurrentLine(), u"Identifiant attendu après \",\"");
      break;
    }
    last = PeekToken().Value;
    AdvanceToken();
  }
  if (At(ttEst))
    AnalyzeDeclaration(last);
  else
    AddError(CurrentLine(), u"Déclaration multiple : \"est\" attendu après la liste de noms");
}

void TMirelonAnalyzer::AnalyzeIndexedAssignment(const std::u16string& N) {
  while (Accept(ttCroOuv)) {
    CheckExpression(u"index");
    ExpectToken(ttCroFerm, u"]");
  }
  if (Accept(ttVaut))
    CheckExpression(N + u"[...] vaut");
  else
    AddError(CurrentLine(), u"\"%s[...] vaut ...\" attendu", {N});
}

// N "est" ["un"/"une"] (type | "tableau" | "constante" "vaut" E), on "est".
void TMirelonAnalyzer::AnalyzeDeclaration(const std::u16string& N) {
  AdvanceToken();
  if (!Accept(ttUn)) Accept(ttUne);
  if (Accept(ttConst)) {
    if (Accept(ttVaut))
      CheckExpression(N + u" est constante vaut");
    else
      AddError(CurrentLine(), u"\"vaut\" attendu après \"constante\" pour \"%s\"", {N});
    return;
  }
  if (Accept(ttTableau)) return;
  if (!At(ttIdentifiant)) {
    AddError(CurrentLine(),
             u"Type attendu pour la déclaration de \"%s\" (nombre, texte, booléen, tableau, enregistrement, "
             u"date, heure, toile)",
             {N});
    return;
  }
  if (!IsTypeWord(PeekToken().Value))
    AddError(CurrentLine(),
             u"Type inconnu \"%s\" pour \"%s\". Types valides : nombre, texte, booléen, tableau, enregistrement, "
             u"date, heure, toile",
             {PeekToken().Value, N});
  AdvanceToken();
}

// Arguments after "(" up to the line end; the ")" is consumed when present.
bool TMirelonAnalyzer::CheckCallArguments() {
  while (!AtAny({ttParFerm, ttEOF, ttEOL})) {
    CheckExpression(u"argument");
    if (!Accept(ttVirgule)) break;
  }
  return Accept(ttParFerm);
}

void TMirelonAnalyzer::AnalyzeVide() {
  const int32_t line = CurrentLine();
  AdvanceToken();
  if (!Accept(ttIdentifiant)) AddError(line, u"\"vide\" attend un nom de tableau");
}

void TMirelonAnalyzer::AnalyzeSupprime() {
  const int32_t line = CurrentLine();
  AdvanceToken();
  if (Accept(ttIdentifiant))
    CheckExpression(u"supprime");
  else
    AddError(line, u"\"supprime\" attend un nom de tableau");
}

void TMirelonAnalyzer::AnalyzeConstante() {
  const int32_t line = CurrentLine();
  AdvanceToken();
  if (!At(ttIdentifiant)) {
    AddError(line, u"\"constante\" attend un identifiant");
    return;
  }
  const std::u16string c = PeekToken().Value;
  AdvanceToken();
  if (Accept(ttVaut))
    CheckExpression(u"constante " + c + u" vaut");
  else
    AddError(CurrentLine(), u"\"vaut\" attendu après le nom de la constante \"%s\"", {c});
}

void TMirelonAnalyzer::AnalyzeRetourne() {
  const int32_t line = CurrentLine();
  AdvanceToken();
  if (FFunctionDepth <= 0) AddError(line, u"\"retourne\" utilisé en dehors d'une fonction");
  if (AtAny({ttEOL, ttEOF}))
    AddError(line, u"\"retourne\" attend une expression");
  else
    CheckExpression(u"retourne");
}

void TMirelonAnalyzer::AnalyzeAppelle() {
  const int32_t line = CurrentLine();
  AdvanceToken();
  if (!Accept(ttIdentifiant)) {
    AddError(line, u"\"appelle\" attend un nom de procédure");
    return;
  }
  if (Accept(ttParOuv) && !CheckCallArguments()) AddError(CurrentLine(), u"\")\" manquant dans \"appelle\"");
}

}  // namespace mirelon
