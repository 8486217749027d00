#include "core/DateReadings.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>

#include "core/Text.h"

namespace mirelon {

namespace {

constexpr int kSerialEpochOffset = 25569;  // days from 30/12/1899 to 01/01/1970
constexpr int64_t kMsPerDay = 86400000;

// A cursor over a trimmed text; every scan either consumes what it read or
// reports failure.
struct TScanner {
  std::u16string_view S;
  size_t P = 0;

  bool AtEnd() const { return P >= S.size(); }
  bool Char(char16_t c) {
    if (AtEnd() || S[P] != c) return false;
    ++P;
    return true;
  }
  // Skips blanks; true when there was at least one.
  bool Blanks() {
    size_t start = P;
    while (!AtEnd() && S[P] <= 32) ++P;
    return P > start;
  }
  // Between 1 and maxDigits decimal digits, and no more digits after them.
  bool Number(int maxDigits, int& value, int& digits) {
    value = digits = 0;
    while (!AtEnd() && S[P] >= u'0' && S[P] <= u'9') {
      if (++digits > maxDigits) return false;
      value = value * 10 + (S[P++] - u'0');
    }
    return digits > 0;
  }
  bool Number(int maxDigits, int& value) {
    int digits;
    return Number(maxDigits, value, digits);
  }
  // "AM" or "PM" in any case: 0 for none, 1 for AM, 2 for PM.
  int Marker() {
    if (S.size() - P < 2 || (S[P + 1] != u'M' && S[P + 1] != u'm')) return 0;
    char16_t c = S[P];
    int marker = (c == u'A' || c == u'a') ? 1 : (c == u'P' || c == u'p') ? 2 : 0;
    if (marker) P += 2;
    return marker;
  }
};

// Places a year of one or two digits in the hundred years that start 50
// years before the current year.
int WindowYear(int yy, int currentYear) {
  int start = currentYear - 50;
  int year = static_cast<int>(std::floor(start / 100.0)) * 100 + yy;
  return year < start ? year + 100 : year;
}

// d/m or d/m/y at the cursor.
bool ScanDate(TScanner& sc, int currentYear, double& serial) {
  int day, month, year = currentYear, digits;
  if (!sc.Number(2, day) || !sc.Char(u'/') || !sc.Number(2, month)) return false;
  if (sc.Char(u'/')) {
    if (!sc.Number(4, year, digits)) return false;
    if (digits <= 2) year = WindowYear(year, currentYear);
  }
  return CivilToSerial(year, month, day, serial);
}

// h, h:m, h:m:s or h:m:s,f with an AM/PM marker before or after, up to the end.
bool ScanTime(TScanner& sc, double& serial) {
  int marker = sc.Marker();
  sc.Blanks();
  int h, m = 0, s = 0, ms = 0, digits;
  if (!sc.Number(2, h)) return false;
  if (sc.Char(u':')) {
    if (!sc.Number(2, m)) return false;
    if (sc.Char(u':')) {
      if (!sc.Number(2, s)) return false;
      if (sc.Char(u',')) {
        if (!sc.Number(3, ms, digits)) return false;
        for (; digits < 3; ++digits) ms *= 10;  // a decimal fraction of the second
      }
    }
  }
  sc.Blanks();
  if (!marker) marker = sc.Marker();
  sc.Blanks();
  if (!sc.AtEnd() || m > 59 || s > 59) return false;
  if (marker) {
    if (h < 1 || h > 12) return false;
    h = h % 12 + (marker == 2 ? 12 : 0);
  } else if (h > 23) {
    return false;
  }
  serial = ((h * 60 + m) * 60 + s) * 1000.0 + ms;
  serial /= kMsPerDay;
  return true;
}

bool TrimmedScan(std::u16string_view text, bool (*scan)(TScanner&, int, double&), int currentYear, double& serial) {
  std::u16string trimmed = Trim(text);
  TScanner sc{trimmed};
  double result;
  if (!scan(sc, currentYear, result)) return false;
  serial = result;
  return true;
}

bool ScanWholeDate(TScanner& sc, int currentYear, double& serial) {
  return ScanDate(sc, currentYear, serial) && sc.AtEnd();
}

bool ScanDateTime(TScanner& sc, int currentYear, double& serial) {
  double day = 0, time;
  if (ScanDate(sc, currentYear, day)) {
    if (sc.AtEnd()) {
      serial = day;
      return true;
    }
    if (!sc.Blanks()) return false;
  } else {
    sc.P = 0;  // a time alone
  }
  if (!ScanTime(sc, time)) return false;
  serial = day < 0 ? day - time : day + time;
  return true;
}

int ClockYear() { return ReadLocalClock().Year; }

}  // namespace

bool ReadDate(std::u16string_view text, double& serial, int currentYear) {
  return TrimmedScan(text, ScanWholeDate, currentYear, serial);
}

bool ReadDateTime(std::u16string_view text, double& serial, int currentYear) {
  return TrimmedScan(text, ScanDateTime, currentYear, serial);
}

bool ReadDate(std::u16string_view text, double& serial) { return ReadDate(text, serial, ClockYear()); }
bool ReadDateTime(std::u16string_view text, double& serial) { return ReadDateTime(text, serial, ClockYear()); }

bool ReadTime(std::u16string_view text, double& serial) {
  return TrimmedScan(
      text, [](TScanner& sc, int, double& s) { return ScanTime(sc, s); }, 0, serial);
}

double DayOfSerial(double serial) { return std::trunc(serial); }

double TimeOfSerial(double serial) { return std::fabs(serial - std::trunc(serial)); }

int64_t MillisecondsOfSerial(double serial) {
  int64_t ms = std::llround(TimeOfSerial(serial) * kMsPerDay);
  return ms < kMsPerDay ? ms : kMsPerDay - 1;
}

bool SerialToCivil(double serial, TCivilDate& d) {
  double days = std::trunc(serial);
  if (!(days >= -693593 && days <= 2958465)) return false;  // 01/01/0001 .. 31/12/9999
  std::chrono::sys_days sd{std::chrono::days{static_cast<long>(days) - kSerialEpochOffset}};
  std::chrono::year_month_day ymd{sd};
  d = {static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
       static_cast<int>(static_cast<unsigned>(ymd.day()))};
  return true;
}

bool CivilToSerial(int year, int month, int day, double& serial) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31) return false;
  std::chrono::year_month_day ymd{std::chrono::year{year}, std::chrono::month{static_cast<unsigned>(month)},
                                  std::chrono::day{static_cast<unsigned>(day)}};
  if (!ymd.ok()) return false;
  serial = static_cast<double>(std::chrono::sys_days{ymd}.time_since_epoch().count() + kSerialEpochOffset);
  return true;
}

TLocalClock ReadLocalClock() {
  using namespace std::chrono;
  auto now = system_clock::now();
  std::time_t t = system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&t, &local);
  auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
  if (ms < 0) ms += 1000;
  TLocalClock c{0, 0, local.tm_year + 1900};
  CivilToSerial(c.Year, local.tm_mon + 1, local.tm_mday, c.Today);
  c.TimeOfDay = (((local.tm_hour * 60 + local.tm_min) * 60 + std::min(local.tm_sec, 59)) * 1000.0 + ms) / kMsPerDay;
  return c;
}

}  // namespace mirelon
