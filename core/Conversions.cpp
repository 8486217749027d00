#include "core/Conversions.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "core/DateReadings.h"
#include "core/Errors.h"

namespace mirelon {

// ---- number parsing ----

bool ParseDecimal(std::u16string_view s, char16_t sep, double& out) {
  std::string ascii;
  ascii.reserve(s.size());
  size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) negative = s[i++] == u'-';
  bool digits = false, separator = false;
  for (; i < s.size(); ++i) {
    char16_t c = s[i];
    if (c >= u'0' && c <= u'9') {
      digits = true;
      ascii += static_cast<char>(c);
    } else if (c == sep && !separator) {
      separator = true;
      ascii += '.';
    } else {
      break;
    }
  }
  if (!digits) return false;
  bool negativeExponent = false;
  if (i < s.size() && (s[i] == u'e' || s[i] == u'E')) {
    ascii += 'e';
    ++i;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) {
      negativeExponent = s[i] == u'-';
      ascii += static_cast<char>(s[i++]);
    }
    size_t start = i;
    while (i < s.size() && s[i] >= u'0' && s[i] <= u'9') ascii += static_cast<char>(s[i++]);
    if (i == start) return false;
  }
  if (i != s.size()) return false;
  double v = 0;
  auto [ptr, ec] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), v);
  if (ec == std::errc::result_out_of_range) v = negativeExponent ? 0.0 : HUGE_VAL;
  else if (ec != std::errc() || ptr != ascii.data() + ascii.size()) return false;
  out = negative ? -v : v;
  return true;
}

bool TryParseNumber(std::u16string_view s, double& out) {
  std::u16string t = Trim(s);
  std::replace(t.begin(), t.end(), u',', u'.');
  return ParseDecimal(t, u'.', out);
}

double ParseLooseNumber(std::u16string_view s) {
  std::u16string t = Trim(s);
  bool comma = t.find(u',') != std::u16string::npos;
  double v = 0;
  if (ParseDecimal(t, comma ? u',' : u'.', v) || ParseDecimal(t, comma ? u'.' : u',', v)) return v;
  return 0;
}

double ParseNumberLiteral(std::u16string_view s) {
  double v = 0;
  if (!ParseDecimal(s, u'.', v)) {
    std::u16string t(s);
    std::replace(t.begin(), t.end(), u',', u'.');
    if (!ParseDecimal(t, u'.', v))
      throw EMirelonError::CreateFmt(u"Nombre invalide ou hors limites : \"%s\"", {s});
  }
  if (std::isinf(v) || std::isnan(v)) throw EMirelonError::CreateFmt(u"Nombre trop grand : \"%s\"", {s});
  if (std::fabs(v) > 9007199254740992.0)
    throw EMirelonError::CreateFmt(u"Nombre trop grand : \"%s\" dépasse 2^53", {s});
  return v;
}

int64_t TruncToInt64(double v) {
  if (std::isnan(v)) return 0;
  if (v >= 9.2233720368547758e18) return INT64_MAX;
  if (v <= -9.2233720368547758e18) return INT64_MIN;
  return static_cast<int64_t>(v);
}

// ---- text forms ----

static std::u16string Ascii(const char* s) { return std::u16string(s, s + std::char_traits<char>::length(s)); }

namespace {

// Adds one unit in the last digit of [digits, end), stepping over the point;
// a carry out of the first digit puts a '1' before it. Returns the new end.
char* AddOneInLastPlace(char* digits, char* end) {
  for (char* p = end; p != digits;) {
    --p;
    if (*p == '.') continue;
    if (*p != '9') {
      ++*p;
      return end;
    }
    *p = '0';
  }
  std::memmove(digits + 1, digits, end - digits);
  *digits = '1';
  return end + 1;
}

}  // namespace

char* WriteRoundedDecimal(char (&buf)[kDecimalTextSize], double v, int decimals) {
  // The last byte stays free for a carry digit.
  char* end = std::to_chars(buf, buf + kDecimalTextSize - 1, v, std::chars_format::fixed).ptr;
  char* digits = buf + (buf[0] == '-');
  char* point = std::find(digits, end, '.');
  if (point == end) return end;
  if (end - point > decimals + 1) {
    // The shortest text is exact as a decimal, so a '5' first among the
    // dropped digits is at or past the half: it rounds away from zero.
    bool up = point[decimals + 1] >= '5';
    end = point + decimals + 1;
    if (up) end = AddOneInLastPlace(digits, end);
  }
  while (end[-1] == '0') --end;
  if (end[-1] == '.') --end;
  if (digits != buf && end == digits + 1 && *digits == '0') return std::copy(digits, end, buf);
  return end;
}

// Whole numbers print through the integer path, which std::to_chars writes
// without locale or format parsing.
std::u16string NumberToText(double v) {
  char buf[kDecimalTextSize];
  char* end;
  if (v == std::trunc(v)) {
    if (v == 0) return u"0";
    end = std::fabs(v) < 9e18 ? std::to_chars(buf, buf + sizeof buf, static_cast<int64_t>(v)).ptr
                              : std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 0).ptr;
    return std::u16string(buf, end);
  }
  end = WriteRoundedDecimal(buf, v, 10);
  std::u16string text(buf, end);
  std::replace(text.begin(), text.end(), u'.', u',');
  return text;
}

std::u16string DateToText(double serial) {
  TCivilDate d;
  if (!SerialToCivil(serial, d)) return u"";
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", d.Day, d.Month, d.Year);
  return Ascii(buf);
}

std::u16string TimeToText(double serial) {
  double frac = std::fabs(serial - std::trunc(serial));
  int64_t ms = std::min<int64_t>(std::llround(frac * 86400000.0), 86399999);
  int64_t secs = ms / 1000;
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", static_cast<int>(secs / 3600), static_cast<int>(secs / 60 % 60),
                static_cast<int>(secs % 60));
  return Ascii(buf);
}

namespace {

// Collections being turned into text on this thread: a collection met again
// inside itself prints as "[...]" / "{...}", and very deep nesting stops the
// same way instead of exhausting the stack.
thread_local std::vector<const void*> tPrinting;
constexpr size_t kMaxPrintDepth = 200;

struct TPrintGuard {
  explicit TPrintGuard(const void* p) { tPrinting.push_back(p); }
  ~TPrintGuard() { tPrinting.pop_back(); }
};

bool MustElide(const void* p) {
  return tPrinting.size() >= kMaxPrintDepth || std::find(tPrinting.begin(), tPrinting.end(), p) != tPrinting.end();
}

}  // namespace

std::u16string ValToText(const TMirelonValue& v) {
  switch (v.Kind) {
    case lvkNumber: return NumberToText(v.Num);
    case lvkText: return v.Str.str();
    case lvkBool: return v.Bool ? u"vrai" : u"faux";
    case lvkArray: {
      if (!v.Arr) return u"[]";
      if (MustElide(v.Arr.get())) return u"[...]";
      TPrintGuard guard(v.Arr.get());
      return v.Arr->DebugString([](const TMirelonValue& e) { return ValToText(e); });
    }
    case lvkRecord: {
      if (!v.Rec) return u"{}";
      if (MustElide(v.Rec.get())) return u"{...}";
      TPrintGuard guard(v.Rec.get());
      return v.Rec->DebugString([](const TMirelonValue& e) { return ValToText(e); });
    }
    case lvkDate: return DateToText(v.DT);
    case lvkHeure: return TimeToText(v.DT);
    case lvkImage: return u"[image]";
  }
  return u"";
}

double ToNumberSlow(const TMirelonValue& v, int line) {
  switch (v.Kind) {
    case lvkNumber: return v.Num;
    case lvkText: return ParseLooseNumber(v.Str.str());
    case lvkBool: return v.Bool ? 1 : 0;
    default: throw EMirelonError::CreateAtLine(line, u"Conversion en nombre impossible");
  }
}

bool ToBoolSlow(const TMirelonValue& v) {
  switch (v.Kind) {
    case lvkNumber: return v.Num != 0;
    case lvkText: {
      std::u16string t = Trim(v.Str.str());
      return !(t.empty() || SameAsciiCase(t, u"faux") || SameAsciiCase(t, u"false") || t == u"0");
    }
    case lvkBool: return v.Bool;
    case lvkArray: return v.Arr && v.Arr->Count() > 0;
    case lvkRecord: return static_cast<bool>(v.Rec);
    default: return false;
  }
}

bool ValuesEqualSlow(const TMirelonValue& a, const TMirelonValue& b) {
  if (a.Kind == b.Kind) {
    switch (a.Kind) {
      case lvkNumber: return std::fabs(a.Num - b.Num) <= 1e-12;
      case lvkText: return a.Str.str() == b.Str.str();
      case lvkBool: return a.Bool == b.Bool;
      case lvkArray: return a.Arr == b.Arr;
      default: break;
    }
  } else if ((a.Kind == lvkNumber && b.Kind == lvkText) || (a.Kind == lvkText && b.Kind == lvkNumber)) {
    const TMirelonValue& num = a.Kind == lvkNumber ? a : b;
    const TMirelonValue& text = a.Kind == lvkText ? a : b;
    double parsed;
    if (TryParseNumber(text.Str.str(), parsed)) return std::fabs(num.Num - parsed) <= 1e-12;
  }
  return ValToText(a) == ValToText(b);
}

std::u16string TypeName(TMirelonValueKind kind) {
  static const char16_t* const names[] = {u"nombre",         u"texte", u"booléen", u"tableau",
                                          u"enregistrement", u"date",  u"heure",   u"image"};
  return kind <= lvkImage ? names[kind] : u"inconnu";
}

}  // namespace mirelon
