// Where the user's documents live on Linux, as the desktop's own file
// dialogs find it:
//   1. the environment variable XDG_DOCUMENTS_DIR when it is set and not empty;
//   2. else the XDG_DOCUMENTS_DIR line of user-dirs.dirs in
//      ${XDG_CONFIG_HOME:-$HOME/.config}, read as xdg-user-dirs writes it
//      (a quoted value, "$HOME" expanded, a relative value taken from HOME,
//      and "$HOME/" meaning that no documents folder is set);
//   3. else $HOME/Documents.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace mirelon {

// Reads an environment variable; empty when it is not set.
using TEnvironment = std::function<std::string(const char* Name)>;

// The process's own environment.
std::string ProcessEnvironment(const char* Name);

std::filesystem::path DocumentsFolder(const TEnvironment& Env = ProcessEnvironment);

// The user's application data (and the desktop's configuration):
// ${XDG_CONFIG_HOME} when it is an absolute path, else $HOME/.config.
std::filesystem::path AppDataFolder(const TEnvironment& Env = ProcessEnvironment);

// The documents folder named by the text of a user-dirs.dirs file, or none
// when the file does not name one.
std::optional<std::filesystem::path> DocumentsFromUserDirs(std::string_view FileText, const std::string& Home);

}  // namespace mirelon
