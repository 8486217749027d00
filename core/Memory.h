// Ownership of the language's shared objects: intrusive, single-threaded
// reference counts; collections freed without recursion (an array nested a
// million deep must not overflow the stack); a registry through which an
// interpreter breaks the reference cycles its program made; and the memory
// budget that keeps a run from exhausting the process.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>

namespace mirelon {

// Limits of one value and of all values together.
constexpr size_t kMaxTextLength = 16777216;      // code units in one text
constexpr int32_t kMaxArrayCount = 4000000;      // elements in one array
constexpr int64_t kMaxAccountedBytes = 640ll << 20;  // texts and collections of the process

// Adds (or, negative, removes) bytes from the process-wide budget; raises
// the memory error when an addition would pass kMaxAccountedBytes.
void AccountBytes(int64_t delta);
int64_t AccountedBytes();

struct TCounted {
  int32_t RefCount = 0;
  virtual ~TCounted() = default;
};

void ReleaseCounted(TCounted* p);  // called when the count reaches 0

template <class T>
class TRef {
 public:
  TRef() = default;
  explicit TRef(T* p) : P(p) {
    if (P) ++P->RefCount;
  }
  TRef(const TRef& o) : P(o.P) {
    if (P) ++P->RefCount;
  }
  TRef(TRef&& o) noexcept : P(std::exchange(o.P, nullptr)) {}
  ~TRef() { Reset(); }
  TRef& operator=(const TRef& o) {
    if (o.P) ++o.P->RefCount;
    T* old = std::exchange(P, o.P);
    if (old && --old->RefCount == 0) ReleaseCounted(old);
    return *this;
  }
  TRef& operator=(TRef&& o) noexcept {
    T* old = std::exchange(P, std::exchange(o.P, nullptr));
    if (old && --old->RefCount == 0) ReleaseCounted(old);
    return *this;
  }
  void Reset() {
    if (P && --P->RefCount == 0) ReleaseCounted(P);
    P = nullptr;
  }
  void Swap(TRef& o) noexcept { std::swap(P, o.P); }
  T* get() const { return P; }
  T* operator->() const { return P; }
  T& operator*() const { return *P; }
  explicit operator bool() const { return P != nullptr; }
  bool operator==(const TRef& o) const { return P == o.P; }
  bool Unique() const { return P && P->RefCount == 1; }

 private:
  T* P = nullptr;
};

// Arrays and records: registered with the interpreter that is running on
// this thread, so that it can empty them (and break cycles) when it ends.
class TCollection : public TCounted {
 public:
  TCollection();
  ~TCollection() override;
  virtual void DropContents() = 0;  // empties the collection, releasing its values

 private:
  friend class TCollectionRegistry;
  class TCollectionRegistry* FRegistry = nullptr;
  TCollection* FPrev = nullptr;
  TCollection* FNext = nullptr;
};

class TCollectionRegistry {
 public:
  // Empties every collection still alive, so that cycles are freed.
  void BreakCycles();
  ~TCollectionRegistry() { BreakCycles(); }

 private:
  friend class TCollection;
  TCollection* FHead = nullptr;
};

// Makes a registry current on this thread for a scope.
class TRegistryScope {
 public:
  explicit TRegistryScope(TCollectionRegistry* r);
  ~TRegistryScope();

 private:
  TCollectionRegistry* FPrevious;
};

}  // namespace mirelon
