#include "server/Auth.h"

#include <sys/random.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

#include "core/Errors.h"
#include "core/Text.h"

namespace mirelon {
namespace {

// Fills Bytes from the kernel's generator, retrying only when a signal
// interrupted the call.
void FillRandom(uint8_t* Bytes, size_t Count) {
  size_t Done = 0;
  while (Done < Count) {
    const ssize_t Got = getrandom(Bytes + Done, Count - Done, 0);
    if (Got < 0 && errno == EINTR) continue;
    if (Got <= 0)
      throw Exception(U("générateur aléatoire du système indisponible (") + U(std::strerror(errno)) + u")");
    Done += static_cast<size_t>(Got);
  }
}

bool IsTrimmed(unsigned char C) { return C <= ' ' || C == 0x7F; }

std::string_view TrimControls(std::string_view Text) {
  while (!Text.empty() && IsTrimmed(Text.front())) Text.remove_prefix(1);
  while (!Text.empty() && IsTrimmed(Text.back())) Text.remove_suffix(1);
  return Text;
}

}  // namespace

std::string NewSessionToken() {
  uint8_t Bytes[32];
  FillRandom(Bytes, sizeof Bytes);
  static const char kHex[] = "0123456789abcdef";
  std::string Token;
  for (uint8_t Byte : Bytes) {
    Token += kHex[Byte >> 4];
    Token += kHex[Byte & 15];
  }
  return Token;
}

std::string ReadSessionCookie(const TRequest& Request) {
  const std::string Line = Request.Header("Cookie");
  std::string_view Rest = Line;
  while (true) {
    const size_t End = Rest.find(';');
    const std::string_view Piece = TrimControls(Rest.substr(0, End));
    const size_t Equal = Piece.find('=');
    if (Equal != std::string_view::npos) {
      std::string_view Value = Piece.substr(Equal + 1);
      Value = Value.substr(0, Value.find('='));
      if (SameAscii(TrimControls(Piece.substr(0, Equal)), kSessionCookie)) return std::string(TrimControls(Value));
    }
    if (End == std::string_view::npos) return {};
    Rest.remove_prefix(End + 1);
  }
}

bool SameToken(std::string_view A, std::string_view B) {
  const std::u16string X = Utf8ToUtf16(A), Y = Utf8ToUtf16(B);
  if (X.size() != Y.size()) return false;
  // Every position is looked at: the time does not tell where they differ.
  char16_t Difference = 0;
  for (size_t I = 0; I < X.size(); ++I) Difference |= X[I] ^ Y[I];
  return Difference == 0;
}

void SetSessionCookie(TReply& Reply, std::string_view Token) {
  Reply.Headers.emplace_back("Set-Cookie",
                             std::string(kSessionCookie) + "=" + std::string(Token) + "; Path=/; HttpOnly; SameSite=Lax");
}

}  // namespace mirelon
