#include "session/Worker.h"

#include <pthread.h>

#include <exception>
#include <system_error>

namespace mirelon {

namespace {

struct TWorkerJob {
  std::function<void()> Work;
  std::exception_ptr Failure;
};

void* WorkerMain(void* Arg) {
  auto* Job = static_cast<TWorkerJob*>(Arg);
  try {
    Job->Work();
  } catch (...) {
    Job->Failure = std::current_exception();
  }
  return nullptr;
}

void Check(int Code, const char* What) {
  if (Code != 0) throw std::system_error(Code, std::generic_category(), What);
}

}  // namespace

void RunOnWorker(std::function<void()> Work, size_t StackBytes) {
  TWorkerJob Job{std::move(Work), nullptr};
  pthread_attr_t Attr;
  Check(pthread_attr_init(&Attr), "pthread_attr_init");
  int Code = pthread_attr_setstacksize(&Attr, StackBytes);
  pthread_t Thread{};
  if (Code == 0) Code = pthread_create(&Thread, &Attr, WorkerMain, &Job);
  pthread_attr_destroy(&Attr);
  Check(Code, "pthread_create");
  Check(pthread_join(Thread, nullptr), "pthread_join");
  if (Job.Failure) std::rethrow_exception(Job.Failure);
}

}  // namespace mirelon
