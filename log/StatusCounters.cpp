#include "log/StatusCounters.h"

namespace mirelon {

void TStatusCounters::Increment(std::atomic<int64_t>& Counter) {
  int64_t Old = Counter.load();
  while (!Counter.compare_exchange_weak(Old, Old + 1)) {
  }
  UpdateStatusBar();
}

TCounts TStatusCounters::Read() const { return {FReqCount.load(), FExecCount.load(), FErrCount.load()}; }

void TStatusCounters::UpdateStatusBar() const {
  if (FDisplay) FDisplay(Read());
}

}  // namespace mirelon
