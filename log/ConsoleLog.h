// The console log: the one logging operation of the process, callable from
// any thread without ever waiting for a window. Every line goes, in the
// order of the ELogEvent calls, to the sinks (stdout for `mirelon serve`
// and the window alike) and, when a window shows the log, to a buffer that
// the window's thread takes in one flush at a time.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace mirelon {

class TConsoleLog {
 public:
  // Called under the log lock with each line (UTF-8, no line end); it must
  // not log nor take another lock.
  using TSink = std::function<void(const std::string& Line)>;
  // Posts FlushLog to the window's thread and returns at once.
  using TQueueFlush = std::function<void()>;

  // Set up before the first line is logged.
  void AddSink(TSink Sink);
  void ShowInWindow(TQueueFlush QueueFlush);

  // Drops a line that contains "GET /api/ping" (exact case) and every line
  // once Destroying() was called; otherwise hands it to the sinks and the
  // window's buffer, and queues one flush when none is pending.
  void ELogEvent(std::string_view Line);

  // The window's flush: clears the pending flag first (a line logged from
  // now on queues a new flush), then takes every buffered line in order.
  std::vector<std::string> TakeLines();

  void SetDestroying() { FDestroying.store(true); }
  bool Destroying() const { return FDestroying.load(); }
  // How many flushes were queued so far (a thousand lines need far fewer).
  uint64_t FlushCount() const { return FFlushCount.load(); }

 private:
  std::mutex FLogLock;  // the innermost lock of the process
  std::vector<TSink> FSinks;
  TQueueFlush FQueueFlush;
  std::vector<std::string> FLogBuffer;
  std::atomic<int32_t> FLogFlushPending{0};
  std::atomic<bool> FDestroying{false};
  std::atomic<uint64_t> FFlushCount{0};
};

// Writes each line to stdout with "\n", flushed at once.
TConsoleLog::TSink StdoutSink();

}  // namespace mirelon
