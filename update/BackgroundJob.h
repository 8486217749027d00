// One job at a time on a thread of its own, which Stop cancels and joins:
// the update check and the run-counter report run this way, so that the
// network never holds up the thread that starts them or shuts them down.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

namespace mirelon {

class TBackgroundJob {
 public:
  // The job gets a check that turns true once Stop was called; it should
  // give up soon after (the HTTPS client's cancel check does).
  using TJob = std::function<void(const std::function<bool()>& cancelled)>;

  TBackgroundJob() = default;
  TBackgroundJob(const TBackgroundJob&) = delete;
  TBackgroundJob& operator=(const TBackgroundJob&) = delete;
  ~TBackgroundJob() { Stop(); }

  // Starts job and returns at once; does nothing and returns false while an
  // earlier job still runs or once Stop was called. Whatever the job raises
  // is discarded. Callable from any thread.
  bool TryStart(TJob job);
  // Cancels a running job and waits for its thread; later TryStart calls do
  // nothing. Must not be called from the job itself.
  void Stop();
  bool Running() const { return FRunning; }

 private:
  std::mutex FLock;  // guards FThread
  std::thread FThread;
  std::atomic<bool> FRunning = false;
  std::atomic<bool> FStopping = false;
};

}  // namespace mirelon
