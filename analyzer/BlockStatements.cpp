// The block statements: "si", the three loops, "selon" and "essayer".
#include "analyzer/Analyzer.h"

namespace mirelon {

void TMirelonAnalyzer::ExpectBlockEnd(TMirelonTokenType Close, std::u16string_view Msg, int32_t Line) {
  if (!Accept(Close)) AddError(Line, Msg);
}

void TMirelonAnalyzer::AnalyzeLoopBody(TMirelonTokenType Close) {
  SkipLineEnds();
  TDepthScope loop(FLoopDepth);
  AnalyzeBlock({Close, ttEOF});
}

void TMirelonAnalyzer::AnalyzeSi() {
  const int32_t line = CurrentLine();
  AdvanceToken();
  const char16_t* context = u"si";
  do {
    CheckExpression(context);
    SkipLineEnds();
    if (!Accept(ttAlors)) AddError(CurrentLine(), u"\"alors\" attendu après la condition du \"%s\"", {context});
    SkipLineEnds();
    AnalyzeBlock({ttSinonSi, ttSinon, ttFinSi, ttEOF});
    context = u"sinon si";
  } while (Accept(ttSinonSi));
  if (Accept(ttSinon)) {
    SkipLineEnds();
    AnalyzeBlock({ttFinSi, ttEOF});
  }
  ExpectBlockEnd(ttFinSi, u"\"fin si\" manquant", line);
}

void TMirelonAnalyzer::AnalyzeTantQue() {
  const int32_t line = CurrentLine();
  AdvanceToken();
  CheckExpression(u"tant que");
  AnalyzeLoopBody(ttFinTantQue);
  ExpectBlockEnd(ttFinTantQue, u"\"fin tant que\" manquant", line);
}

void TMirelonAnalyzer::AnalyzeRepete() {
  const int32_t line = CurrentLine();
  AdvanceToken();
  CheckExpression(u"répète");
  if (!Accept(ttFois)) AddError(CurrentLine(), u"\"fois\" attendu après l'expression dans \"répète\"");
  AnalyzeLoopBody(ttFinRepete);
  ExpectBlockEnd(ttFinRepete, u"\"fin répète\" manquant", line);
}

void TMirelonAnalyzer::AnalyzePour() {
  const int32_t line = CurrentLine();
  AdvanceToken();
  if (!Accept(ttIdentifiant)) AddError(CurrentLine(), u"\"pour\" attend un identifiant de variable");
  if (!Accept(ttDe)) AddError(CurrentLine(), u"\"de\" attendu après la variable de boucle");
  CheckExpression(u"de");
  if (!Accept(ttA)) AddError(CurrentLine(), u"\"à\" attendu après la valeur de départ");
  CheckExpression(u"à");
  if (Accept(ttPas)) CheckExpression(u"pas");
  AnalyzeLoopBody(ttFinPour);
  ExpectBlockEnd(ttFinPour, u"\"fin pour\" manquant", line);
}

void TMirelonAnalyzer::AnalyzeSelon() {
  const int32_t line = CurrentLine();
  AdvanceToken();
  CheckExpression(u"selon");
  SkipLineEnds();
  if (!AtAny({ttCas, ttSinonSelon, ttFinSelon}))
    AddWarning(CurrentLine(), u"\"selon\" sans aucune branche \"cas\" — bloc probablement vide");
  while (AtAny({ttCas, ttSinonSelon})) {
    if (At(ttCas)) {
      AnalyzeCas();
      continue;
    }
    AdvanceToken();
    if (!Accept(ttDeuxPoints)) AddError(CurrentLine(), u"\":\" attendu après \"sinon selon\"");
    SkipLineEnds();
    AnalyzeBlock({ttFinSelon, ttEOF});
  }
  ExpectBlockEnd(ttFinSelon, u"\"fin selon\" manquant", line);
}

// cas V [à W], ... : followed by its statements
void TMirelonAnalyzer::AnalyzeCas() {
  AdvanceToken();
  do {
    CheckExpression(u"cas");
    if (Accept(ttA)) CheckExpression(u"cas … à");
  } while (Accept(ttVirgule));
  if (!Accept(ttDeuxPoints)) AddError(CurrentLine(), u"\":\" attendu après la valeur du cas");
  SkipLineEnds();
  AnalyzeBlock({ttCas, ttSinonSelon, ttFinSelon, ttEOF});
}

void TMirelonAnalyzer::AnalyzeEssayer() {
  const int32_t line = CurrentLine();
  AdvanceToken();
  SkipLineEnds();
  AnalyzeBlock({ttAttraper, ttFinEssayer, ttEOF});
  if (Accept(ttAttraper)) {
    Accept(ttIdentifiant);
    SkipLineEnds();
    AnalyzeBlock({ttFinEssayer, ttEOF});
  } else {
    AddWarning(line, u"\"essayer\" sans \"attraper\" correspondant");
  }
  ExpectBlockEnd(ttFinEssayer, u"\"fin essayer\" manquant", line);
}

}  // namespace mirelon
