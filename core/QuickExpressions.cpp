// A shortcut for the expressions made only of numbers and booleans: literals,
// variables, record fields, array items, parentheses and operators. They are
// read from the same tokens with the same grammar as ParseBinary's, but their
// values stay plain doubles instead of full values. Anything else (a text, a
// call, an error to raise) makes the shortcut give up: reading such an
// expression has changed nothing yet, so the general evaluator starts it
// again from its first token and gives its result or its error.
#include "core/Arithmetic.h"
#include "core/Interpreter.h"

namespace mirelon {

namespace {

using TQuickValue = TMirelon::TQuickValue;

// A boolean is kept as 1 or 0: the general rules convert booleans to exactly
// these numbers, and numbers to booleans by comparing them with 0.
TQuickValue QuickBool(bool b) { return {b ? 1.0 : 0.0, true}; }

bool QuickApply(TMirelonTokenType op, TQuickValue& l, const TQuickValue& r) {
  double v;
  switch (op) {
    case ttOu: l = QuickBool(l.Num != 0 || r.Num != 0); return true;
    case ttEt: l = QuickBool(l.Num != 0 && r.Num != 0); return true;
    case ttPlus: v = l.Num + r.Num; break;
    case ttMoins: v = l.Num - r.Num; break;
    case ttEtoile: v = l.Num * r.Num; break;
    case ttSlash:
      if (r.Num == 0) return false;
      v = l.Num / r.Num;
      break;
    case ttMod:
      if (r.Num == 0) return false;
      v = Modulo(l.Num, r.Num);
      break;
    default: l = QuickBool(Compare(op, l.Num, r.Num)); return true;
  }
  l = {v, false};
  return NumberInRange(v);
}

}  // namespace

bool TMirelon::QuickExpression(TMirelonValue& R) {
  TQuickValue q;
  if (!QuickRead(q)) return false;
  if (q.IsBool) R.SetBool(q.Num != 0);
  else R.SetNumber(q.Num);
  return true;
}

bool TMirelon::QuickRead(TQuickValue& q) {
  int32_t start = FPos;
  const TMirelonToken* t = &FTokens[start];
  TQuickValue right;
  bool read;
  // The commonest shapes, an operand alone and two operands around one
  // operator, are read at once (the padding after the program's end makes
  // the tokens ahead safe to look at); the rest level by level.
  if (t[0].Atom && t[1].BinaryLevel == 0) {
    read = QuickOperand(t[0], q);
    FPos = start + 1;
  } else if (t[0].Atom && t[1].BinaryLevel < kLevelPower && t[2].Atom && t[3].BinaryLevel == 0) {
    read = QuickOperand(t[0], q) && QuickOperand(t[2], right) && QuickApply(t[1].TokenType, q, right);
    FPos = start + 3;
  } else {
    FQuickNesting = kQuickNesting;
    read = QuickBinary(q, kLevelOr);
  }
  if (read) return true;
  // An expression that needs the general evaluator once is left to it for
  // the rest of the run, so that it does not pay for both on every pass.
  FPos = start;
  FQuickRefused[start] = 1;
  return false;
}

// The value a name stands for, null for "vrai" and "faux": read as literals
// even where a variable has their name.
const TMirelonValue* TMirelon::QuickVariable(const TMirelonToken& t) const {
  return FNames[t.Key].BoolLiteral >= 0 ? nullptr : LookUp(t.Key);
}

namespace {

bool QuickScalar(const TMirelonValue& v, TQuickValue& R) {
  if (v.Kind == lvkNumber) R = {v.Num, false};
  else if (v.Kind == lvkBool) R = QuickBool(v.Bool);
  else return false;
  return true;
}

}  // namespace

// A number literal, "vrai" or "faux", or a variable holding a number or a
// boolean.
inline bool TMirelon::QuickOperand(const TMirelonToken& t, TQuickValue& R) const {
  if (t.TokenType == ttNombre) {
    R = {t.Num, false};
    return t.HasNum;
  }
  if (t.TokenType != ttIdentifiant || !t.Atom) return false;
  int8_t literal = FNames[t.Key].BoolLiteral;
  if (literal >= 0) {
    R = QuickBool(literal == 1);
    return true;
  }
  const TMirelonValue* v = LookUp(t.Key);
  return v && QuickScalar(*v, R);
}

// "p.x", a field of a record, and "t[i]", an item of an array (one index),
// when they hold a number or a boolean.
bool TMirelon::QuickField(TQuickValue& R) {
  const TMirelonToken* t = &FTokens[FPos];
  if (t[2].TokenType != ttIdentifiant) return false;
  const TMirelonValue* v = QuickVariable(t[0]);
  if (!v || v->Kind != lvkRecord || !v->Rec) return false;
  const TMirelonValue* field = v->Rec->FindField(t[2].Value, FFieldHints[FPos + 2]);
  if (!field || !QuickScalar(*field, R)) return false;
  FPos += 3;
  return true;
}

bool TMirelon::QuickItem(TQuickValue& R) {
  const TMirelonValue* v = QuickVariable(CurrentToken());
  if (!v || v->Kind != lvkArray || !v->Arr || --FQuickNesting < 0) return false;
  FPos += 2;
  TQuickValue index;
  if (!QuickBinary(index, kLevelOr) || !At(ttCroFerm)) return false;
  ++FPos;
  if (At(ttCroOuv)) return false;  // an item of an item: left to the general evaluator
  int64_t k = TruncToInt64(index.Num);
  return k >= 0 && k < v->Arr->Count() && QuickScalar(v->Arr->Item(static_cast<int32_t>(k)), R);
}

inline bool TMirelon::QuickAtom(TQuickValue& R) {
  if (!QuickOperand(CurrentToken(), R)) return false;
  ++FPos;
  return true;
}

// The levels of ParseBinary: the same operators, the same ceilings (one
// comparison, none right after "non ..."), a lone operand read in place.
bool TMirelon::QuickBinary(TQuickValue& R, int MinLevel) {
  int ceiling = kLevelPower;
  if (AtSimpleOperand(kLevelPower)) {
    if (!QuickAtom(R)) return false;
  } else if (MinLevel <= kLevelNot && At(ttNon)) {
    if (!QuickNot(R)) return false;
    ceiling = kLevelComparison;
  } else if (!QuickUnary(R)) {
    return false;
  }
  for (;;) {
    int level = CurrentToken().BinaryLevel;
    if (level < MinLevel || level >= ceiling) return true;
    TMirelonTokenType op = CurrentToken().TokenType;
    ++FPos;
    TQuickValue right;
    bool read = AtSimpleOperand(level + 1) ? QuickAtom(right) : QuickBinary(right, level + 1);
    if (!read || !QuickApply(op, R, right)) return false;
    ceiling = level == kLevelComparison ? level : level + 1;
  }
}

// "non" as often as it is written, then one comparison level.
bool TMirelon::QuickNot(TQuickValue& R) {
  bool invert = false;
  for (; At(ttNon); ++FPos) invert = !invert;
  if (!QuickBinary(R, kLevelComparison)) return false;
  if (invert || !R.IsBool) R = QuickBool((R.Num != 0) != invert);
  return true;
}

// One unary minus, then a primary and its exponent ("^" groups to the right
// and its exponent may start with a minus).
bool TMirelon::QuickUnary(TQuickValue& R) {
  bool negate = At(ttMoins);
  if (negate) ++FPos;
  if (At(ttParOuv)) {
    if (--FQuickNesting < 0) return false;
    ++FPos;
    if (!QuickBinary(R, kLevelOr) || !At(ttParFerm)) return false;
    ++FPos;
  } else if (At(ttIdentifiant) && !CurrentToken().Atom) {
    TMirelonTokenType next = FTokens[FPos + 1].TokenType;
    if (next == ttDot ? !QuickField(R) : next != ttCroOuv || !QuickItem(R)) return false;
  } else if (!QuickAtom(R)) {
    return false;
  }
  if (At(ttExposant)) {
    if (--FQuickNesting < 0) return false;
    ++FPos;
    TQuickValue exponent;
    if (!QuickUnary(exponent)) return false;
    R = {Power(R.Num, exponent.Num), false};
    if (!NumberInRange(R.Num)) return false;
  }
  if (negate) R = {-R.Num, false};
  return true;
}

}  // namespace mirelon
