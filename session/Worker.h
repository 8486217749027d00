// A thread with a chosen stack size: the interpreter's recursion guard
// measures the stack it has left, so every run gets the same, known stack.
#pragma once

#include <pthread.h>

#include <cstddef>
#include <functional>

namespace mirelon {

constexpr size_t kWorkerStackBytes = 1024 * 1024;

class TWorkerThread {
 public:
  TWorkerThread() = default;
  ~TWorkerThread() { Join(); }
  TWorkerThread(const TWorkerThread&) = delete;
  TWorkerThread& operator=(const TWorkerThread&) = delete;

  // Runs Work on a new thread whose stack is StackBytes long; Work must not
  // let an exception escape. std::system_error when the thread cannot be
  // created. Called at most once.
  void Start(std::function<void()> Work, size_t StackBytes = kWorkerStackBytes);
  // Waits for the thread to end; does nothing when it was never started or
  // was joined already. Called by one thread at a time, never by the worker.
  void Join();

 private:
  static void* Main(void* Self);

  std::function<void()> FWork;
  pthread_t FThread{};
  bool FJoinable = false;
};

}  // namespace mirelon
