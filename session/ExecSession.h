// One run of a program: an execution session. The program runs on a worker
// thread of its own; the caller (a request thread of the server, the console
// runner, a test) waits for the end of each turn. A turn ends when the program
// asks a question (the session then waits for an answer for as long as it
// takes) or when the run is over (done, error or aborted).
//
// At most one session is current in the process. Sessions are shared: the
// slot and every caller that works with a session hold a reference, so a
// request that still waits on a session that another request has cleared
// never touches freed memory.
//
// Two callers on one session (two requests of the server): only the first
// answer to a question reaches the program, a later one is refused
// (ProvideInput returns false) and never kept for a later question; a caller
// that waits for a turn while another caller replaces or stops the session
// wakes at once with the run's end (ssAborted), since a run that is over
// ends every wait. Such a caller then clears the slot only if it still holds
// its own session (ClearCurrentSession(Session)), so it never stops the run
// that replaced it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

namespace mirelon {

enum TSessionState : uint8_t { ssIdle, ssRunning, ssWaitingInput, ssDone, ssError, ssAborted };

// What a run is given besides its text and seed.
struct TSessionOptions {
  // When set, called on the worker for every output entry as it is written,
  // instead of keeping the entry for OutputSinceLastScreen (the console
  // runner streams the output with it). It must not hold a reference to the
  // session.
  std::function<void(const std::u16string& Entry)> OnEntry;
  // Where the program's file builtins resolve a relative path; empty: the
  // process's current folder (`mirelon run`).
  std::filesystem::path FilesFolder;
};

class TExecSession {
 public:
  TExecSession(std::u16string ASource, int32_t ASeed, TSessionOptions Options = {});
  // Asks the run to abort, wakes a worker that waits for an answer and
  // waits for the worker to end: safe in any state.
  ~TExecSession();
  TExecSession(const TExecSession&) = delete;
  TExecSession& operator=(const TExecSession&) = delete;

  // Starts the worker (1 MiB of stack); called once.
  void Start();
  // True when a turn ended within TimeoutMs. Each question is one turn,
  // consumed by one wait; the run's end ends every wait, then and later.
  bool WaitTurn(uint32_t TimeoutMs);
  // Hands the answer to the question that waits and wakes the worker; false,
  // and the answer is dropped, when no question waits or it has its answer.
  bool ProvideInput(const std::u16string& AValue);
  // From any thread, at any time: the run ends aborted at its next check.
  void RequestAbort();
  // Ends the run (RequestAbort) and waits for the worker, which frees the
  // run's values after its last turn; idempotent.
  void Stop();
  // The entries written since the previous call, each followed by "\r\n".
  // Entries waiting here count in the memory budget of the runs, so a
  // program that prints without end fails with the memory error.
  std::u16string OutputSinceLastScreen();

  TSessionState State() const;
  std::u16string Prompt() const;
  std::u16string ErrorMsg() const;
  int32_t ErrorLine() const;

 private:
  struct TImpl;
  std::unique_ptr<TImpl> FImpl;
};

using TSessionRef = std::shared_ptr<TExecSession>;

// Clears the current session (which aborts it and waits for its worker),
// then makes a new one current and starts it.
TSessionRef StartSession(std::u16string ASource, int32_t ASeed, TSessionOptions Options = {});
// The current session, or null.
TSessionRef CurrentSession();
// Empties the slot, then, outside its lock, stops the session that was there.
void ClearCurrentSession();
// The same when the slot holds Session; Session is stopped in any case.
void ClearCurrentSession(const TSessionRef& Session);

}  // namespace mirelon
