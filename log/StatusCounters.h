// The three counters of the status bar: requests, execute requests and
// turns that ended in a language error. Each increment is an atomic 64-bit
// compare-and-swap loop, then the new counts are handed to the display
// (queued to the window's thread), never waiting for it.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>

namespace mirelon {

struct TCounts {
  int64_t Requests = 0, Executions = 0, Errors = 0;
};

class TStatusCounters {
 public:
  // Queues ShowStatusCounters with a copy of the counts; set before use.
  using TDisplay = std::function<void(TCounts)>;
  void SetDisplay(TDisplay Display) { FDisplay = std::move(Display); }

  void IncReqCount() { Increment(FReqCount); }
  void IncExecCount() { Increment(FExecCount); }
  void IncErrCount() { Increment(FErrCount); }
  TCounts Read() const;
  // Copies the counts and hands them to the display.
  void UpdateStatusBar() const;

 private:
  void Increment(std::atomic<int64_t>& Counter);

  std::atomic<int64_t> FReqCount{0}, FExecCount{0}, FErrCount{0};
  TDisplay FDisplay;
};

}  // namespace mirelon
