#include "server/StaticAssets.h"

#include <zlib.h>

#include <algorithm>
#include <charconv>

#include "core/Errors.h"
#include "minify/Minify.h"
#include "resources/Resources.h"

namespace mirelon {

namespace {

[[noreturn]] void GzipFailed(int code) {
  throw Exception(Format(u"Compression gzip impossible (zlib %d)", {code}));
}

// "12.3": one decimal, always with a point, whatever the locale.
std::string OneDecimal(double value) {
  char buffer[64];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 1).ptr;
  return std::string(buffer, end);
}

std::string SizeLine(const std::string& name, size_t stored, size_t minified) {
  std::string line = "# Minify " + name + " : " + std::to_string(stored) + " -> " + std::to_string(minified) + " octets";
  if (stored > 0) {
    const double saved = (static_cast<double>(stored) - static_cast<double>(minified)) / stored * 100;
    line += " (-" + OneDecimal(saved) + "%)";
  }
  return line;
}

}  // namespace

std::string GzipBytes(std::string_view bytes) {
  z_stream z{};
  int code = deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 31, 8, Z_DEFAULT_STRATEGY);
  if (code != Z_OK) GzipFailed(code);
  std::string out;
  out.reserve(deflateBound(&z, bytes.size()));
  const char* next = bytes.data();
  size_t left = bytes.size();
  unsigned char buffer[16384];
  do {
    // zlib counts in 32 bits: the input goes in pieces.
    if (z.avail_in == 0 && left > 0) {
      z.avail_in = static_cast<uInt>(std::min<size_t>(left, 1u << 30));
      z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(next));
      next += z.avail_in;
      left -= z.avail_in;
    }
    z.next_out = buffer;
    z.avail_out = sizeof buffer;
    code = deflate(&z, left == 0 ? Z_FINISH : Z_NO_FLUSH);
    out.append(reinterpret_cast<const char*>(buffer), sizeof buffer - z.avail_out);
  } while (code == Z_OK);
  deflateEnd(&z);
  if (code != Z_STREAM_END) GzipFailed(code);
  return out;
}

bool AcceptsGzip(std::string_view acceptEncoding) {
  constexpr std::string_view kGzip = "gzip";
  for (size_t i = 0; i + kGzip.size() <= acceptEncoding.size(); ++i) {
    size_t k = 0;
    while (k < kGzip.size() && (acceptEncoding[i + k] | 0x20) == kGzip[k]) ++k;
    if (k == kGzip.size()) return true;
  }
  return false;
}

std::string WithCharset(std::string_view contentType) {
  std::string type(contentType);
  if (type.find("charset=") != std::string::npos) return type;
  if (type.rfind("text/", 0) == 0 || type.find("javascript") != std::string::npos ||
      type.find("json") != std::string::npos)
    type += "; charset=utf-8";
  return type;
}

struct TStaticAssets::TKind {
  const char* Label;        // in the fallback line: "JS" or "CSS"
  const char* ContentType;  // of the minified form
  TCache TStaticAssets::*Cache;
  TTransform TSteps::*Minify;
};

const TStaticAssets::TKind TStaticAssets::kScript = {"JS", "application/javascript", &TStaticAssets::FJsCache,
                                                     &TSteps::MinifyJs};
const TStaticAssets::TKind TStaticAssets::kStyleSheet = {"CSS", "text/css", &TStaticAssets::FCssCache,
                                                         &TSteps::MinifyCss};

TStaticAssets::TSteps TStaticAssets::RealSteps() {
  return {FindResource, MinifyJsResource, MinifyCssResource, GzipBytes};
}

TStaticAssets::TStaticAssets(TLog log, TSteps steps) : FLog(std::move(log)), FSteps(std::move(steps)) {}

TBytes TStaticAssets::GetMinifiedJs(const std::string& name) { return GetMinified(kScript, name); }
TBytes TStaticAssets::GetMinifiedCss(const std::string& name) { return GetMinified(kStyleSheet, name); }

// Minifying runs outside the lock: two first requests may both minify a file,
// and the second store wins with the same bytes.
TBytes TStaticAssets::GetMinified(const TKind& kind, const std::string& name) {
  TCache& cache = this->*kind.Cache;
  {
    std::lock_guard lock(FJsCacheLock);
    if (auto hit = cache.find(name); hit != cache.end()) {
      FLog("# Minify " + name + " : depuis le cache (" + std::to_string(hit->second->size()) + " octets)");
      return hit->second;
    }
  }
  const std::string_view stored = Stored(name);
  auto minified = std::make_shared<const std::string>((FSteps.*kind.Minify)(stored));
  FLog(SizeLine(name, stored.size(), minified->size()));
  std::lock_guard lock(FJsCacheLock);
  cache.insert_or_assign(name, minified);
  return minified;
}

TBytes TStaticAssets::GetCompressed(const std::string& name, const TBytes& minified) {
  {
    std::lock_guard lock(FJsCacheLock);
    if (auto hit = FGzipCache.find(name); hit != FGzipCache.end()) return hit->second;
  }
  auto compressed = std::make_shared<const std::string>(FSteps.Gzip(*minified));
  std::lock_guard lock(FJsCacheLock);
  FGzipCache.insert_or_assign(name, compressed);
  return compressed;
}

TStaticReply TStaticAssets::ServeJs(const std::string& name, std::string_view acceptEncoding) {
  return Serve(kScript, name, acceptEncoding);
}

TStaticReply TStaticAssets::ServeCss(const std::string& name, std::string_view acceptEncoding) {
  return Serve(kStyleSheet, name, acceptEncoding);
}

TStaticReply TStaticAssets::Serve(const TKind& kind, const std::string& name, std::string_view acceptEncoding) {
  const std::string contentType = std::string(kind.ContentType) + "; charset=utf-8";
  try {
    const TBytes minified = GetMinified(kind, name);
    if (!AcceptsGzip(acceptEncoding)) return {contentType, *minified, false};
    const TBytes compressed = GetCompressed(name, minified);
    FLog("# Gzip " + name + " : " + std::to_string(minified->size()) + " -> " + std::to_string(compressed->size()) +
         " octets");
    return {contentType, *compressed, true};
  } catch (const std::exception& e) {
    FLog(std::string("# Service ") + kind.Label + " échoué (" + name + ") : " + e.what() + " — envoi brut.");
  }
  return ServeResource(name, contentType);
}

TStaticReply TStaticAssets::ServeResource(const std::string& name, std::string_view contentType) const {
  return {WithCharset(contentType), std::string(Stored(name)), false};
}

std::string_view TStaticAssets::Stored(const std::string& name) const {
  const auto bytes = FSteps.Find(name);
  if (!bytes) throw Exception(Format(u"Ressource introuvable : %s", {Utf8ToUtf16(name)}));
  return *bytes;
}

}  // namespace mirelon
