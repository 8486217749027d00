// A program storage in a temporary documents folder, the log lines it
// writes, and requests made as the router makes them.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "StorageTestKit.h"
#include "log/ConsoleLog.h"
#include "server/ProgramStorage.h"

namespace mirelon::test {

inline const std::string kBom = "\xEF\xBB\xBF";

// The storage file's bytes for the JSON text of its "programmes" array.
inline std::string StoredFile(const std::string& ProgramsJson) { return kBom + "{\"programmes\":" + ProgramsJson + "}"; }

inline TRequest ProjectRequest(std::string_view Action, std::string Body) {
  TRequest Request;
  Request.Method = Action == "list" ? "GET" : "POST";
  Request.Path = "/api/projects/" + std::string(Action);
  Request.ContentType = "application/json";
  Request.ContentLength = static_cast<int64_t>(Body.size());
  Request.Body = std::move(Body);
  return Request;
}

class TProjectsTest : public ::testing::Test {
 protected:
  TProjectsTest() {
    Log.AddSink([this](const std::string& Line) { Lines.push_back(Line); });
  }

  TReply Act(std::string_view Action, std::string Body = "") {
    return Storage.HandleProjects(Action, ProjectRequest(Action, std::move(Body)));
  }
  // The answer's status and body, for one comparison.
  std::string Answer(std::string_view Action, std::string Body = "") {
    TReply Reply = Act(Action, std::move(Body));
    return std::to_string(Reply.Status) + " " + Reply.Body;
  }
  std::string FileBytes() const { return ReadBytes(Storage.File()); }
  // The lines logged since the previous call.
  std::vector<std::string> TakeLines() { return std::exchange(Lines, {}); }

  TTempDir Dir;
  fs::path Folder = Dir.Path() / "Documents" / "Mirelon";
  TConsoleLog Log;
  std::vector<std::string> Lines;  // filled under the log's lock
  TProgramStorage Storage{Log, Folder};
};

}  // namespace mirelon::test
