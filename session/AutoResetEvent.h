// An event that hands one signal to one wait: Set wakes one waiting thread,
// or, when none waits, lets the next wait through at once; each wait that
// returns takes the signal away again. SetForGood leaves it set for every
// wait, present and future (a run that is over stays over).
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace mirelon {

class TAutoResetEvent {
 public:
  void Set();
  void SetForGood();
  void Wait();
  // True when the event was set within TimeoutMs (measured on a monotonic clock).
  bool WaitFor(uint32_t TimeoutMs);

 private:
  std::mutex FLock;
  std::condition_variable FChanged;
  bool FSet = false;
  bool FForGood = false;
};

}  // namespace mirelon
