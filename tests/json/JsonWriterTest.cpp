#include "json/JsonWriter.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "core/Text.h"

namespace mirelon {
namespace {

std::string Str(std::u16string_view s) { return TJsonWriter().String(s).Text(); }

TEST(JsonWriterStrings, EscapesQuotesBackslashAndSlash) {
  EXPECT_EQ(Str(u"a\"b\\c/d"), R"("a\"b\\c\/d")");
}

TEST(JsonWriterStrings, ShortEscapesForTheFiveControlCharacters) {
  EXPECT_EQ(Str(u"\b\t\n\f\r"), R"("\b\t\n\f\r")");
}

TEST(JsonWriterStrings, OtherControlCharactersAsUnicodeEscapes) {
  EXPECT_EQ(Str(std::u16string(u"\x01\x1F") + u'\0'), R"("\u0001\u001F\u0000")");
  EXPECT_EQ(Str(u"\x7F"), "\"\x7F\"");  // DEL is ASCII and stays as it is
}

TEST(JsonWriterStrings, NonAsciiAsUpperCaseHexUnitsAndSurrogatePairs) {
  EXPECT_EQ(Str(u"é"), R"("\u00E9")");
  EXPECT_EQ(Str(u"\u0080\uFFFD"), R"("\u0080\uFFFD")");
  EXPECT_EQ(Str(u"😀"), R"("\uD83D\uDE00")");
  EXPECT_EQ(Str(u""), R"("")");
}

TEST(JsonWriterStrings, OutputReadsBackToTheSameText) {
  const std::u16string s = u"Ligne 3: « été » \"x\"/\\ \x02rouge\x03 😀\r\n";
  const auto parsed = nlohmann::json::parse(Str(s));
  EXPECT_EQ(Utf8ToUtf16(parsed.get<std::string>()), s);
}

TEST(JsonWriterBuilder, PlacesCommasAndColonsInNestedContainers) {
  TJsonWriter w;
  w.BeginObject().Key(u"a").BeginArray().Integer(1).BeginObject().EndObject().BeginArray().EndArray().EndArray();
  w.Key(u"b").Bool(false).Key(u"c").Null().Key(u"d").String(u"x").EndObject();
  EXPECT_EQ(w.Text(), R"({"a":[1,{},[]],"b":false,"c":null,"d":"x"})");
}

TEST(JsonWriterBuilder, KeysAreEscapedLikeStrings) {
  EXPECT_EQ(TJsonWriter().BeginObject().Key(u"clé/").Integer(0).EndObject().Text(), R"({"cl\u00E9\/":0})");
}

TEST(JsonWriterNumbers, IntegralValuesWithoutDecimalPoint) {
  EXPECT_EQ(TJsonWriter().Number(3.0).Text(), "3");
  EXPECT_EQ(TJsonWriter().Number(-0.0).Text(), "0");
  EXPECT_EQ(TJsonWriter().Number(9007199254740992.0).Text(), "9007199254740992");
  EXPECT_EQ(TJsonWriter().Integer(-42).Text(), "-42");
}

TEST(JsonWriterNumbers, FractionsReadBackExactlyAndNonFiniteBecomesNull) {
  EXPECT_EQ(TJsonWriter().Number(0.1).Text(), "0.1");
  EXPECT_EQ(nlohmann::json::parse(TJsonWriter().Number(1.0 / 3).Text()).get<double>(), 1.0 / 3);
  EXPECT_EQ(TJsonWriter().Number(1e300 * 1e10).Text(), "null");
  EXPECT_EQ(TJsonWriter().Number(std::nan("")).Text(), "null");
}

TEST(JsonWriterParsedValues, RewritesParsedJsonAsAscii) {
  const auto v = nlohmann::ordered_json::parse(R"({"nom":"Élodie","n":[1,-2,2.5,true,null],"u":18446744073709551615})");
  EXPECT_EQ(ToJsonText(v), R"({"nom":"\u00C9lodie","n":[1,-2,2.5,true,null],"u":18446744073709551615})");
}

TEST(JsonWriterParsedValues, KeepsMemberOrderOfOrderedValues) {
  const auto v = nlohmann::ordered_json::parse(R"({"z":1,"a":{"y":"/","b":[]}})");
  EXPECT_EQ(ToJsonText(v), R"({"z":1,"a":{"y":"\/","b":[]}})");
}

TEST(JsonWriterParsedValues, ParsedValueInsideABuiltObject) {
  const auto v = nlohmann::json::parse(R"(["é"])");
  EXPECT_EQ(TJsonWriter().BeginObject().Key(u"k").Value(v).Key(u"x").Integer(1).EndObject().Text(),
            R"({"k":["\u00E9"],"x":1})");
}

}  // namespace
}  // namespace mirelon
