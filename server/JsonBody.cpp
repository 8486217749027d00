#include "server/JsonBody.h"

#include "core/Errors.h"
#include "core/Text.h"
#include "json/JsonWriter.h"

namespace mirelon {

bool NestsTooDeep(std::string_view Text) {
  int Depth = 0;
  bool InString = false, Escaped = false;
  for (char C : Text) {
    if (InString) {
      if (Escaped)
        Escaped = false;
      else if (C == '\\')
        Escaped = true;
      else if (C == '"')
        InString = false;
    } else if (C == '"') {
      InString = true;
    } else if (C == '[' || C == '{') {
      if (++Depth > kMaxJsonDepth) return true;
    } else if (C == ']' || C == '}') {
      --Depth;
    }
  }
  return false;
}

std::u16string ReadBody(const TRequest& Request) { return Utf8ToUtf16(Request.Body); }

nlohmann::ordered_json ParseJsonObject(std::u16string_view Body) {
  const std::string Text = Utf16ToUtf8(Body);
  if (NestsTooDeep(Text)) throw Exception(u"JSON invalide");
  nlohmann::ordered_json Json = nlohmann::ordered_json::parse(Text, nullptr, false);
  if (Json.is_discarded()) throw Exception(u"JSON invalide");
  if (!Json.is_object()) throw Exception(u"Le corps de la requête n'est pas un objet JSON.");
  return Json;
}

std::u16string JsonAsText(const nlohmann::ordered_json& Value) {
  if (Value.is_string()) return Utf8ToUtf16(Value.get_ref<const std::string&>());
  return Utf8ToUtf16(ToJsonText(Value));
}

std::u16string RequiredText(const nlohmann::ordered_json& Object, std::string_view Name) {
  const auto Member = Object.find(Name);
  if (Member == Object.end() || Member->is_null()) throw Exception(u"Champ \"" + Utf8ToUtf16(Name) + u"\" manquant");
  return JsonAsText(*Member);
}

std::string ErrorJson(std::u16string_view Message) {
  return TJsonWriter().BeginObject().Key(u"error").String(Message).EndObject().Text();
}

TReply PayloadTooLarge() { return JsonReply(413, R"({"error":"Payload too large"})"); }

}  // namespace mirelon
