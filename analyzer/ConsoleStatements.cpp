// The console statements: questions ("demande", "choisir", "appuyer"),
// coloured and HTML output, and "déboguer".
#include "analyzer/Analyzer.h"

namespace mirelon {

// "appuyer" and "déboguer" are not checked: the keyword and the rest of its line are passed over.
void TMirelonAnalyzer::SkipRestOfLine() {
  AdvanceToken();
  while (!AtAny({ttEOL, ttEOF})) AdvanceToken();
}

// demande QUESTION dans VAR | demande VAR dans VAR | demande VAR
void TMirelonAnalyzer::AnalyzeDemande() {
  const int32_t line = CurrentLine();
  AdvanceToken();
  const bool named = At(ttIdentifiant);
  if (At(ttTexte) || (named && PeekTokenAt(1).TokenType == ttPlus)) {
    CheckExpression(u"demande");
    if (!Accept(ttDans)) AddError(CurrentLine(), u"\"dans\" attendu après la question");
    if (!Accept(ttIdentifiant)) AddError(CurrentLine(), u"Nom de variable attendu après \"dans\"");
  } else if (named && PeekTokenAt(1).TokenType == ttDans) {
    AdvanceToken();
    AdvanceToken();
    if (!Accept(ttIdentifiant)) AddError(CurrentLine(), u"Nom de variable destination attendu");
  } else if (!Accept(ttIdentifiant)) {
    AddError(line, u"\"demande\" attend un texte ou un nom de variable");
  }
}

// choisir [OPTION, ...] dans VAR | choisir EXPRESSION dans VAR
void TMirelonAnalyzer::AnalyzeChoisir() {
  const int32_t line = CurrentLine();
  AdvanceToken();
  if (Accept(ttCroOuv)) {
    int count = 0;
    if (!At(ttCroFerm)) {
      do {
        CheckExpression(u"choisir [");
        ++count;
      } while (Accept(ttVirgule));
    }
    if (!Accept(ttCroFerm)) {
      AddError(CurrentLine(), u"\"]\" manquant dans la liste d'options de \"choisir\"");
      return;
    }
    if (count == 0) AddError(line, u"\"choisir\" attend au moins une option");
  } else {
    CheckExpression(u"choisir");
  }
  if (!Accept(ttDans))
    AddError(CurrentLine(), u"\"dans\" attendu après les options de \"choisir\"");
  else if (!Accept(ttIdentifiant))
    AddError(CurrentLine(), u"Nom de variable attendu après \"dans\"");
}

// couleur(COULEUR [, TEXTE]) and html(TEXTE)
void TMirelonAnalyzer::AnalyzeColorOrHtml() {
  const int32_t line = CurrentLine();
  const bool color = At(ttCouleur);
  AdvanceToken();
  if (!Accept(ttParOuv)) {
    AddError(line, color ? u"\"couleur\" attend une parenthèse ouvrante \"(\""
                         : u"\"html\" attend une parenthèse ouvrante \"(\"");
    return;
  }
  const char16_t* context = color ? u"couleur(" : u"html(";
  CheckExpression(context);
  if (color && Accept(ttVirgule)) CheckExpression(context);
  if (!Accept(ttParFerm))
    AddError(CurrentLine(), color ? u"\")\" manquant dans \"couleur(...)\"" : u"\")\" manquant dans \"html(...)\"");
}

}  // namespace mirelon
