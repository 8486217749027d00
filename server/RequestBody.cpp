#include "server/RequestBody.h"

#include <charconv>
#include <optional>

#include "server/HttpTypes.h"
#include "server/SocketStream.h"

namespace mirelon {
namespace {

constexpr size_t kMaxChunkLine = 4096;

TRequestBody Failed(TRequestBody::TStatus Status) {
  TRequestBody Body;
  Body.Status = Status;
  Body.CloseAfter = true;
  return Body;
}

std::optional<uint64_t> ReadHex(std::string_view Text) {
  Text = Text.substr(0, Text.find(';'));
  while (!Text.empty() && (Text.back() == ' ' || Text.back() == '\t')) Text.remove_suffix(1);
  uint64_t Value = 0;
  const auto [End, Error] = std::from_chars(Text.data(), Text.data() + Text.size(), Value, 16);
  if (Text.empty() || Error != std::errc() || End != Text.data() + Text.size()) return std::nullopt;
  return Value;
}

std::optional<uint64_t> ReadDecimal(std::string_view Text) {
  uint64_t Value = 0;
  const auto [End, Error] = std::from_chars(Text.data(), Text.data() + Text.size(), Value);
  if (Text.empty() || Error != std::errc() || End != Text.data() + Text.size()) return std::nullopt;
  return Value;
}

bool AppendBytes(TSocketStream& Stream, std::string& Into, size_t Count) {
  const size_t Start = Into.size();
  Into.resize(Start + Count);
  return Stream.ReadExact(Into.data() + Start, Count);
}

TRequestBody ReadChunked(TSocketStream& Stream, size_t MaxBytes) {
  TRequestBody Body;
  std::string Line;
  while (true) {
    if (!Stream.ReadLine(Line, kMaxChunkLine)) return Failed(TRequestBody::bsMalformed);
    const std::optional<uint64_t> Size = ReadHex(Line);
    if (!Size) return Failed(TRequestBody::bsMalformed);
    if (*Size == 0) break;
    if (*Size > MaxBytes - Body.Bytes.size()) return Failed(TRequestBody::bsTooLarge);
    if (!AppendBytes(Stream, Body.Bytes, *Size) || !Stream.ReadLine(Line, 2) || !Line.empty())
      return Failed(TRequestBody::bsMalformed);
  }
  // Trailer lines, then the empty line that ends the request.
  do
    if (!Stream.ReadLine(Line, kMaxChunkLine)) return Failed(TRequestBody::bsMalformed);
  while (!Line.empty());
  return Body;
}

// The one Content-Length of the request; several that differ are malformed.
std::optional<uint64_t> DeclaredLength(const httplib::Headers& Headers, bool& Malformed) {
  std::optional<uint64_t> Length;
  const auto [First, Last] = Headers.equal_range("Content-Length");
  for (auto It = First; It != Last; ++It) {
    const std::optional<uint64_t> Value = ReadDecimal(It->second);
    if (!Value || (Length && *Length != *Value)) Malformed = true;
    Length = Value;
  }
  return Length;
}

}  // namespace

TRequestBody ReadRequestBody(TSocketStream& Stream, const httplib::Headers& Headers, size_t MaxBytes) {
  bool Malformed = false;
  const std::optional<uint64_t> Length = DeclaredLength(Headers, Malformed);
  if (Headers.count("Transfer-Encoding")) {
    if (!SameAscii(Headers.find("Transfer-Encoding")->second, "chunked")) return Failed(TRequestBody::bsMalformed);
    TRequestBody Body = ReadChunked(Stream, MaxBytes);
    Body.CloseAfter = Body.CloseAfter || Length.has_value();  // both framings: trust neither for a next request
    return Body;
  }
  if (Malformed) return Failed(TRequestBody::bsMalformed);
  TRequestBody Body;
  if (!Length || *Length == 0) return Body;
  if (*Length > MaxBytes) return Failed(TRequestBody::bsTooLarge);
  if (!AppendBytes(Stream, Body.Bytes, *Length)) return Failed(TRequestBody::bsMalformed);
  return Body;
}

}  // namespace mirelon
