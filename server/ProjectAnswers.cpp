#include "server/ProjectAnswers.h"

namespace mirelon {

TReply ProjectError(int Status, std::u16string_view Message) {
  TJsonWriter Writer;
  Writer.BeginObject().Key(u"ok").Bool(false).Key(u"error").String(Message).EndObject();
  return JsonReply(Status, Writer.Text());
}

TJsonWriter SuccessWriter() {
  TJsonWriter Writer;
  Writer.BeginObject().Key(u"ok").Bool(true);
  return Writer;
}

TReply SuccessReply(TJsonWriter& Writer) { return JsonReply(200, Writer.EndObject().Text()); }

}  // namespace mirelon
