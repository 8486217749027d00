// The process's current session: one slot and its lock. The lock is never
// held while a session is stopped, nor while a session's own lock is taken.
#include <cstdlib>
#include <mutex>

#include "core/builtins/Builtins.h"
#include "session/ExecSession.h"

namespace mirelon {

namespace {

std::mutex GSlotLock;
TSessionRef GCurrent;

// When the process ends, the current session is stopped: its worker is
// aborted and waited for. Registered once the builtin library exists, so
// that the library is destroyed only after the worker has ended.
void StopCurrentSessionAtExit() { ClearCurrentSession(); }

void StopCurrentSessionAtExitOnce() {
  static const bool Registered = [] {
    StandardBuiltins();
    return std::atexit(StopCurrentSessionAtExit) == 0;
  }();
  (void)Registered;
}

}  // namespace

// The new session takes the slot before the former one is stopped, so that
// two runs started at once leave one current and the other stopped.
TSessionRef StartSession(std::u16string ASource, int32_t ASeed, TSessionOptions Options) {
  StopCurrentSessionAtExitOnce();
  auto Session = std::make_shared<TExecSession>(std::move(ASource), ASeed, std::move(Options));
  TSessionRef Former;
  {
    std::lock_guard<std::mutex> Guard(GSlotLock);
    Former = std::exchange(GCurrent, Session);
  }
  if (Former) Former->Stop();
  try {
    Session->Start();
  } catch (...) {
    ClearCurrentSession(Session);
    throw;
  }
  return Session;
}

TSessionRef CurrentSession() {
  std::lock_guard<std::mutex> Guard(GSlotLock);
  return GCurrent;
}

void ClearCurrentSession() {
  TSessionRef Former;
  {
    std::lock_guard<std::mutex> Guard(GSlotLock);
    Former.swap(GCurrent);
  }
  if (Former) Former->Stop();
}

void ClearCurrentSession(const TSessionRef& Session) {
  {
    std::lock_guard<std::mutex> Guard(GSlotLock);
    if (GCurrent == Session) GCurrent.reset();
  }
  if (Session) Session->Stop();
}

}  // namespace mirelon
