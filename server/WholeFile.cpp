#include "server/WholeFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace mirelon {

int ReadWholeFile(const std::filesystem::path& File, std::string& Out) {
  int Fd = ::open(File.c_str(), O_RDONLY | O_CLOEXEC);
  if (Fd < 0) return errno;
  char Buffer[65536];
  int Error = 0;
  for (;;) {
    ssize_t N = ::read(Fd, Buffer, sizeof Buffer);
    if (N < 0 && errno == EINTR) continue;
    if (N < 0) Error = errno;
    if (N <= 0) break;
    Out.append(Buffer, static_cast<size_t>(N));
  }
  ::close(Fd);
  return Error;
}

}  // namespace mirelon
