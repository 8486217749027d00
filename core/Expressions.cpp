// The expression evaluator: one method per precedence level, each parsing
// its operators from the tokens and combining values at once.
#include <cmath>

#include "core/Interpreter.h"

namespace mirelon {

namespace {

bool IsComparison(TMirelonTokenType t) { return t >= ttEgal && t <= ttSupEgal; }

template <class T>
bool Compare(TMirelonTokenType op, const T& a, const T& b) {
  switch (op) {
    case ttEgal: return a == b;
    case ttDifferent: return a != b;
    case ttInferieur: return a < b;
    case ttSuperieur: return a > b;
    case ttInfEgal: return a <= b;
    default: return a >= b;
  }
}

// Whole exponents by repeated squaring (exact for integers), others through
// exp and ln; a base of 0 then gives 0.
double Power(double base, double exponent) {
  if (exponent == std::trunc(exponent) && std::fabs(exponent) < 9.2e18) {
    uint64_t n = static_cast<uint64_t>(std::fabs(exponent));
    double result = 1, b = base;
    while (n) {
      if (n & 1) result *= b;
      b *= b;
      n >>= 1;
    }
    return exponent < 0 ? 1 / result : result;
  }
  if (base == 0) return 0;
  return std::exp(exponent * std::log(base));
}

}  // namespace

TMirelonValue TMirelon::ParseOr() {
  TMirelonValue left = ParseAnd();
  while (At(ttOu)) {
    ++FPos;
    TMirelonValue right = ParseAnd();
    bool l = ToBool(left), r = ToBool(right);
    left = TMirelonValue::BoolVal(l || r);
  }
  return left;
}

TMirelonValue TMirelon::ParseAnd() {
  TMirelonValue left = ParseNot();
  while (At(ttEt)) {
    ++FPos;
    TMirelonValue right = ParseNot();
    bool l = ToBool(left), r = ToBool(right);
    left = TMirelonValue::BoolVal(l && r);
  }
  return left;
}

TMirelonValue TMirelon::ParseNot() {
  if (!At(ttNon)) return ParseComparison();
  CheckStack();
  ++FPos;
  return TMirelonValue::BoolVal(!ToBool(ParseNot()));
}

TMirelonValue TMirelon::ParseComparison() {
  TMirelonValue left = ParseAdditive();
  TMirelonTokenType op = CurrentToken().TokenType;
  if (!IsComparison(op)) return left;
  ++FPos;
  TMirelonValue right = ParseAdditive();
  if (left.Kind == lvkText || right.Kind == lvkText) {
    // Ordinal comparison of UTF-16 code units.
    if (left.Kind == lvkText && right.Kind == lvkText)
      return TMirelonValue::BoolVal(Compare(op, left.Str.str(), right.Str.str()));
    return TMirelonValue::BoolVal(Compare(op, ValToText(left), ValToText(right)));
  }
  double l = ToNumber(left), r = ToNumber(right);
  return TMirelonValue::BoolVal(Compare(op, l, r));
}

TMirelonValue TMirelon::ParseAdditive() {
  TMirelonValue left = ParseTerm();
  for (;;) {
    TMirelonTokenType op = CurrentToken().TokenType;
    if (op != ttPlus && op != ttMoins) return left;
    ++FPos;
    TMirelonValue right = ParseTerm();
    if (left.Kind == lvkText || right.Kind == lvkText) {
      if (op == ttMoins) Fail(u"Soustraction de textes impossible");
      if (left.Kind == lvkText) {
        // Appending to a text no other value shares happens in place.
        TMirelonText text = std::move(left.Str);
        text.Append(right.Kind == lvkText ? right.Str.str() : ValToText(right));
        left = TMirelonValue::Text(std::move(text));
      } else {
        left = TMirelonValue::Text(ValToText(left) + right.Str.str());
      }
      continue;
    }
    double l = ToNumber(left), r = ToNumber(right);
    left = TMirelonValue::Number(op == ttPlus ? l + r : l - r);
  }
}

TMirelonValue TMirelon::ParseTerm() {
  TMirelonValue left = ParseUnary();
  for (;;) {
    TMirelonTokenType op = CurrentToken().TokenType;
    if (op != ttEtoile && op != ttSlash && op != ttMod) return left;
    ++FPos;
    TMirelonValue right = ParseUnary();
    double l = ToNumber(left), r = ToNumber(right);
    if (op == ttEtoile) {
      left = TMirelonValue::Number(l * r);
    } else if (op == ttSlash) {
      if (r == 0) Fail(u"Division par zéro");
      left = TMirelonValue::Number(l / r);
    } else {
      if (r == 0) Fail(u"Modulo par zéro");
      left = TMirelonValue::Number(l - std::trunc(l / r) * r);
    }
  }
}

TMirelonValue TMirelon::ParseUnary() {
  if (!At(ttMoins)) return ParsePower();
  ++FPos;
  TMirelonValue v = ParsePower();
  return TMirelonValue::Number(-ToNumber(v));
}

TMirelonValue TMirelon::ParsePower() {
  TMirelonValue base = ParsePrimary();
  if (!At(ttExposant)) return base;
  ++FPos;
  TMirelonValue exponent = ParseUnary();
  double b = ToNumber(base), e = ToNumber(exponent);
  return TMirelonValue::Number(Power(b, e));
}

TMirelonValue TMirelon::ParsePrimary() {
  CheckStack();
  const TMirelonToken& t = CurrentToken();
  switch (t.TokenType) {
    case ttNombre: {
      double v;
      if (t.Value.size() >= 2 && t.Value[0] == u'$') {
        // Up to eight significant hex digits, read as a signed 32-bit integer.
        size_t first = t.Value.find_first_not_of(u'0', 1);
        std::u16string digits = first == std::u16string::npos ? u"0" : t.Value.substr(first);
        if (digits.size() > 8) FailFmt(u"Nombre hexadécimal invalide : %s", {t.Value});
        uint32_t bits = static_cast<uint32_t>(std::stoul(Utf16ToUtf8(digits), nullptr, 16));
        v = static_cast<int32_t>(bits);
      } else {
        v = ParseNumberLiteral(t.Value);
      }
      ++FPos;
      return TMirelonValue::Number(v);
    }
    case ttTexte: {
      ++FPos;
      return TMirelonValue::Text(t.Value);
    }
    case ttIdentifiant: return ParseName();
    case ttParOuv: {
      ++FPos;
      TMirelonValue v = Evaluate();
      Expect(ttParFerm);
      return v;
    }
    case ttCroOuv: return ParseArrayLiteral();
    case ttCouleur: return ParseColorExpression();
    case ttHtml: return ParseHtmlExpression();
    case ttInconnu:
      if (t.Value == u"#") return ParseCharCode();
      [[fallthrough]];
    default: FailFmt(u"Expression attendue, obtenu : \"%s\"", {t.Value});
  }
}

TMirelonValue TMirelon::ParseName() {
  const TMirelonToken& name = FTokens[FPos];
  if (SameAsciiCase(name.Value, u"vrai") || SameAsciiCase(name.Value, u"faux")) {
    ++FPos;
    return TMirelonValue::BoolVal(SameAsciiCase(name.Value, u"vrai"));
  }
  switch (FPos + 1 < FTokenCount ? FTokens[FPos + 1].TokenType : ttEOF) {
    case ttParOuv: {
      ++FPos;
      TBuiltinArgs args = ParseArguments();
      return CallCallable(name.Key, name.Value, args, true);
    }
    case ttDot: {
      ++FPos;
      Expect(ttDot);
      if (!At(ttIdentifiant)) Fail(u"Nom de champ attendu après \".\"");
      const std::u16string& field = CurrentToken().Value;
      ++FPos;
      const TMirelonValue& v = GetVariable(name.Key, name.Value);
      if (v.Kind != lvkRecord) FailFmt(u"\"%s\" n'est pas un enregistrement", {name.Value});
      if (!v.Rec) FailFmt(u"Enregistrement vide : \"%s\"", {name.Value});
      return v.Rec->GetField(field);
    }
    case ttCroOuv: return ParseIndexRead(name);
    default: ++FPos; return GetVariable(name.Key, name.Value);
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

TBuiltinArgs TMirelon::ParseArguments() {
  Expect(ttParOuv);
  TBuiltinArgs args;
  if (!At(ttParFerm)) {
    for (;;) {
      args.push_back(Evaluate());
      if (!At(ttVirgule)) break;
      ++FPos;
    }
  }
  Expect(ttParFerm);
  return args;
}

}  // namespace mirelon
