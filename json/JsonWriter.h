// The JSON that the server writes (answers, program storage, options file):
// compact and ASCII-only. Inside strings every UTF-16 unit from U+0080 up and
// every control character is written as \uXXXX (upper-case hex), and '/' as \/.
// Reading JSON is left to nlohmann::json; values read with it can be written
// back through Value().
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json_fwd.hpp>

namespace mirelon {

// Appends S as a quoted JSON string.
void AppendJsonString(std::string& out, std::u16string_view s);

// A builder that writes one JSON text in order; commas and colons are placed
// by the builder. Every call returns the builder so that calls can be chained:
//   w.BeginObject().Key(u"ok").Bool(true).EndObject();
class TJsonWriter {
 public:
  TJsonWriter& BeginObject();
  TJsonWriter& EndObject();
  TJsonWriter& BeginArray();
  TJsonWriter& EndArray();
  TJsonWriter& Key(std::u16string_view name);
  TJsonWriter& String(std::u16string_view s);
  TJsonWriter& Number(double v);  // integral values without a decimal point; NaN and infinities as null
  TJsonWriter& Integer(int64_t v);
  TJsonWriter& Bool(bool v);
  TJsonWriter& Null();
  // A value parsed by nlohmann::json (strings are UTF-8 there), rewritten by our rule.
  TJsonWriter& Value(const nlohmann::json& v);
  TJsonWriter& Value(const nlohmann::ordered_json& v);

  const std::string& Text() const { return FOut; }

 private:
  void BeforeValue();
  TJsonWriter& Open(char c);
  TJsonWriter& Close(char c);
  template <typename J>
  TJsonWriter& WriteParsed(const J& v);

  std::string FOut;
  std::vector<bool> FHasItems;  // one entry per open object or array
  bool FAfterKey = false;
};

// The whole JSON text of a parsed value, written by our rule.
std::string ToJsonText(const nlohmann::json& v);
std::string ToJsonText(const nlohmann::ordered_json& v);

}  // namespace mirelon
