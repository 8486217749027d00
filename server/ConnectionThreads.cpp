#include "server/ConnectionThreads.h"

#include <system_error>

namespace mirelon {

void TConnectionThreads::JoinFinished() {
  for (uint64_t Id : FFinished) {
    FThreads[Id].join();
    FThreads.erase(Id);
  }
  FFinished.clear();
}

void TConnectionThreads::enqueue(std::function<void()> Connection) {
  std::unique_lock Lock(FLock);
  JoinFinished();
  const uint64_t Id = FNextId++;
  try {
    FThreads.emplace(Id, std::thread([this, Id, Connection]() mutable {
                       Connection();
                       Connection = nullptr;
                       std::lock_guard Done(FLock);
                       FFinished.push_back(Id);
                       FOneFinished.notify_all();
                     }));
  } catch (const std::system_error&) {
    Lock.unlock();
    FRunWithoutThread(std::move(Connection));
  }
}

void TConnectionThreads::shutdown() {
  std::unique_lock Lock(FLock);
  FOneFinished.wait(Lock, [this] { return FFinished.size() == FThreads.size(); });
  JoinFinished();
}

}  // namespace mirelon
