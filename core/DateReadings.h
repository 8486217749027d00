// The three readings of date and time texts, and the calendar helpers of
// the date serial (days since 30/12/1899, time of day as the fraction).
#pragma once

#include <string_view>

namespace mirelon {

// Each reading trims its text and either succeeds with its serial or fails;
// none raises.
bool ReadDate(std::u16string_view text, double& serial);
bool ReadTime(std::u16string_view text, double& serial);
bool ReadDateTime(std::u16string_view text, double& serial);

struct TCivilDate {
  int Year, Month, Day;
};
// Calendar date of a whole-day serial; false when outside years 1..9999.
bool SerialToCivil(double serial, TCivilDate& d);
// Serial of a calendar date; false when the date is not valid.
bool CivilToSerial(int year, int month, int day, double& serial);

}  // namespace mirelon
