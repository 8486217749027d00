// TMirelonAnalyzer: checks the structure of a program text without running
// it. It walks the token array with a checker that mirrors the statements of
// the language and reports every problem it meets, then goes on: block
// keywords that pair up, required keywords, names where names are required,
// declared types and the shape of every expression (present, brackets
// balanced). It evaluates nothing and keeps no table of names.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "core/Lexer.h"
#include "core/Text.h"

namespace mirelon {

struct TMirelonDiagnostic {
  int32_t Line = -1;  // -1 for an internal error
  std::u16string Msg;
  bool IsFatal = true;  // an error; false for a warning
};

class TMirelonAnalyzer {
 public:
  // Fills Diagnostics in the order found; true when none of them is an error.
  // A lexer error leaves as an exception.
  bool Analyze(const std::u16string& ASource, std::vector<TMirelonDiagnostic>& Diagnostics);
  // Raises the first error as an EMirelonError at its line.
  void AnalyzeOrRaise(const std::u16string& ASource);

 private:
  using TTokenSet = std::initializer_list<TMirelonTokenType>;

  // Raises a depth counter for the lifetime of a scope.
  struct TDepthScope {
    explicit TDepthScope(int32_t& D) : FDepth(D) { ++FDepth; }
    ~TDepthScope() { --FDepth; }
    int32_t& FDepth;
  };

  // ---- token walk ----
  const TMirelonToken& PeekToken() const { return PeekTokenAt(0); }
  const TMirelonToken& PeekTokenAt(int32_t N) const;
  bool At(TMirelonTokenType T) const { return PeekToken().TokenType == T; }
  bool AtAny(TTokenSet S) const;
  bool Accept(TMirelonTokenType T);  // advances past a token of type T when it is there
  int32_t CurrentLine() const { return PeekToken().Line; }
  void AdvanceToken();
  void SkipLineEnds();
  void SkipUntilToken(TTokenSet S);
  void AddError(int32_t Line, std::u16string_view Msg, std::initializer_list<TFmtArg> Args = {});
  void AddWarning(int32_t Line, std::u16string_view Msg, std::initializer_list<TFmtArg> Args = {});
  void ExpectToken(TMirelonTokenType T, std::u16string_view Shown);

  // ---- expressions and blocks ----
  bool IsExpressionEnd() const;
  void CheckExpression(std::u16string_view Context);
  void AnalyzeBlock(TTokenSet S);
  void AnalyzeStatement();
  void ReportUnexpectedToken(int32_t Line);

  // ---- statements led by a name, declarations, simple keywords ----
  void AnalyzeNameStatement();
  void AnalyzeFieldStatement(const std::u16string& N, int32_t Line);
  void AnalyzeMultiDeclaration(const std::u16string& N);
  void AnalyzeIndexedAssignment(const std::u16string& N);
  void AnalyzeDeclaration(const std::u16string& N);
  bool CheckCallArguments();  // true when the closing ")" was there
  void AnalyzeVide();
  void AnalyzeSupprime();
  void AnalyzeConstante();
  void AnalyzeRetourne();
  void AnalyzeAppelle();

  // ---- console statements ----
  void AnalyzeDemande();
  void AnalyzeChoisir();
  void AnalyzeColorOrHtml();
  void SkipRestOfLine();

  // ---- blocks ----
  void AnalyzeSi();
  void AnalyzeTantQue();
  void AnalyzeRepete();
  void AnalyzePour();
  void AnalyzeSelon();
  void AnalyzeCas();
  void AnalyzeEssayer();
  void AnalyzeLoopBody(TMirelonTokenType Close);
  void ExpectBlockEnd(TMirelonTokenType Close, std::u16string_view Msg, int32_t Line);

  // ---- definitions ----
  void AnalyzeDefinition();
  void AnalyzeClasse();
  bool AnalyzeClassField(const std::u16string& C);  // false when the field lines end
  static bool IsTypeWord(const std::u16string& Word);  // after ASCII lower-casing

  std::vector<TMirelonToken> FTokens;
  int32_t FPos = 0;
  std::vector<TMirelonDiagnostic> FDiags;
  int32_t FLoopDepth = 0;
  int32_t FFunctionDepth = 0;
  int32_t FBlockDepth = 0;  // nested blocks, bounded so that the native stack holds
};

}  // namespace mirelon
