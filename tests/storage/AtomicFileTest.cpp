// Replacing a file whole or not at all.
#include <gtest/gtest.h>

#include "StorageTestKit.h"
#include "core/Errors.h"
#include "server/AtomicFile.h"

using namespace mirelon;
using namespace mirelon::test;

TEST(AtomicFile, CreatesAndReplacesWithoutLeavingTemporaryFiles) {
  TTempDir dir;
  fs::path file = dir.Path() / "a.json";
  WriteFileAtomically(file, "first");
  EXPECT_EQ(ReadBytes(file), "first");
  WriteFileAtomically(file, std::string("\xEF\xBB\xBF{}\0x", 6));
  EXPECT_EQ(ReadBytes(file), std::string("\xEF\xBB\xBF{}\0x", 6));
  WriteFileAtomically(file, "");
  EXPECT_EQ(ReadBytes(file), "");
  EXPECT_EQ(Names(dir.Path()), std::set<std::string>{"a.json"});
}

TEST(AtomicFile, KeepsPermissionsAndWritesThroughSymbolicLinks) {
  TTempDir dir;
  fs::path real = dir.Path() / "real.json", link = dir.Path() / "link.json";
  WriteBytes(real, "old");
  fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  fs::create_symlink(real, link);
  WriteFileAtomically(link, "new");
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(ReadBytes(real), "new");
  EXPECT_EQ(fs::status(real).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(AtomicFile, AFailedWriteLeavesTheOldFileWhole) {
  TTempDir dir;
  fs::path file = dir.Path() / "a.json";
  std::string old(3000, 'o');
  WriteBytes(file, old);
  try {
    TFileSizeLimit limit(4096);
    WriteFileAtomically(file, std::string(100000, 'n'));
    ADD_FAILURE() << "a write past the size limit succeeded";
  } catch (const Exception& e) {
    EXPECT_NE(std::string(e.what()).find("a.json"), std::string::npos) << e.what();
  }
  EXPECT_EQ(ReadBytes(file), old);
  EXPECT_EQ(Names(dir.Path()), std::set<std::string>{"a.json"});
}

TEST(AtomicFile, RefusesReadOnlyFoldersAndFiles) {
  TTempDir dir;
  fs::path folder = dir.Path() / "ro", file = folder / "a.json", locked = dir.Path() / "locked.json";
  fs::create_directory(folder);
  WriteBytes(file, "old");
  WriteBytes(locked, "kept");
  std::string failure = InUnprivilegedChild(dir.Path(), [&]() -> std::string {
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    fs::permissions(locked, fs::perms::owner_read);
    for (const fs::path& target : {file, locked}) {
      try {
        WriteFileAtomically(target, "new");
        return "written: " + target.string();
      } catch (const Exception&) {
      }
    }
    if (ReadBytes(file) != "old" || ReadBytes(locked) != "kept") return "an old file changed";
    if (Names(folder) != std::set<std::string>{"a.json"}) return "something was left in the folder";
    return "";
  });
  EXPECT_EQ(failure, "");
}

TEST(AtomicFile, NewFilesNeverReplaceAnything) {
  TTempDir dir;
  fs::path file = dir.Path() / "copy";
  EXPECT_TRUE(WriteNewFile(file, "one"));
  EXPECT_FALSE(WriteNewFile(file, "two"));
  EXPECT_EQ(ReadBytes(file), "one");
  fs::create_symlink(dir.Path() / "nowhere", dir.Path() / "dangling");
  EXPECT_FALSE(WriteNewFile(dir.Path() / "dangling", "x"));
  EXPECT_FALSE(fs::exists(dir.Path() / "nowhere"));
  EXPECT_THROW(WriteNewFile(dir.Path() / "absent" / "x", "x"), Exception);
}
