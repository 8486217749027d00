#include "update/BackgroundJob.h"

#include <system_error>

namespace mirelon {

bool TBackgroundJob::TryStart(TJob job) {
  std::lock_guard<std::mutex> lock(FLock);
  if (FStopping || FRunning) return false;
  // The previous job has ended (FRunning is its last write): this join only
  // waits for its thread to exit.
  if (FThread.joinable()) FThread.join();
  FRunning = true;
  try {
    FThread = std::thread([this, job = std::move(job)] {
      try {
        job([this] { return FStopping.load(); });
      } catch (...) {
        // A background job has nobody to report to.
      }
      FRunning = false;
    });
  } catch (const std::system_error&) {
    FRunning = false;  // no thread to be had: the job is skipped
    return false;
  }
  return true;
}

void TBackgroundJob::Stop() {
  FStopping = true;
  std::lock_guard<std::mutex> lock(FLock);
  if (FThread.joinable()) FThread.join();
}

}  // namespace mirelon
