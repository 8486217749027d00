#include "json/JsonWriter.h"

#include <charconv>
#include <cmath>
#include <stdexcept>

#include <nlohmann/json.hpp>

#include "core/Text.h"

namespace mirelon {

namespace {

const char kHex[] = "0123456789ABCDEF";

void AppendUnicodeEscape(std::string& out, char16_t c) {
  out += "\\u";
  for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(c >> shift) & 0xF];
}

}  // namespace

void AppendJsonString(std::string& out, std::u16string_view s) {
  out += '"';
  for (char16_t c : s) {
    switch (c) {
      case u'"': out += "\\\""; break;
      case u'\\': out += "\\\\"; break;
      case u'/': out += "\\/"; break;
      case u'\b': out += "\\b"; break;
      case u'\t': out += "\\t"; break;
      case u'\n': out += "\\n"; break;
      case u'\f': out += "\\f"; break;
      case u'\r': out += "\\r"; break;
      default:
        if (c < 0x20 || c >= 0x80)
          AppendUnicodeEscape(out, c);
        else
          out += static_cast<char>(c);
    }
  }
  out += '"';
}

void TJsonWriter::BeforeValue() {
  if (FAfterKey) {
    FAfterKey = false;
    return;
  }
  if (FHasItems.empty()) return;
  if (FHasItems.back()) FOut += ',';
  FHasItems.back() = true;
}

TJsonWriter& TJsonWriter::Open(char c) {
  BeforeValue();
  FOut += c;
  FHasItems.push_back(false);
  return *this;
}

TJsonWriter& TJsonWriter::Close(char c) {
  if (!FHasItems.empty()) FHasItems.pop_back();
  FOut += c;
  return *this;
}

TJsonWriter& TJsonWriter::BeginObject() { return Open('{'); }
TJsonWriter& TJsonWriter::EndObject() { return Close('}'); }
TJsonWriter& TJsonWriter::BeginArray() { return Open('['); }
TJsonWriter& TJsonWriter::EndArray() { return Close(']'); }

TJsonWriter& TJsonWriter::Key(std::u16string_view name) {
  BeforeValue();
  AppendJsonString(FOut, name);
  FOut += ':';
  FAfterKey = true;
  return *this;
}

TJsonWriter& TJsonWriter::String(std::u16string_view s) {
  BeforeValue();
  AppendJsonString(FOut, s);
  return *this;
}

TJsonWriter& TJsonWriter::Integer(int64_t v) {
  BeforeValue();
  FOut += std::to_string(v);
  return *this;
}

TJsonWriter& TJsonWriter::Number(double v) {
  if (!std::isfinite(v)) return Null();
  if (v == std::trunc(v) && std::fabs(v) < 9.2e18) return Integer(static_cast<int64_t>(v));
  BeforeValue();
  char buf[32];
  auto res = std::to_chars(buf, buf + sizeof buf, v);  // shortest text that reads back the same
  FOut.append(buf, res.ptr);
  return *this;
}

TJsonWriter& TJsonWriter::Bool(bool v) {
  BeforeValue();
  FOut += v ? "true" : "false";
  return *this;
}

TJsonWriter& TJsonWriter::Null() {
  BeforeValue();
  FOut += "null";
  return *this;
}

template <typename J>
TJsonWriter& TJsonWriter::WriteParsed(const J& v) {
  switch (v.type()) {
    case J::value_t::object:
      BeginObject();
      for (const auto& [k, item] : v.items()) {
        Key(Utf8ToUtf16(k));
        WriteParsed(item);
      }
      return EndObject();
    case J::value_t::array:
      BeginArray();
      for (const auto& item : v) WriteParsed(item);
      return EndArray();
    case J::value_t::string: return String(Utf8ToUtf16(v.template get_ref<const std::string&>()));
    case J::value_t::boolean: return Bool(v.template get<bool>());
    case J::value_t::number_integer: return Integer(v.template get<int64_t>());
    case J::value_t::number_unsigned: {
      BeforeValue();
      FOut += std::to_string(v.template get<uint64_t>());
      return *this;
    }
    case J::value_t::number_float: return Number(v.template get<double>());
    case J::value_t::binary: throw std::invalid_argument("JSON binary values cannot be written");
    case J::value_t::null:
    case J::value_t::discarded: break;
  }
  return Null();
}

TJsonWriter& TJsonWriter::Value(const nlohmann::json& v) { return WriteParsed(v); }
TJsonWriter& TJsonWriter::Value(const nlohmann::ordered_json& v) { return WriteParsed(v); }

std::string ToJsonText(const nlohmann::json& v) { return TJsonWriter().Value(v).Text(); }
std::string ToJsonText(const nlohmann::ordered_json& v) { return TJsonWriter().Value(v).Text(); }

}  // namespace mirelon
