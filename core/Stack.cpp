#include "core/Stack.h"

#include <pthread.h>

namespace mirelon {

size_t StackRemaining() {
  thread_local char* low = [] {
    pthread_attr_t attr;
    void* addr = nullptr;
    size_t size = 0;
    if (pthread_getattr_np(pthread_self(), &attr) == 0) {
      pthread_attr_getstack(&attr, &addr, &size);
      pthread_attr_destroy(&attr);
    }
    return static_cast<char*>(addr);
  }();
  char* here = static_cast<char*>(__builtin_frame_address(0));
  return low && here > low ? static_cast<size_t>(here - low) : static_cast<size_t>(-1);
}

}  // namespace mirelon
