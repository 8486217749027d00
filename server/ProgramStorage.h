// The pupils' stored programs: the storage file
// <documents>/Mirelon/Mirelon.json and the five actions of the
// "/api/projects/" routes ("list", "save", "rem", "del", "load"), each
// whole under the storage lock. No program is ever lost: the file is
// replaced atomically, and a file that cannot be read is kept aside.
#pragma once

#include <cstdint>
#include <filesystem>
#include <mutex>
#include <string_view>

#include <nlohmann/json_fwd.hpp>

#include "server/HttpTypes.h"

namespace mirelon {

class TConsoleLog;
struct TStoredPrograms;

class TProgramStorage {
 public:
  // Folder: <documents>/Mirelon, which holds the storage file.
  TProgramStorage(TConsoleLog& Log, std::filesystem::path Folder);

  // The most a body of an action may hold, declared or received.
  static constexpr int64_t kBodyLimit = 524288;

  // PrepareStorage: creates the folder and an empty storage file when
  // missing; false when that fails, with the log line "# Création du
  // stockage Mirelon.json échouée : <why>". The start-up line that tells
  // where the file is (or that it is missing) is the caller's.
  bool PrepareStorage();
  const std::filesystem::path& File() const { return FFile; }
  // The storage file's folder, where served runs keep their files too.
  const std::filesystem::path& Folder() const { return FFolder; }

  // One action, Action being "list", "save", "rem", "del" or "load"; the
  // body limit is checked here, on the declared length and on the bytes
  // received. An error that leaves an action (a failed write, a body that
  // is JSON but not an object) is answered 500 with its message as plain
  // text, the answer of the pipeline to any error.
  TReply HandleProjects(std::string_view Action, const TRequest& Request);

 private:
  using TJson = nlohmann::ordered_json;
  using TAction = TReply (TProgramStorage::*)(const TJson& Body);

  TReply Dispatch(std::string_view Action, const TRequest& Request);
  // The actions (ProjectActions.cpp), under the lock, on a body that is a JSON object.
  TReply ListPrograms();
  TReply LoadProgram(const TJson& Body);
  TReply DeleteProgram(const TJson& Body);
  TReply RenameProgram(const TJson& Body);
  TReply SaveProgram(const TJson& Body);
  TReply UpdateProgram(TStoredPrograms& Stored, int64_t Id, std::string Code);
  TReply CreateProgram(TStoredPrograms& Stored, const TJson& Body, std::string Code);

  // The file's programs; logs a failed read.
  TStoredPrograms LoadPrograms();
  // Replaces the file with Stored.Programs, atomically, after keeping a copy
  // of a file that could not be used; raises when either fails.
  void SavePrograms(const TStoredPrograms& Stored);

  TConsoleLog& FLog;
  std::filesystem::path FFolder, FFile;
  std::mutex FProjectsLock;
};

}  // namespace mirelon
