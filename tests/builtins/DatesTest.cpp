#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/Interpreter.h"
#include "core/builtins/Builtins.h"
#include "core/Text.h"

using namespace mirelon;

namespace {

// The text with every digit as "9": the shape of a clock or calendar value.
std::string DigitsAsNines(std::string Text) {
  std::replace_if(Text.begin(), Text.end(), [](char C) { return C >= '0' && C <= '9'; }, '9');
  return Text;
}

// The output of a program, lines joined by "\n", or the message of its error.
std::string RunProgram(std::string_view program) {
  TMirelon M{StandardBuiltins()};
  std::string out;
  M.OnOutput = [&](const std::u16string& line) { out += (out.empty() ? "" : "\n") + Utf16ToUtf8(line); };
  try {
    M.Execute(Utf8ToUtf16(program));
  } catch (const EMirelonError& e) {
    return Utf16ToUtf8(e.Message());
  }
  return out;
}

std::string Show(std::string_view expr) { return RunProgram("affiche " + std::string(expr)); }

struct TCase {
  const char* Expr;
  const char* Expected;  // output, or the full error message
};

void Check(std::initializer_list<TCase> cases) {
  for (const TCase& c : cases) EXPECT_EQ(Show(c.Expr), c.Expected) << c.Expr;
}

}  // namespace

TEST(DatesProgram, DateVariablesAndTheLineOfAnError) {
  EXPECT_EQ(RunProgram("d est une date\n"
                "d vaut vers_date('31/01/2024')\n"
                "affiche ajouter_mois(d, 1)\n"
                "affiche format_date(d, '\"le\" j mmmm')\n"
                "affiche jours_entre(d, ajouter_années(d, 1))"),
            "29/02/2024\nle 31 janvier\n366");
  EXPECT_EQ(RunProgram("x vaut 1\n\naffiche vers_date('x')"), "Ligne 3: vers_date : date invalide");
}

TEST(DatesClock, KindsAndTextForms) {
  Check({
      {"type_de(maintenant())", "heure"},
      {"type_de(aujourd_hui())", "date"},
      {"type_de(hier())", "date"},
      {"jours_entre(hier(), demain())", "2"},
      {"jours_entre(aujourd_hui(), demain())", "1"},
      {"maintenant(1)", "Ligne 1: maintenant() ne prend aucun argument"},
      {"aujourd_hui(1)", "Ligne 1: aujourd_hui() ne prend aucun argument"},
      {"demain(1, 2)", "Ligne 1: demain() ne prend aucun argument"},
  });
  EXPECT_EQ(DigitsAsNines(Show("maintenant()")), "99:99:99");
  EXPECT_EQ(DigitsAsNines(Show("aujourd_hui()")), "99/99/9999");
}

TEST(DatesConvert, AlwaysTexts) {
  Check({
      {"convertir_date(45000)", "15/03/2023"},
      {"convertir_date(45000.9)", "15/03/2023"},
      {"convertir_date('pas une date')", "pas une date"},
      {"convertir_date(' 5/3/2024 ')", "05/03/2024"},
      {"convertir_date('15/03/2023 18:00')", "15/03/2023"},
      {"convertir_date(vrai)", "vrai"},
      {"type_de(convertir_date(45000))", "texte"},
      {"convertir_heure(0.75)", "18:00:00"},
      {"convertir_heure(45000.5)", "12:00:00"},
      {"convertir_heure('14:30')", "14:30:00"},
      {"convertir_heure('15/03/2023 18:00')", "18:00:00"},
      {"convertir_heure('15/03/2023')", "00:00:00"},
      {"convertir_heure('25:00')", "25:00"},
      {"convertir_date()", "Ligne 1: convertir_date(x) attend 1 argument"},
      {"convertir_heure(1, 2)", "Ligne 1: convertir_heure(x) attend 1 argument"},
  });
}

TEST(DatesConvert, HugeNumbersAreInvalidDates) {
  Check({
      {"convertir_date(9007199254740991)", "Ligne 1: convertir_date : date invalide"},
      {"convertir_date(-693594)", "Ligne 1: convertir_date : date invalide"},
      {"convertir_date(2958465)", "31/12/9999"},
      {"convertir_heure(9007199254740991)", "00:00:00"},
  });
}

TEST(DatesConvert, VersDateAndVersHeure) {
  Check({
      {"vers_date('15/03/2023')", "15/03/2023"},
      {"type_de(vers_date('15/03/2023'))", "date"},
      {"vers_date(vers_date('1/2/2000'))", "01/02/2000"},
      {"vers_date(45000)", "Ligne 1: vers_date : attend une date ou un texte"},
      {"vers_date('31/02/2024')", "Ligne 1: vers_date : date invalide"},
      {"vers_date('15/03/2023 10:00')", "Ligne 1: vers_date : date invalide"},
      {"vers_date()", "Ligne 1: vers_date(texte) attend 1 argument"},
      {"vers_heure('2:30 PM')", "14:30:00"},
      {"type_de(vers_heure('14'))", "heure"},
      {"vers_heure(vers_heure('10:00'))", "10:00:00"},
      {"vers_heure(0.5)", "Ligne 1: vers_heure : attend une heure ou un texte"},
      {"vers_heure('12:60')", "Ligne 1: vers_heure : heure invalide"},
      {"vers_heure(1, 2)", "Ligne 1: vers_heure(texte) attend 1 argument"},
  });
}

TEST(DatesParts, DateComponents) {
  Check({
      {"jour_semaine('01/01/2024')", "1"},
      {"jour_semaine('07/01/2024')", "7"},
      {"jour_semaine(vers_date('03/01/2024'))", "3"},
      {"semaine_de('01/01/2021')", "53"},
      {"semaine_de('04/01/2021')", "1"},
      {"semaine_de('31/12/2024')", "1"},
      {"semaine_de('31/12/2026')", "53"},
      {"année_de('15/03/2023')", "2023"},
      {"annee_de('1/1/0001')", "1"},
      {"mois_de('15/03/2023')", "3"},
      {"jour_de('15/03/2023')", "15"},
  });
}

TEST(DatesParts, TimeComponents) {
  Check({
      {"heure_de('14:05:09')", "14"},
      {"minute_de('14:05:09')", "5"},
      {"seconde_de('14:05:09')", "9"},
      {"heure_de('14')", "14"},
      {"heure_de('12 AM')", "0"},
      {"seconde_de(vers_heure('23:59:59,999'))", "59"},
      {"heure_de('25:00')", "Ligne 1: heure_de : heure invalide"},
  });
}

TEST(DatesParts, MessagesAndWhereTheyPoint) {
  Check({
      {"jour_semaine(5)", "jour_semaine : attend une date ou un texte"},
      {"jour_semaine('x')", "Ligne 1: jour_semaine : date invalide"},
      {"jour_semaine()", "Ligne 1: jour_semaine(date) attend 1 argument"},
      {"année_de()", "année_de(date) attend 1 argument"},
      {"annee_de(maintenant())", "année_de : attend une date ou un texte"},
      {"année_de('32/01/2024')", "Ligne 1: année_de : date invalide"},
      {"mois_de(1, 2)", "Ligne 1: mois_de(date) attend 1 argument"},
      {"mois_de(vrai)", "Ligne 1: mois_de : attend une date ou un texte"},
      {"jour_de('')", "Ligne 1: jour_de : date invalide"},
      {"semaine_de(3)", "Ligne 1: semaine_de : attend une date ou un texte"},
      {"heure_de()", "Ligne 1: heure_de(h) attend 1 argument"},
      {"heure_de(aujourd_hui())", "Ligne 1: heure_de : attend une heure ou un texte"},
      {"minute_de(5)", "minute_de : attend une heure ou un texte"},
      {"minute_de('5:61')", "Ligne 1: minute_de : heure invalide"},
      {"seconde_de([1])", "Ligne 1: seconde_de : attend une heure ou un texte"},
  });
}

TEST(DatesParts, DatesBeyondTheCalendarAreInvalid) {
  Check({
      {"année_de(ajouter_jours('31/12/9999', 0))", "9999"},
      {"année_de(vers_type('date', 9007199254740991))", "Ligne 1: année_de : date invalide"},
      {"format_date(vers_type('date', -9007199254740991), 'jj')", "Ligne 1: format_date : date invalide"},
  });
}

TEST(DatesLeapYear, YearsDatesAndTexts) {
  Check({
      {"est_bissextile(2000)", "vrai"},
      {"est_bissextile(1900)", "faux"},
      {"est_bissextile(2024.9)", "vrai"},
      {"est_bissextile('2024')", "vrai"},
      {"est_bissextile(' 2023 ')", "faux"},
      {"est_bissextile('$7E8')", "vrai"},
      {"est_bissextile('0x7e8')", "vrai"},
      {"est_bissextile('29/02/2024')", "vrai"},
      {"est_bissextile(vers_date('01/01/1900'))", "faux"},
      {"est_bissextile(0)", "Ligne 1: est_bissextile : année hors limites (1 à 9999)"},
      {"est_bissextile('-4')", "Ligne 1: est_bissextile : année hors limites (1 à 9999)"},
      {"est_bissextile(10000)", "Ligne 1: est_bissextile : année hors limites (1 à 9999)"},
      {"est_bissextile('abc')", "Ligne 1: est_bissextile : attend une année ou une date"},
      {"est_bissextile('99999999999')", "Ligne 1: est_bissextile : attend une année ou une date"},
      {"est_bissextile(maintenant())", "Ligne 1: est_bissextile : attend une année ou une date"},
      {"est_bissextile()", "Ligne 1: est_bissextile(annee) attend 1 argument"},
  });
}

TEST(DatesBetween, NeverNegativeAndWithoutLine) {
  Check({
      {"jours_entre('01/01/2024', '01/03/2024')", "60"},
      {"jours_entre('01/03/2024', '01/01/2024')", "60"},
      {"jours_entre('01/01/2024 23:00', '02/01/2024 01:00')", "1"},
      {"jours_entre(vers_date('01/01/2024'), '31/12/2023')", "1"},
      {"jours_entre(5, '01/01/2024')", "jours_entre: le premier argument doit être une date ou un texte"},
      {"jours_entre('x', 5)", "jours_entre: date invalide (argument 1)"},
      {"jours_entre('01/01/2024', 5)", "jours_entre: le second argument doit être une date ou un texte"},
      {"jours_entre('01/01/2024', '32/01/2024')", "jours_entre: date invalide (argument 2)"},
      {"jours_entre('01/01/2024')", "jours_entre(date1, date2) attend 2 arguments"},
  });
}

TEST(DatesAdd, MonthEndsAndLeapYears) {
  Check({
      {"ajouter_mois('31/01/2024', 1)", "29/02/2024"},
      {"ajouter_mois('31/01/2025', 1)", "28/02/2025"},
      {"ajouter_mois('31/03/2024', -1)", "29/02/2024"},
      {"ajouter_mois('15/01/2024', -13)", "15/12/2022"},
      {"ajouter_mois('15/01/2024', 2.7)", "15/03/2024"},
      {"ajouter_années('29/02/2024', 4)", "29/02/2028"},
      {"ajouter_annees('29/02/2024', 1)", "28/02/2025"},
      {"ajouter_jours('28/02/2023', 1)", "01/03/2023"},
      {"ajouter_jours('01/03/2024', -1)", "29/02/2024"},
      {"type_de(ajouter_jours(aujourd_hui(), 3))", "date"},
  });
}

TEST(DatesAdd, ResultsBeyondTheCalendarAreRefused) {
  Check({
      {"ajouter_jours('31/12/9999', 1)", "Ligne 1: ajouter_jours : date invalide"},
      {"ajouter_jours('01/01/2024', 9007199254740991)", "Ligne 1: ajouter_jours : date invalide"},
      {"ajouter_jours('01/01/0001', -1)", "Ligne 1: ajouter_jours : date invalide"},
      {"ajouter_mois('01/12/9999', 1)", "Ligne 1: ajouter_mois : date invalide"},
      {"ajouter_mois('01/01/2024', 9007199254740991)", "Ligne 1: ajouter_mois : date invalide"},
      {"ajouter_mois('01/01/2024', -9007199254740991)", "Ligne 1: ajouter_mois : date invalide"},
      {"ajouter_mois('01/01/2024', '-1e300')", "Ligne 1: ajouter_mois : date invalide"},
      {"ajouter_jours('01/01/2024', '1e300')", "Ligne 1: ajouter_jours : date invalide"},
      {"ajouter_années('01/01/9999', 1)", "Ligne 1: ajouter_années : date invalide"},
      {"ajouter_années('01/01/2024', 9007199254740991)", "Ligne 1: ajouter_années : date invalide"},
  });
}

TEST(DatesAdd, TimesWrapIntoOneDay) {
  Check({
      {"ajouter_heures('23:30', 1)", "00:30:00"},
      {"ajouter_heures('22:00', 5)", "03:00:00"},
      {"ajouter_heures('01:00', -3)", "22:00:00"},
      {"ajouter_heures('12:00', -40)", "20:00:00"},
      {"ajouter_heures('10:00', 2.9)", "12:00:00"},
      {"ajouter_heures('10:00', 9007199254740991)", "17:00:00"},
      {"ajouter_minutes('00:10', -20)", "23:50:00"},
      {"ajouter_minutes('10:00:30', 1440)", "10:00:30"},
      {"ajouter_minutes('10:00', -9007199254740991)", "09:29:00"},
      {"type_de(ajouter_minutes(maintenant(), 1))", "heure"},
  });
}

TEST(DatesAdd, Messages) {
  Check({
      {"ajouter_jours('01/01/2024')", "ajouter_jours(date, n) attend 2 arguments"},
      {"ajouter_jours(5, 1)", "ajouter_jours : le premier argument doit être une date ou un texte"},
      {"ajouter_jours('x', 1)", "Ligne 1: ajouter_jours : date invalide"},
      {"ajouter_mois('01/01/2024')", "Ligne 1: ajouter_mois(date, n) attend 2 arguments"},
      {"ajouter_mois(maintenant(), 1)", "Ligne 1: ajouter_mois : le premier argument doit être une date ou un texte"},
      {"ajouter_années(1, 2, 3)", "Ligne 1: ajouter_années(date, n) attend 2 arguments"},
      {"ajouter_annees('', 1)", "Ligne 1: ajouter_années : date invalide"},
      {"ajouter_heures('10:00')", "Ligne 1: ajouter_heures(heure, n) attend 2 arguments"},
      {"ajouter_heures(aujourd_hui(), 1)",
       "Ligne 1: ajouter_heures : le premier argument doit être une heure ou un texte"},
      {"ajouter_minutes('24:00', 1)", "Ligne 1: ajouter_minutes : heure invalide"},
      {"ajouter_minutes(0.5, 1)", "Ligne 1: ajouter_minutes : le premier argument doit être une heure ou un texte"},
  });
}

TEST(DatesFormat, FrenchPatterns) {
  Check({
      {"format_date('29/05/2026', 'jj/mm/aaaa')", "29/05/2026"},
      {"format_date('29/05/2026', 'aaaa-mm-jj')", "2026-05-29"},
      {"format_date('29/05/2026', 'jj mmmm aaaa')", "29 mai 2026"},
      {"format_date('05/03/2024', 'j/m/aa')", "5/3/24"},
      {"format_date('05/03/2024', 'jjjj j mmm')", "mardi 5 mars"},
      {"format_date('01/02/2024', 'jjj jj mmm')", "jeu. 01 févr."},
      {"format_date('01/01/0005', 'aaaa')", "0005"},
      {"format_date('05/03/2024', 'dd/MM/yyyy')", "05/03/2024"},
      {"format_date('05/03/2024', 'hh:mm:ss')", "00:00:00"},
      {"format_date('05/03/2024', 'h:m mm')", "0:0 03"},
      {"format_date(vers_date('05/03/2024'), 'jj')", "05"},
  });
}

TEST(DatesFormat, QuotedTextIsWrittenAsItStands) {
  Check({
      {"format_date('05/03/2024', '\"jour\" j')", "jour 5"},
      {"format_date('05/03/2024', \"'le' j 'janvier'\")", "le 5 janvier"},
      {"format_date('05/03/2024', '\"aaaa\" aaaa')", "aaaa 2024"},
      {"format_date('05/03/2024', '\"it''s\" j')", "it's 5"},
  });
}

TEST(DatesFormat, Messages) {
  Check({
      {"format_date(aujourd_hui(), '')", "Ligne 1: format_date : le motif ne doit pas être vide"},
      {"format_date(aujourd_hui(), '  ')", "Ligne 1: format_date : le motif ne doit pas être vide"},
      {"format_date(maintenant(), 'hh')", "Ligne 1: format_date : le premier argument doit être une date ou un texte"},
      {"format_date(45000, 'jj')", "Ligne 1: format_date : le premier argument doit être une date ou un texte"},
      {"format_date('05/03/2024 10:00', 'jj')", "Ligne 1: format_date : date invalide"},
      {"format_date('05/03/2024', 'jj \"mois')", "Ligne 1: format_date : motif invalide \"jj \"mois\""},
      {"format_date('05/03/2024')", "Ligne 1: format_date(date, motif) attend 2 arguments"},
  });
}
