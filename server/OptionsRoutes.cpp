// "/api/options": the workbench's display preferences, one JSON object kept
// in the options file and given back as it was stored. The server does not
// interpret the object.
#include <cstring>
#include <exception>
#include <optional>
#include <system_error>

#include "core/Text.h"
#include "json/JsonWriter.h"
#include "log/ConsoleLog.h"
#include "log/LogText.h"
#include "server/AtomicFile.h"
#include "server/ClientRoutes.h"
#include "server/JsonBody.h"
#include "server/WholeFile.h"

namespace mirelon {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kBom = "\xEF\xBB\xBF";

bool IsBlank(std::string_view Text) {
  for (unsigned char C : Text)
    if (C > ' ') return false;
  return true;
}

}  // namespace

TOptionsRoutes::TOptionsRoutes(TConsoleLog& Log, std::filesystem::path OptionsFile)
    : FLog(Log), FOptionsFile(std::move(OptionsFile)) {}

// The text as stored, not validated: a file that holds invalid JSON is sent
// as it is and the workbench falls back to its defaults. No file, a blank
// one or one that cannot be read gives "{}".
std::string TOptionsRoutes::ReadOptions() {
  std::error_code Error;  // a file that may exist is read, and its failure logged
  if (!fs::exists(FOptionsFile, Error) && !Error) return "{}";
  std::string Bytes;
  if (const int Failure = ReadWholeFile(FOptionsFile, Bytes)) {
    FLog.ELogEvent("# Lecture options échouée : " +
                   LogText("impossible de lire « " + FOptionsFile.string() + " » : " + std::strerror(Failure)));
    return "{}";
  }
  std::string Text = Utf16ToUtf8(Utf8ToUtf16(StripBom(Bytes)));  // valid UTF-8 on the wire
  return IsBlank(Text) ? "{}" : Text;
}

// The file is replaced whole (it holds the old options or the new ones,
// never a mix); a failure is logged and its message given back.
std::optional<std::string> TOptionsRoutes::WriteOptions(const std::string& JsonText) {
  std::string Failure;
  std::error_code Error;
  const fs::path Folder = FOptionsFile.parent_path();
  fs::create_directories(Folder, Error);
  if (Error) {
    Failure = "impossible de créer le dossier « " + Folder.string() + " » : " + Error.message();
  } else {
    try {
      WriteFileAtomically(FOptionsFile, std::string(kBom) + JsonText);
      return std::nullopt;
    } catch (const std::exception& E) {
      Failure = E.what();
    }
  }
  FLog.ELogEvent("# Écriture options échouée : " + LogText(Failure));
  return Failure;
}

TReply TOptionsRoutes::HandleGet(const TRequest&) {
  TReply Reply = JsonReply(200, ReadOptions());
  FLog.ELogEvent("$ API options - GET");
  return Reply;
}

// The limit counts the bytes that arrived as well as the declared length,
// so a chunked body cannot pass it. A body that is not a JSON object is
// always "JSON invalide" to the workbench, whatever the reason; a write
// that failed is a 500, never a false "ok".
TReply TOptionsRoutes::HandlePost(const TRequest& Request) {
  if (Request.ContentLength > kBodyLimit || Request.Body.size() > static_cast<size_t>(kBodyLimit))
    return PayloadTooLarge();
  std::string JsonText;
  try {
    JsonText = ToJsonText(ParseJsonObject(ReadBody(Request)));
  } catch (const std::exception& E) {
    FLog.ELogEvent("Erreur API options : " + LogText(E.what()));
    return JsonReply(400, R"({"error":"JSON invalide"})");
  }
  if (const auto Failure = WriteOptions(JsonText)) return JsonReply(500, ErrorJson(Utf8ToUtf16(*Failure)));
  FLog.ELogEvent("$ API options - POST (enregistrées)");
  return JsonReply(200, R"({"ok":true})");
}

}  // namespace mirelon
