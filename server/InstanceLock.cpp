#include "server/InstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "log/LogText.h"

namespace mirelon {

TInstanceLock::TInstanceLock(const std::filesystem::path& AppData) {
  const std::filesystem::path Folder = AppData / "Mirelon";
  std::error_code Ignored;
  std::filesystem::create_directories(Folder, Ignored);
  FPath = Folder / "instance.lock";
  FFile = ::open(FPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (FFile < 0) return;
  int Result;
  do Result = ::flock(FFile, LOCK_EX | LOCK_NB);
  while (Result != 0 && errno == EINTR);
  FLocked = Result == 0;
  FTakenElsewhere = Result != 0 && errno == EWOULDBLOCK;
}

std::string TInstanceLock::UnguardedLine() const {
  return "# Verrou d'instance impossible à poser (" + LogText(FPath.string()) +
         ") : Mirelon démarre sans protection contre un second lancement.";
}

TInstanceLock::~TInstanceLock() {
  if (FFile >= 0) ::close(FFile);
}

}  // namespace mirelon
