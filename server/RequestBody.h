// Reads the body of a request from its connection, counting the bytes that
// actually arrive: a declared length, or the chunks of a chunked body, up to
// a limit. A Content-Encoding is not undone, so a small compressed body never
// grows into a huge one here.
#pragma once

#include <httplib.h>

#include <cstddef>
#include <string>

namespace mirelon {

class TSocketStream;

struct TRequestBody {
  enum TStatus { bsComplete, bsTooLarge, bsMalformed } Status = bsComplete;
  std::string Bytes;
  // The connection cannot carry another request after this one: the body
  // was not read to its end, or its length was ambiguous.
  bool CloseAfter = false;
};

TRequestBody ReadRequestBody(TSocketStream& Stream, const httplib::Headers& Headers, size_t MaxBytes);

}  // namespace mirelon
