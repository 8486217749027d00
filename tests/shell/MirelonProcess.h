// Runs the built mirelon binary as a child process for end-to-end tests.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace mirelon::test {

struct TProcessResult {
  int ExitCode = -1;  // 128 + signal number when killed by a signal
  std::string Out;
  std::string Err;
  bool TimedOut = false;
};

// Writes Bytes to a new file in a per-process temporary folder; returns its path.
std::string WriteTempFile(const std::string& Name, const std::string& Bytes);

// The last line of Text, without its line end.
std::string LastLine(const std::string& Text);

// A running "mirelon" whose stdin stays open until CloseStdin or the end.
class TMirelonProcess {
 public:
  explicit TMirelonProcess(const std::vector<std::string>& Args);
  ~TMirelonProcess();
  TMirelonProcess(const TMirelonProcess&) = delete;
  TMirelonProcess& operator=(const TMirelonProcess&) = delete;

  void WriteStdin(const std::string& Bytes);
  void CloseStdin();
  // Waits until stdout (or stderr) contains Text; false after the timeout.
  bool WaitForOutput(const std::string& Text, std::chrono::milliseconds Timeout, bool OnStderr = false);
  // What the process wrote to stdout so far.
  std::string Output() const;
  void Signal(int Number);
  // Waits for the end; kills the process and sets TimedOut after the timeout.
  TProcessResult Wait(std::chrono::milliseconds Timeout);

 private:
  pid_t FPid = -1;
  int FStdin = -1;
  std::string FOutPath, FErrPath;
};

// Runs mirelon with Args and the whole of Stdin, then end of input.
TProcessResult RunMirelon(const std::vector<std::string>& Args, const std::string& Stdin = "",
                          std::chrono::milliseconds Timeout = std::chrono::seconds(60));

// Writes Source to a temporary program file and runs it with "run".
TProcessResult RunProgram(const std::string& Source, const std::string& Stdin = "",
                          const std::vector<std::string>& ExtraArgs = {});

}  // namespace mirelon::test
