// The text form of numbers: the digits a pupil wrote, rounded to ten
// decimals, and every place that shows a number through it.
#include <gtest/gtest.h>

#include "TestRun.h"
#include "core/Conversions.h"

using namespace mirelon;
using namespace mirelon::test;

namespace {

struct TNumberForm {
  double Value;
  const char* Text;
};

const TNumberForm kForms[] = {
    // Numbers print as written, not as their binary expansion.
    {1234567.9, "1234567,9"},
    {123456789.123, "123456789,123"},
    {0.1, "0,1"},
    {100.01, "100,01"},
    {1.005, "1,005"},
    {2.675, "2,675"},
    {3.5, "3,5"},
    {0.1 + 0.2, "0,3"},
    // More than ten decimals round half away from zero on the decimal digits.
    {2.0 / 3, "0,6666666667"},
    {1.0 / 3, "0,3333333333"},
    {1.0 / 7, "0,1428571429"},
    {1.0 / 2048, "0,0004882813"},  // 0,00048828125: an exact tie
    {3.0 / 2048, "0,0014648438"},  // 0,00146484375
    {1.0 / 1024, "0,0009765625"},  // exactly ten decimals
    {2.00000000004, "2"},
    // Just below, at and just above a tie on the tenth decimal.
    {0.1234567890499999, "0,123456789"},
    {0.12345678905, "0,1234567891"},
    {0.1234567890500001, "0,1234567891"},
    {1.00000000005, "1,0000000001"},
    {12345.00000000005, "12345,0000000001"},
    // A carry that runs through every digit.
    {0.9999999999499999, "0,9999999999"},
    {0.99999999995, "1"},
    {8191.99999999995, "8192"},
    // Large numbers with decimals, up to 2^52 where doubles stop having any.
    {98765432109876.55, "98765432109876,55"},
    {1125899906842623.9, "1125899906842623,9"},
    {4503599627370494.5, "4503599627370494,5"},
    {4503599627370495.5, "4503599627370495,5"},
    {2251799813685247.75, "2251799813685247,8"},  // 17 digits: the shortest text that reads back
    // Negative numbers mirror the positive ones.
    {-0.5, "-0,5"},
    {-1234567.9, "-1234567,9"},
    {-123456789.123, "-123456789,123"},
    {-123456.25, "-123456,25"},
    {-2.0 / 3, "-0,6666666667"},
    {-1.0 / 7, "-0,1428571429"},
    {-1.0 / 2048, "-0,0004882813"},
    {-0.00000000005, "-0,0000000001"},
    {-0.99999999995, "-1"},
    // Tiny numbers round to 0, without a minus sign.
    {0.0000000001, "0,0000000001"},
    {0.00000000015, "0,0000000002"},
    {0.00000000005, "0,0000000001"},
    {0.000000000049, "0"},
    {1e-11, "0"},
    {-1e-11, "0"},
    {1e-300, "0"},
    {5e-324, "0"},
    {-5e-324, "0"},
    // Whole numbers: plain digits, up to 2^53 and past 64 bits.
    {0.0, "0"},
    {-0.0, "0"},
    {-3, "-3"},
    {4503599627370496.0, "4503599627370496"},
    {9007199254740991.0, "9007199254740991"},
    {9007199254740992.0, "9007199254740992"},
    {-9007199254740992.0, "-9007199254740992"},
    {1e20, "100000000000000000000"},
};

TEST(NumberText, Table) {
  for (const TNumberForm& f : kForms) EXPECT_EQ(Utf16ToUtf8(NumberToText(f.Value)), f.Text) << f.Text;
}

TEST(NumberText, RoundingToFewerDecimals) {
  char buf[kDecimalTextSize];
  auto Rounded = [&](double v, int decimals) { return std::string(buf, WriteRoundedDecimal(buf, v, decimals)); };
  EXPECT_EQ(Rounded(2.675, 2), "2.68");
  EXPECT_EQ(Rounded(9.995, 2), "10");
  EXPECT_EQ(Rounded(-9.995, 2), "-10");
  EXPECT_EQ(Rounded(0.5, 0), "1");
  EXPECT_EQ(Rounded(-0.5, 0), "-1");
  EXPECT_EQ(Rounded(0.49999999999999994, 0), "0");
  EXPECT_EQ(Rounded(-0.4, 0), "0");
  EXPECT_EQ(Rounded(99.96, 1), "100");
  EXPECT_EQ(Rounded(0.125, 15), "0.125");
  EXPECT_EQ(Rounded(42, 3), "42");
}

TEST(NumberText, ProgramsShowTheDigitsWritten) {
  EXPECT_EQ(RunProgram("affiche 123456789.123\naffiche 1234567,9\naffiche 1 / 2048\naffiche -1 / 100000000000\n"
                       "affiche 0 - 1234567.9")
                .Text(),
            "123456789,123\n1234567,9\n0,0004882813\n0\n-1234567,9");
  // Joining with a text, in an expression and in place.
  EXPECT_EQ(RunProgram("affiche 'n = ' + 1234567.9\naffiche 123456789.123 + '!'\n"
                       "t vaut 'x'\nt ajoute 1234567.9\naffiche t")
                .Text(),
            "n = 1234567,9\n123456789,123!\nx1234567,9");
}

TEST(NumberText, ComparisonsWithTexts) {
  // A number and a text compare through the number's text form.
  EXPECT_EQ(RunProgram("affiche '1234567,9' = 1234567.9\naffiche 123456789.123 + '' = '123456789,123'\n"
                       "affiche 1234567.9 >= '1234567,9'")
                .Text(),
            "vrai\nvrai\nvrai");
  // Two numbers still compare as numbers: exactly with "=", within their
  // tolerance in "selon", even when they print alike.
  EXPECT_EQ(RunProgram("affiche 1 / 3 = 0.3333333333\naffiche 1 / 3 + '' = 0.3333333333").Text(), "faux\nvrai");
  EXPECT_EQ(RunProgram("selon 0.1 + 0.2\ncas 0.3 :\naffiche 'proche'\nfin selon\n"
                       "selon 1 / 3\ncas 0.3333333333 :\naffiche 'trop loin'\nsinon selon :\naffiche 'autre'\nfin selon")
                .Text(),
            "proche\nautre");
}

TEST(NumberText, BuiltinsThatShowNumbers) {
  EXPECT_EQ(RunProgram("affiche convertir_texte(1234567.9)\naffiche longueur(convertir_texte(123456789.123))\n"
                       "affiche joindre([1234567.9, 1 / 2048], ' ; ')\naffiche vers_type('texte', 123456789.123)\n"
                       "affiche [1234567.9, 2 / 3]")
                .Text(),
            "1234567,9\n13\n1234567,9 ; 0,0004882813\n123456789,123\n[1234567,9, 0,6666666667]");
}

}  // namespace
