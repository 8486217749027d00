#include "core/Memory.h"

#include <atomic>
#include <vector>

#include "core/Errors.h"

namespace mirelon {

namespace {
std::atomic<int64_t> gAccounted{0};
thread_local TCollectionRegistry* tCurrentRegistry = nullptr;
// Objects whose count reached zero while another release was running:
// freed one after the other by the outermost release, so that freeing a
// deeply nested array never recurses.
thread_local std::vector<TCounted*>* tPending = nullptr;
}  // namespace

void AccountBytes(int64_t delta) {
  int64_t now = gAccounted.fetch_add(delta, std::memory_order_relaxed) + delta;
  if (delta > 0 && now > kMaxAccountedBytes) {
    gAccounted.fetch_sub(delta, std::memory_order_relaxed);
    throw EMirelonLimit(u"Mémoire insuffisante : le programme utilise plus de 640 Mo de textes et de tableaux");
  }
}

int64_t AccountedBytes() { return gAccounted.load(std::memory_order_relaxed); }

void ReleaseCounted(TCounted* p) {
  if (tPending) {
    tPending->push_back(p);
    return;
  }
  std::vector<TCounted*> pending{p};
  tPending = &pending;
  while (!pending.empty()) {
    TCounted* q = pending.back();
    pending.pop_back();
    delete q;  // releases of its contents land in `pending`
  }
  tPending = nullptr;
}

TCollection::TCollection() : FRegistry(tCurrentRegistry) {
  if (!FRegistry) return;
  FNext = FRegistry->FHead;
  if (FNext) FNext->FPrev = this;
  FRegistry->FHead = this;
}

TCollection::~TCollection() {
  if (!FRegistry) return;
  if (FPrev) FPrev->FNext = FNext;
  else FRegistry->FHead = FNext;
  if (FNext) FNext->FPrev = FPrev;
}

void TCollectionRegistry::BreakCycles() {
  // Hold every live collection so that none is freed while others are emptied.
  std::vector<TRef<TCollection>> alive;
  for (TCollection* c = FHead; c; c = c->FNext) alive.emplace_back(c);
  for (auto& c : alive) c->DropContents();
  alive.clear();
  // Survivors (held from outside) leave the registry, which is going away.
  for (TCollection* c = FHead; c;) {
    TCollection* next = c->FNext;
    c->FRegistry = nullptr;
    c->FPrev = c->FNext = nullptr;
    c = next;
  }
  FHead = nullptr;
}

TRegistryScope::TRegistryScope(TCollectionRegistry* r) : FPrevious(tCurrentRegistry) { tCurrentRegistry = r; }
TRegistryScope::~TRegistryScope() { tCurrentRegistry = FPrevious; }

}  // namespace mirelon
