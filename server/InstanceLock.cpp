#include "server/InstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace mirelon {

TInstanceLock::TInstanceLock(const std::filesystem::path& AppData) {
  const std::filesystem::path Folder = AppData / "Mirelon";
  std::error_code Ignored;
  std::filesystem::create_directories(Folder, Ignored);
  FFile = ::open((Folder / "instance.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (FFile < 0) return;
  int Result;
  do Result = ::flock(FFile, LOCK_EX | LOCK_NB);
  while (Result != 0 && errno == EINTR);
  FTakenElsewhere = Result != 0 && errno == EWOULDBLOCK;
}

TInstanceLock::~TInstanceLock() {
  if (FFile >= 0) ::close(FFile);
}

}  // namespace mirelon
