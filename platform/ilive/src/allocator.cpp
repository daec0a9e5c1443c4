// The SDK allocator. Every block handed out is remembered, so that a free of a
// foreign pointer (another allocator's memory) or of a block already freed is
// counted instead of corrupting the heap; such pointers are left alone. Freed
// blocks wait in a quarantine before going back to the heap, so that their
// addresses are not handed out again (by any allocator) while a second free of
// them is still likely.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <mutex>
#include <unordered_set>

#include "ilive/sdk/alloc.h"
#include "ilive_standin/standin.h"

namespace {

struct Registry {
  std::mutex mutex;
  std::unordered_set<void*> live;
  std::unordered_set<void*> freed;  // in quarantine
  std::deque<void*> quarantine;
  ilive::standin::AllocStats stats;
};

Registry& registry() {
  static Registry* r = new Registry;  // never destroyed: blocks may be freed during exit
  return *r;
}

}  // namespace

extern "C" {

void* iliveMalloc(size_t size) {
  void* p = std::malloc(size ? size : 1);
  if (!p) return nullptr;
  Registry& r = registry();
  std::lock_guard<std::mutex> lock(r.mutex);
  r.live.insert(p);
  r.freed.erase(p);
  ++r.stats.allocations;
  ++r.stats.live;
  return p;
}

void iliveFree(void* pointer) {
  if (!pointer) return;
  constexpr size_t kQuarantined = 4096;
  Registry& r = registry();
  void* release = nullptr;
  {
    std::lock_guard<std::mutex> lock(r.mutex);
    if (r.live.erase(pointer) == 0) {
      if (r.freed.count(pointer)) {
        ++r.stats.doubleFrees;
        std::fprintf(stderr, "iLiveSDK stand-in: double free of %p\n", pointer);
      } else {
        ++r.stats.wrongFrees;
        std::fprintf(stderr, "iLiveSDK stand-in: free of %p, not allocated by iliveMalloc\n", pointer);
      }
      return;
    }
    r.freed.insert(pointer);
    r.quarantine.push_back(pointer);
    ++r.stats.frees;
    --r.stats.live;
    if (r.quarantine.size() > kQuarantined) {
      release = r.quarantine.front();
      r.quarantine.pop_front();
      r.freed.erase(release);
    }
  }
  std::free(release);
}

void* iliveMemCpy(void* destination, const void* source, size_t size) {
  if (size == 0) return destination;
  return std::memcpy(destination, source, size);
}

size_t iliveStrLen(const char* text) { return text ? std::strlen(text) : 0; }

int iliveVsnprintf(char* buffer, size_t size, const char* format, va_list args) {
  return std::vsnprintf(buffer, size, format, args);
}

}  // extern "C"

namespace ilive::standin {

AllocStats allocStats() {
  Registry& r = registry();
  std::lock_guard<std::mutex> lock(r.mutex);
  return r.stats;
}

}  // namespace ilive::standin
