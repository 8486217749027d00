#include "log/ConsoleLog.h"

#include <cstdio>

namespace mirelon {

void TConsoleLog::AddSink(TSink Sink) {
  std::lock_guard Lock(FLogLock);
  FSinks.push_back(std::move(Sink));
}

void TConsoleLog::ShowInWindow(TQueueFlush QueueFlush) {
  std::lock_guard Lock(FLogLock);
  FQueueFlush = std::move(QueueFlush);
}

void TConsoleLog::ELogEvent(std::string_view Line) {
  if (Line.find("GET /api/ping") != std::string_view::npos || FDestroying.load()) return;
  TQueueFlush QueueFlush;
  {
    std::lock_guard Lock(FLogLock);
    const std::string Text(Line);
    for (const TSink& Sink : FSinks) Sink(Text);
    if (!FQueueFlush) return;
    FLogBuffer.push_back(Text);
    int32_t Idle = 0;
    if (!FLogFlushPending.compare_exchange_strong(Idle, 1)) return;
    QueueFlush = FQueueFlush;
  }
  // Queued outside the lock: posting to the window may take the window's own lock.
  FFlushCount.fetch_add(1);
  QueueFlush();
}

std::vector<std::string> TConsoleLog::TakeLines() {
  FLogFlushPending.store(0);
  std::lock_guard Lock(FLogLock);
  std::vector<std::string> Lines;
  Lines.swap(FLogBuffer);
  return Lines;
}

TConsoleLog::TSink StdoutSink() {
  return [](const std::string& Line) {
    std::fwrite(Line.data(), 1, Line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
  };
}

}  // namespace mirelon
