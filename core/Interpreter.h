// TMirelon: the interpreter. It runs a program straight from its token
// array (there is no syntax tree): FPos is the current token, statements move
// it forward, loops set it back, calls jump to a body and return.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/Conversions.h"
#include "core/Errors.h"
#include "core/Lexer.h"
#include "core/Memory.h"
#include "core/Value.h"

namespace mirelon {

enum TMirelonSignal : uint8_t { sgNone, sgBreak, sgContinue, sgReturn };
enum TMirelonCallableKind : uint8_t { ckFunction, ckProcedure };

struct TMirelonCallable {
  std::u16string Name;
  TMirelonCallableKind Kind = ckFunction;
  std::vector<std::u16string> Params;
  std::vector<int32_t> ParamKeys;  // interned parameter names
  int32_t BodyStart = 0;
  int32_t BodyEnd = 0;
};

using TMirelonOutputEvent = std::function<void(const std::u16string& Msg)>;
using TMirelonInputEvent = std::function<std::u16string(const std::u16string& Prompt)>;
using TMirelonAbortCheck = std::function<bool()>;
// A call's arguments, on the interpreter's argument stack. Builtins never run
// user code, so the stack does not move while a builtin reads them.
using TBuiltinArgs = std::span<TMirelonValue>;

class TMirelon;
// A builtin receives the interpreter (for conversions, errors at the
// current line, output and canvases) and the evaluated arguments, and
// stores its value in Result.
using TBuiltinFunc = void (*)(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result);

// The builtins a run can call, handed to the interpreter by its host (the
// standard library of core/builtins is StandardBuiltins()): the interpreter
// knows their names and calls them by number, and nothing else about them.
struct TBuiltinLibrary {
  std::unordered_map<std::u16string, int32_t> Index;  // folded name -> number
  std::vector<TBuiltinFunc> Functions;               // number -> function
};

// A set of token types, tested with one bit.
class TTokenSet {
 public:
  constexpr TTokenSet(std::initializer_list<TMirelonTokenType> types) {
    for (TMirelonTokenType t : types) FBits[t / 64] |= uint64_t{1} << (t % 64);
  }
  bool Has(TMirelonTokenType t) const { return FBits[t / 64] >> (t % 64) & 1; }

 private:
  uint64_t FBits[(kTokenTypeCount + 63) / 64] = {};
};

// Marks the tokens that are lone operands and the binary operators' levels.
void MarkOperands(std::vector<TMirelonToken>& tokens);

// One of the ten type words of declarations (already in ASCII lower case).
bool IsTypeName(const std::u16string& lower);

class TMirelon {
 public:
  explicit TMirelon(const TBuiltinLibrary& Builtins);
  ~TMirelon();
  TMirelon(const TMirelon&) = delete;
  TMirelon& operator=(const TMirelon&) = delete;

  void Execute(const std::u16string& ASource);

  TMirelonOutputEvent OnOutput;
  TMirelonInputEvent OnInput;
  // Where the file builtins take a relative path from (created when a
  // builtin needs it), so that runs served to a browser keep their files in
  // one folder without moving the process's current folder; empty: the
  // current folder.
  std::filesystem::path FFilesFolder;
  // The run ends with EMirelonAborted at its next check once *Flag is true
  // (set from any thread). The owner keeps the flag alive for the whole run;
  // null removes it.
  void SetAbortFlag(const std::atomic<bool>* Flag) {
    FAbortFlag = Flag;
    UpdateAbortPoll();
  }
  // A check asked at every statement and loop turn (and by builtins as they
  // go); the run ends aborted when it returns true. Slower than a flag: for
  // tests and fuzzers that count checks. Empty removes it.
  void SetOnCheckAbort(TMirelonAbortCheck f) {
    FCheckAbort = std::move(f);
    UpdateAbortPoll();
  }
  // Whether an abort was asked for: one load and one branch while nothing
  // is asked (a code that cannot raise, such as a regular expression's
  // callout or a transfer's cancel hook, asks this).
  bool AbortRequested() const { return FAbortPoll->load(std::memory_order_relaxed) && PollAbort(); }
  // Raises EMirelonAborted when an abort was asked for. Statements and loop
  // turns call it, and so does every builtin whose work grows with its
  // input, as it goes.
  void CheckAbort() {
    if (AbortRequested()) [[unlikely]]
      FailAborted();
  }

  // ---- services for the builtin library ----
  const TMirelonToken& CurrentToken() const {
    return FTokens[FPos];  // the padding after the end makes this safe: see kTokenPadding
  }
  int CurrentLine() const { return CurrentToken().Line; }
  // Raise an EMirelonError at the current token's line.
  [[noreturn]] void Fail(std::u16string_view msg) const;
  [[noreturn]] void FailFmt(std::u16string_view msg, std::initializer_list<TFmtArg> args) const;
  double ToNumber(const TMirelonValue& v) const { return mirelon::ToNumber(v, CurrentLine()); }
  int64_t ToInteger(const TMirelonValue& v) const { return TruncToInt64(ToNumber(v)); }
  std::u16string ValToText(const TMirelonValue& v) const { return mirelon::ValToText(v); }
  bool ToBool(const TMirelonValue& v) const { return mirelon::ToBool(v); }
  bool ValuesEqual(const TMirelonValue& a, const TMirelonValue& b) const { return mirelon::ValuesEqual(a, b); }
  void Output(const std::u16string& msg) { FOutput(msg); }

  // Canvas data and operations (drawing builtins).
  std::unordered_map<std::u16string, std::vector<std::u16string>> FCanvases;
  int32_t FCanvasSeq = 0;
  std::unordered_map<std::u16string, std::u16string> FCanvasStroke;
  std::u16string CreateCanvas(int64_t W, int64_t H);
  std::vector<std::u16string>& CanvasElements(const TMirelonValue& V, std::u16string_view Name);
  void AppendShape(const std::u16string& Id, std::u16string E);
  std::u16string CheckColor(const std::u16string& T);
  static std::u16string XmlEscape(std::u16string_view T);
  std::u16string BuildCanvasSvg(const TMirelonValue& V);
  TMirelonValue CanvasSnapshot(const TMirelonValue& V);
  void ShowCanvas(const TMirelonValue& V);
  // A new canvas record of the given size (declarations, class fields).
  TMirelonValue NewCanvasValue(int64_t W, int64_t H);
  static TMirelonValue NewImageValue();

 private:
  // ---- names ----
  struct TBinding {
    TBinding(int32_t depth, TMirelonValue&& value) : Depth(depth), Value(std::move(value)) {}
    int32_t Depth;
    TMirelonValue Value;
  };
  struct TNameInfo {
    std::u16string Folded;
    bool IsConst = false;
    TMirelonValue Const;
    int32_t Builtin = -1;
    int8_t BoolLiteral = -1;  // 1 for "vrai", 0 for "faux" (any ASCII case)
    const TMirelonCallable* Callable = nullptr;
    std::vector<TBinding> Bindings;  // innermost last
  };
  int32_t Intern(std::u16string_view name);
  TNameInfo& Info(int32_t key) { return FNames[key]; }
  int32_t KeyOf(const TMirelonToken& t) { return t.Key >= 0 ? t.Key : Intern(t.Value); }

  // ---- frame ----
  void ValidateNames();
  const char16_t* ReservedNameReason(const TMirelonToken& t) const;
  void Expect(TMirelonTokenType T) {
    if (CurrentToken().TokenType == T) ++FPos;
    else FailExpected(T);
  }
  [[noreturn]] void FailExpected(TMirelonTokenType T);
  void SkipNewlines() {
    while (FTokens[FPos].TokenType == ttEOL) ++FPos;
  }
  bool At(TMirelonTokenType T) const { return CurrentToken().TokenType == T; }
  // FAbortFlag when only a flag is set; a flag always up when a check
  // function is set, so that every check reaches it; else one never up.
  void UpdateAbortPoll();
  [[gnu::cold]] bool PollAbort() const;  // the flag, then the check function
  [[noreturn, gnu::cold]] void FailAborted();
  // "Imbrication trop profonde" when the native stack runs low.
  void CheckStack() {
    if (static_cast<char*>(__builtin_frame_address(0)) < FNestingFloor) FailNesting();
  }
  [[noreturn]] void FailNesting();
  void DropInnermostScope();
  int32_t ScopeDepth() const { return static_cast<int32_t>(FScopeStarts.size()) - 1; }
  void ExecuteStatement();
  void ExecuteNameStatement();
  void ExecuteBlock(TTokenSet Terminators);
  void ExecuteRange(int32_t EndPos);
  void PushScope() { FScopeStarts.push_back(static_cast<uint32_t>(FScopeKeys.size())); }
  void PopScope();
  void DefineLocal(int32_t key, const std::u16string& name, TMirelonValue&& V);
  void AssignVariable(int32_t key, const std::u16string& name, TMirelonValue&& V);
  bool VariableExists(int32_t key) const { return !FNames[key].Bindings.empty(); }
  // The value a name stands for: its constant, else its innermost variable;
  // null when it has neither.
  const TMirelonValue* LookUp(int32_t key) const {
    const TNameInfo& info = FNames[key];
    if (info.IsConst) return &info.Const;
    return info.Bindings.empty() ? nullptr : &info.Bindings.back().Value;
  }
  const TMirelonValue& GetVariable(int32_t key, const std::u16string& name) {
    const TMirelonValue* v = LookUp(key);
    if (!v) FailUnknownVariable(name);
    return *v;
  }
  [[noreturn]] void FailUnknownVariable(const std::u16string& name) const;
  TMirelonValue* FindVariable(int32_t key) {  // the innermost binding, or null
    auto& bindings = FNames[key].Bindings;
    return bindings.empty() ? nullptr : &bindings.back().Value;
  }
  // The innermost binding, null also when the name is a constant: a value a
  // statement may change where it is.
  TMirelonValue* FindWritableVariable(int32_t key) { return FNames[key].IsConst ? nullptr : FindVariable(key); }
  void CheckNotConst(int32_t key, const std::u16string& name) const {
    if (FNames[key].IsConst) FailConstant(name);
  }
  [[noreturn, gnu::cold]] void FailConstant(const std::u16string& name) const;
  void SkipCallableDefinition();

  // ---- expressions ----
 public:
  TMirelonValue Evaluate() {
    TMirelonValue v;
    ParseOr(v);
    return v;
  }
  // The expression at FPos as a condition ("si", "tant que").
  bool EvaluateCondition();

 private:
  bool AtSimpleOperand(int Level) const {
    return FTokens[FPos].Atom && FTokens[FPos + 1].BinaryLevel < Level;
  }
  void ParseOr(TMirelonValue& R);
  // Expressions of numbers and booleans only take a shortcut
  // (QuickExpressions.cpp); each function gives up by returning false or null.
 public:
  struct TQuickValue {
    double Num;
    bool IsBool;
  };
  // Off: every expression goes through the general evaluator (the tests
  // compare the two).
  void SetQuickNumbers(bool on) { FQuickNumbers = on; }

 private:
  // Whether the expression at FPos is worth trying in the shortcut.
  bool QuickReady() const { return QuickReadyAt(FPos); }
  bool QuickReadyAt(int32_t pos) const { return FQuickNumbers && !FQuickRefused[pos]; }
  bool QuickExpression(TMirelonValue& R);  // the shortcut's result as a value
  static void StoreQuick(TMirelonValue& R, TQuickValue q) {
    if (q.IsBool) R.SetBool(q.Num != 0);
    else R.SetNumber(q.Num);
  }
  bool QuickRead(TQuickValue& q);  // gives up with FPos back at the start, marked refused
  // The variable a statement ("vaut", "ajoute", "soustrait") may change in
  // place: one holding a number, not a constant, when its expression reads
  // as a number in the shortcut. Null otherwise, with FPos left for the
  // general path.
  TMirelonValue* QuickNumberFor(int32_t key, double& value) {
    if (!QuickReady()) return nullptr;
    TMirelonValue* slot = FindWritableVariable(key);
    return slot && slot->Kind == lvkNumber && QuickNumber(value) ? slot : nullptr;
  }
  // The expression at FPos as a number; false, with FPos unchanged, when the
  // shortcut gives up or reads a boolean (the general path reports its kind).
  bool QuickNumber(double& value);
  bool QuickFieldStatement(int32_t key, int32_t fieldPos);
  // Each reads from token t and returns the token after what it read, or
  // null when it gives up; the cursor stays in a register instead of FPos.
  using TQuickCursor = const TMirelonToken*;
  TQuickCursor QuickBinary(TQuickCursor t, TQuickValue& R, int MinLevel);
  TQuickCursor QuickNot(TQuickCursor t, TQuickValue& R);
  TQuickCursor QuickUnary(TQuickCursor t, TQuickValue& R);
  TQuickCursor QuickField(TQuickCursor t, TQuickValue& R);
  TQuickCursor QuickItem(TQuickCursor t, TQuickValue& R);
  bool QuickOperand(const TMirelonToken& t, TQuickValue& R) const;
  const TMirelonValue* QuickVariable(const TMirelonToken& t) const;
  bool FQuickNumbers = true;
  // Parentheses, indexes and exponents one expression may hold in the shortcut: more
  // is left to the general evaluator, so that the shortcut's recursion stays
  // shallow and deep nesting is reported the usual way.
  static constexpr int kQuickNesting = 64;
  int FQuickNesting = 0;
  std::vector<uint8_t> FQuickRefused;  // token index -> the shortcut gave up on the expression starting there
  void ParseBinary(TMirelonValue& R, int MinLevel);  // "ou", "et", comparisons, + -, * / mod
  void ParseNot(TMirelonValue& R);
  const TMirelonValue& ReadSimpleOperand(TMirelonValue& scratch);
  void ApplyBinary(TMirelonTokenType op, TMirelonValue& R, const TMirelonValue& right);
  void ApplyOperator(TMirelonTokenType op, TMirelonValue& R, const TMirelonValue& right);
  void ApplyComparison(TMirelonTokenType op, TMirelonValue& R, const TMirelonValue& right);
  void ApplyAdditive(TMirelonTokenType op, TMirelonValue& R, const TMirelonValue& right);
  void ApplyTerm(TMirelonTokenType op, TMirelonValue& R, const TMirelonValue& right);
  void ParseUnary(TMirelonValue& R);
  void ParsePower(TMirelonValue& R);
  void ApplyPower(TMirelonValue& R);
  void ParsePrimary(TMirelonValue& R);
  void ParseOtherPrimary(TMirelonValue& R);
  void ParseName(TMirelonValue& R);
  double ReadNumberToken(const TMirelonToken& t);
  void PrepareNumber(TMirelonToken& t);
  TMirelonValue ParseIndexRead(const TMirelonToken& name);
  TMirelonValue ParseArrayLiteral();
  TMirelonValue ParseColorExpression();
  TMirelonValue ParseHtmlExpression();
  TMirelonValue ParseCharCode();
  // Arguments are read onto one stack shared by all calls in progress; a
  // call's mark takes them off again on every way out.
  void ParseArguments();
  struct TArgumentsMark {
    explicit TArgumentsMark(TMirelon& m) : M(m), Base(m.FArgStack.size()) {}
    ~TArgumentsMark() { M.FArgStack.resize(Base); }
    TBuiltinArgs Args() { return TBuiltinArgs(M.FArgStack).subspan(Base); }
    TMirelon& M;
    size_t Base;
  };
  std::vector<TMirelonValue> FArgStack;

  // ---- declarations and assignments ----
  void ExecuteDeclaration(int32_t key, const std::u16string& N);
  void ExecuteMultiDeclaration(const TMirelonToken& first);
  TMirelonValue DefaultValueOf(const std::u16string& W, bool& known);
  void ExecuteConstant();
  void DefineConstant(int32_t key, TMirelonValue V);
  void ExecuteAssignment(int32_t key, const std::u16string& N);
  void ExecuteAdd(int32_t key, const std::u16string& N);
  void ExecuteSubtract(int32_t key, const std::u16string& N);
  void ExecuteVide();
  void ExecuteSupprime();
  void DeleteArrayItem(int32_t key, const std::u16string& N);
  void ExecuteFieldStatement(int32_t key, const std::u16string& N);
  void ExecuteIndexedAssignment(int32_t key, const std::u16string& N);

  // ---- control flow ----
  void ExecuteIf();
  bool RunIfBranch();
  void ExecuteWhile();
  void ExecuteRepeat();
  void ExecuteFor();
  void ExecuteSelect();
  void ExecuteTry();
  void ExecuteBreak();
  void ExecuteContinue();
  bool HandleLoopSignal();  // true when the loop must end
  void CheckLoopLimit(const char16_t* LoopName, int64_t Count, int Line) const {
    if (FLoopIterationLimit > 0 && Count > FLoopIterationLimit) FailLoopLimit(LoopName, Line);
  }
  [[noreturn, gnu::cold]] void FailLoopLimit(const char16_t* LoopName, int Line) const;
  bool CaseInRange(const TMirelonValue& Subject, const TMirelonValue& Low, const TMirelonValue& High);
  void FindBlockEnd(TMirelonTokenType Open, TMirelonTokenType Close);
  void SkipToFinSi() { FindBlockEnd(ttSi, ttFinSi); }
  void SkipToFinTantQue() { FindBlockEnd(ttTantQue, ttFinTantQue); }
  void SkipToFinRepete() { FindBlockEnd(ttRepete, ttFinRepete); }
  void SkipToFinPour() { FindBlockEnd(ttPour, ttFinPour); }
  void SkipToFinSelon() { FindBlockEnd(ttSelon, ttFinSelon); }
  void SkipToFinEssayer() { FindBlockEnd(ttEssayer, ttFinEssayer); }
  void SkipToFinFonction() { FindBlockEnd(ttFonction, ttFinFonction); }
  void SkipToFinProcedure() { FindBlockEnd(ttProcedure, ttFinProcedure); }
  void SkipToFinClasse() { FindBlockEnd(ttClasse, ttFinClasse); }
  void SkipToNextBranch();
  void SkipToNextCase();
  void ConsumeIf(TMirelonTokenType T) {
    if (At(T)) ++FPos;
  }

  // ---- functions, procedures and classes ----
  void RegisterCallables();
  bool ParseCallableDefinition(int32_t A, TMirelonCallable& C, int32_t& EndIndex);
  void RegisterClasses();
  void ParseClassDefinition();
  void ExecuteCall();
  void ExecuteReturn();
  void RefuseParameterName(const TMirelonToken& T, const std::vector<std::u16string>& Earlier);

 public:
  // The callable's result goes to *Result; null when it is not wanted.
  void CallCallable(int32_t key, const std::u16string& Name, TBuiltinArgs Args, TMirelonValue* Result);

 private:
  [[noreturn]] void FailArgumentCount(const TMirelonCallable& c, size_t given);
  [[noreturn]] void FailRecursion(const TMirelonCallable& c);

  // ---- console statements ----
  void ExecuteShow();
  void ExecuteDebug();
  void ExecuteColor();
  void ExecuteHtml();
  void ExecuteAsk();
  void ExecuteChoose();
  void ExecutePress();
  std::u16string NormalizeColor(const std::u16string& C);
  static std::u16string WrapInlineColor(const std::u16string& C, const std::u16string& T);
  void FilterHtml(const std::u16string& H);
  std::u16string ReadAnswer(const std::u16string& Prompt) { return FInput(Prompt); }
  std::vector<std::u16string> ReadChoiceList(std::u16string_view verb);
  const TMirelonToken& ChoiceTarget(std::u16string_view verb);
  void AskChoice(const TMirelonToken& target, std::u16string prompt, const std::vector<std::u16string>& items);

  // ---- builtins ----
  bool TryBuiltin(int32_t Number, TBuiltinArgs& Args, TMirelonValue& Result) {
    if (Number < 0) return false;
    FBuiltinFunctions[Number](*this, Args, Result);
    return true;
  }

  // ---- state ----
  std::vector<TMirelonToken> FTokens;
  int32_t FTokenCount = 0;  // the program's tokens, its final ttEOF included
  // FTokens holds kTokenPadding copies of FEOFToken after the program's
  // tokens, and every statement starts at most at FTokenCount. A statement
  // steps at most a few tokens past the end before a token check stops it
  // (an end-of-program token matches no check but its own), so the current
  // token and the one after it are read without a bounds check.
  static constexpr int32_t kTokenPadding = 32;
  int32_t FPos = 0;
  TMirelonToken FEOFToken;
  std::vector<int32_t> FBlockEnd;  // start index -> end index, -1 when not searched yet
  std::vector<int32_t> FNextBranch, FNextCase;  // the same for the branches of "si" and "selon"
  std::vector<int32_t> FFieldHints;  // token index of a field name -> where the field was found last
  std::vector<TMirelonText> FLiteralTexts;  // token index -> the text of a text literal, once read
  TMirelonSignal FSignal = sgNone;
  TMirelonValue FReturnValue;
  bool FHasReturnValue = false;
  // The scope stack, flat: the names defined in every scope in order, and
  // where each scope's names begin (global scope first). A name's values
  // live in its TNameInfo, innermost last, so a lookup is one index.
  std::vector<int32_t> FScopeKeys;
  std::vector<uint32_t> FScopeStarts;
  char* FNestingFloor = nullptr;  // stack addresses below these are refused
  char* FCallFloor = nullptr;
  std::unordered_map<std::u16string, TMirelonCallable> FCallables;
  TMirelonOutputEvent& FOutput = OnOutput;
  TMirelonInputEvent& FInput = OnInput;
  TMirelonAbortCheck FCheckAbort;
  const std::atomic<bool>* FAbortFlag = nullptr;
  const std::atomic<bool>* FAbortPoll;  // see UpdateAbortPoll
  int32_t FLoopDepth = 0;
  int32_t FCallDepth = 0;
  int32_t FLoopIterationLimit = 100000;
  const std::unordered_map<std::u16string, int32_t>& FBuiltinIndex;  // folded name -> builtin number
  const TBuiltinFunc* FBuiltinFunctions;
  std::vector<TNameInfo> FNames;
  std::unordered_map<std::u16string, int32_t> FNameIndex;  // folded name -> key
  TCollectionRegistry FRegistry;  // declared last: emptied before anything else is destroyed
};

}  // namespace mirelon
