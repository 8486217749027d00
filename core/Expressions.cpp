// The expression evaluator: it parses the operators from the tokens and
// combines values at once. Expressions of numbers and booleans first try the
// shortcut of QuickExpressions.cpp.
#include <cmath>

#include "core/Arithmetic.h"
#include "core/Interpreter.h"

namespace mirelon {

namespace {

int BinaryLevelOf(TMirelonTokenType t) {
  switch (t) {
    case ttOu: return kLevelOr;
    case ttEt: return kLevelAnd;
    case ttPlus: case ttMoins: return kLevelAdditive;
    case ttEtoile: case ttSlash: case ttMod: return kLevelTerm;
    case ttExposant: return kLevelPower;
    default: return IsComparison(t) ? kLevelComparison : 0;
  }
}

}  // namespace

// Marks, once per run, the tokens that let a lone operand skip the levels:
// every level from there down to the primary would pass it through unchanged.
void MarkOperands(std::vector<TMirelonToken>& tokens) {
  for (size_t i = 0; i < tokens.size(); ++i) {
    TMirelonToken& t = tokens[i];
    t.BinaryLevel = static_cast<int8_t>(BinaryLevelOf(t.TokenType));
    TMirelonTokenType next = i + 1 < tokens.size() ? tokens[i + 1].TokenType : ttEOF;
    t.Atom = t.TokenType == ttNombre || t.TokenType == ttTexte ||
             (t.TokenType == ttIdentifiant && next != ttParOuv && next != ttCroOuv && next != ttDot);
  }
}

// Levels 1 to 6 are read by precedence climbing: an operand, then every
// operator that binds at least as tightly as MinLevel, each followed by a
// right operand that binds more tightly. This gives the associativity of the
// nine-level descent (left for "ou", "et", + - and * / mod, one comparison at
// most) while a lone operand costs one call instead of nine. Each level
// leaves its result in R, so values are not copied on the way up.
void TMirelon::ParseOr(TMirelonValue& R) {
  // An operand alone, the commonest expression, is what ParseBinary's first
  // step would read; the shortcut would only convert it twice.
  if (AtSimpleOperand(kLevelOr)) return ParsePrimary(R);
  if (QuickReady() && QuickExpression(R)) return;
  ParseBinary(R, kLevelOr);
}

bool TMirelon::EvaluateCondition() {
  TQuickValue q;
  if (QuickReady() && QuickRead(q)) return q.Num != 0;  // a number or a boolean kept as 1 or 0
  TMirelonValue v;
  ParseBinary(v, kLevelOr);
  return ToBool(v);
}

void TMirelon::ParseBinary(TMirelonValue& R, int MinLevel) {
  int ceiling = kLevelPower;  // operators from this level up end the expression here
  if (AtSimpleOperand(kLevelPower)) {
    // A literal or a plain name without "^" after it: levels 7 and 8 pass it through.
    ParsePrimary(R);
  } else if (MinLevel <= kLevelNot && At(ttNon)) {
    ParseNot(R);
    ceiling = kLevelComparison;
  } else if (At(ttIdentifiant)) {
    // A call, an index, a field or a name before "^": what ParseUnary would
    // reach through ParsePower and ParsePrimary, without the two steps.
    CheckStack();
    ParseName(R);
    if (At(ttExposant)) ApplyPower(R);
  } else {
    ParseUnary(R);
  }
  for (;;) {
    int level = CurrentToken().BinaryLevel;
    if (level < MinLevel || level >= ceiling) return;
    TMirelonTokenType op = CurrentToken().TokenType;
    ++FPos;
    TMirelonValue right;
    if (AtSimpleOperand(level + 1)) {
      ApplyBinary(op, R, ReadSimpleOperand(right));
    } else {
      ParseBinary(right, level + 1);
      ApplyBinary(op, R, right);
    }
    // A comparison does not chain; the other operators go on at their level.
    ceiling = level == kLevelComparison ? level : level + 1;
  }
}

// A right operand that is one token: a variable is used where it stands
// (the operator reads it at once, before anything can change it), other
// tokens are read into scratch.
const TMirelonValue& TMirelon::ReadSimpleOperand(TMirelonValue& scratch) {
  const TMirelonToken& t = FTokens[FPos];
  if (t.TokenType == ttIdentifiant && FNames[t.Key].BoolLiteral < 0) {
    ++FPos;
    return GetVariable(t.Key, t.Value);
  }
  ParsePrimary(scratch);
  return scratch;
}

void TMirelon::ParseNot(TMirelonValue& R) {
  if (!At(ttNon)) return ParseBinary(R, kLevelComparison);
  CheckStack();
  ++FPos;
  ParseNot(R);
  R.SetBool(!ToBool(R));
}

// Two numbers, the usual case, are combined at once; texts, conversions,
// booleans and the errors go through each level's own rules.
void TMirelon::ApplyBinary(TMirelonTokenType op, TMirelonValue& R, const TMirelonValue& right) {
  if (R.Kind == lvkNumber && right.Kind == lvkNumber) {
    double l = R.Num, r = right.Num;
    switch (op) {
      case ttPlus: return R.SetNumber(l + r);
      case ttMoins: return R.SetNumber(l - r);
      case ttEtoile: return R.SetNumber(l * r);
      case ttSlash:
        if (r != 0) return R.SetNumber(l / r);
        break;
      case ttMod:
        if (r != 0) return R.SetNumber(Modulo(l, r));
        break;
      case ttOu:
      case ttEt: break;
      default: return R.SetBool(Compare(op, l, r));
    }
  }
  ApplyOperator(op, R, right);
}

void TMirelon::ApplyOperator(TMirelonTokenType op, TMirelonValue& R, const TMirelonValue& right) {
  switch (op) {
    case ttOu: {
      bool l = ToBool(R), r = ToBool(right);
      return R.SetBool(l || r);
    }
    case ttEt: {
      bool l = ToBool(R), r = ToBool(right);
      return R.SetBool(l && r);
    }
    case ttPlus:
    case ttMoins: return ApplyAdditive(op, R, right);
    case ttEtoile:
    case ttSlash:
    case ttMod: return ApplyTerm(op, R, right);
    default: return ApplyComparison(op, R, right);
  }
}

void TMirelon::ApplyComparison(TMirelonTokenType op, TMirelonValue& R, const TMirelonValue& right) {
  bool result;
  if (R.Kind == lvkText && right.Kind == lvkText) {
    result = Compare(op, R.Str.str(), right.Str.str());  // ordinal, UTF-16 code units
  } else if (R.Kind == lvkText || right.Kind == lvkText) {
    result = Compare(op, ValToText(R), ValToText(right));
  } else {
    double l = ToNumber(R), r = ToNumber(right);
    result = Compare(op, l, r);
  }
  R.SetBool(result);
}

void TMirelon::ApplyAdditive(TMirelonTokenType op, TMirelonValue& R, const TMirelonValue& right) {
  if (R.Kind == lvkText || right.Kind == lvkText) {
    if (op == ttMoins) Fail(u"Soustraction de textes impossible");
    if (R.Kind == lvkText) {
      // Appending to a text no other value shares happens in place.
      R.Str.Append(right.Kind == lvkText ? right.Str.str() : ValToText(right));
    } else {
      R = TMirelonValue::Text(ValToText(R) + right.Str.str());
    }
    return;
  }
  double l = ToNumber(R), r = ToNumber(right);
  R.SetNumber(op == ttPlus ? l + r : l - r);
}

void TMirelon::ApplyTerm(TMirelonTokenType op, TMirelonValue& R, const TMirelonValue& right) {
  double l = ToNumber(R), r = ToNumber(right);
  if (op == ttEtoile) return R.SetNumber(l * r);
  if (r == 0) Fail(op == ttSlash ? u"Division par zéro" : u"Modulo par zéro");
  R.SetNumber(op == ttSlash ? l / r : Modulo(l, r));
}

void TMirelon::ParseUnary(TMirelonValue& R) {
  if (!At(ttMoins)) return ParsePower(R);
  ++FPos;
  ParsePower(R);
  R.SetNumber(-ToNumber(R));
}

void TMirelon::ParsePower(TMirelonValue& R) {
  ParsePrimary(R);
  if (At(ttExposant)) ApplyPower(R);
}

// "^" and its exponent, apart so that an operand without one stays cheap.
void TMirelon::ApplyPower(TMirelonValue& R) {
  ++FPos;
  TMirelonValue exponent;
  ParseUnary(exponent);
  double b = ToNumber(R), e = ToNumber(exponent);
  R.SetNumber(Power(b, e));
}

// Number literals and plain variable reads are most operands: they are read
// here, the other forms in a separate function so that this one stays small.
void TMirelon::ParsePrimary(TMirelonValue& R) {
  const TMirelonToken& t = CurrentToken();
  if (t.TokenType == ttNombre && t.HasNum) {
    ++FPos;
    return R.SetNumber(t.Num);
  }
  CheckStack();  // the other forms may nest
  if (t.TokenType == ttIdentifiant) {
    if (!t.Atom || FNames[t.Key].BoolLiteral >= 0) return ParseName(R);
    ++FPos;
    R = GetVariable(t.Key, t.Value);
    return;
  }
  ParseOtherPrimary(R);
}

[[gnu::noinline]] void TMirelon::ParseOtherPrimary(TMirelonValue& R) {
  const TMirelonToken& t = CurrentToken();
  switch (t.TokenType) {
    case ttNombre: {
      double v = ReadNumberToken(t);  // a literal that did not read at lexing: raises its error
      ++FPos;
      R.SetNumber(v);
      return;
    }
    case ttTexte: {
      // Each literal's text is made once per run and shared by the values read from it.
      TMirelonText& literal = FLiteralTexts[FPos];
      if (literal.empty() && !t.Value.empty()) literal = TMirelonText(t.Value);
      ++FPos;
      R = TMirelonValue::Text(literal);
      return;
    }
    case ttParOuv:
      ++FPos;
      ParseOr(R);
      Expect(ttParFerm);
      return;
    case ttCroOuv: R = ParseArrayLiteral(); return;
    case ttCouleur: R = ParseColorExpression(); return;
    case ttHtml: R = ParseHtmlExpression(); return;
    case ttInconnu:
      if (t.Value == u"#") {
        R = ParseCharCode();
        return;
      }
      [[fallthrough]];
    default: FailFmt(u"Expression attendue, obtenu : \"%s\"", {t.Value});
  }
}

// A number literal: decimal, or "$" and up to eight significant hex digits
// read as a signed 32-bit integer. Raises the literal's error.
double TMirelon::ReadNumberToken(const TMirelonToken& t) {
  if (t.Value.size() < 2 || t.Value[0] != u'$') return ParseNumberLiteral(t.Value);
  size_t first = t.Value.find_first_not_of(u'0', 1);
  std::u16string digits = first == std::u16string::npos ? u"0" : t.Value.substr(first);
  if (digits.size() > 8) FailFmt(u"Nombre hexadécimal invalide : %s", {t.Value});
  return static_cast<int32_t>(static_cast<uint32_t>(std::stoul(Utf16ToUtf8(digits), nullptr, 16)));
}

void TMirelon::PrepareNumber(TMirelonToken& t) {
  try {
    t.Num = ReadNumberToken(t);
    t.HasNum = true;
  } catch (const EMirelonError&) {
    // Left for the evaluation, which raises the error when the literal is reached.
  }
}

void TMirelon::ParseName(TMirelonValue& R) {
  const TMirelonToken& name = FTokens[FPos];
  int8_t literal = FNames[name.Key].BoolLiteral;
  if (literal >= 0) {
    ++FPos;
    R.SetBool(literal == 1);
    return;
  }
  switch (FTokens[FPos + 1].TokenType) {
    case ttParOuv: {
      ++FPos;
      TArgumentsMark mark(*this);
      ParseArguments();
      CallCallable(name.Key, name.Value, mark.Args(), &R);
      return;
    }
    case ttDot: {
      ++FPos;
      Expect(ttDot);
      if (!At(ttIdentifiant)) Fail(u"Nom de champ attendu après \".\"");
      int32_t fieldPos = FPos++;
      const TMirelonValue& v = GetVariable(name.Key, name.Value);
      if (v.Kind != lvkRecord) FailFmt(u"\"%s\" n'est pas un enregistrement", {name.Value});
      if (!v.Rec) FailFmt(u"Enregistrement vide : \"%s\"", {name.Value});
      const TMirelonValue* field = v.Rec->FindField(FTokens[fieldPos].Value, FFieldHints[fieldPos]);
      R = field ? *field : v.Rec->GetField(FTokens[fieldPos].Value);  // GetField raises the unknown field
      return;
    }
    case ttCroOuv: R = ParseIndexRead(name); return;
    default: ++FPos; R = GetVariable(name.Key, name.Value);
  }
}

TMirelonValue TMirelon::ParseIndexRead(const TMirelonToken& name) {
  ++FPos;
  TMirelonValue v = GetVariable(name.Key, name.Value);
  while (At(ttCroOuv)) {
    Expect(ttCroOuv);
    TMirelonValue index = Evaluate();
    Expect(ttCroFerm);
    int64_t k = ToInteger(index);
    if (v.Kind == lvkText) {
      if (k < 1 || k > static_cast<int64_t>(v.Str.size())) FailFmt(u"Index hors limites : %s[%d]", {name.Value, k});
      v = TMirelonValue::Text(std::u16string(1, v.Str[k - 1]));
      continue;
    }
    if (v.Kind != lvkArray) FailFmt(u"\"%s\" n'est pas un tableau ni un texte", {name.Value});
    if (!v.Arr) FailFmt(u"Tableau vide : \"%s\"", {name.Value});
    if (k < 0 || k >= v.Arr->Count()) FailFmt(u"Index hors limites : %s[%d]", {name.Value, k});
    TMirelonValue item = v.Arr->Item(static_cast<int32_t>(k));
    v = std::move(item);
  }
  return v;
}

TMirelonValue TMirelon::ParseArrayLiteral() {
  Expect(ttCroOuv);
  IMirelonArray items = TMirelonArray::New();
  if (!At(ttCroFerm)) {
    for (;;) {
      items->Add(Evaluate());
      if (!At(ttVirgule)) break;
      ++FPos;
      SkipNewlines();
    }
  }
  if (!At(ttCroFerm)) Fail(u"Crochet fermant \"]\" attendu dans le tableau");
  ++FPos;
  return TMirelonValue::ArrayVal(std::move(items));
}

TMirelonValue TMirelon::ParseColorExpression() {
  ++FPos;
  Expect(ttParOuv);
  std::u16string color = NormalizeColor(Trim(ValToText(Evaluate())));
  bool hasText = false;
  std::u16string text;
  if (At(ttVirgule)) {
    ++FPos;
    text = ValToText(Evaluate());
    hasText = true;
  }
  Expect(ttParFerm);
  bool reset = SameAsciiCase(color, u"reset");
  if (!hasText) return TMirelonValue::Text(reset ? u"\x02/\x03" : u"\x02" + color + u"\x03");
  if (text.find(u"__HTML__") != std::u16string::npos)
    Fail(u"couleur ne peut pas être appliquée à du html(). Utilisez html() pour la mise en forme, ou couleur() sur du "
         u"texte simple.");
  return TMirelonValue::Text(WrapInlineColor(color, text));
}

TMirelonValue TMirelon::ParseHtmlExpression() {
  ++FPos;
  Expect(ttParOuv);
  std::u16string html = ValToText(Evaluate());
  Expect(ttParFerm);
  FilterHtml(html);
  return TMirelonValue::Text(u"__HTML__" + html + u"__");
}

TMirelonValue TMirelon::ParseCharCode() {
  ++FPos;
  if (!At(ttNombre)) Fail(u"Nombre attendu après \"#\"");
  int64_t k = TruncToInt64(ParseNumberLiteral(CurrentToken().Value));
  ++FPos;
  if (k < 0 || k > 255) Fail(u"Code ASCII invalide");
  return TMirelonValue::Text(std::u16string(1, static_cast<char16_t>(k)));
}

void TMirelon::ParseArguments() {
  Expect(ttParOuv);
  if (!At(ttParFerm)) {
    for (;;) {
      // A number or a boolean goes straight onto the stack. Anything else is
      // read apart: a call inside the argument may grow the stack and move it.
      TQuickValue q;
      if (QuickReady() && QuickRead(q)) {
        StoreQuick(FArgStack.emplace_back(), q);
      } else {
        TMirelonValue v;
        ParseOr(v);
        FArgStack.push_back(std::move(v));
      }
      if (!At(ttVirgule)) break;
      ++FPos;
    }
  }
  Expect(ttParFerm);
}

}  // namespace mirelon
