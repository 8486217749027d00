#include "server/StaticRoutes.h"

#include <array>
#include <string_view>

#include "server/ErrorReply.h"
#include "server/StaticAssets.h"

namespace mirelon {
namespace {

enum TSentAs { saStored, saStyleSheet, saScript };

struct TStaticFile {
  std::string_view Path, Resource;
  TSentAs SentAs;
  std::string_view ContentType;  // of a stored file
};

constexpr std::array<TStaticFile, 11> kFiles = {{
    {"/app.html", "APP_HTML", saStored, "text/html; charset=utf-8"},
    {"/fonts.css", "FONTS_CSS", saStyleSheet, ""},
    {"/pattern.svg", "PATTERN_SVG", saStored, "image/svg+xml"},
    {"/app.css", "APP_CSS", saStyleSheet, ""},
    {"/favicon.ico", "FAVICON_ICO", saStored, "image/x-icon"},
    {"/auth.js", "AUTH_JS", saScript, ""},
    {"/help.js", "HELP_JS", saScript, ""},
    {"/emoji.js", "EMOJI_JS", saScript, ""},
    {"/icons.js", "ICONS_JS", saScript, ""},
    {"/app.js", "APP_JS", saScript, ""},
    {"/background.svg", "BKGD_SVG", saStored, "image/svg+xml"},
}};

const TStaticFile* FindFile(std::string_view Path) {
  if (Path == "/") return &kFiles[0];
  for (const TStaticFile& File : kFiles)
    if (SameAscii(Path, File.Path)) return &File;
  return nullptr;
}

// "type; charset=x" into the reply's type and charset.
TReply ToReply(TStaticReply Static) {
  TReply Reply;
  const std::string_view Type = Static.ContentType;
  const size_t Semicolon = Type.find(';');
  Reply.ContentType = std::string(Type.substr(0, Semicolon));
  const size_t Charset = Type.find("charset=");
  if (Charset != std::string_view::npos) Reply.Charset = std::string(Type.substr(Charset + 8));
  if (Static.Gzipped) {
    Reply.Headers.emplace_back("Content-Encoding", "gzip");
    Reply.Headers.emplace_back("Vary", "Accept-Encoding");
  }
  Reply.Body = std::move(Static.Body);
  Reply.BodyIsStream = true;
  return Reply;
}

TStaticReply Send(const TStaticFile& File, const TRequest& Request, TStaticAssets& Assets) {
  const std::string Resource(File.Resource);
  switch (File.SentAs) {
    case saStyleSheet: return Assets.ServeCss(Resource, Request.Header("Accept-Encoding"));
    case saScript: return Assets.ServeJs(Resource, Request.Header("Accept-Encoding"));
    case saStored: break;
  }
  return Assets.ServeResource(Resource, File.ContentType);
}

}  // namespace

std::optional<TReply> ServeStatic(const TRequest& Request, TStaticAssets& Assets, bool Authenticated) {
  const TStaticFile* File = FindFile(Request.Path);
  if (!File) return std::nullopt;
  if (File->Resource == "APP_JS" && !Authenticated) return ErrorReply(401, "Session invalide. Relance Mirelon.");
  return ToReply(Send(*File, Request, Assets));
}

}  // namespace mirelon
