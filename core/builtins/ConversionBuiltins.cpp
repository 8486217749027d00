#include "core/builtins/ConversionBuiltins.h"

#include <cmath>
#include <ctime>
#include <random>

#include "core/DateReadings.h"

namespace mirelon {

namespace {

TMirelonValue& OnlyArgument(TMirelon& M, TBuiltinArgs& Args, const char16_t* countMessage) {
  RequireCount(M, Args, 1, countMessage);
  return Args[0];
}

// Upper-case hexadecimal digits of v, padded with zeros to at least width.
std::u16string HexDigits(uint64_t v, int width) {
  std::u16string r;
  do {
    r.insert(r.begin(), u"0123456789ABCDEF"[v & 15]);
    v >>= 4;
  } while (v != 0);
  if (static_cast<int>(r.size()) < width) r.insert(0, width - r.size(), u'0');
  return r;
}

// Value of a digit 0-9 or A-F, -1 for any other character.
int DigitValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// Drops one leading "#" or "$", or a leading "0b" / "0x" in either case.
std::u16string_view WithoutBasePrefix(std::u16string_view t) {
  if (!t.empty() && (t[0] == u'#' || t[0] == u'$')) return t.substr(1);
  if (t.size() >= 2 && t[0] == u'0' && (t[1] == u'b' || t[1] == u'B' || t[1] == u'x' || t[1] == u'X'))
    return t.substr(2);
  return t;
}

double Today() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  double serial = 0;
  CivilToSerial(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, serial);
  return serial;
}

TMirelonValue ToNumberType(TMirelon& M, const TMirelonValue& v) {
  switch (v.Kind) {
    case lvkNumber: return v;
    case lvkBool: return TMirelonValue::Number(v.Bool ? 1 : 0);
    case lvkDate:
    case lvkHeure: return TMirelonValue::Number(v.DT);
    case lvkText: {
      std::u16string t = Trim(v.Str.str());
      double x;
      if (!ParseDecimal(t, u',', x) && !ParseDecimal(t, u'.', x))
        M.FailFmt(u"vers_type : \"%s\" n'est pas convertible en nombre", {v.Str.str()});
      return TMirelonValue::Number(x);
    }
    default: M.Fail(u"vers_type : conversion vers nombre impossible pour ce type");
  }
}

TMirelonValue ToDateType(TMirelon& M, const TMirelonValue& v) {
  double serial;
  switch (v.Kind) {
    case lvkDate: return v;
    case lvkNumber: return TMirelonValue::DateVal(v.Num);
    case lvkText:
      if (!ReadDate(Trim(v.Str.str()), serial))
        M.FailFmt(u"vers_type : \"%s\" n'est pas une date valide", {v.Str.str()});
      return TMirelonValue::DateVal(serial);
    default: M.Fail(u"vers_type : conversion vers date impossible pour ce type");
  }
}

TMirelonValue ToTimeType(TMirelon& M, const TMirelonValue& v) {
  double serial;
  switch (v.Kind) {
    case lvkHeure: return v;
    case lvkNumber: return TMirelonValue::HeureVal(v.Num);
    case lvkText:
      if (!ReadTime(Trim(v.Str.str()), serial))
        M.FailFmt(u"vers_type : \"%s\" n'est pas une heure valide", {v.Str.str()});
      return TMirelonValue::HeureVal(serial);
    default: M.Fail(u"vers_type : conversion vers heure impossible pour ce type");
  }
}

}  // namespace

void VersHexadecimal(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result) {
  if (Args.empty() || Args.size() > 3) M.Fail(u"vers_hexadecimal(entier [, prefixe [, largeur]]) : 1 a 3 arguments");
  int64_t v = M.ToInteger(Args[0]);
  std::u16string prefix = Args.size() >= 2 ? M.ValToText(Args[1]) : u"";
  int32_t width = Args.size() == 3 ? static_cast<int32_t>(static_cast<uint32_t>(M.ToInteger(Args[2]))) : 1;
  if (width > 16) M.Fail(u"vers_hexadecimal : largeur trop grande (max 16)");
  uint64_t magnitude = v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
  Result = TMirelonValue::Text((v < 0 ? u"-" : u"") + prefix + HexDigits(magnitude, width));
}

void VersDecimal(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result) {
  RequireCount(M, Args, 2, u"vers_decimal(texte, base) attend 2 arguments");
  int64_t base = M.ToInteger(Args[1]);
  if (base != 2 && base != 8 && base != 16) M.Fail(u"vers_decimal : base invalide (2, 8 ou 16 seulement)");
  std::u16string trimmed = Trim(M.ValToText(Args[0]));
  std::u16string_view t = WithoutBasePrefix(trimmed);
  bool negative = !t.empty() && t[0] == u'-';
  if (negative) t.remove_prefix(1);
  if (t.empty()) M.Fail(u"vers_decimal : texte vide");
  uint64_t acc = 0;  // wraps in 64 bits
  for (char16_t c : t) {
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
    std::u16string shown(1, c);
    int d = DigitValue(c);
    if (d < 0) M.FailFmt(u"vers_decimal : caractere invalide \"%s\"", {shown});
    if (d >= base) M.FailFmt(u"vers_decimal : chiffre \"%s\" invalide en base %d", {shown, base});
    acc = acc * static_cast<uint64_t>(base) + static_cast<uint64_t>(d);
  }
  if (negative) acc = 0 - acc;
  Result = TMirelonValue::Number(static_cast<double>(static_cast<int64_t>(acc)));
}

void EstNombre(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result) {
  const TMirelonValue& x = OnlyArgument(M, Args, u"est_nombre(x) attend 1 argument");
  double ignored;
  Result = TMirelonValue::BoolVal(x.Kind == lvkNumber || (x.Kind == lvkText && TryParseNumber(x.Str.str(), ignored)));
}

void EstTexte(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result) {
  Result = TMirelonValue::BoolVal(OnlyArgument(M, Args, u"est_texte(x) attend 1 argument").Kind == lvkText);
}

void EstBooleen(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result) {
  Result = TMirelonValue::BoolVal(OnlyArgument(M, Args, u"est_booleen(x) attend 1 argument").Kind == lvkBool);
}

void TypeDe(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result) {
  Result = TMirelonValue::Text(TypeName(OnlyArgument(M, Args, u"type_de(x) attend 1 argument").Kind));
}

void ConvertirTexte(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result) {
  Result = TMirelonValue::Text(M.ValToText(OnlyArgument(M, Args, u"convertir_texte(x) attend 1 argument")));
}

void ConvertirNombre(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result) {
  const TMirelonValue& x = OnlyArgument(M, Args, u"convertir_nombre(x) attend 1 argument");
  double n;
  switch (x.Kind) {
    case lvkNumber: Result = x; break;
    case lvkBool: Result = TMirelonValue::Number(x.Bool ? 1 : 0); break;
    case lvkText:
      if (!TryParseNumber(x.Str.str(), n)) FailNoLine(u"convertir_nombre: texte non convertible en nombre");
      Result = TMirelonValue::Number(n);
      break;
    default: M.Fail(u"convertir_nombre: type non convertible");
  }
}

void VersType(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result) {
  RequireCount(M, Args, 2, u"vers_type(type, valeur) attend 2 arguments");
  std::u16string kind = AsciiLower(Trim(M.ValToText(Args[0])));
  const TMirelonValue& v = Args[1];
  if (kind == u"nombre") Result = ToNumberType(M, v);
  else if (kind == u"texte") Result = TMirelonValue::Text(M.ValToText(v));
  else if (kind == u"date") Result = ToDateType(M, v);
  else if (kind == u"heure") Result = ToTimeType(M, v);
  else M.FailFmt(u"vers_type : type cible inconnu \"%s\" (attendu : nombre, texte, date ou heure)", {kind});
}

void Defaut(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result) {
  switch (OnlyArgument(M, Args, u"défaut(valeur) attend 1 argument").Kind) {
    case lvkNumber: Result = TMirelonValue::Number(0); break;
    case lvkText: Result = TMirelonValue::Text(u""); break;
    case lvkBool: Result = TMirelonValue::BoolVal(false); break;
    case lvkArray: Result = TMirelonValue::ArrayVal(TMirelonArray::New()); break;
    case lvkRecord: Result = TMirelonValue::RecordVal(TMirelonRecord::New()); break;
    case lvkDate: Result = TMirelonValue::DateVal(Today()); break;
    case lvkHeure: Result = TMirelonValue::HeureVal(0); break;
    default: M.Fail(u"défaut : type non pris en charge");
  }
}

void SiAlors(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result) {
  RequireCount(M, Args, 3, u"sialors(cond, a, b) attend 3 arguments");
  Result = M.ToBool(Args[0]) ? Args[1] : Args[2];
}

// A random (version 4) identifier from the system's entropy source, not
// from the program's seeded generator.
void Uid(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result) {
  RequireCount(M, Args, 0, u"uid() ne prend aucun argument");
  std::random_device source;
  uint8_t bytes[16];
  for (int i = 0; i < 16; i += 4) {
    uint32_t r = source();
    for (int k = 0; k < 4; ++k) bytes[i + k] = static_cast<uint8_t>(r >> (8 * k));
  }
  bytes[6] = static_cast<uint8_t>((bytes[6] & 0x0F) | 0x40);
  bytes[8] = static_cast<uint8_t>((bytes[8] & 0x3F) | 0x80);
  std::u16string text;
  for (int i = 0; i < 16; ++i) {
    if (i == 4 || i == 6 || i == 8 || i == 10) text += u'-';
    text += u"0123456789abcdef"[bytes[i] >> 4];
    text += u"0123456789abcdef"[bytes[i] & 15];
  }
  Result = TMirelonValue::Text(text);
}

}  // namespace mirelon
