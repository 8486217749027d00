#include "session/Worker.h"

#include <system_error>

namespace mirelon {

void* TWorkerThread::Main(void* Self) {
  static_cast<TWorkerThread*>(Self)->FWork();
  return nullptr;
}

void TWorkerThread::Start(std::function<void()> Work, size_t StackBytes) {
  FWork = std::move(Work);
  pthread_attr_t Attr;
  int Code = pthread_attr_init(&Attr);
  if (Code == 0) {
    Code = pthread_attr_setstacksize(&Attr, StackBytes);
    if (Code == 0) Code = pthread_create(&FThread, &Attr, Main, this);
    pthread_attr_destroy(&Attr);
  }
  if (Code != 0) throw std::system_error(Code, std::generic_category(), "pthread_create");
  FJoinable = true;
}

void TWorkerThread::Join() {
  if (!FJoinable) return;
  pthread_join(FThread, nullptr);
  FJoinable = false;
}

}  // namespace mirelon
