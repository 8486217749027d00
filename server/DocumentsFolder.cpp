// The documents folder: the environment, then user-dirs.dirs, then ~/Documents.
#include "server/DocumentsFolder.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>

#include "server/WholeFile.h"

namespace mirelon {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kKey = "XDG_DOCUMENTS_DIR";

std::string_view SkipBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  return s;
}

std::string_view TrimEnd(std::string_view s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

// What follows "XDG_DOCUMENTS_DIR =" on a line, or none for other lines.
std::optional<std::string_view> AssignedText(std::string_view line) {
  line = SkipBlanks(line);
  if (line.substr(0, kKey.size()) != kKey) return std::nullopt;
  line = SkipBlanks(line.substr(kKey.size()));
  if (line.empty() || line.front() != '=') return std::nullopt;
  return TrimEnd(SkipBlanks(line.substr(1)));
}

// A shell-quoted value: inside double quotes a backslash keeps the next
// character as it is. An unquoted value is taken as written.
std::string Unquoted(std::string_view text) {
  if (text.empty() || text.front() != '"') return std::string(text);
  std::string value;
  for (size_t i = 1; i < text.size() && text[i] != '"'; ++i) {
    if (text[i] == '\\' && i + 1 < text.size()) ++i;
    value += text[i];
  }
  return value;
}

// "$HOME/x" and "x" are both under the home folder; "$HOME/" alone names none.
std::optional<fs::path> FolderOfValue(const std::string& value, const std::string& home) {
  std::string_view rest = value;
  bool fromHome = rest.substr(0, 5) == "$HOME" && (rest.size() == 5 || rest[5] == '/');
  if (fromHome) rest.remove_prefix(5);
  else if (!rest.empty() && rest.front() == '/') return fs::path(rest);
  while (!rest.empty() && rest.front() == '/') rest.remove_prefix(1);
  if (rest.empty()) return std::nullopt;
  return fs::path(home) / rest;
}

std::string HomeFolder(const TEnvironment& env) {
  std::string home = env("HOME");
  if (!home.empty()) return home;
  const passwd* user = ::getpwuid(::getuid());
  return user && user->pw_dir ? user->pw_dir : "/";
}

// A file that cannot be read names no folder.
std::string ReadText(const fs::path& p) {
  std::string text;
  return ReadWholeFile(p, text) == 0 ? text : std::string();
}

}  // namespace

std::string ProcessEnvironment(const char* Name) {
  const char* value = std::getenv(Name);
  return value ? value : "";
}

std::optional<fs::path> DocumentsFromUserDirs(std::string_view FileText, const std::string& Home) {
  std::optional<fs::path> found;
  std::istringstream lines{std::string(FileText)};
  // The file is sourced by shells: the last assignment wins.
  for (std::string line; std::getline(lines, line);)
    if (std::optional<std::string_view> text = AssignedText(line)) found = FolderOfValue(Unquoted(*text), Home);
  return found;
}

fs::path AppDataFolder(const TEnvironment& Env) {
  std::string config = Env("XDG_CONFIG_HOME");
  return !config.empty() && config.front() == '/' ? fs::path(config) : fs::path(HomeFolder(Env)) / ".config";
}

fs::path DocumentsFolder(const TEnvironment& Env) {
  std::string home = HomeFolder(Env);
  std::string fromEnvironment = Env("XDG_DOCUMENTS_DIR");
  if (!fromEnvironment.empty()) return fs::path(home) / fromEnvironment;  // an absolute value stays as it is
  if (std::optional<fs::path> found = DocumentsFromUserDirs(ReadText(AppDataFolder(Env) / "user-dirs.dirs"), home))
    return *found;
  return fs::path(home) / "Documents";
}

}  // namespace mirelon
