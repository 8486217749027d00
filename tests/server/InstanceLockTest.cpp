// One running program per user data folder.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "server/InstanceLock.h"

namespace mirelon {
namespace {

namespace fs = std::filesystem;

struct TFolder {
  fs::path Path = fs::temp_directory_path() / ("mirelon-lock-" + std::to_string(getpid()) + "-" +
                                               ::testing::UnitTest::GetInstance()->current_test_info()->name());
  ~TFolder() { fs::remove_all(Path); }
};

TEST(InstanceLock, ASecondHolderOfTheSameFolderIsRefusedUntilTheFirstEnds) {
  TFolder Folder;
  {
    TInstanceLock First(Folder.Path);
    EXPECT_TRUE(First.Held());
    EXPECT_TRUE(First.Guarding());
    EXPECT_TRUE(fs::exists(Folder.Path / "Mirelon" / "instance.lock"));
    TInstanceLock Second(Folder.Path);
    EXPECT_FALSE(Second.Held());
    EXPECT_FALSE(Second.Guarding());
  }
  TInstanceLock Later(Folder.Path);
  EXPECT_TRUE(Later.Held());
}

TEST(InstanceLock, DifferentFoldersNeverCollide) {
  TFolder A, B;
  TInstanceLock First(A.Path / "a"), Second(B.Path / "b");
  EXPECT_TRUE(First.Held());
  EXPECT_TRUE(Second.Held());
}

TEST(InstanceLock, AFolderWhereNoLockCanBeMadeDoesNotStopTheProgram) {
  TFolder Folder;
  fs::create_directories(Folder.Path);
  std::ofstream(Folder.Path / "Mirelon") << "a file where the folder should be";
  const TInstanceLock Lock(Folder.Path);
  EXPECT_TRUE(Lock.Held());
  EXPECT_FALSE(Lock.Guarding());
  EXPECT_NE(Lock.UnguardedLine().find((Folder.Path / "Mirelon" / "instance.lock").string()), std::string::npos);
}

}  // namespace
}  // namespace mirelon
