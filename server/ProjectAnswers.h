// The answers of the projects actions: {"ok":false,"error":...} for every
// refusal, and a writer already holding {"ok":true for a success.
#pragma once

#include <string_view>

#include "json/JsonWriter.h"
#include "server/HttpTypes.h"

namespace mirelon {

TReply ProjectError(int Status, std::u16string_view Message);

// Add the members, then finish with SuccessReply.
TJsonWriter SuccessWriter();
TReply SuccessReply(TJsonWriter& Writer);

}  // namespace mirelon
