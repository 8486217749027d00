// Folders, files and child processes for the storage tests.
#pragma once

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <string>

namespace mirelon::test {

namespace fs = std::filesystem;

// A fresh folder under the system's temporary folder, removed at the end.
class TTempDir {
 public:
  TTempDir() {
    std::string pattern = (fs::temp_directory_path() / "mirelon-storage-XXXXXX").string();
    FPath = ::mkdtemp(pattern.data());
  }
  ~TTempDir() {
    std::error_code ec;
    fs::permissions(FPath, fs::perms::owner_all, fs::perm_options::add, ec);
    for (const auto& e : fs::recursive_directory_iterator(FPath, ec))
      fs::permissions(e.path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(FPath, ec);
  }
  const fs::path& Path() const { return FPath; }

 private:
  fs::path FPath;
};

inline std::string ReadBytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteBytes(const fs::path& p, const std::string& bytes) {
  std::ofstream(p, std::ios::binary) << bytes;
}

// The names in a folder.
inline std::set<std::string> Names(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& e : fs::directory_iterator(folder)) names.insert(e.path().filename().string());
  return names;
}

// Runs Check in a child process without the power to override file
// permissions (as root, the child becomes the user "nobody" and Owned is
// handed to that user first). The child's answer: empty when every check
// held, else what failed.
inline std::string InUnprivilegedChild(const fs::path& Owned, const std::function<std::string()>& Check) {
  if (::geteuid() == 0) {
    for (const auto& e : fs::recursive_directory_iterator(Owned)) (void)::lchown(e.path().c_str(), 65534, 65534);
    (void)::chown(Owned.c_str(), 65534, 65534);
  }
  int fds[2];
  if (::pipe(fds) != 0) return "pipe";
  pid_t pid = ::fork();
  if (pid == 0) {
    ::close(fds[0]);
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(2);
    std::string failure = Check();
    (void)!::write(fds[1], failure.data(), failure.size());
    ::_exit(0);
  }
  ::close(fds[1]);
  std::string answer;
  char buffer[512];
  for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;) answer.append(buffer, static_cast<size_t>(n));
  ::close(fds[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return "the child did not end normally";
  return answer;
}

// While it lives, no file of the process can grow past Bytes: a write past
// it fails (EFBIG), as on a full disk.
class TFileSizeLimit {
 public:
  explicit TFileSizeLimit(rlim_t Bytes) {
    ::getrlimit(RLIMIT_FSIZE, &FFormer);
    FFormerSignal = ::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = FFormer;
    limit.rlim_cur = Bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~TFileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &FFormer);
    ::signal(SIGXFSZ, FFormerSignal);
  }

 private:
  rlimit FFormer{};
  sighandler_t FFormerSignal;
};

}  // namespace mirelon::test
