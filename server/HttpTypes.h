// A request as the routes read it and an answer as they write it, apart
// from the HTTP library: the transport (HttpServer) fills a TRequest and
// sends the TReply, and every route is a function from one to the other.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace mirelon {

class TConsoleLog;

using THeaderList = std::vector<std::pair<std::string, std::string>>;

struct TRequest {
  std::string Method;  // as sent ("GET", "post", "FOO" ...)
  std::string Path;    // decoded, without the query string
  THeaderList Query;   // decoded query parameters, in order
  THeaderList Headers;
  std::string ContentType;     // the declared Content-Type, or empty
  int64_t ContentLength = -1;  // the declared Content-Length; -1 without one
  std::string Body;            // the bytes received (the transport caps them)

  // The first header (name compared without ASCII case) or query parameter
  // of that name; empty when there is none.
  std::string Header(std::string_view Name) const;
  bool HasHeader(std::string_view Name) const;
  std::string QueryParam(std::string_view Name) const;
};

struct TReply {
  int Status = 200;
  std::string ContentType;  // without its charset: "application/json"
  std::string Charset;      // "utf-8" or empty
  THeaderList Headers;      // extra header lines, sent in order
  std::string Location;     // a redirect's target
  std::string Body;
  bool BodyIsStream = false;  // sent bytes rather than a text: its trace counts 0

  // Replaces a header of that name (without ASCII case), or adds it.
  void SetHeader(std::string_view Name, std::string Value);
  void RemoveHeader(std::string_view Name);
  // "type; charset=utf-8", or the bare type without a charset.
  std::string FullContentType() const;
};

// Content type "application/json", charset "utf-8", JsonText as the body.
TReply JsonReply(int Status, std::string JsonText);
// Content type "text/plain", charset "utf-8".
TReply TextReply(int Status, std::string Text);

// "$ Réponse : TAG -> STATUS  CT=TYPE  TextLen=N", N the body's length in
// UTF-16 code units (0 for a byte stream).
void LogResponse(TConsoleLog& Log, std::string_view Tag, const TReply& Reply);

// Equal without regard to ASCII case.
bool SameAscii(std::string_view A, std::string_view B);

}  // namespace mirelon
