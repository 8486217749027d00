#include "MirelonProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace mirelon::test {

namespace fs = std::filesystem;

namespace {

// One folder per test process, removed when the process ends.
struct TTempFolder {
  fs::path Path = fs::temp_directory_path() / ("mirelon-shell-" + std::to_string(getpid()));
  TTempFolder() { fs::create_directories(Path); }
  ~TTempFolder() {
    std::error_code Ignored;
    fs::remove_all(Path, Ignored);
  }
};

fs::path TempFolder() {
  static const TTempFolder Folder;
  return Folder.Path;
}

std::string UniqueName(const std::string& Stem) {
  static std::atomic<int> Counter{0};
  return (TempFolder() / (std::to_string(++Counter) + "-" + Stem)).string();
}

std::string ReadWhole(const std::string& Path) {
  std::ifstream In(Path, std::ios::binary);
  std::ostringstream S;
  S << In.rdbuf();
  return S.str();
}

}  // namespace

std::string WriteTempFile(const std::string& Name, const std::string& Bytes) {
  std::string Path = UniqueName(Name);
  std::ofstream(Path, std::ios::binary) << Bytes;
  return Path;
}

std::string LastLine(const std::string& Text) {
  std::string T = Text;
  while (!T.empty() && (T.back() == '\n' || T.back() == '\r')) T.pop_back();
  size_t Start = T.rfind('\n');
  return Start == std::string::npos ? T : T.substr(Start + 1);
}

TMirelonProcess::TMirelonProcess(const std::vector<std::string>& Args)
    : FOutPath(UniqueName("stdout")), FErrPath(UniqueName("stderr")) {
  int Pipe[2];
  if (pipe(Pipe) != 0) throw std::runtime_error("pipe");
  std::vector<std::string> Argv{MIRELON_BINARY};
  Argv.insert(Argv.end(), Args.begin(), Args.end());
  FPid = fork();
  if (FPid == 0) {
    dup2(Pipe[0], STDIN_FILENO);
    dup2(open(FOutPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), STDOUT_FILENO);
    dup2(open(FErrPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), STDERR_FILENO);
    close(Pipe[1]);
    std::vector<char*> Raw;
    for (std::string& A : Argv) Raw.push_back(A.data());
    Raw.push_back(nullptr);
    execv(Raw[0], Raw.data());
    _exit(127);
  }
  close(Pipe[0]);
  FStdin = Pipe[1];
  if (FPid < 0) throw std::runtime_error("fork");
}

TMirelonProcess::~TMirelonProcess() {
  CloseStdin();
  if (FPid > 0) {
    kill(FPid, SIGKILL);
    waitpid(FPid, nullptr, 0);
  }
}

void TMirelonProcess::WriteStdin(const std::string& Bytes) {
  signal(SIGPIPE, SIG_IGN);  // the child may end before reading everything
  size_t Done = 0;
  while (FStdin >= 0 && Done < Bytes.size()) {
    ssize_t N = write(FStdin, Bytes.data() + Done, Bytes.size() - Done);
    if (N <= 0) break;
    Done += static_cast<size_t>(N);
  }
}

void TMirelonProcess::CloseStdin() {
  if (FStdin >= 0) close(FStdin);
  FStdin = -1;
}

bool TMirelonProcess::WaitForOutput(const std::string& Text, std::chrono::milliseconds Timeout, bool OnStderr) {
  auto Deadline = std::chrono::steady_clock::now() + Timeout;
  while (ReadWhole(OnStderr ? FErrPath : FOutPath).find(Text) == std::string::npos) {
    if (std::chrono::steady_clock::now() > Deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

std::string TMirelonProcess::Output() const { return ReadWhole(FOutPath); }

void TMirelonProcess::Signal(int Number) { kill(FPid, Number); }

TProcessResult TMirelonProcess::Wait(std::chrono::milliseconds Timeout) {
  TProcessResult R;
  auto Deadline = std::chrono::steady_clock::now() + Timeout;
  int Status = 0;
  while (waitpid(FPid, &Status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > Deadline) {
      R.TimedOut = true;
      kill(FPid, SIGKILL);
      waitpid(FPid, &Status, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  FPid = -1;
  R.ExitCode = WIFEXITED(Status) ? WEXITSTATUS(Status) : 128 + WTERMSIG(Status);
  R.Out = ReadWhole(FOutPath);
  R.Err = ReadWhole(FErrPath);
  return R;
}

TProcessResult RunMirelon(const std::vector<std::string>& Args, const std::string& Stdin,
                          std::chrono::milliseconds Timeout) {
  TMirelonProcess P(Args);
  P.WriteStdin(Stdin);
  P.CloseStdin();
  return P.Wait(Timeout);
}

TProcessResult RunProgram(const std::string& Source, const std::string& Stdin,
                          const std::vector<std::string>& ExtraArgs) {
  std::vector<std::string> Args{"run", WriteTempFile("programme.mir", Source)};
  Args.insert(Args.end(), ExtraArgs.begin(), ExtraArgs.end());
  return RunMirelon(Args, Stdin);
}

}  // namespace mirelon::test
