// The one browser tab the program opens is authenticated by a token drawn
// at every server start: the address "/auth?token=..." turns it into the
// session cookie "mirelon_session", which every later request carries.
#pragma once

#include <string>
#include <string_view>

#include "server/HttpTypes.h"

namespace mirelon {

inline constexpr std::string_view kSessionCookie = "mirelon_session";

// 64 lowercase hexadecimal characters from 32 bytes of the operating
// system's random generator. Raises mirelon::Exception when the generator
// fails: a guessable token is never made.
std::string NewSessionToken();

// The value of the "mirelon_session" cookie of the first "Cookie" header
// line (pieces trimmed, the name compared without ASCII case, a value cut
// at a second "="), or empty.
std::string ReadSessionCookie(const TRequest& Request);

// Equality whose time depends only on the lengths (UTF-16 code units).
bool SameToken(std::string_view A, std::string_view B);

// "Set-Cookie: mirelon_session=TOKEN; Path=/; HttpOnly; SameSite=Lax".
void SetSessionCookie(TReply& Reply, std::string_view Token);

}  // namespace mirelon
