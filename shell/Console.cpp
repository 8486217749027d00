#include "shell/Console.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "core/Text.h"

namespace mirelon {

namespace {

std::atomic<bool> GInterrupted{false};
// Written on Ctrl-C so that a poll() on stdin wakes up.
int GWakePipe[2] = {-1, -1};
// Whether the last character written to stderr ended a line.
bool GStderrAtLineStart = true;
std::mutex GActionLock;
std::function<void()> GInterruptAction;

sigset_t InterruptSignals() {
  sigset_t Set;
  sigemptyset(&Set);
  sigaddset(&Set, SIGINT);
  return Set;
}

// The thread that takes SIGINT: an ordinary thread, unlike a signal
// handler, so the interrupt action may lock and wake other threads.
void WatchInterrupts() {
  const sigset_t Set = InterruptSignals();
  for (;;) {
    int Signal = 0;
    if (sigwait(&Set, &Signal) != 0) continue;
    if (GInterrupted.exchange(true)) _exit(130);
    if (GWakePipe[1] >= 0) {
      char Byte = 1;
      [[maybe_unused]] ssize_t N = write(GWakePipe[1], &Byte, 1);
    }
    std::lock_guard<std::mutex> Guard(GActionLock);
    if (GInterruptAction) GInterruptAction();
  }
}

void WriteStderr(std::string_view Text) {
  if (Text.empty()) return;
  fwrite(Text.data(), 1, Text.size(), stderr);
  fflush(stderr);
  GStderrAtLineStart = Text.back() == '\n';
}

// Reads stdin through its own buffer so that waiting can be done with poll()
// and interrupted by the wake pipe.
class TStdinLines {
 public:
  // False at end of input when no character is left, and on Ctrl-C.
  bool ReadLine(std::string& Line) {
    for (;;) {
      size_t End = FBuffer.find('\n');
      if (End != std::string::npos) return Take(End, End + 1, Line);
      if (FEnded) return !FBuffer.empty() && Take(FBuffer.size(), FBuffer.size(), Line);
      if (Interrupted()) return false;
      Fill();
    }
  }
  bool Ended() const { return FEnded; }

 private:
  bool Take(size_t LineEnd, size_t Consumed, std::string& Line) {
    Line.assign(FBuffer, 0, LineEnd);
    if (!Line.empty() && Line.back() == '\r') Line.pop_back();
    FBuffer.erase(0, Consumed);
    return true;
  }

  void Fill() {
    pollfd Fds[2] = {{STDIN_FILENO, POLLIN, 0}, {GWakePipe[0], POLLIN, 0}};
    if (poll(Fds, GWakePipe[0] >= 0 ? 2 : 1, -1) < 0) {
      if (errno != EINTR) FEnded = true;
      return;
    }
    if (Fds[0].revents == 0 || Interrupted()) return;
    char Chunk[4096];
    ssize_t N = read(STDIN_FILENO, Chunk, sizeof Chunk);
    if (N > 0) {
      FBuffer.append(Chunk, static_cast<size_t>(N));
    } else if (N == 0 || errno != EINTR) {
      FEnded = true;  // end of input, or stdin closed or unreadable
    }
  }

  std::string FBuffer;
  bool FEnded = false;
};

TStdinLines GStdin;

std::vector<std::u16string> SplitAt(const std::u16string& Text, char16_t Sep) {
  std::vector<std::u16string> Parts(1);
  for (char16_t C : Text) {
    if (C == Sep)
      Parts.emplace_back();
    else
      Parts.back() += C;
  }
  return Parts;
}

// "\x01CHOISIR\x01A\x01B" and "\x01APPUYER\x01z\x01s" become numbered lists;
// any other prompt is shown as written.
std::string RenderPrompt(const std::u16string& Prompt) {
  std::vector<std::u16string> Parts = SplitAt(Prompt, u'\x01');
  bool Marked = Parts.size() >= 2 && Parts[0].empty();
  bool Choose = Marked && Parts[1] == u"CHOISIR";
  if (!Choose && !(Marked && Parts[1] == u"APPUYER")) {
    // A blank between the question and the typed answer.
    bool EndsBlank = !Prompt.empty() && Prompt.back() <= u' ';
    return Utf16ToUtf8(Prompt) + (EndsBlank ? "" : " ");
  }
  std::string Shown;
  for (size_t I = 2; I < Parts.size(); ++I)
    Shown += std::to_string(I - 1) + ". " + Utf16ToUtf8(Parts[I]) + "\n";
  Shown += Choose ? "Votre choix" : "Votre touche";
  return Shown + " (1 à " + std::to_string(Parts.size() - 2) + ") : ";
}

// A closed standard stream would hand its number to the wake pipe.
void ReopenClosedStandardStreams() {
  for (int Fd = 0; Fd <= 2; ++Fd)
    if (fcntl(Fd, F_GETFD) < 0 && errno == EBADF) open("/dev/null", O_RDWR);
}

}  // namespace

void InstallInterruptHandler() {
  static bool Installed = false;
  if (std::exchange(Installed, true)) return;
  ReopenClosedStandardStreams();
  if (pipe(GWakePipe) != 0) GWakePipe[0] = GWakePipe[1] = -1;
  const sigset_t Set = InterruptSignals();
  pthread_sigmask(SIG_BLOCK, &Set, nullptr);
  std::thread(WatchInterrupts).detach();
}

void SetInterruptAction(std::function<void()> Action) {
  std::lock_guard<std::mutex> Guard(GActionLock);
  GInterruptAction = std::move(Action);
}

bool Interrupted() { return GInterrupted.load(std::memory_order_relaxed); }

void WriteOutputEntry(const std::u16string& Msg) {
  std::string Line = Utf16ToUtf8(Msg) + "\n";
  fwrite(Line.data(), 1, Line.size(), stdout);
  fflush(stdout);
}

std::optional<std::u16string> AskOnConsole(const std::u16string& Prompt) {
  WriteStderr(RenderPrompt(Prompt));
  std::string Answer;
  GStdin.ReadLine(Answer);
  if (Interrupted()) return std::nullopt;
  // A terminal has echoed the line end; piped input has not.
  if (GStdin.Ended() || !isatty(STDIN_FILENO)) WriteStderr("\n");
  GStderrAtLineStart = true;
  return Utf8ToUtf16(Answer);
}

void WriteErrorLine(std::string_view Line) {
  if (!GStderrAtLineStart) WriteStderr("\n");
  WriteStderr(std::string(Line) + "\n");
}

}  // namespace mirelon
