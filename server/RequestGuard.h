// Requests that the workbench never sends are refused before any route:
// a page of another site (or of another port of this machine) must not be
// able to drive the local server through the pupil's browser.
//   - DNS rebinding: the Host header must name this server, "localhost:PORT"
//     or "127.0.0.1:PORT" (the host without ASCII case);
//   - cross-site POST: an Origin header, when present, must be
//     "http://localhost:PORT" or "http://127.0.0.1:PORT";
//   - a request to "/api/..." or "/app.js" that the browser marks
//     "Sec-Fetch-Site: cross-site" or "same-site" (other local ports are
//     same-site) is refused; clients that send no such header pass.
#pragma once

#include <optional>

#include "server/HttpTypes.h"

namespace mirelon {

class TConsoleLog;

// The 403 answer (with its log line) for a refused request, or none.
std::optional<TReply> GuardRequest(const TRequest& Request, int Port, TConsoleLog& Log);

}  // namespace mirelon
