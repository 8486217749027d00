// The three readings of date and time texts, and the calendar helpers of
// the date serial (days since 30/12/1899, time of day as the fraction).
#pragma once

#include <cstdint>
#include <string_view>

namespace mirelon {

// Each reading trims its text and either succeeds with its serial or fails;
// none raises. Years written with one or two digits, and dates without a
// year, depend on the current year: the local clock's, or the one given.
bool ReadDate(std::u16string_view text, double& serial);
bool ReadTime(std::u16string_view text, double& serial);
bool ReadDateTime(std::u16string_view text, double& serial);
bool ReadDate(std::u16string_view text, double& serial, int currentYear);
bool ReadDateTime(std::u16string_view text, double& serial, int currentYear);

// A date-and-time serial before the epoch subtracts its time of day, so
// that truncation always gives the day and the absolute fraction the time.
double DayOfSerial(double serial);   // whole days
double TimeOfSerial(double serial);  // fraction of a day, 0 <= t < 1
// The time of day of a serial in whole milliseconds, 0 .. 86399999.
int64_t MillisecondsOfSerial(double serial);

struct TCivilDate {
  int Year, Month, Day;
};
// Calendar date of a whole-day serial; false when outside years 1..9999.
bool SerialToCivil(double serial, TCivilDate& d);
// Serial of a calendar date; false when the date is not valid.
bool CivilToSerial(int year, int month, int day, double& serial);

// The local clock: today's serial, the time of day to the millisecond, and
// the year, all from one reading.
struct TLocalClock {
  double Today;
  double TimeOfDay;
  int Year;
};
TLocalClock ReadLocalClock();

}  // namespace mirelon
