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
  StoreQuick(R, q);
  return true;
}

bool TMirelon::QuickRead(TQuickValue& q) {
  TQuickCursor first = &FTokens[FPos], t = first;
  TQuickValue right;
  // The commonest shapes, an operand alone and two operands around one
  // operator, are read at once (the padding after the program's end makes
  // the tokens ahead safe to look at); the rest level by level.
  if (t[0].Atom && t[1].BinaryLevel == 0) {
    t = QuickOperand(t[0], q) ? t + 1 : nullptr;
  } else if (t[0].Atom && t[1].BinaryLevel < kLevelPower && t[2].Atom && t[3].BinaryLevel == 0) {
    bool read = QuickOperand(t[0], q) && QuickOperand(t[2], right) && QuickApply(t[1].TokenType, q, right);
    t = read ? t + 3 : nullptr;
  } else {
    FQuickNesting = kQuickNesting;
    t = QuickBinary(t, q, kLevelOr);
  }
  if (t) {
    FPos += static_cast<int32_t>(t - first);
    return true;
  }
  // An expression that needs the general evaluator once is left to it for
  // the rest of the run, so that it does not pay for both on every pass.
  FQuickRefused[FPos] = 1;
  return false;
}

bool TMirelon::QuickNumber(double& value) {
  int32_t start = FPos;
  TQuickValue q;
  if (!QuickRead(q)) return false;
  if (q.IsBool) {
    FPos = start;
    return false;
  }
  value = q.Num;
  return true;
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
TMirelon::TQuickCursor TMirelon::QuickField(TQuickCursor t, TQuickValue& R) {
  if (t[2].TokenType != ttIdentifiant) return nullptr;
  const TMirelonValue* v = QuickVariable(t[0]);
  if (!v || v->Kind != lvkRecord || !v->Rec) return nullptr;
  int32_t& hint = FFieldHints[t - FTokens.data() + 2];
  const TMirelonValue* field = v->Rec->FindField(t[2].Value, hint);
  return field && QuickScalar(*field, R) ? t + 3 : nullptr;
}

TMirelon::TQuickCursor TMirelon::QuickItem(TQuickCursor t, TQuickValue& R) {
  const TMirelonValue* v = QuickVariable(t[0]);
  if (!v || v->Kind != lvkArray || !v->Arr || --FQuickNesting < 0) return nullptr;
  TQuickValue index;
  t = QuickBinary(t + 2, index, kLevelOr);
  // An item of an item is left to the general evaluator.
  if (!t || t[0].TokenType != ttCroFerm || t[1].TokenType == ttCroOuv) return nullptr;
  int64_t k = TruncToInt64(index.Num);
  bool read = k >= 0 && k < v->Arr->Count() && QuickScalar(v->Arr->Item(static_cast<int32_t>(k)), R);
  return read ? t + 1 : nullptr;
}

// The levels of ParseBinary: the same operators, the same ceilings (one
// comparison, none right after "non ..."), a lone operand read in place.
TMirelon::TQuickCursor TMirelon::QuickBinary(TQuickCursor t, TQuickValue& R, int MinLevel) {
  int ceiling = kLevelPower;
  if (t[0].Atom && t[1].BinaryLevel < kLevelPower) {
    if (!QuickOperand(t[0], R)) return nullptr;
    ++t;
  } else if (MinLevel <= kLevelNot && t->TokenType == ttNon) {
    if (!(t = QuickNot(t, R))) return nullptr;
    ceiling = kLevelComparison;
  } else if (!(t = QuickUnary(t, R))) {
    return nullptr;
  }
  for (;;) {
    int level = t->BinaryLevel;
    if (level < MinLevel || level >= ceiling) return t;
    TMirelonTokenType op = t->TokenType;
    TQuickValue right;
    ++t;
    if (t[0].Atom && t[1].BinaryLevel <= level) {  // a right operand alone
      if (!QuickOperand(t[0], right)) return nullptr;
      ++t;
    } else if (!(t = QuickBinary(t, right, level + 1))) {
      return nullptr;
    }
    if (!QuickApply(op, R, right)) return nullptr;
    ceiling = level == kLevelComparison ? level : level + 1;
  }
}

// "non" as often as it is written, then one comparison level.
TMirelon::TQuickCursor TMirelon::QuickNot(TQuickCursor t, TQuickValue& R) {
  bool invert = false;
  for (; t->TokenType == ttNon; ++t) invert = !invert;
  if (!(t = QuickBinary(t, R, kLevelComparison))) return nullptr;
  if (invert || !R.IsBool) R = QuickBool((R.Num != 0) != invert);
  return t;
}

// One unary minus, then a primary and its exponent ("^" groups to the right
// and its exponent may start with a minus).
TMirelon::TQuickCursor TMirelon::QuickUnary(TQuickCursor t, TQuickValue& R) {
  bool negate = t->TokenType == ttMoins;
  if (negate) ++t;
  if (t->TokenType == ttParOuv) {
    if (--FQuickNesting < 0) return nullptr;
    t = QuickBinary(t + 1, R, kLevelOr);
    if (!t || t->TokenType != ttParFerm) return nullptr;
    ++t;
  } else if (t->TokenType == ttIdentifiant && !t->Atom) {
    TMirelonTokenType next = t[1].TokenType;
    t = next == ttDot ? QuickField(t, R) : next == ttCroOuv ? QuickItem(t, R) : nullptr;
    if (!t) return nullptr;
  } else if (QuickOperand(t[0], R)) {
    ++t;
  } else {
    return nullptr;
  }
  if (t->TokenType == ttExposant) {
    if (--FQuickNesting < 0) return nullptr;
    TQuickValue exponent;
    if (!(t = QuickUnary(t + 1, exponent))) return nullptr;
    R = {Power(R.Num, exponent.Num), false};
    if (!NumberInRange(R.Num)) return nullptr;
  }
  if (negate) R = {-R.Num, false};
  return t;
}

}  // namespace mirelon
