// Control flow: "si", the three loops, "selon", "essayer", "arrête",
// "continue", and the block-end searches that step over bodies not run.
#include <cmath>
#include <exception>

#include "core/Interpreter.h"

namespace mirelon {

namespace {

// Keeps a depth counter raised for a scope, whatever way the scope is left.
struct TDepthGuard {
  explicit TDepthGuard(int32_t& d) : Depth(d) { ++Depth; }
  ~TDepthGuard() { --Depth; }
  int32_t& Depth;
};

bool TryToNumber(const TMirelonValue& v, double& out) {
  if (v.Kind != lvkNumber && v.Kind != lvkText && v.Kind != lvkBool) return false;
  out = ToNumber(v, -1);
  return true;
}

}  // namespace

// ---- block-end searches ----

void TMirelon::FindBlockEnd(TMirelonTokenType Open, TMirelonTokenType Close) {
  int32_t start = FPos;
  if (start < FTokenCount && FBlockEnd[start] >= 0) {
    FPos = FBlockEnd[start];
    return;
  }
  for (int32_t depth = 1; FPos < FTokenCount; ++FPos) {
    TMirelonTokenType t = FTokens[FPos].TokenType;
    if (t == ttEOF) return;
    if (t == Open) ++depth;
    else if (t == Close && --depth == 0) {
      FBlockEnd[start] = FPos;
      return;
    }
  }
}

// The next "sinon si" / "sinon" / "fin si" of this "si" (or "cas" / "sinon
// selon" / "fin selon" of this "selon").
static int32_t ScanToBranch(const std::vector<TMirelonToken>& tokens, int32_t pos, TMirelonTokenType open,
                            TMirelonTokenType close, TMirelonTokenType stop1, TMirelonTokenType stop2) {
  int32_t n = static_cast<int32_t>(tokens.size());
  for (int32_t depth = 1; pos < n; ++pos) {
    TMirelonTokenType t = tokens[pos].TokenType;
    if (t == ttEOF) break;
    if (t == open) ++depth;
    else if (t == close) {
      if (depth == 1) break;
      --depth;
    } else if (depth == 1 && (t == stop1 || t == stop2)) {
      break;
    }
  }
  return pos;
}

// Both scans depend only on where they start, so each is made once per run
// and start index, like the block-end searches.
void TMirelon::SkipToNextBranch() {
  if (FPos >= FTokenCount) return;
  int32_t& cached = FNextBranch[FPos];
  if (cached < 0) cached = ScanToBranch(FTokens, FPos, ttSi, ttFinSi, ttSinon, ttSinonSi);
  FPos = cached;
}

void TMirelon::SkipToNextCase() {
  if (FPos >= FTokenCount) return;
  int32_t& cached = FNextCase[FPos];
  if (cached < 0) cached = ScanToBranch(FTokens, FPos, ttSelon, ttFinSelon, ttCas, ttSinonSelon);
  FPos = cached;
}

// ---- si ----

// Runs the branch of a true condition; false when a signal left it.
bool TMirelon::RunIfBranch() {
  ExecuteBlock({ttSinonSi, ttSinon, ttFinSi});
  if (FSignal != sgNone) {
    SkipToFinSi();
    ConsumeIf(ttFinSi);
    return false;
  }
  if (At(ttSinon) || At(ttSinonSi)) SkipToFinSi();
  return true;
}

void TMirelon::ExecuteIf() {
  Expect(ttSi);
  bool cond = EvaluateCondition();
  SkipNewlines();
  Expect(ttAlors);
  ConsumeIf(ttEOL);
  bool matched = cond;
  if (cond) {
    if (!RunIfBranch()) return;
  } else {
    SkipToNextBranch();
  }
  while (!matched && At(ttSinonSi)) {
    ++FPos;
    cond = EvaluateCondition();
    SkipNewlines();
    Expect(ttAlors);
    ConsumeIf(ttEOL);
    if (!cond) {
      SkipToNextBranch();
      continue;
    }
    matched = true;
    if (!RunIfBranch()) return;
  }
  if (!matched && At(ttSinon)) {
    ++FPos;
    SkipNewlines();
    ExecuteBlock({ttFinSi});
    if (FSignal != sgNone) {
      SkipToFinSi();
      ConsumeIf(ttFinSi);
      return;
    }
  }
  Expect(ttFinSi);
}

// ---- loops ----

bool TMirelon::HandleLoopSignal() {
  switch (FSignal) {
    case sgBreak: FSignal = sgNone; return true;
    case sgContinue: FSignal = sgNone; return false;
    case sgReturn: return true;
    default: return false;
  }
}

void TMirelon::FailLoopLimit(const char16_t* LoopName, int Line) const {
  throw EMirelonError::CreateFmtAtLine(Line, u"La boucle \"%s\" dépasse %d itérations (probable boucle infinie).",
                                       {LoopName, FLoopIterationLimit});
}

void TMirelon::ExecuteWhile() {
  int line = CurrentLine();
  Expect(ttTantQue);
  int32_t condStart = FPos;
  bool cond = EvaluateCondition();
  ConsumeIf(ttEOL);
  if (cond) {
    TDepthGuard loop(FLoopDepth);
    for (int64_t count = 1;; ++count) {
      CheckLoopLimit(u"tant que", count, line);
      CheckAbort();
      ExecuteBlock({ttFinTantQue});
      if (HandleLoopSignal()) break;
      FPos = condStart;
      cond = EvaluateCondition();
      ConsumeIf(ttEOL);
      if (!cond) break;
    }
  }
  SkipToFinTantQue();
  if (FSignal != sgNone) ConsumeIf(ttFinTantQue);
  else Expect(ttFinTantQue);
}

void TMirelon::ExecuteRepeat() {
  int line = CurrentLine();
  Expect(ttRepete);
  int64_t n = ToInteger(Evaluate());
  if (FLoopIterationLimit > 0 && n > FLoopIterationLimit)
    throw EMirelonError::CreateFmtAtLine(line, u"\"répète %d fois\" dépasse la limite de %d itérations.",
                                         {n, FLoopIterationLimit});
  Expect(ttFois);
  ConsumeIf(ttEOL);
  int32_t body = FPos;
  if (n > 0) {
    TDepthGuard loop(FLoopDepth);
    for (int64_t i = 0; i < n; ++i) {
      CheckAbort();
      FPos = body;
      ExecuteBlock({ttFinRepete});
      if (HandleLoopSignal()) break;
    }
  }
  SkipToFinRepete();
  ConsumeIf(ttFinRepete);
}

void TMirelon::ExecuteFor() {
  int line = CurrentLine();
  Expect(ttPour);
  if (!At(ttIdentifiant)) Fail(u"\"pour\" attend un identifiant");
  const TMirelonToken& name = CurrentToken();
  ++FPos;
  Expect(ttDe);
  double current = ToNumber(Evaluate());
  Expect(ttA);
  double stop = ToNumber(Evaluate());
  double step = 1;
  if (At(ttPas)) {
    ++FPos;
    step = ToNumber(Evaluate());
  }
  if (step == 0) Fail(u"\"pas\" ne peut pas être 0");
  ConsumeIf(ttEOL);
  int32_t body = FPos;
  {
    TDepthGuard loop(FLoopDepth);
    for (int64_t count = 1; step > 0 ? current <= stop + 1e-12 : current >= stop - 1e-12; ++count) {
      CheckLoopLimit(u"pour", count, line);
      CheckAbort();
      // The counter is usually a number already: it is then set in place.
      if (TMirelonValue* counter = FindWritableVariable(name.Key)) counter->SetNumber(current);
      else AssignVariable(name.Key, name.Value, TMirelonValue::Number(current));
      FPos = body;
      ExecuteBlock({ttFinPour});
      if (HandleLoopSignal()) break;
      current += step;
    }
  }
  SkipToFinPour();
  ConsumeIf(ttFinPour);
}

// ---- selon ----

bool TMirelon::CaseInRange(const TMirelonValue& Subject, const TMirelonValue& Low, const TMirelonValue& High) {
  double s, lo, hi;
  if (!TryToNumber(Subject, s) || !TryToNumber(Low, lo) || !TryToNumber(High, hi)) return false;
  return std::fmin(lo, hi) <= s && s <= std::fmax(lo, hi);
}

void TMirelon::ExecuteSelect() {
  Expect(ttSelon);
  TMirelonValue subject = Evaluate();
  TMirelonValue low, high;  // every "cas" value is read into these two in turn
  bool matched = false;
  ConsumeIf(ttEOL);
  for (;;) {
    if (At(ttCas)) {
      ++FPos;
      bool hit = false;
      for (;;) {
        ParseOr(low);
        if (At(ttA)) {
          ++FPos;
          ParseOr(high);
          if (!matched && CaseInRange(subject, low, high)) hit = true;
        } else if (!matched && ValuesEqual(subject, low)) {
          hit = true;
        }
        if (!At(ttVirgule)) break;
        ++FPos;
      }
      Expect(ttDeuxPoints);
      ConsumeIf(ttEOL);
      if (!hit) {
        SkipToNextCase();
        continue;
      }
      matched = true;
      ExecuteBlock({ttCas, ttSinonSelon, ttFinSelon});
    } else if (At(ttSinonSelon)) {
      ++FPos;
      Expect(ttDeuxPoints);
      ConsumeIf(ttEOL);
      if (matched) {
        SkipToFinSelon();
        continue;
      }
      matched = true;
      ExecuteBlock({ttFinSelon});
    } else {
      Expect(ttFinSelon);
      return;
    }
    if (FSignal != sgNone) {
      SkipToFinSelon();
      ConsumeIf(ttFinSelon);
      return;
    }
  }
}

// ---- essayer ----

void TMirelon::ExecuteTry() {
  Expect(ttEssayer);
  ConsumeIf(ttEOL);
  int32_t body = FPos;
  std::exception_ptr caught;
  std::u16string message;
  try {
    ExecuteBlock({ttAttraper, ttFinEssayer});
  } catch (const EMirelonFatal&) {
    throw;
  } catch (const EMirelonError& e) {
    caught = std::current_exception();
    message = e.Message();
  }
  if (caught) {
    FSignal = sgNone;
    FHasReturnValue = false;
    // This statement's "attraper": the first one at depth 1 after the body start.
    FPos = body;
    for (int32_t depth = 1;; ++FPos) {
      TMirelonTokenType t = CurrentToken().TokenType;
      if (t == ttEOF || (t == ttFinEssayer && depth == 1)) std::rethrow_exception(caught);
      if (t == ttEssayer) ++depth;
      else if (t == ttFinEssayer) --depth;
      else if (t == ttAttraper && depth == 1) break;
    }
    ++FPos;
    const TMirelonToken* var = nullptr;
    if (At(ttIdentifiant)) var = &FTokens[FPos++];
    ConsumeIf(ttEOL);
    PushScope();
    struct TPop {
      TMirelon* M;
      ~TPop() { M->PopScope(); }
    } pop{this};
    if (var) DefineLocal(var->Key, var->Value, TMirelonValue::Text(message));
    ExecuteBlock({ttFinEssayer});
  }
  if (FSignal != sgNone) {
    SkipToFinEssayer();
    ConsumeIf(ttFinEssayer);
    return;
  }
  if (!caught && At(ttAttraper)) {
    ++FPos;
    ConsumeIf(ttIdentifiant);
    ConsumeIf(ttEOL);
    SkipToFinEssayer();
  }
  Expect(ttFinEssayer);
}

// ---- jumps ----

void TMirelon::ExecuteBreak() {
  Expect(ttArrete);
  if (FLoopDepth <= 0) Fail(u"\"arrete\" ne peut être utilisé qu'à l'intérieur d'une boucle");
  ConsumeIf(ttEOL);
  FSignal = sgBreak;
}

void TMirelon::ExecuteContinue() {
  Expect(ttContinue);
  if (FLoopDepth <= 0) Fail(u"\"continue\" ne peut être utilisé qu'à l'intérieur d'une boucle");
  ConsumeIf(ttEOL);
  FSignal = sgContinue;
}

}  // namespace mirelon
