// The interpreter frame: creation, Execute, names and scopes, the token
// cursor, the block runners and the statement dispatcher.
#include "core/Interpreter.h"

#include <algorithm>
#include <iostream>

#include "core/Names.h"
#include "core/Stack.h"

namespace mirelon {

namespace {

// Below this much native stack, nested expressions and blocks are refused;
// user calls are refused earlier (kCallStackReserve) so that recursion ends
// with the recursion error.
constexpr size_t kNestingStackReserve = 160 * 1024;
constexpr size_t kCallStackReserve = 256 * 1024;

const char16_t* const kTypeNames[] = {u"nombre", u"texte",   u"booléen", u"booleen", u"tableau", u"enregistrement",
                                      u"date",   u"heure",   u"toile",   u"image"};

}  // namespace

bool IsTypeName(const std::u16string& lower) {
  for (const char16_t* t : kTypeNames)
    if (lower == t) return true;
  return false;
}

TMirelon::TMirelon(const TBuiltinLibrary& Builtins)
    : FBuiltinIndex(Builtins.Index), FBuiltinFunctions(Builtins.Functions.data()) {
  FEOFToken.TokenType = ttEOF;
  FEOFToken.Line = -1;
  FTokens.assign(kTokenPadding, FEOFToken);  // no program yet: only the end
  FScopeStarts.push_back(0);
  UpdateAbortPoll();
  OnOutput = [](const std::u16string& msg) { std::cout << Utf16ToUtf8(msg) << '\n'; };
  OnInput = [](const std::u16string& prompt) {
    std::cout << Utf16ToUtf8(prompt) << std::flush;
    std::string line;
    std::getline(std::cin, line);
    return Utf8ToUtf16(line);
  };
}

TMirelon::~TMirelon() {
  // Values held by the frame go first; the registry then empties whatever
  // cycles the program left.
  FNames.clear();
  FLiteralTexts.clear();
  FReturnValue = TMirelonValue();
  FRegistry.BreakCycles();
}

void TMirelon::Fail(std::u16string_view msg) const { throw EMirelonError::CreateAtLine(CurrentLine(), msg); }

void TMirelon::FailFmt(std::u16string_view msg, std::initializer_list<TFmtArg> args) const {
  throw EMirelonError::CreateFmtAtLine(CurrentLine(), msg, args);
}

// ---- Execute ----

void TMirelon::Execute(const std::u16string& ASource) {
  TRegistryScope registry(&FRegistry);
  FSignal = sgNone;
  FHasReturnValue = false;
  FScopeKeys.clear();
  FScopeStarts.assign(1, 0);
  FNames.clear();
  FNameIndex.clear();
  FCallables.clear();
  FLoopDepth = FCallDepth = 0;

  FTokens = TMirelonLexer(DecodeHtmlEntities(ASource)).Tokenize();
  FTokenCount = static_cast<int32_t>(FTokens.size());
  for (TMirelonToken& t : FTokens) {
    if (t.TokenType == ttIdentifiant) t.Key = Intern(t.Value);
    if (t.TokenType == ttNombre) PrepareNumber(t);
  }
  MarkOperands(FTokens);
  FTokens.insert(FTokens.end(), kTokenPadding, FEOFToken);
  uintptr_t here = reinterpret_cast<uintptr_t>(__builtin_frame_address(0));
  uintptr_t low = here - std::min<uintptr_t>(StackRemaining(), here);
  FNestingFloor = reinterpret_cast<char*>(low + kNestingStackReserve);
  FCallFloor = reinterpret_cast<char*>(low + kCallStackReserve);
  FBlockEnd.assign(FTokens.size(), -1);
  FNextBranch.assign(FTokens.size(), -1);
  FNextCase.assign(FTokens.size(), -1);
  FLiteralTexts.assign(FTokens.size(), TMirelonText());
  FQuickRefused.assign(FTokens.size(), 0);
  FFieldHints.assign(FTokens.size(), -1);

  RegisterCallables();
  RegisterClasses();
  ValidateNames();

  FPos = 0;
  try {
    ExecuteBlock({ttEOF});
  } catch (const EMirelonExitProgram&) {
  }
}

// ---- names ----

int32_t TMirelon::Intern(std::u16string_view name) {
  std::u16string folded = FoldName(name);
  auto it = FNameIndex.find(folded);
  if (it != FNameIndex.end()) return it->second;
  int32_t key = static_cast<int32_t>(FNames.size());
  TNameInfo& info = FNames.emplace_back();
  info.Folded = folded;
  if (folded == u"vrai" || folded == u"faux") info.BoolLiteral = folded == u"vrai";
  auto b = FBuiltinIndex.find(folded);
  if (b != FBuiltinIndex.end()) info.Builtin = b->second;
  FNameIndex.emplace(std::move(folded), key);
  return key;
}

// Why a token cannot name a variable or a parameter, or null when it can:
// only identifiers that are no keyword, type, callable or builtin are names.
const char16_t* TMirelon::ReservedNameReason(const TMirelonToken& t) const {
  if (t.TokenType != ttIdentifiant) return u"\"%s\" est un mot réservé";
  std::u16string lower = AsciiLower(t.Value);
  const TNameInfo& info = FNames[t.Key];
  if (KeywordTable().count(lower)) return u"\"%s\" est un mot réservé";
  if (IsTypeName(lower)) return u"\"%s\" est un nom de type";
  if (info.Callable) return u"\"%s\" est déjà une fonction ou une procédure";
  if (info.Builtin >= 0) return u"\"%s\" est une fonction native";
  return nullptr;
}

void TMirelon::ValidateNames() {
  bool inClass = false;
  for (int32_t i = 0; i < FTokenCount; ++i) {
    const TMirelonToken& t = FTokens[i];
    if (t.TokenType == ttClasse || t.TokenType == ttFinClasse) {
      inClass = t.TokenType == ttClasse;
      continue;
    }
    if (inClass || i + 1 == FTokenCount || t.TokenType == ttCroFerm) continue;
    TMirelonTokenType next = FTokens[i + 1].TokenType;
    if (next != ttEst && next != ttVaut) continue;
    if (t.TokenType == ttUn || t.TokenType == ttUne || t.TokenType == ttConst) continue;
    const char16_t* reason = ReservedNameReason(t);
    if (!reason) continue;
    throw EMirelonError::CreateAtLine(t.Line, Format(std::u16string(u"Nom de variable interdit : ") + reason, {t.Value}));
  }
}

// ---- scopes ----

void TMirelon::PopScope() {
  if (FScopeStarts.size() <= 1) throw EMirelonError::Create(u"Erreur interne: pop global interdit");
  DropInnermostScope();
}

void TMirelon::DropInnermostScope() {
  uint32_t start = FScopeStarts.back();
  FScopeStarts.pop_back();
  while (FScopeKeys.size() > start) {
    FNames[FScopeKeys.back()].Bindings.pop_back();
    FScopeKeys.pop_back();
  }
}

void TMirelon::FailConstant(const std::u16string& name) const {
  FailFmt(u"\"%s\" est une constante : modification interdite", {name});
}

void TMirelon::DefineLocal(int32_t key, const std::u16string& name, TMirelonValue&& V) {
  CheckNotConst(key, name);
  auto& bindings = FNames[key].Bindings;
  int32_t depth = ScopeDepth();
  if (!bindings.empty() && bindings.back().Depth == depth) {
    bindings.back().Value = std::move(V);
    return;
  }
  bindings.emplace_back(depth, std::move(V));
  FScopeKeys.push_back(key);
}

void TMirelon::AssignVariable(int32_t key, const std::u16string& name, TMirelonValue&& V) {
  CheckNotConst(key, name);
  auto& bindings = FNames[key].Bindings;
  if (bindings.empty()) return DefineLocal(key, name, std::move(V));
  bindings.back().Value = std::move(V);
}

void TMirelon::FailUnknownVariable(const std::u16string& name) const { FailFmt(u"Variable inconnue : \"%s\"", {name}); }

// ---- cursor ----

void TMirelon::FailExpected(TMirelonTokenType T) {
  const TMirelonToken& cur = CurrentToken();
  std::u16string found;
  if (cur.TokenType == ttEOL) found = u"une fin de ligne";
  else if (cur.TokenType == ttEOF) found = u"la fin du programme";
  else if (!cur.Value.empty()) found = u"\"" + cur.Value + u"\"";
  else found = TokenTypeName(cur.TokenType);
  throw EMirelonError::CreateFmtAtLine(cur.Line, u"Élément attendu : %s, mais trouvé : %s",
                                       {TokenTypeName(T), found});
}

namespace {
const std::atomic<bool> kAbortNeverUp{false};
const std::atomic<bool> kAbortAlwaysUp{true};
}  // namespace

void TMirelon::UpdateAbortPoll() {
  FAbortPoll = FCheckAbort ? &kAbortAlwaysUp : FAbortFlag ? FAbortFlag : &kAbortNeverUp;
}

bool TMirelon::PollAbort() const {
  return (FAbortFlag && FAbortFlag->load(std::memory_order_relaxed)) || (FCheckAbort && FCheckAbort());
}

void TMirelon::FailAborted() { throw EMirelonAborted(); }

void TMirelon::FailNesting() { Fail(u"Imbrication trop profonde (parenthèses, crochets ou blocs)"); }

// ---- blocks ----

void TMirelon::ExecuteBlock(TTokenSet Terminators) {
  SkipNewlines();
  for (;;) {
    TMirelonTokenType t = CurrentToken().TokenType;
    if (t == ttEOF || Terminators.Has(t)) return;
    ExecuteStatement();
    if (FSignal != sgNone) return;
    SkipNewlines();
  }
}

void TMirelon::ExecuteRange(int32_t EndPos) {
  for (;;) {
    SkipNewlines();
    if (FPos >= EndPos || FPos >= FTokenCount) return;
    ExecuteStatement();
    if (FSignal != sgNone) return;
  }
}

void TMirelon::SkipCallableDefinition() {
  if (At(ttFonction)) {
    ++FPos;
    SkipToFinFonction();
    ConsumeIf(ttFinFonction);
  } else {
    ++FPos;
    SkipToFinProcedure();
    ConsumeIf(ttFinProcedure);
  }
}

// ---- dispatch ----

void TMirelon::ExecuteStatement() {
  FPos = std::min(FPos, FTokenCount);
  CheckAbort();
  CheckStack();
  int line = CurrentLine();
  try {
    switch (CurrentToken().TokenType) {
      case ttIdentifiant: ExecuteNameStatement(); break;
      case ttSupprime: ExecuteSupprime(); break;
      case ttVide: ExecuteVide(); break;
      case ttConst: ExecuteConstant(); break;
      case ttAffiche: ExecuteShow(); break;
      case ttDemande:
      case ttDans: ExecuteAsk(); break;
      case ttChoisir: ExecuteChoose(); break;
      case ttAppuyer: ExecutePress(); break;
      case ttCouleur: ExecuteColor(); break;
      case ttHtml: ExecuteHtml(); break;
      case ttDeboguer: ExecuteDebug(); break;
      case ttSi: ExecuteIf(); break;
      case ttTantQue: ExecuteWhile(); break;
      case ttRepete: ExecuteRepeat(); break;
      case ttPour: ExecuteFor(); break;
      case ttSelon: ExecuteSelect(); break;
      case ttEssayer: ExecuteTry(); break;
      case ttArrete: ExecuteBreak(); break;
      case ttContinue: ExecuteContinue(); break;
      case ttTerminer: throw EMirelonExitProgram();
      case ttRetourne: ExecuteReturn(); break;
      case ttAppelle: ExecuteCall(); break;
      case ttFonction:
      case ttProcedure: SkipCallableDefinition(); break;
      case ttClasse:
        ++FPos;
        SkipToFinClasse();
        ConsumeIf(ttFinClasse);
        break;
      case ttEOL:
      case ttEOF: break;
      default: FailFmt(u"Instruction inattendue : \"%s\"", {CurrentToken().Value});
    }
  } catch (const EMirelonLimit& e) {
    // Resource limits are found deep inside values; they point at the statement.
    if (e.Line() >= 0) throw;
    throw EMirelonError::CreateAtLine(line, e.Message());
  }
  ConsumeIf(ttEOL);
}

void TMirelon::ExecuteNameStatement() {
  const TMirelonToken& name = FTokens[FPos];
  ++FPos;
  int32_t key = name.Key;
  switch (CurrentToken().TokenType) {
    case ttDot: ExecuteFieldStatement(key, name.Value); break;
    case ttVirgule: ExecuteMultiDeclaration(name); break;
    case ttCroOuv: ExecuteIndexedAssignment(key, name.Value); break;
    case ttEst: ExecuteDeclaration(key, name.Value); break;
    case ttVaut: ExecuteAssignment(key, name.Value); break;
    case ttAjoute: ExecuteAdd(key, name.Value); break;
    case ttSoustrait: ExecuteSubtract(key, name.Value); break;
    case ttSupprime:
      ++FPos;
      DeleteArrayItem(key, name.Value);
      break;
    case ttParOuv:
      --FPos;
      Evaluate();
      break;
    default: FailFmt(u"Instruction inconnue après \"%s\"", {name.Value});
  }
}

}  // namespace mirelon
