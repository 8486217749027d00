// The documents folder from the environment and user-dirs.dirs.
#include <gtest/gtest.h>

#include <map>

#include "StorageTestKit.h"
#include "server/DocumentsFolder.h"

using namespace mirelon;
using namespace mirelon::test;

namespace {

TEnvironment FakeEnvironment(std::map<std::string, std::string> values) {
  return [values](const char* name) {
    auto it = values.find(name);
    return it == values.end() ? std::string() : it->second;
  };
}

}  // namespace

TEST(DocumentsFolder, ReadsUserDirsAsXdgUserDirsWritesIt) {
  const std::string home = "/home/lea";
  std::string written =
      "# This file is written by xdg-user-dirs-update\n"
      "XDG_DESKTOP_DIR=\"$HOME/Bureau\"\n"
      "XDG_DOCUMENTS_DIR=\"$HOME/Mes documents\"\n"
      "XDG_MUSIC_DIR=\"$HOME/Musique\"\n";
  EXPECT_EQ(DocumentsFromUserDirs(written, home), fs::path("/home/lea/Mes documents"));
  EXPECT_EQ(DocumentsFromUserDirs("XDG_DOCUMENTS_DIR=\"/data/écrits\"\r\n", home), fs::path("/data/écrits"));
  EXPECT_EQ(DocumentsFromUserDirs("  XDG_DOCUMENTS_DIR = \"Docs\"\n", home), fs::path("/home/lea/Docs"));
  EXPECT_EQ(DocumentsFromUserDirs("XDG_DOCUMENTS_DIR=\"$HOME/a \\\"b\\\" \\$c\"", home),
            fs::path("/home/lea/a \"b\" $c"));
  // "$HOME/" is how the tool says that the folder is not set.
  EXPECT_EQ(DocumentsFromUserDirs("XDG_DOCUMENTS_DIR=\"$HOME/\"\n", home), std::nullopt);
  EXPECT_EQ(DocumentsFromUserDirs("XDG_DOCUMENTS_DIR=\"$HOME\"\n", home), std::nullopt);
  // A commented line, another key that begins alike, and the last assignment winning.
  EXPECT_EQ(DocumentsFromUserDirs("#XDG_DOCUMENTS_DIR=\"/x\"\nXDG_DOCUMENTS_DIRS=\"/y\"\n", home), std::nullopt);
  EXPECT_EQ(DocumentsFromUserDirs("XDG_DOCUMENTS_DIR=\"/one\"\nXDG_DOCUMENTS_DIR=\"$HOME/two\"\n", home),
            fs::path("/home/lea/two"));
}

TEST(DocumentsFolder, EnvironmentFirstThenUserDirsThenHomeDocuments) {
  TTempDir dir;
  std::string home = dir.Path().string();
  fs::create_directories(dir.Path() / ".config");
  fs::create_directories(dir.Path() / "cfg");
  EXPECT_EQ(DocumentsFolder(FakeEnvironment({{"HOME", home}})), dir.Path() / "Documents");

  WriteBytes(dir.Path() / ".config" / "user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/Textes\"\n");
  EXPECT_EQ(DocumentsFolder(FakeEnvironment({{"HOME", home}})), dir.Path() / "Textes");

  // XDG_CONFIG_HOME moves the file; a relative value of it is not a configuration folder.
  WriteBytes(dir.Path() / "cfg" / "user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"/srv/docs\"\n");
  EXPECT_EQ(DocumentsFolder(FakeEnvironment({{"HOME", home}, {"XDG_CONFIG_HOME", home + "/cfg"}})),
            fs::path("/srv/docs"));
  EXPECT_EQ(DocumentsFolder(FakeEnvironment({{"HOME", home}, {"XDG_CONFIG_HOME", "cfg"}})), dir.Path() / "Textes");
  WriteBytes(dir.Path() / "cfg" / "user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/\"\n");
  EXPECT_EQ(DocumentsFolder(FakeEnvironment({{"HOME", home}, {"XDG_CONFIG_HOME", home + "/cfg"}})),
            dir.Path() / "Documents");

  EXPECT_EQ(DocumentsFolder(FakeEnvironment({{"HOME", home}, {"XDG_DOCUMENTS_DIR", "/mnt/d"}})), fs::path("/mnt/d"));
}
