// JSON request bodies as the routes read them, and the small JSON answers
// that several routes share.
//
//   ReadBody(Request)          the body as text
//   NestsTooDeep(Text)         whether JSON text nests deeper than kMaxJsonDepth
//   ParseJsonObject(Body)      the body as a JSON object, or an error
//   JsonAsText(Value)          a member read as text
//   RequiredText(Object, Name) a member that must be there
//   ErrorJson(Message)         {"error":MESSAGE}
//   PayloadTooLarge()          the 413 answer of the limited routes
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "server/HttpTypes.h"

namespace mirelon {

// What a limited route (execute, options, storage) accepts in its body.
constexpr int64_t kBodyLimit = 524288;
// Deeper JSON is refused as invalid: every reader and writer of parsed
// values recurses once per level.
constexpr int kMaxJsonDepth = 512;

// Exact for valid JSON, which is all that matters: a text that this scan
// misreads is refused by the parser anyway.
bool NestsTooDeep(std::string_view Text);

// The body's bytes decoded as UTF-8, invalid sequences as U+FFFD; empty
// without a body.
std::u16string ReadBody(const TRequest& Request);

// Raises an Exception "JSON invalide" when Body is not JSON or nests deeper
// than kMaxJsonDepth, and another one when it is JSON but not an object.
nlohmann::ordered_json ParseJsonObject(std::u16string_view Body);

// A string as itself, any other value as its JSON text.
std::u16string JsonAsText(const nlohmann::ordered_json& Value);

// The member read as text; raises "Champ "NAME" manquant" when it is
// absent or null.
std::u16string RequiredText(const nlohmann::ordered_json& Object, std::string_view Name);

std::string ErrorJson(std::u16string_view Message);

// 413 {"error":"Payload too large"}.
TReply PayloadTooLarge();

}  // namespace mirelon
