// One running program per user data folder: an exclusive flock on
// <application data>/Mirelon/instance.lock, held for the life of the object
// and dropped by the kernel when the process ends, however it ends.
#pragma once

#include <filesystem>
#include <string>

namespace mirelon {

class TInstanceLock {
 public:
  // Creates the folder when missing and tries the lock once, without waiting.
  explicit TInstanceLock(const std::filesystem::path& AppData);
  ~TInstanceLock();
  TInstanceLock(const TInstanceLock&) = delete;
  TInstanceLock& operator=(const TInstanceLock&) = delete;

  // False only when another process holds the lock. A folder where no lock
  // file can be made does not stop the program: storage and options then
  // report their own failures.
  bool Held() const { return !FTakenElsewhere; }
  // False when no lock could be taken in this folder, by this process or
  // another: the program then runs without the single-instance guard.
  bool Guarding() const { return FLocked; }
  // The log line that says so, for the start-ups to write once the log has
  // its sinks.
  std::string UnguardedLine() const;

 private:
  std::filesystem::path FPath;
  int FFile = -1;
  bool FTakenElsewhere = false;
  bool FLocked = false;
};

}  // namespace mirelon
