// The task queue the HTTP library hands each accepted connection to: one
// thread per connection, never a small pool that idle keep-alive sockets
// could starve. Finished threads are joined as new ones start; shutdown
// waits for all of them.
#pragma once

#include <httplib.h>

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

namespace mirelon {

class TConnectionThreads final : public httplib::TaskQueue {
 public:
  // Runs a connection that could get no thread of its own right there, on
  // the accepting thread: it must be quick (a refusal).
  explicit TConnectionThreads(std::function<void(std::function<void()>)> RunWithoutThread)
      : FRunWithoutThread(std::move(RunWithoutThread)) {}

  void enqueue(std::function<void()> Connection) override;
  void shutdown() override;

 private:
  void JoinFinished();

  std::function<void(std::function<void()>)> FRunWithoutThread;
  std::mutex FLock;
  std::condition_variable FOneFinished;
  std::map<uint64_t, std::thread> FThreads;
  std::vector<uint64_t> FFinished;
  uint64_t FNextId = 0;
};

}  // namespace mirelon
