#include "server/ErrorReply.h"

#include "core/Text.h"
#include "json/JsonWriter.h"

namespace mirelon {

TReply ErrorReply(int Status, std::string_view Utf8Message) {
  std::string Json = "{\"error\":";
  AppendJsonString(Json, Utf8ToUtf16(Utf8Message));
  return JsonReply(Status, Json + "}");
}

}  // namespace mirelon
