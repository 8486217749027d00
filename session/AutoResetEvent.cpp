#include "session/AutoResetEvent.h"

#include <chrono>

namespace mirelon {

void TAutoResetEvent::Set() {
  {
    std::lock_guard<std::mutex> Guard(FLock);
    FSet = true;
  }
  FChanged.notify_one();
}

void TAutoResetEvent::SetForGood() {
  {
    std::lock_guard<std::mutex> Guard(FLock);
    FSet = FForGood = true;
  }
  FChanged.notify_all();
}

void TAutoResetEvent::Wait() {
  std::unique_lock<std::mutex> Guard(FLock);
  FChanged.wait(Guard, [this] { return FSet; });
  FSet = FForGood;
}

bool TAutoResetEvent::WaitFor(uint32_t TimeoutMs) {
  std::unique_lock<std::mutex> Guard(FLock);
  if (!FChanged.wait_for(Guard, std::chrono::milliseconds(TimeoutMs), [this] { return FSet; })) return false;
  FSet = FForGood;
  return true;
}

}  // namespace mirelon
