// The storage's preparation, the lock and the checks that every action
// shares, and the file's reading and writing with their log lines. The
// actions themselves are in ProjectActions.cpp.
#include "server/ProgramStorage.h"

#include <system_error>

#include "core/Errors.h"
#include "log/ConsoleLog.h"
#include "log/LogText.h"
#include "server/AtomicFile.h"
#include "server/JsonBody.h"
#include "server/ProjectAnswers.h"
#include "server/StorageFile.h"

namespace mirelon {

namespace fs = std::filesystem;

namespace {

[[noreturn]] void FailFolder(const fs::path& Folder, const std::error_code& Error) {
  throw Exception(Format(u"impossible de créer le dossier \"%s\" : %s",
                         {Utf8ToUtf16(Folder.string()), Utf8ToUtf16(Error.message())}));
}

}  // namespace

TProgramStorage::TProgramStorage(TConsoleLog& Log, fs::path Folder)
    : FLog(Log), FFolder(std::move(Folder)), FFile(FFolder / "Mirelon.json") {}

bool TProgramStorage::PrepareStorage() {
  std::lock_guard<std::mutex> Guard(FProjectsLock);
  try {
    std::error_code Error;
    fs::create_directories(FFolder, Error);
    if (Error) FailFolder(FFolder, Error);
    if (!fs::exists(FFile, Error)) WriteNewFile(FFile, StorageBytes(TJson::array()));
    return fs::is_regular_file(FFile, Error);
  } catch (const std::exception& E) {
    FLog.ELogEvent("# Création du stockage Mirelon.json échouée : " + LogText(E.what()));
    return false;
  }
}

TReply TProgramStorage::HandleProjects(std::string_view Action, const TRequest& Request) {
  std::lock_guard<std::mutex> Guard(FProjectsLock);
  try {
    return Dispatch(Action, Request);
  } catch (const std::exception& E) {
    return TextReply(500, E.what());
  }
}

TReply TProgramStorage::Dispatch(std::string_view Action, const TRequest& Request) {
  static const std::pair<std::string_view, TAction> kActions[] = {
    {"save", &TProgramStorage::SaveProgram},
    {"rem", &TProgramStorage::RenameProgram},
    {"del", &TProgramStorage::DeleteProgram},
    {"load", &TProgramStorage::LoadProgram},
  };
  if (Action == "list") return ListPrograms();
  for (const auto& [Name, Act] : kActions) {
    if (Name != Action) continue;
    if (Request.ContentLength > kBodyLimit || static_cast<int64_t>(Request.Body.size()) > kBodyLimit)
      return ProjectError(413, u"Payload too large");
    TJson Body = NestsTooDeep(Request.Body) ? TJson(TJson::value_t::discarded)
                                            : TJson::parse(Request.Body, nullptr, false);
    if (Body.is_discarded()) return ProjectError(400, u"JSON invalide");
    if (!Body.is_object()) throw Exception(u"Le corps de la requête doit être un objet JSON.");
    return (this->*Act)(Body);
  }
  return TextReply(404, "Not found");
}

TStoredPrograms TProgramStorage::LoadPrograms() {
  TStoredPrograms Stored = ReadStorageFile(FFile);
  if (!Stored.ReadError.empty()) FLog.ELogEvent("# Lecture Mirelon.json échouée : " + LogText(Stored.ReadError));
  return Stored;
}

void TProgramStorage::SavePrograms(const TStoredPrograms& Stored) {
  if (Stored.Unusable) {
    fs::path Copy = KeepUnusableCopy(FFile, Stored.Bytes);
    FLog.ELogEvent("# Mirelon.json illisible : copie conservée dans " + LogText(Copy.string()));
  }
  // The folder may have been removed while the program ran; a folder that
  // cannot be made fails the write below with its message.
  std::error_code Ignored;
  fs::create_directories(FFolder, Ignored);
  WriteFileAtomically(FFile, StorageBytes(Stored.Programs));
}

}  // namespace mirelon
