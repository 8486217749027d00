// The workbench's files by request path: the page, its style sheets,
// scripts, images and icon. "/" must be exact; the other paths are compared
// without ASCII case. "/app.js" (the workbench itself) needs the session.
#pragma once

#include <optional>

#include "server/HttpTypes.h"

namespace mirelon {

class TStaticAssets;

// The answer for a workbench file, or none when the path names no such
// file. An unauthenticated "/app.js" gets 401. Raises when a resource is
// missing.
std::optional<TReply> ServeStatic(const TRequest& Request, TStaticAssets& Assets, bool Authenticated);

}  // namespace mirelon
