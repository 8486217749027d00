#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>

#include "core/DateReadings.h"
#include "core/Text.h"

using namespace mirelon;

namespace {

constexpr int kYear = 2026;  // the current year of these tests
constexpr double kSerial15032023 = 45000;

double Date(int y, int m, int d) {
  double s = -1e9;
  EXPECT_TRUE(CivilToSerial(y, m, d, s)) << y << "-" << m << "-" << d;
  return s;
}
double Time(int h, int m, int s, int ms = 0) { return (((h * 60 + m) * 60 + s) * 1000.0 + ms) / 86400000; }

bool Dt(std::u16string_view t, double& s) { return ReadDateTime(t, s, kYear); }
bool D(std::u16string_view t, double& s) { return ReadDate(t, s, kYear); }

}  // namespace

TEST(DatesReadDate, AcceptsDayMonthYearTrimmed) {
  double s;
  ASSERT_TRUE(D(u"15/03/2023", s));
  EXPECT_EQ(s, kSerial15032023);
  ASSERT_TRUE(D(u" \t15/3/2023 \n", s));
  EXPECT_EQ(s, kSerial15032023);
  ASSERT_TRUE(D(u"30/12/1899", s));
  EXPECT_EQ(s, 0);
  ASSERT_TRUE(D(u"29/02/2024", s));
  EXPECT_EQ(s, Date(2024, 2, 29));
  ASSERT_TRUE(D(u"1/1/0001", s));
  EXPECT_EQ(s, -693593);
  ASSERT_TRUE(D(u"31/12/9999", s));
  EXPECT_EQ(s, 2958465);
  ASSERT_TRUE(D(u"5/3/024", s));  // three digits: the year as written
  EXPECT_EQ(s, Date(24, 3, 5));
}

TEST(DatesReadDate, DayAndMonthAloneTakeTheCurrentYear) {
  double s;
  ASSERT_TRUE(D(u"15/3", s));
  EXPECT_EQ(s, Date(kYear, 3, 15));
  ASSERT_TRUE(ReadDate(u"15/3", s, 2023));
  EXPECT_EQ(s, kSerial15032023);
  EXPECT_FALSE(D(u"29/2", s));  // 2026 is not a leap year
}

TEST(DatesReadDate, ShortYearsFallInTheWindowOfTheCurrentYear) {
  struct {
    const char16_t* text;
    int currentYear, year;
  } cases[] = {
      {u"5/3/24", 2026, 2024}, {u"5/3/77", 2026, 1977}, {u"5/3/76", 2026, 1976}, {u"5/3/75", 2026, 2075},
      {u"5/3/7", 2026, 2007},  {u"5/3/0", 2026, 2000},  {u"5/3/49", 2000, 2049}, {u"5/3/50", 2000, 1950},
      {u"5/3/99", 2101, 2099}, {u"5/3/00", 2101, 2100},
  };
  for (const auto& c : cases) {
    double s;
    ASSERT_TRUE(ReadDate(c.text, s, c.currentYear));
    EXPECT_EQ(s, Date(c.year, 3, 5)) << c.currentYear;
  }
}

TEST(DatesReadDate, RefusesAnythingElseAndLeavesTheSerial) {
  for (const char16_t* t : {u"31/02/2024", u"29/02/2023",   u"0/1/2024",   u"1/0/2024",   u"1/13/2024",
                            u"32/1/2024",  u"5/3/0000",     u"123/1/2024", u"1/123/2024", u"5/3/20245",
                            u"5-3-2024",   u"5 / 3 / 2024", u"5/3/",       u"5/",         u"5",
                            u"",           u"  ",           u"+5/3/2024",  u"5/3/2024x",  u"5/3/2024 10:00",
                            u"a5/3/2024",  u"\uff15/3/2024"}) {
    double s = 42;
    EXPECT_FALSE(D(t, s)) << Utf16ToUtf8(t);
    EXPECT_EQ(s, 42);
  }
}

TEST(DatesReadTime, AcceptsEachPrecision) {
  struct {
    const char16_t* text;
    double serial;
  } cases[] = {
      {u"14", Time(14, 0, 0)},
      {u"14:30", Time(14, 30, 0)},
      {u" 7:05:09 ", Time(7, 5, 9)},
      {u"14:30:15,250", Time(14, 30, 15, 250)},
      {u"14:30:15,5", Time(14, 30, 15, 500)},  // a decimal fraction of the second
      {u"0:0:0", 0},
      {u"23:59:59,999", Time(23, 59, 59, 999)},
      {u"2:30 PM", Time(14, 30, 0)},
      {u"PM 2:30", Time(14, 30, 0)},
      {u"2:30pm", Time(14, 30, 0)},
      {u"12 AM", 0},
      {u"12:15 am", Time(0, 15, 0)},
      {u"12 PM", Time(12, 0, 0)},
      {u"am 11:59:59", Time(11, 59, 59)},
  };
  for (const auto& c : cases) {
    double s = -1;
    ASSERT_TRUE(ReadTime(c.text, s)) << Utf16ToUtf8(c.text);
    EXPECT_DOUBLE_EQ(s, c.serial);
  }
}

TEST(DatesReadTime, RefusesPartsOutOfRange) {
  for (const char16_t* t :
       {u"24",      u"25:00", u"12:60", u"12:00:60", u"12:00:00,1000", u"12:",   u"12:00:", u"12:00:00,",
        u"12h",     u"abc",   u"",      u"-1",       u"123",           u"13 PM", u"0 AM",   u"0:30 PM",
        u"AM 2 PM", u"2 P",   u"2 PMX", u"12,5",     u"12:5,5"}) {
    double s = 42;
    EXPECT_FALSE(ReadTime(t, s)) << Utf16ToUtf8(t);
    EXPECT_EQ(s, 42);
  }
}

TEST(DatesReadDateTime, DateTimeOrEitherAlone) {
  double s;
  ASSERT_TRUE(Dt(u"15/03/2023 12:00", s));
  EXPECT_DOUBLE_EQ(s, kSerial15032023 + 0.5);
  ASSERT_TRUE(Dt(u"15/03/2023", s));
  EXPECT_EQ(s, kSerial15032023);
  ASSERT_TRUE(Dt(u"18:00", s));
  EXPECT_DOUBLE_EQ(s, 0.75);
  ASSERT_TRUE(Dt(u"15/3   6 PM ", s));
  EXPECT_DOUBLE_EQ(s, Date(kYear, 3, 15) + 0.75);
  for (const char16_t* t : {u"15/03/202312:00", u"15/03/2023 25:00", u"31/02/2023 12:00", u"15/03/2023 12:00 x",
                            u"15/03/2023 /", u"12:00 15/03/2023"})
    EXPECT_FALSE(Dt(t, s)) << Utf16ToUtf8(t);
}

TEST(DatesReadDateTime, BeforeTheEpochTheDayStillTruncates) {
  double s;
  ASSERT_TRUE(Dt(u"29/12/1899 06:00", s));
  EXPECT_EQ(DayOfSerial(s), -1);
  EXPECT_DOUBLE_EQ(TimeOfSerial(s), 0.25);
  EXPECT_EQ(MillisecondsOfSerial(s), 6 * 3600000);
}

TEST(DatesCivil, OutsideTheCalendarFails) {
  TCivilDate d{};
  ASSERT_TRUE(SerialToCivil(kSerial15032023 + 0.9, d));
  EXPECT_EQ(d.Year, 2023);
  EXPECT_EQ(d.Month, 3);
  EXPECT_EQ(d.Day, 15);
  for (double s : {2958466.0, -693594.0, 1e300, -1e300, std::numeric_limits<double>::quiet_NaN(),
                   std::numeric_limits<double>::infinity()})
    EXPECT_FALSE(SerialToCivil(s, d)) << s;
  double s;
  for (auto [y, m, dd] : {std::tuple{0, 1, 1},
                          {10000, 1, 1},
                          {2024, 0, 1},
                          {2024, 13, 1},
                          {2024, -1, 1},
                          {2024, 4, 31},
                          {2024, 1, 0},
                          {2024, 1, -5},
                          {2024, 1, 300}})
    EXPECT_FALSE(CivilToSerial(y, m, dd, s));
}

TEST(DatesCivil, MillisecondsStayWithinTheDay) {
  EXPECT_EQ(MillisecondsOfSerial(0.99999999999), 86399999);
  EXPECT_EQ(MillisecondsOfSerial(-0.5), 43200000);
  EXPECT_EQ(MillisecondsOfSerial(45000.25), 21600000);
}

TEST(DatesClock, LocalClockIsConsistent) {
  TLocalClock c = ReadLocalClock();
  TCivilDate d{};
  ASSERT_TRUE(SerialToCivil(c.Today, d));
  EXPECT_EQ(d.Year, c.Year);
  EXPECT_GE(c.TimeOfDay, 0);
  EXPECT_LT(c.TimeOfDay, 1);
}
