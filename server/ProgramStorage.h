// The pupils' stored programs: the storage file
// <documents>/Mirelon/Mirelon.json and the five actions of the
// "/api/projects/" routes ("list", "save", "rem", "del", "load"), each
// whole under the storage lock. No program is ever lost: the file is
// replaced atomically, and a file that cannot be read is kept aside.
#pragma once

#include <filesystem>
#include <mutex>
#include <string_view>

#include "server/HttpTypes.h"

namespace mirelon {

class TConsoleLog;

class TProgramStorage {
 public:
  // Folder: <documents>/Mirelon, which holds the storage file.
  TProgramStorage(TConsoleLog& Log, std::filesystem::path Folder);

  // PrepareStorage: creates the folder and an empty storage file when
  // missing; false when that fails. Logs nothing (start-up does).
  bool PrepareStorage();
  const std::filesystem::path& File() const { return FFile; }

  // One action, Action being "list", "save", "rem", "del" or "load"; the
  // body limit of 524288 bytes is checked here.
  TReply HandleProjects(std::string_view Action, const TRequest& Request);

 private:
  TConsoleLog& FLog;
  std::filesystem::path FFolder, FFile;
  std::mutex FProjectsLock;
};

}  // namespace mirelon
