#include "core/DateReadings.h"

#include <chrono>
#include <cmath>

namespace mirelon {

namespace {
constexpr int kSerialEpochOffset = 25569;  // days from 30/12/1899 to 01/01/1970
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
  std::chrono::year_month_day ymd{std::chrono::year{year}, std::chrono::month{static_cast<unsigned>(month)},
                                  std::chrono::day{static_cast<unsigned>(day)}};
  if (year < 1 || year > 9999 || !ymd.ok()) return false;
  serial = static_cast<double>(std::chrono::sys_days{ymd}.time_since_epoch().count() + kSerialEpochOffset);
  return true;
}

// Placeholders until the date unit is built.
bool ReadDate(std::u16string_view, double&) { return false; }
bool ReadTime(std::u16string_view, double&) { return false; }
bool ReadDateTime(std::u16string_view, double&) { return false; }

}  // namespace mirelon
