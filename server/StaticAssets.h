// The workbench's scripts and style sheets as the server sends them: minified
// once and kept for the life of the process, gzip-compressed for every client
// that accepts it, and the stored file as it is when any of that fails. This
// file knows nothing of HTTP: ServeStatic turns a TStaticReply into the answer.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace mirelon {

// The complete gzip member (RFC 1952) of Bytes: zlib's default level, window
// bits 31. Raises mirelon::Exception when zlib fails.
std::string GzipBytes(std::string_view bytes);

// True when an "Accept-Encoding" value names gzip, in any letter case.
bool AcceptsGzip(std::string_view acceptEncoding);

// The content type sent for a stored resource: a type that names no charset
// gets "; charset=utf-8" when it begins with "text/" or names javascript or json.
std::string WithCharset(std::string_view contentType);

// One static answer, always with status 200.
struct TStaticReply {
  std::string ContentType;
  std::string Body;
  bool Gzipped = false;  // send "Content-Encoding: gzip" and "Vary: Accept-Encoding"
};

using TBytes = std::shared_ptr<const std::string>;

class TStaticAssets {
 public:
  // One line of the console log (UTF-8); called from any connection thread.
  using TLog = std::function<void(const std::string& line)>;
  using TTransform = std::function<std::string(std::string_view)>;
  // The steps that make a reply, which a test may replace to serve made-up
  // files or to make minifying or compressing fail.
  struct TSteps {
    std::function<std::optional<std::string_view>(std::string_view name)> Find;
    TTransform MinifyJs, MinifyCss, Gzip;
  };
  static TSteps RealSteps();

  explicit TStaticAssets(TLog log, TSteps steps = RealSteps());

  // The minified bytes of a script (style sheet), minified on first use and
  // then taken from the cache; raises when the resource is missing or cannot
  // be minified.
  TBytes GetMinifiedJs(const std::string& name);
  TBytes GetMinifiedCss(const std::string& name);

  // A minified script (style sheet), compressed when AcceptEncoding names
  // gzip; the stored file unminified when a step fails. Raises only when the
  // resource is missing.
  TStaticReply ServeJs(const std::string& name, std::string_view acceptEncoding);
  TStaticReply ServeCss(const std::string& name, std::string_view acceptEncoding);

  // The stored bytes of a resource with WithCharset(ContentType); raises
  // mirelon::Exception when the program has no such resource.
  TStaticReply ServeResource(const std::string& name, std::string_view contentType) const;

 private:
  using TCache = std::map<std::string, TBytes, std::less<>>;
  struct TKind;
  static const TKind kScript, kStyleSheet;

  TBytes GetMinified(const TKind& kind, const std::string& name);
  TBytes GetCompressed(const std::string& name, const TBytes& minified);
  TStaticReply Serve(const TKind& kind, const std::string& name, std::string_view acceptEncoding);
  std::string_view Stored(const std::string& name) const;

  TLog FLog;
  TSteps FSteps;
  // FJsCacheLock guards the three dictionaries; the log may be called while it is held.
  std::mutex FJsCacheLock;
  TCache FJsCache, FCssCache;
  TCache FGzipCache;  // by resource name, the compressed minified bytes
};

}  // namespace mirelon
