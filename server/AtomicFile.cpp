// Atomic replacement by a flushed temporary file and a rename, then a flush
// of the folder so that the rename itself survives a power cut.
#include "server/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <string>
#include <system_error>

#include "core/Errors.h"

namespace mirelon {

namespace {

namespace fs = std::filesystem;

std::u16string PathText(const fs::path& p) {
  std::u8string s = p.u8string();
  return Utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(s.data()), s.size()));
}

[[noreturn]] void Fail(const fs::path& target, int error) {
  std::u16string reason = Utf8ToUtf16(std::generic_category().message(error));
  throw Exception(Format(u"Écriture de \"%s\" échouée : %s", {PathText(target), reason}));
}

// Writes every byte, then flushes them to the disk; the host's error, or 0.
int WriteAllAndSync(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return ::fsync(fd) == 0 ? 0 : errno;
}

// Writes, flushes and closes; on failure the file is removed. The host's error, or 0.
int FillAndClose(int fd, const fs::path& file, std::string_view bytes) {
  int error = WriteAllAndSync(fd, bytes);
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error != 0) ::unlink(file.c_str());
  return error;
}

// Best effort: some file systems cannot flush a folder, and by then the
// new content is in place, so a failure here is not reported.
void SyncFolder(const fs::path& folder) {
  int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// A temporary file beside the target, created exclusively; its path goes to out.
int CreateTemporary(const fs::path& target, fs::path& out) {
  thread_local std::mt19937_64 random{std::random_device{}()};
  for (int attempt = 0;; ++attempt) {
    out = target.parent_path() / ("." + target.filename().string() + "." + std::to_string(random() % 1000000000) + ".tmp");
    int fd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST || attempt >= 16) return fd;
  }
}

// Where the bytes must go: through a symbolic link to the file it names.
fs::path ResolvedTarget(const fs::path& target) {
  std::error_code ec;
  if (!fs::is_symlink(target, ec)) return target;
  fs::path resolved = fs::weakly_canonical(target, ec);
  return ec ? target : resolved;
}

}  // namespace

void WriteFileAtomically(const fs::path& Target, std::string_view Bytes) {
  fs::path target = ResolvedTarget(Target);
  struct stat former {};
  bool existed = ::stat(target.c_str(), &former) == 0;
  // Renaming would also replace a file that the host refuses to let us write.
  if (existed && ::access(target.c_str(), W_OK) != 0) Fail(Target, errno);
  fs::path temporary;
  int fd = CreateTemporary(target, temporary);
  if (fd < 0) Fail(Target, errno);
  if (existed && S_ISREG(former.st_mode)) ::fchmod(fd, former.st_mode & 07777);
  if (int error = FillAndClose(fd, temporary, Bytes)) Fail(Target, error);
  if (::rename(temporary.c_str(), target.c_str()) != 0) {
    int error = errno;
    ::unlink(temporary.c_str());
    Fail(Target, error);
  }
  SyncFolder(target.parent_path());
}

bool WriteNewFile(const fs::path& Target, std::string_view Bytes) {
  int fd = ::open(Target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0 && errno == EEXIST) return false;
  if (fd < 0) Fail(Target, errno);
  if (int error = FillAndClose(fd, Target, Bytes)) Fail(Target, error);
  SyncFolder(Target.parent_path());
  return true;
}

}  // namespace mirelon
