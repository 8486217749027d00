#include "analyzer/Analyzer.h"

#include <exception>

#include "core/Errors.h"
#include "core/Stack.h"

namespace mirelon {

namespace {

// Deeper nesting than this, or a native stack that runs low (the request
// thread's stack size is not ours to choose), ends the walk with an internal
// error instead of a crash.
constexpr int32_t kMaxBlockDepth = 1000;
constexpr size_t kMinStackLeft = 64 * 1024;

const TMirelonToken kEndToken{ttEOF, u"", -1};

}  // namespace

bool TMirelonAnalyzer::Analyze(const std::u16string& ASource, std::vector<TMirelonDiagnostic>& Diagnostics) {
  FDiags.clear();
  FPos = 0;
  FLoopDepth = 0;
  FFunctionDepth = 0;
  FBlockDepth = 0;
  FTokens = TMirelonLexer(DecodeHtmlEntities(ASource)).Tokenize();
  try {
    AnalyzeBlock({ttEOF});
  } catch (const Exception& e) {
    AddError(-1, u"Erreur interne de l'analyseur : %s", {e.Message()});
  } catch (const std::exception& e) {
    AddError(-1, u"Erreur interne de l'analyseur : %s", {Utf8ToUtf16(e.what())});
  }
  Diagnostics = FDiags;
  for (const auto& d : FDiags)
    if (d.IsFatal) return false;
  return true;
}

void TMirelonAnalyzer::AnalyzeOrRaise(const std::u16string& ASource) {
  std::vector<TMirelonDiagnostic> diags;
  if (Analyze(ASource, diags)) return;
  for (const auto& d : diags)
    if (d.IsFatal) throw EMirelonError::CreateAtLine(d.Line, d.Msg);
}

// ---- token walk ----

const TMirelonToken& TMirelonAnalyzer::PeekTokenAt(int32_t N) const {
  size_t i = static_cast<size_t>(FPos) + N;
  return i < FTokens.size() ? FTokens[i] : kEndToken;
}

bool TMirelonAnalyzer::AtAny(TTokenSet S) const {
  for (auto t : S)
    if (At(t)) return true;
  return false;
}

bool TMirelonAnalyzer::Accept(TMirelonTokenType T) {
  if (!At(T)) return false;
  AdvanceToken();
  return true;
}

void TMirelonAnalyzer::AdvanceToken() {
  if (static_cast<size_t>(FPos) < FTokens.size()) ++FPos;
}

void TMirelonAnalyzer::SkipLineEnds() {
  while (At(ttEOL)) AdvanceToken();
}

void TMirelonAnalyzer::SkipUntilToken(TTokenSet S) {
  while (!At(ttEOF) && !AtAny(S)) AdvanceToken();
}

void TMirelonAnalyzer::AddError(int32_t Line, std::u16string_view Msg, std::initializer_list<TFmtArg> Args) {
  FDiags.push_back({Line, Format(Msg, Args), true});
}

void TMirelonAnalyzer::AddWarning(int32_t Line, std::u16string_view Msg, std::initializer_list<TFmtArg> Args) {
  FDiags.push_back({Line, Format(Msg, Args), false});
}

void TMirelonAnalyzer::ExpectToken(TMirelonTokenType T, std::u16string_view Shown) {
  if (Accept(T)) return;
  AddError(CurrentLine(), u"\"%s\" attendu, obtenu \"%s\"", {Shown, PeekToken().Value});
}

// ---- expressions ----

bool TMirelonAnalyzer::IsExpressionEnd() const {
  return AtAny({ttDans, ttAlors, ttSinon, ttSinonSi, ttFinSi, ttFinTantQue, ttFois, ttFinRepete, ttDe, ttA,
                ttPas, ttFinPour, ttCas, ttSinonSelon, ttFinSelon, ttDeuxPoints, ttAttraper, ttFinEssayer,
                ttFinFonction, ttFinProcedure, ttVirgule, ttEOL, ttEOF});
}

// Only the shape is checked: something is there and the brackets close.
// Inside brackets the scan runs across line ends until they close.
void TMirelonAnalyzer::CheckExpression(std::u16string_view Context) {
  const int32_t line = CurrentLine();
  SkipLineEnds();
  if (IsExpressionEnd()) {
    AddError(line, u"Expression manquante après \"%s\"", {Context});
    return;
  }
  int parens = 0, brackets = 0;
  bool consumed = false;
  while (!At(ttEOF)) {
    const auto t = PeekToken().TokenType;
    if (t == ttParOuv) {
      ++parens;
    } else if (t == ttParFerm) {
      if (parens == 0) break;
      --parens;
    } else if (t == ttCroOuv) {
      ++brackets;
    } else if (t == ttCroFerm) {
      if (brackets == 0) break;
      --brackets;
    } else if (parens == 0 && brackets == 0 && IsExpressionEnd()) {
      break;
    }
    AdvanceToken();
    consumed = true;
  }
  if (parens > 0) AddError(line, u"Parenthèse(s) non fermée(s) dans l'expression après \"%s\"", {Context});
  if (brackets > 0) AddError(line, u"Crochet(s) non fermé(s) dans l'expression après \"%s\"", {Context});
  if (!consumed) AddError(line, u"Expression vide après \"%s\"", {Context});
}

// ---- blocks and statements ----

void TMirelonAnalyzer::AnalyzeBlock(TTokenSet S) {
  TDepthScope depth(FBlockDepth);
  if (FBlockDepth > kMaxBlockDepth || StackRemaining() < kMinStackLeft) throw EMirelonError::Create(u"Imbrication trop profonde");
  SkipLineEnds();
  while (!At(ttEOF) && !AtAny(S)) {
    AnalyzeStatement();
    SkipLineEnds();
  }
}

void TMirelonAnalyzer::AnalyzeStatement() {
  SkipLineEnds();
  const int32_t line = CurrentLine();
  switch (PeekToken().TokenType) {
    case ttEOL:
    case ttEOF: return;
    case ttIdentifiant: AnalyzeNameStatement(); break;
    case ttSupprime: AnalyzeSupprime(); break;
    case ttVide: AnalyzeVide(); break;
    case ttAffiche:
      AdvanceToken();
      CheckExpression(u"affiche");
      break;
    case ttDemande:
    case ttDans: AnalyzeDemande(); break;
    case ttChoisir: AnalyzeChoisir(); break;
    case ttAppuyer:
    case ttDeboguer: SkipRestOfLine(); break;
    case ttConst: AnalyzeConstante(); break;
    case ttCouleur:
    case ttHtml: AnalyzeColorOrHtml(); break;
    case ttSi: AnalyzeSi(); break;
    case ttTantQue: AnalyzeTantQue(); break;
    case ttRepete: AnalyzeRepete(); break;
    case ttPour: AnalyzePour(); break;
    case ttSelon: AnalyzeSelon(); break;
    case ttEssayer: AnalyzeEssayer(); break;
    case ttArrete:
    case ttContinue:
      if (FLoopDepth <= 0)
        AddError(line, u"\"%s\" utilisé en dehors d'une boucle", {At(ttArrete) ? u"arrete" : u"continue"});
      AdvanceToken();
      break;
    case ttTerminer: AdvanceToken(); break;
    case ttFonction:
    case ttProcedure: AnalyzeDefinition(); break;
    case ttRetourne: AnalyzeRetourne(); break;
    case ttAppelle: AnalyzeAppelle(); break;
    case ttClasse: AnalyzeClasse(); break;
    default: ReportUnexpectedToken(line);
  }
  Accept(ttEOL);
}

// A closing or middle keyword out of its block, or a token that starts no statement.
void TMirelonAnalyzer::ReportUnexpectedToken(int32_t Line) {
  struct TStray {
    TMirelonTokenType Type;
    const char16_t* Msg;
  };
  static const TStray kStray[] = {
      {ttSinon, u"\"sinon\" sans \"si\" correspondant"},
      {ttSinonSi, u"\"sinon\" sans \"si\" correspondant"},
      {ttFinSi, u"\"fin si\" sans \"si\" correspondant"},
      {ttFinTantQue, u"\"fin tant que\" sans \"tant que\" correspondant"},
      {ttFinRepete, u"\"fin répète\" sans \"répète\" correspondant"},
      {ttFinPour, u"\"fin pour\" sans \"pour\" correspondant"},
      {ttFinSelon, u"\"fin selon\" sans \"selon\" correspondant"},
      {ttAttraper, u"\"attraper\" sans \"essayer\" correspondant"},
      {ttFinEssayer, u"\"fin essayer\" sans \"essayer\" correspondant"},
      {ttFinFonction, u"\"fin fonction\" sans \"fonction\" correspondante"},
      {ttFinProcedure, u"\"fin procédure\" sans \"procédure\" correspondante"},
      {ttFinClasse, u"\"fin classe\" sans \"classe\" correspondant"},
  };
  const auto t = PeekToken().TokenType;
  const char16_t* msg = nullptr;
  for (const auto& s : kStray)
    if (s.Type == t) msg = s.Msg;
  if (msg)
    AddError(Line, msg);
  else
    AddError(Line, u"Instruction inattendue : \"%s\"", {PeekToken().Value});
  AdvanceToken();
}

}  // namespace mirelon
