// Functions, procedures and classes: the two pre-passes, "appelle",
// "retourne" and the call protocol.
#include "core/Interpreter.h"
#include "core/Names.h"

namespace mirelon {

namespace {

constexpr int32_t kMaxCallDepth = 5000;

}  // namespace

// ---- callable pre-pass ----

void TMirelon::RegisterCallables() {
  for (int32_t i = 0; i < FTokenCount;) {
    TMirelonCallable c;
    int32_t end;
    if (!ParseCallableDefinition(i, c, end)) {
      ++i;
      continue;
    }
    std::u16string folded = FoldName(c.Name);
    TMirelonCallable& slot = FCallables[folded];
    slot = std::move(c);
    FNames[Intern(slot.Name)].Callable = &slot;
    i = end + 1;
  }
}

void TMirelon::RefuseParameterName(const TMirelonToken& T, const std::vector<std::u16string>& Earlier) {
  if (const char16_t* reason = ReservedNameReason(T))
    throw EMirelonError::CreateAtLine(T.Line, Format(std::u16string(u"Nom de paramètre interdit : ") + reason, {T.Value}));
  for (const std::u16string& p : Earlier)
    if (FoldName(p) == FNames[T.Key].Folded) throw EMirelonError::CreateFmtAtLine(T.Line, u"Paramètre en double : \"%s\"", {T.Value});
}

bool TMirelon::ParseCallableDefinition(int32_t A, TMirelonCallable& C, int32_t& EndIndex) {
  auto tok = [&](int32_t i) -> const TMirelonToken& { return i >= 0 && i < FTokenCount ? FTokens[i] : FEOFToken; };
  const TMirelonToken& keyword = tok(A);
  if (keyword.TokenType != ttFonction && keyword.TokenType != ttProcedure) return false;
  TMirelonTokenType open = keyword.TokenType;
  TMirelonTokenType close = open == ttFonction ? ttFinFonction : ttFinProcedure;
  int32_t i = A + 1;
  if (tok(i).TokenType != ttIdentifiant)
    throw EMirelonError::CreateFmtAtLine(keyword.Line, u"Nom attendu après \"%s\"", {keyword.Value});
  C.Name = tok(i).Value;
  C.Kind = open == ttFonction ? ckFunction : ckProcedure;
  ++i;
  if (tok(i).TokenType == ttParOuv) {
    ++i;
    if (tok(i).TokenType != ttParFerm) {
      for (;;) {
        RefuseParameterName(tok(i), C.Params);
        C.Params.push_back(tok(i).Value);
        C.ParamKeys.push_back(tok(i).Key);
        ++i;
        if (tok(i).TokenType != ttVirgule) break;
        ++i;
      }
    }
    if (tok(i).TokenType != ttParFerm) throw EMirelonError::CreateAtLine(tok(i).Line, u"\")\" attendu");
    ++i;
  }
  if (tok(i).TokenType == ttEOL) ++i;
  C.BodyStart = i;
  for (int32_t depth = 1; i < FTokenCount && tok(i).TokenType != ttEOF; ++i) {
    if (tok(i).TokenType == open) ++depth;
    else if (tok(i).TokenType == close && --depth == 0) break;
  }
  if (tok(i).TokenType != close) throw EMirelonError::CreateFmt(u"Définition \"%s\" sans fin correspondante", {C.Name});
  C.BodyEnd = EndIndex = i;
  return true;
}

// ---- class pre-pass ----

void TMirelon::RegisterClasses() {
  int32_t saved = FPos;
  struct TRestore {
    int32_t& Pos;
    int32_t Saved;
    ~TRestore() { Pos = Saved; }
  } restore{FPos, saved};
  FPos = 0;
  while (!At(ttEOF)) {
    if (At(ttClasse)) ParseClassDefinition();
    else ++FPos;
  }
}

void TMirelon::ParseClassDefinition() {
  Expect(ttClasse);
  if (!At(ttIdentifiant)) Fail(u"classe attend un nom");
  const TMirelonToken& className = CurrentToken();
  ++FPos;
  Expect(ttDeuxPoints);
  SkipNewlines();
  IMirelonRecord proto = TMirelonRecord::New();
  auto atEnd = [&] { return At(ttFinClasse) || At(ttEOF); };
  while (!atEnd()) {
    SkipNewlines();
    if (atEnd()) break;
    if (!At(ttIdentifiant)) FailFmt(u"Nom de champ attendu dans la classe \"%s\"", {className.Value});
    std::vector<std::u16string> fields{CurrentToken().Value};
    ++FPos;
    while (At(ttVirgule)) {
      ++FPos;
      if (!At(ttIdentifiant)) FailFmt(u"Nom de champ attendu après \",\" dans la classe \"%s\"", {className.Value});
      fields.push_back(CurrentToken().Value);
      ++FPos;
    }
    Expect(ttEst);
    if (At(ttUn) || At(ttUne)) ++FPos;
    std::u16string type = AsciiLower(CurrentToken().Value);
    ++FPos;
    for (const std::u16string& f : fields) {
      bool known;
      TMirelonValue v = DefaultValueOf(type, known);
      if (!known) FailFmt(u"Type de champ inconnu dans la classe : \"%s\"", {type});
      proto->SetField(f, std::move(v));
    }
    SkipNewlines();
  }
  Expect(ttFinClasse);
  DefineLocal(className.Key, className.Value, TMirelonValue::RecordVal(std::move(proto)));
}

// ---- calls ----

void TMirelon::ExecuteCall() {
  Expect(ttAppelle);
  if (!At(ttIdentifiant)) Fail(u"appelle attend un nom de procédure");
  const TMirelonToken& name = CurrentToken();
  ++FPos;
  TArgumentsMark mark(*this);
  if (At(ttParOuv)) ParseArguments();
  CallCallable(name.Key, name.Value, mark.Args(), nullptr);
}

void TMirelon::ExecuteReturn() {
  Expect(ttRetourne);
  TMirelonTokenType next = CurrentToken().TokenType;
  if (next == ttFinFonction || next == ttFinProcedure || next == ttEOL) Fail(u"retourne attend une expression");
  FReturnValue = Evaluate();
  FHasReturnValue = true;
  FSignal = sgReturn;
}

// The errors of a call, kept out of the call's own code.
[[gnu::cold]] void TMirelon::FailArgumentCount(const TMirelonCallable& c, size_t given) {
  FailFmt(u"\"%s\" : %d paramètre(s) attendu(s), %d fourni(s)",
          {c.Name, static_cast<long long>(c.Params.size()), static_cast<long long>(given)});
}

[[gnu::cold]] void TMirelon::FailRecursion(const TMirelonCallable& c) {
  throw EMirelonFatal::CreateAtLine(
      CurrentLine(), Format(u"Récursion trop profonde (%d appels imbriqués) : \"%s\" s'appelle peut-être elle-même "
                            u"sans condition d'arrêt.",
                            {FCallDepth, c.Name}));
}

void TMirelon::CallCallable(int32_t key, const std::u16string& Name, TBuiltinArgs Args, TMirelonValue* Result) {
  if (key < 0) key = Intern(Name);
  int32_t builtin = FNames[key].Builtin;
  if (builtin >= 0) {
    TMirelonValue result;  // builtins start from 0
    TryBuiltin(builtin, Args, result);
    if (Result) *Result = std::move(result);
    return;
  }
  const TMirelonCallable* c = FNames[key].Callable;
  if (!c) FailFmt(u"Fonction/procédure inconnue : \"%s\"", {Name});
  if (Args.size() != c->Params.size()) FailArgumentCount(*c, Args.size());

  // One frame per call: depth, scope and cursor are restored on every way out.
  struct TFrame {
    TMirelon& M;
    int32_t SavedPos;
    bool Pushed = false;
    ~TFrame() {
      if (Pushed) {
        M.DropInnermostScope();
      }
      M.FPos = SavedPos;
      --M.FCallDepth;
    }
  } frame{*this, FPos};
  ++FCallDepth;
  if (static_cast<char*>(__builtin_frame_address(0)) < FCallFloor || FCallDepth > kMaxCallDepth) FailRecursion(*c);
  PushScope();
  frame.Pushed = true;
  // The scope is new and the parameter names distinct: each gets a binding.
  int32_t depth = ScopeDepth();
  for (size_t i = 0; i < Args.size(); ++i) {
    int32_t key = c->ParamKeys[i];
    CheckNotConst(key, c->Params[i]);
    FNames[key].Bindings.emplace_back(depth, std::move(Args[i]));
    FScopeKeys.push_back(key);
  }

  FPos = c->BodyStart;
  FSignal = sgNone;
  FHasReturnValue = false;
  ExecuteRange(c->BodyEnd);
  // A function's returned value, or 0 for a procedure, a function that ended
  // without "retourne", or a call whose result is not wanted.
  if (Result) {
    if (FSignal == sgReturn && FHasReturnValue && c->Kind == ckFunction) *Result = std::move(FReturnValue);
    else Result->MakeScalar(lvkNumber);
  }
  FReturnValue.MakeScalar(lvkNumber);
  FSignal = sgNone;
  FHasReturnValue = false;
}

}  // namespace mirelon
