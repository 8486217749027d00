// The execution session: the worker that runs the program, the turn
// protocol between the worker and its callers, and the run's output.
#include "session/ExecSession.h"

#include <atomic>
#include <mutex>
#include <optional>
#include <vector>

#include "core/Interpreter.h"
#include "core/Memory.h"
#include "core/builtins/Builtins.h"
#include "session/AutoResetEvent.h"
#include "session/RunOutcome.h"
#include "session/Worker.h"

namespace mirelon {

namespace {

// What an entry waiting in the session costs in the memory budget.
int64_t EntryBytes(const std::u16string& Entry) {
  return static_cast<int64_t>(sizeof(std::u16string) + Entry.size() * sizeof(char16_t));
}

}  // namespace

struct TExecSession::TImpl {
  TImpl(std::u16string ASource, int32_t ASeed, TSessionOptions Options)
      : FSource(std::move(ASource)), FSeed(ASeed), FOptions(std::move(Options)) {}

  void Run();
  void AppendOutput(const std::u16string& Msg);
  std::u16string AskInput(const std::u16string& Prompt);
  void Finish(const TRunOutcome& Outcome);

  const std::u16string FSource;
  const int32_t FSeed;
  const TSessionOptions FOptions;
  // The entries not handed out yet: those handed out are freed, since no
  // one reads them again.
  std::vector<std::u16string> FOutput;
  int64_t FOutputBytes = 0;  // what FOutput holds in the memory budget
  TAutoResetEvent FInputReady;  // worker waits: an answer, or an abort
  TAutoResetEvent FTurnDone;    // callers wait: a question, or the end
  std::u16string FPendingInput;
  std::u16string FPrompt;
  TSessionState FState = ssIdle;
  std::u16string FErrorMsg;
  int32_t FErrorLine = 0;
  std::atomic<bool> FAbort{false};
  // Guards the fields above but the events and FAbort; held for short
  // copies only, never while waiting or running the program.
  mutable std::mutex FLock;
  std::mutex FWorkerLock;  // Start and Stop, one caller at a time
  TWorkerThread FWorker;
};

// The worker. The outcome is in place before any caller wakes. The
// interpreter, with every value of the run, is freed after that, which can
// take a while for millions of values: a stopped run answers at once, and
// Stop (which waits for the worker) returns once the memory is given back.
void TExecSession::TImpl::Run() {
  std::optional<TMirelon> M;
  TRunOutcome Outcome = RunToOutcome([this, &M] {
    M.emplace(StandardBuiltins());
    M->FFilesFolder = FOptions.FilesFolder;
    M->OnOutput = [this](const std::u16string& Msg) { AppendOutput(Msg); };
    M->OnInput = [this](const std::u16string& Prompt) { return AskInput(Prompt); };
    M->SetAbortFlag(&FAbort);
    SeedRandom(static_cast<uint32_t>(FSeed));
    {
      std::lock_guard<std::mutex> Guard(FLock);
      FState = ssRunning;
    }
    M->Execute(FSource);
  });
  Finish(Outcome);
  M.reset();
}

void TExecSession::TImpl::Finish(const TRunOutcome& Outcome) {
  {
    std::lock_guard<std::mutex> Guard(FLock);
    FState = Outcome.State;
    FErrorMsg = Outcome.ErrorMsg;
    FErrorLine = Outcome.ErrorLine;
  }
  FTurnDone.SetForGood();
}

void TExecSession::TImpl::AppendOutput(const std::u16string& Msg) {
  if (FOptions.OnEntry) return FOptions.OnEntry(Msg);
  int64_t Bytes = EntryBytes(Msg);
  AccountBytes(Bytes);  // the memory error, at the statement that prints
  std::lock_guard<std::mutex> Guard(FLock);
  FOutput.push_back(Msg);
  FOutputBytes += Bytes;
}

// The turn protocol on the worker's side: the question ends the turn, then
// the worker sleeps until an answer or an abort wakes it.
std::u16string TExecSession::TImpl::AskInput(const std::u16string& Prompt) {
  if (FAbort.load()) throw ESessionAbort();
  {
    std::lock_guard<std::mutex> Guard(FLock);
    FPrompt = Prompt;
    FState = ssWaitingInput;
  }
  FTurnDone.Set();
  FInputReady.Wait();
  if (FAbort.load()) throw ESessionAbort();
  std::lock_guard<std::mutex> Guard(FLock);
  return std::move(FPendingInput);
}

TExecSession::TExecSession(std::u16string ASource, int32_t ASeed, TSessionOptions Options)
    : FImpl(std::make_unique<TImpl>(std::move(ASource), ASeed, std::move(Options))) {}

TExecSession::~TExecSession() {
  Stop();
  AccountBytes(-FImpl->FOutputBytes);
}

void TExecSession::Start() {
  std::lock_guard<std::mutex> Guard(FImpl->FWorkerLock);
  FImpl->FWorker.Start([Impl = FImpl.get()] { Impl->Run(); });
}

bool TExecSession::WaitTurn(uint32_t TimeoutMs) { return FImpl->FTurnDone.WaitFor(TimeoutMs); }

bool TExecSession::ProvideInput(const std::u16string& AValue) {
  {
    std::lock_guard<std::mutex> Guard(FImpl->FLock);
    // The state changes here, not when the worker wakes: a second answer
    // given before then finds the question answered.
    if (FImpl->FState != ssWaitingInput) return false;
    FImpl->FPendingInput = AValue;
    FImpl->FState = ssRunning;
  }
  FImpl->FInputReady.Set();
  return true;
}

void TExecSession::RequestAbort() {
  FImpl->FAbort.store(true);
  FImpl->FInputReady.Set();
}

void TExecSession::Stop() {
  RequestAbort();
  std::lock_guard<std::mutex> Guard(FImpl->FWorkerLock);
  FImpl->FWorker.Join();
}

std::u16string TExecSession::OutputSinceLastScreen() {
  std::vector<std::u16string> Entries;
  int64_t Released;
  {
    std::lock_guard<std::mutex> Guard(FImpl->FLock);
    Entries.swap(FImpl->FOutput);
    Released = std::exchange(FImpl->FOutputBytes, 0);
  }
  size_t Length = 0;
  for (const std::u16string& Entry : Entries) Length += Entry.size() + 2;
  std::u16string Text;
  Text.reserve(Length);
  for (const std::u16string& Entry : Entries) Text.append(Entry).append(u"\r\n");
  Entries.clear();
  AccountBytes(-Released);
  return Text;
}

TSessionState TExecSession::State() const {
  std::lock_guard<std::mutex> Guard(FImpl->FLock);
  return FImpl->FState;
}

std::u16string TExecSession::Prompt() const {
  std::lock_guard<std::mutex> Guard(FImpl->FLock);
  return FImpl->FPrompt;
}

std::u16string TExecSession::ErrorMsg() const {
  std::lock_guard<std::mutex> Guard(FImpl->FLock);
  return FImpl->FErrorMsg;
}

int32_t TExecSession::ErrorLine() const {
  std::lock_guard<std::mutex> Guard(FImpl->FLock);
  return FImpl->FErrorLine;
}

}  // namespace mirelon
