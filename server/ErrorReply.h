// The JSON answer {"error":"..."} of a refused request, its message written
// by the server's ASCII-only rule.
#pragma once

#include <string_view>

#include "server/HttpTypes.h"

namespace mirelon {

TReply ErrorReply(int Status, std::string_view Utf8Message);

}  // namespace mirelon
