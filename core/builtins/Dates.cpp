// Date and time builtins: the clock, conversions, parts of dates and times,
// arithmetic on them and the date patterns of "format_date".
#include <algorithm>
#include <chrono>
#include <cmath>

#include "core/DateReadings.h"
#include "core/builtins/Builtins.h"

namespace mirelon {

namespace {

using namespace std::chrono;

constexpr int64_t kMsPerDay = 86400000;

char16_t LowerAscii(char16_t c) { return c >= u'A' && c <= u'Z' ? c + 32 : c; }

// ---- argument checks shared by the builtins ----

enum : uint8_t { nlCount = 1, nlKind = 2 };  // messages raised without line

// How a builtin names itself and its parameters in its messages.
struct TSig {
  const char16_t* Name;
  const char16_t* Params;  // "date", "heure, n" ...: their number is the count
  const char16_t* Kind;    // the wrong-kind message, after "<name> : "
  uint8_t NoLine = 0;
};

constexpr const char16_t* kWantDate = u"attend une date ou un texte";
constexpr const char16_t* kWantTime = u"attend une heure ou un texte";
constexpr const char16_t* kFirstDate = u"le premier argument doit être une date ou un texte";
constexpr const char16_t* kFirstTime = u"le premier argument doit être une heure ou un texte";

[[noreturn]] void Raise(TMirelon& M, bool noLine, const std::u16string& msg) {
  if (noLine) FailNoLine(msg);
  M.Fail(msg);
}

void CheckCount(TMirelon& M, const TBuiltinArgs& A, const TSig& s) {
  std::u16string_view params(s.Params);
  size_t n = 1 + std::count(params.begin(), params.end(), u',');
  if (A.size() != n)
    Raise(M, s.NoLine & nlCount,
          Format(u"%s(%s) attend %s", {s.Name, s.Params, n == 1 ? u"1 argument" : u"2 arguments"}));
}

[[noreturn]] void WrongKind(TMirelon& M, const TSig& s) {
  Raise(M, s.NoLine & nlKind, Format(u"%s : %s", {s.Name, s.Kind}));
}
[[noreturn]] void InvalidDate(TMirelon& M, const TSig& s) { M.FailFmt(u"%s : date invalide", {s.Name}); }
[[noreturn]] void InvalidTime(TMirelon& M, const TSig& s) { M.FailFmt(u"%s : heure invalide", {s.Name}); }

// The first argument as a whole-day serial: a date, or a text by the date reading.
double DayArg(TMirelon& M, const TBuiltinArgs& A, const TSig& s) {
  CheckCount(M, A, s);
  const TMirelonValue& v = A[0];
  if (v.Kind == lvkDate) return DayOfSerial(v.DT);
  double serial;
  if (!v.IsText()) WrongKind(M, s);
  if (!ReadDate(v.Str.str(), serial)) InvalidDate(M, s);
  return serial;
}

year_month_day ToYmd(const TCivilDate& d) {
  return year{d.Year} / month{static_cast<unsigned>(d.Month)} / day{static_cast<unsigned>(d.Day)};
}

// A day serial as a calendar date; days outside the years 1..9999 are the
// builtin's invalid date.
year_month_day CivilOf(TMirelon& M, double serial, const TSig& s) {
  TCivilDate d;
  if (!SerialToCivil(serial, d)) InvalidDate(M, s);
  return ToYmd(d);
}

year_month_day DateArg(TMirelon& M, const TBuiltinArgs& A, const TSig& s) { return CivilOf(M, DayArg(M, A, s), s); }

// The first argument as a time of day in milliseconds: a time, or a text by the time reading.
int64_t TimeArg(TMirelon& M, const TBuiltinArgs& A, const TSig& s) {
  CheckCount(M, A, s);
  const TMirelonValue& v = A[0];
  if (v.Kind == lvkHeure) return MillisecondsOfSerial(v.DT);
  double serial;
  if (!v.IsText()) WrongKind(M, s);
  if (!ReadTime(v.Str.str(), serial)) InvalidTime(M, s);
  return MillisecondsOfSerial(serial);
}

double SerialOf(TMirelon& M, const year_month_day& ymd, const TSig& s) {
  double serial;
  if (!CivilToSerial(static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
                     static_cast<int>(static_cast<unsigned>(ymd.day())), serial))
    InvalidDate(M, s);
  return serial;
}

TMirelonValue Num(int64_t v) { return TMirelonValue::Number(static_cast<double>(v)); }

// ---- clock ----

TMirelonValue TodayPlus(TMirelon& M, const TBuiltinArgs& A, const char16_t* name, int offset) {
  if (!A.empty()) M.FailFmt(u"%s() ne prend aucun argument", {name});
  return TMirelonValue::DateVal(ReadLocalClock().Today + offset);
}

void Maintenant(TMirelon& M, TBuiltinArgs& A, TMirelonValue& R) {
  if (!A.empty()) M.Fail(u"maintenant() ne prend aucun argument");
  R = TMirelonValue::HeureVal(ReadLocalClock().TimeOfDay);
}
void AujourdHui(TMirelon& M, TBuiltinArgs& A, TMirelonValue& R) { R = TodayPlus(M, A, u"aujourd_hui", 0); }
void Hier(TMirelon& M, TBuiltinArgs& A, TMirelonValue& R) { R = TodayPlus(M, A, u"hier", -1); }
void Demain(TMirelon& M, TBuiltinArgs& A, TMirelonValue& R) { R = TodayPlus(M, A, u"demain", 1); }

// ---- conversions ----

// A value unchanged when it is a text, else its text form.
TMirelonValue AsText(const TMirelon& M, const TMirelonValue& v) {
  return v.IsText() ? v : TMirelonValue::Text(M.ValToText(v));
}

void ConvertirDate(TMirelon& M, TBuiltinArgs& A, TMirelonValue& R) {
  RequireCount(M, A, 1, u"convertir_date(x) attend 1 argument");
  const TMirelonValue& v = A[0];
  double serial;
  if (v.IsNumber())
    serial = v.Num;
  else if (v.Kind == lvkDate)
    serial = v.DT;
  else if (!v.IsText() || !ReadDateTime(v.Str.str(), serial)) {
    R = AsText(M, v);
    return;
  }
  serial = DayOfSerial(serial);
  TCivilDate d;
  if (!SerialToCivil(serial, d)) M.Fail(u"convertir_date : date invalide");
  R = TMirelonValue::Text(DateToText(serial));
}

void ConvertirHeure(TMirelon& M, TBuiltinArgs& A, TMirelonValue& R) {
  RequireCount(M, A, 1, u"convertir_heure(x) attend 1 argument");
  const TMirelonValue& v = A[0];
  double serial;
  if (v.IsNumber())
    serial = v.Num;
  else if (!v.IsText() || !ReadDateTime(v.Str.str(), serial)) {
    R = AsText(M, v);
    return;
  }
  R = TMirelonValue::Text(TimeToText(TimeOfSerial(serial)));
}

constexpr TSig kVersDate{u"vers_date", u"texte", kWantDate};
constexpr TSig kVersHeure{u"vers_heure", u"texte", kWantTime};

void VersDate(TMirelon& M, TBuiltinArgs& A, TMirelonValue& R) { R = TMirelonValue::DateVal(DayArg(M, A, kVersDate)); }
void VersHeure(TMirelon& M, TBuiltinArgs& A, TMirelonValue& R) {
  R = TMirelonValue::HeureVal(static_cast<double>(TimeArg(M, A, kVersHeure)) / kMsPerDay);
}

// ---- parts of dates and times ----

constexpr TSig kJourSemaine{u"jour_semaine", u"date", kWantDate, nlKind};
constexpr TSig kAnneeDe{u"année_de", u"date", kWantDate, nlCount | nlKind};
constexpr TSig kMoisDe{u"mois_de", u"date", kWantDate};
constexpr TSig kJourDe{u"jour_de", u"date", kWantDate};
constexpr TSig kSemaineDe{u"semaine_de", u"date", kWantDate};
constexpr TSig kHeureDe{u"heure_de", u"h", kWantTime};
constexpr TSig kMinuteDe{u"minute_de", u"h", kWantTime, nlKind};
constexpr TSig kSecondeDe{u"seconde_de", u"h", kWantTime};

unsigned IsoWeekday(const year_month_day& ymd) { return weekday{sys_days{ymd}}.iso_encoding(); }

// ISO 8601: the week belongs to the year of its Thursday.
int64_t IsoWeek(const year_month_day& ymd) {
  sys_days thursday = sys_days{ymd} + days{4 - static_cast<int>(IsoWeekday(ymd))};
  year y = year_month_day{thursday}.year();
  return (thursday - sys_days{y / January / 1}).count() / 7 + 1;
}

void JourSemaine(TMirelon& M, TBuiltinArgs& A, TMirelonValue& R) { R = Num(IsoWeekday(DateArg(M, A, kJourSemaine))); }
void AnneeDe(TMirelon& M, TBuiltinArgs& A, TMirelonValue& R) {
  R = Num(static_cast<int>(DateArg(M, A, kAnneeDe).year()));
}
void MoisDe(TMirelon& M, TBuiltinArgs& A, TMirelonValue& R) {
  R = Num(static_cast<unsigned>(DateArg(M, A, kMoisDe).month()));
}
void JourDe(TMirelon& M, TBuiltinArgs& A, TMirelonValue& R) {
  R = Num(static_cast<unsigned>(DateArg(M, A, kJourDe).day()));
}
void SemaineDe(TMirelon& M, TBuiltinArgs& A, TMirelonValue& R) { R = Num(IsoWeek(DateArg(M, A, kSemaineDe))); }
void HeureDe(TMirelon& M, TBuiltinArgs& A, TMirelonValue& R) { R = Num(TimeArg(M, A, kHeureDe) / 3600000); }
void MinuteDe(TMirelon& M, TBuiltinArgs& A, TMirelonValue& R) { R = Num(TimeArg(M, A, kMinuteDe) / 60000 % 60); }
void SecondeDe(TMirelon& M, TBuiltinArgs& A, TMirelonValue& R) { R = Num(TimeArg(M, A, kSecondeDe) / 1000 % 60); }

// An optional sign, then decimal digits, or hexadecimal digits after "$",
// "x" or "0x"; the value must fit in 32 bits.
bool ReadInteger32(std::u16string_view t, int64_t& value) {
  size_t i = 0;
  bool negative = false;
  if (i < t.size() && (t[i] == u'+' || t[i] == u'-')) negative = t[i++] == u'-';
  size_t prefix = 0;
  if (i < t.size() && (t[i] == u'$' || LowerAscii(t[i]) == u'x'))
    prefix = 1;
  else if (i + 1 < t.size() && t[i] == u'0' && LowerAscii(t[i + 1]) == u'x')
    prefix = 2;
  int base = prefix ? 16 : 10;
  i += prefix;
  if (i == t.size()) return false;
  int64_t acc = 0;
  for (; i < t.size(); ++i) {
    char16_t c = LowerAscii(t[i]);
    int digit = c >= u'0' && c <= u'9' ? c - u'0' : base == 16 && c >= u'a' && c <= u'f' ? c - u'a' + 10 : -1;
    if (digit < 0) return false;
    acc = acc * base + digit;
    if (acc > 0x80000000LL) return false;
  }
  value = negative ? -acc : acc;
  return value <= 0x7FFFFFFF;
}

void EstBissextile(TMirelon& M, TBuiltinArgs& A, TMirelonValue& R) {
  RequireCount(M, A, 1, u"est_bissextile(annee) attend 1 argument");
  const TMirelonValue& v = A[0];
  constexpr const char16_t* kWantYear = u"est_bissextile : attend une année ou une date";
  int64_t y = 0;  // 0 is out of range
  TCivilDate d;
  double serial;
  if (v.Kind == lvkDate) {
    if (SerialToCivil(v.DT, d)) y = d.Year;
  } else if (v.IsNumber()) {
    y = M.ToInteger(v);
  } else if (!v.IsText()) {
    M.Fail(kWantYear);
  } else if (std::u16string t = Trim(v.Str.str()); !ReadInteger32(t, y)) {
    if (!ReadDate(t, serial)) M.Fail(kWantYear);
    SerialToCivil(serial, d);
    y = d.Year;
  }
  if (y < 1 || y > 9999) M.Fail(u"est_bissextile : année hors limites (1 à 9999)");
  R = TMirelonValue::BoolVal(year{static_cast<int>(y)}.is_leap());
}

// A "jours_entre" argument as whole days; its messages carry no line.
double DaysBetweenArg(const TMirelonValue& v, int index) {
  double serial;
  if (v.Kind == lvkDate) return DayOfSerial(v.DT);
  if (!v.IsText())
    FailNoLine(
        Format(u"jours_entre: le %s argument doit être une date ou un texte", {index == 1 ? u"premier" : u"second"}));
  if (!ReadDateTime(v.Str.str(), serial))
    throw EMirelonError::CreateFmt(u"jours_entre: date invalide (argument %d)", {index});
  return DayOfSerial(serial);
}

void JoursEntre(TMirelon&, TBuiltinArgs& A, TMirelonValue& R) {
  if (A.size() != 2) FailNoLine(u"jours_entre(date1, date2) attend 2 arguments");
  double first = DaysBetweenArg(A[0], 1);
  R = TMirelonValue::Number(std::fabs(first - DaysBetweenArg(A[1], 2)));
}

// ---- arithmetic ----

constexpr TSig kAjouterJours{u"ajouter_jours", u"date, n", kFirstDate, nlCount | nlKind};
constexpr TSig kAjouterMois{u"ajouter_mois", u"date, n", kFirstDate};
constexpr TSig kAjouterAnnees{u"ajouter_années", u"date, n", kFirstDate};
constexpr TSig kAjouterHeures{u"ajouter_heures", u"heure, n", kFirstTime};
constexpr TSig kAjouterMinutes{u"ajouter_minutes", u"heure, n", kFirstTime};

void AjouterJours(TMirelon& M, TBuiltinArgs& A, TMirelonValue& R) {
  double serial = DayArg(M, A, kAjouterJours) + static_cast<double>(M.ToInteger(A[1]));
  CivilOf(M, serial, kAjouterJours);  // refuses a result outside the calendar
  R = TMirelonValue::DateVal(serial);
}

// n months later, a missing day becoming the month's last day.
TMirelonValue AddMonths(TMirelon& M, const TBuiltinArgs& A, const TSig& s, int64_t monthsPerUnit) {
  year_month_day start = DateArg(M, A, s);
  int64_t n = M.ToInteger(A[1]);
  int64_t limit = 120000 / monthsPerUnit;  // past it no year of the calendar is reached
  if (n > limit || n < -limit) InvalidDate(M, s);
  year_month_day moved = start + months{n * monthsPerUnit};
  if (!moved.ok()) moved = moved.year() / moved.month() / last;
  return TMirelonValue::DateVal(SerialOf(M, moved, s));
}

void AjouterMois(TMirelon& M, TBuiltinArgs& A, TMirelonValue& R) { R = AddMonths(M, A, kAjouterMois, 1); }
void AjouterAnnees(TMirelon& M, TBuiltinArgs& A, TMirelonValue& R) { R = AddMonths(M, A, kAjouterAnnees, 12); }

// The time of day n units later, wrapped into one day.
TMirelonValue AddToTime(TMirelon& M, const TBuiltinArgs& A, const TSig& s, int64_t msPerUnit) {
  int64_t ms = TimeArg(M, A, s);
  int64_t n = M.ToInteger(A[1]) % (kMsPerDay / msPerUnit);
  ms = ((ms + n * msPerUnit) % kMsPerDay + kMsPerDay) % kMsPerDay;
  return TMirelonValue::HeureVal(static_cast<double>(ms) / kMsPerDay);
}

void AjouterHeures(TMirelon& M, TBuiltinArgs& A, TMirelonValue& R) { R = AddToTime(M, A, kAjouterHeures, 3600000); }
void AjouterMinutes(TMirelon& M, TBuiltinArgs& A, TMirelonValue& R) { R = AddToTime(M, A, kAjouterMinutes, 60000); }

// ---- format_date ----

constexpr const char16_t* kDayNames[] = {u"lundi",    u"mardi",  u"mercredi", u"jeudi",
                                         u"vendredi", u"samedi", u"dimanche"};
constexpr const char16_t* kDayShort[] = {u"lun.", u"mar.", u"mer.", u"jeu.", u"ven.", u"sam.", u"dim."};
constexpr const char16_t* kMonthNames[] = {u"janvier", u"février", u"mars",      u"avril",   u"mai",      u"juin",
                                           u"juillet", u"août",    u"septembre", u"octobre", u"novembre", u"décembre"};
constexpr const char16_t* kMonthShort[] = {u"janv.", u"févr.", u"mars",  u"avr.", u"mai",  u"juin",
                                           u"juil.", u"août",  u"sept.", u"oct.", u"nov.", u"déc."};

bool IsQuote(char16_t c) { return c == u'"' || c == u'\''; }

std::u16string Padded(int64_t v, size_t width) {
  std::u16string t = IntToText(v);
  return t.size() < width ? std::u16string(width - t.size(), u'0') + t : t;
}

void ReplaceAll(std::u16string& s, std::u16string_view from, std::u16string_view to) {
  for (size_t p = s.find(from); p != std::u16string::npos; p = s.find(from, p + to.size()))
    s.replace(p, from.size(), to);
}

// The French pattern letters become the pattern letters, outside quoted text
// only: quoted words are written as they stand.
std::u16string TranslateFrench(std::u16string_view motif) {
  static constexpr std::u16string_view kPairs[][2] = {{u"aaaa", u"yyyy"}, {u"aa", u"yy"}, {u"jjjj", u"dddd"},
                                                      {u"jjj", u"ddd"},   {u"jj", u"dd"}, {u"j", u"d"}};
  std::u16string out;
  for (size_t i = 0; i < motif.size();) {
    size_t quote = std::min(motif.find_first_of(u"\"'", i), motif.size());
    std::u16string plain(motif.substr(i, quote - i));
    for (const auto& pair : kPairs) ReplaceAll(plain, pair[0], pair[1]);
    out += plain;
    if (quote == motif.size()) break;
    size_t close = std::min(motif.find(motif[quote], quote + 1), motif.size() - 1);
    out.append(motif.substr(quote, close + 1 - quote));
    i = close + 1;
  }
  return out;
}

// Writes a date after a pattern, each element taken as long as it goes;
// false for a quoted text left open. The time of day is midnight.
bool WritePattern(std::u16string_view p, const year_month_day& ymd, std::u16string& out) {
  int y = static_cast<int>(ymd.year());
  unsigned m = static_cast<unsigned>(ymd.month()), d = static_cast<unsigned>(ymd.day()), wd = IsoWeekday(ymd);
  char16_t lastLetter = 0;
  for (size_t i = 0; i < p.size();) {
    char16_t c = LowerAscii(p[i]);
    if (IsQuote(p[i])) {
      size_t close = p.find(p[i], i + 1);
      if (close == std::u16string_view::npos) return false;
      out.append(p.substr(i + 1, close - i - 1));
      i = close + 1;
      continue;
    }
    size_t run = 1;
    while (i + run < p.size() && LowerAscii(p[i + run]) == c) ++run;
    switch (c) {
      case u'd':
        run = std::min<size_t>(run, 4);
        out += run == 1 ? IntToText(d) : run == 2 ? Padded(d, 2) : run == 3 ? kDayShort[wd - 1] : kDayNames[wd - 1];
        break;
      case u'm':
        if (run <= 2 && lastLetter == u'h')
          out += run == 1 ? u"0" : u"00";
        else
          out += run == 1 ? IntToText(m) : run == 2 ? Padded(m, 2) : run == 3 ? kMonthShort[m - 1] : kMonthNames[m - 1];
        break;
      case u'y':
        out += run <= 2 ? Padded(y % 100, 2) : Padded(y, 4);
        break;
      case u'h':
      case u'n':
      case u's':
        out += run == 1 ? u"0" : u"00";
        break;
      default:
        out += p[i];
        ++i;
        continue;
    }
    lastLetter = c;
    i += run;
  }
  return true;
}

constexpr TSig kFormatDate{u"format_date", u"date, motif", kFirstDate};

void FormatDate(TMirelon& M, TBuiltinArgs& A, TMirelonValue& R) {
  year_month_day ymd = DateArg(M, A, kFormatDate);
  std::u16string motif = M.ValToText(A[1]);
  if (Trim(motif).empty()) M.Fail(u"format_date : le motif ne doit pas être vide");
  std::u16string out;
  if (!WritePattern(TranslateFrench(motif), ymd, out)) M.FailFmt(u"format_date : motif invalide \"%s\"", {motif});
  R = TMirelonValue::Text(std::move(out));
}

}  // namespace

std::span<const TBuiltinDef> DateBuiltins() {
  static const TBuiltinDef defs[] = {
      {u"maintenant", Maintenant},
      {u"aujourd_hui", AujourdHui},
      {u"hier", Hier},
      {u"demain", Demain},
      {u"convertir_date", ConvertirDate},
      {u"convertir_heure", ConvertirHeure},
      {u"jours_entre", JoursEntre},
      {u"jour_semaine", JourSemaine},
      {u"année_de/annee_de", AnneeDe},
      {u"mois_de", MoisDe},
      {u"jour_de", JourDe},
      {u"heure_de", HeureDe},
      {u"minute_de", MinuteDe},
      {u"seconde_de", SecondeDe},
      {u"semaine_de", SemaineDe},
      {u"est_bissextile", EstBissextile},
      {u"ajouter_jours", AjouterJours},
      {u"ajouter_mois", AjouterMois},
      {u"ajouter_annees/ajouter_années", AjouterAnnees},
      {u"ajouter_heures", AjouterHeures},
      {u"ajouter_minutes", AjouterMinutes},
      {u"format_date", FormatDate},
      {u"vers_date", VersDate},
      {u"vers_heure", VersHeure},
  };
  return defs;
}

}  // namespace mirelon
