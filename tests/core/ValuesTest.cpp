#include <gtest/gtest.h>

#include <cmath>

#include "TestRun.h"
#include "core/Conversions.h"

using namespace mirelon;
using namespace mirelon::test;

namespace {
TMirelonValue T(const char* s) { return TMirelonValue::Text(Utf8ToUtf16(s)); }
TMirelonValue N(double v) { return TMirelonValue::Number(v); }
std::string Txt(const TMirelonValue& v) { return Utf16ToUtf8(ValToText(v)); }
}  // namespace

TEST(ValuesRange, TwoPowerFiftyThree) {
  EXPECT_EQ(Out("affiche 9007199254740992"), "9007199254740992");
  EXPECT_EQ(Out("affiche 9007199254740993"), "9007199254740992");
  EXPECT_EQ(Out("affiche 9007199254740992 + 1"), "9007199254740992");
  EXPECT_EQ(Err("affiche 9007199254740994"), "Nombre trop grand : \"9007199254740994\" dépasse 2^53");
  EXPECT_EQ(Err("affiche 9007199254740992 + 2"),
            "Nombre trop grand : au-delà de 9 007 199 254 740 992 (2^53), les nombres ne sont plus exacts");
  EXPECT_THROW(TMirelonValue::Number(INFINITY), EMirelonError);
  EXPECT_THROW(TMirelonValue::Number(NAN), EMirelonError);
}

TEST(ValuesText, NumberForms) {
  EXPECT_EQ(Out("affiche 10 / 4\naffiche 5 / 2 * 2\naffiche 2 / 3\naffiche -0.5\naffiche 0.1 + 0.2\naffiche 1 / 3"),
            "2,5\n5\n0,6666666667\n-0,5\n0,3\n0,3333333333");
}

TEST(ValuesText, CollectionsCutAfter400Characters) {
  IMirelonArray a = TMirelonArray::New();
  for (int i = 0; i < 200; ++i) a->Add(T("abc"));
  std::string s = Txt(TMirelonValue::ArrayVal(a));
  EXPECT_EQ(s.substr(s.size() - 5), " ...]");
  EXPECT_EQ(s.size(), 409u);  // 81 elements make 404 characters, then " ...]"
  IMirelonArray big = TMirelonArray::New();
  big->Add(TMirelonValue::Text(std::u16string(500, u'x')));
  EXPECT_EQ(Txt(TMirelonValue::ArrayVal(big)), "[" + std::string(500, 'x') + " ...]");
  EXPECT_EQ(Out("t vaut ['a', 'b']\naffiche t"), "[a, b]");
}

TEST(ValuesText, SelfContainingCollectionsStop) {
  EXPECT_EQ(Out("t vaut [1]\nt ajoute t\naffiche t"), "[1, [...]]");
  EXPECT_EQ(Out("e est un enregistrement\ne.moi vaut e\naffiche e"), "{moi: {...}}");
}

TEST(ValuesConvert, ToNumberAndToBool) {
  EXPECT_EQ(ToNumber(T("douze"), 1), 0);
  EXPECT_EQ(ToNumber(T("12,5"), 1), 12.5);
  EXPECT_EQ(ToNumber(T(" 3.5 "), 1), 3.5);
  EXPECT_EQ(ToNumber(T("1.234,5"), 1), 0);
  EXPECT_EQ(ToNumber(TMirelonValue::BoolVal(true), 1), 1);
  EXPECT_THROW(ToNumber(TMirelonValue::DateVal(3), 1), EMirelonError);
  for (const char* f : {"FAUX", "False", "0", "", "   "}) EXPECT_FALSE(ToBool(T(f))) << f;
  for (const char* t : {"0.0", "non", "faux!", " vrai "}) EXPECT_TRUE(ToBool(T(t))) << t;
  EXPECT_FALSE(ToBool(TMirelonValue::ArrayVal(TMirelonArray::New())));
  EXPECT_TRUE(ToBool(TMirelonValue::RecordVal(TMirelonRecord::New())));
  EXPECT_FALSE(ToBool(TMirelonValue::DateVal(40000)));
}

TEST(ValuesConvert, Equality) {
  EXPECT_TRUE(ValuesEqual(N(2), T("2,0")));
  EXPECT_TRUE(ValuesEqual(N(0.1 + 0.2), N(0.3)));
  EXPECT_FALSE(ValuesEqual(T("Abc"), T("abc")));
  IMirelonArray a = TMirelonArray::New(), b = TMirelonArray::New();
  EXPECT_FALSE(ValuesEqual(TMirelonValue::ArrayVal(a), TMirelonValue::ArrayVal(b)));
  EXPECT_TRUE(ValuesEqual(TMirelonValue::ArrayVal(a), TMirelonValue::ArrayVal(a)));
  EXPECT_TRUE(ValuesEqual(TMirelonValue::BoolVal(true), T("vrai")));
  EXPECT_FALSE(ValuesEqual(N(1), TMirelonValue::BoolVal(true)));
}

TEST(ValuesConvert, NumberLiteralErrors) {
  EXPECT_THROW(ParseNumberLiteral(u"abc"), EMirelonError);
  EXPECT_EQ(ParseNumberLiteral(u"3,5"), 3.5);
  double v;
  EXPECT_TRUE(TryParseNumber(u" 1e3 ", v));
  EXPECT_EQ(v, 1000);
  EXPECT_FALSE(TryParseNumber(u"1e", v));
  EXPECT_EQ(ParseLooseNumber(u"1e400"), HUGE_VAL);  // unchecked here; arithmetic refuses it later
}

TEST(ValuesRecords, FieldNamesIgnoreCase) {
  EXPECT_EQ(Out("e est un enregistrement\ne.Nom vaut 'A'\ne.nom vaut 'B'\naffiche e.NOM\naffiche e"), "B\n{Nom: B}");
  EXPECT_EQ(Out("e est un enregistrement\ne.Élève vaut 1\naffiche e.élève"), "1");
  EXPECT_EQ(Err("e est un enregistrement\ne.eleve vaut 1\naffiche e.élève"), "Champ inconnu : \"élève\"");
}

TEST(ValuesDates, DeclaredDefaults) {
  EXPECT_EQ(Out("d est une date\nh est une heure\naffiche d\naffiche h"), "30/12/1899\n00:00:00");
}

TEST(ValuesMemory, DeepNestingIsFreedWithoutRecursion) {
  // A chain of arrays a million deep, built and dropped outside any program.
  IMirelonArray head = TMirelonArray::New();
  for (int i = 0; i < 1000000; ++i) {
    IMirelonArray outer = TMirelonArray::New();
    outer->Add(TMirelonValue::ArrayVal(std::move(head)));
    head = std::move(outer);
  }
  head.Reset();
  SUCCEED();
}

TEST(ValuesMemory, TextLimit) {
  TRunResult r = RunProgram("s vaut 'ab'\nrépète 30 fois\n  s vaut s + s\nfin répète");
  EXPECT_TRUE(r.Language);
  EXPECT_EQ(r.ErrorLine, 3);
  EXPECT_NE(r.Error.find("Texte trop long"), std::string::npos) << r.Error;
}
