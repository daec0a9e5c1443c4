// Counting replacements of the C allocator, forwarding to glibc's own entry
// points. glibc supports replacing malloc this way; every library of the
// process, loaded at start or with dlopen, calls these.
#include "alloc_counter.h"

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <malloc.h>

extern "C" {
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
void* __libc_memalign(size_t, size_t);
void __libc_free(void*);
}

namespace {

std::atomic<uint64_t> all{0};
// Static TLS of the executable: reading it never allocates.
thread_local uint64_t mine __attribute__((tls_model("initial-exec"))) = 0;
thread_local uint64_t outside __attribute__((tls_model("initial-exec"))) = 0;
thread_local int runtimeDepth __attribute__((tls_model("initial-exec"))) = 0;

std::atomic<int64_t> live{0};
std::atomic<int64_t> peak{0};

inline void gained(void* p) {
  if (!p) return;
  const int64_t now = live.fetch_add(int64_t(malloc_usable_size(p)), std::memory_order_relaxed) +
                      int64_t(malloc_usable_size(p));
  int64_t seen = peak.load(std::memory_order_relaxed);
  while (now > seen && !peak.compare_exchange_weak(seen, now, std::memory_order_relaxed)) {
  }
}
inline void lost(void* p) {
  if (p) live.fetch_sub(int64_t(malloc_usable_size(p)), std::memory_order_relaxed);
}

inline void count() {
  all.fetch_add(1, std::memory_order_relaxed);
  ++mine;
  if (runtimeDepth == 0) ++outside;
}

}  // namespace

namespace bench {
uint64_t allocationsAll() { return all.load(std::memory_order_relaxed); }
uint64_t allocationsThisThread() { return mine; }
uint64_t allocationsOutsideRuntime() { return outside; }
int64_t liveBytes() { return live.load(std::memory_order_relaxed); }
int64_t peakBytes() { return peak.load(std::memory_order_relaxed); }
void resetPeakBytes() { peak.store(live.load(std::memory_order_relaxed), std::memory_order_relaxed); }
void watchModules() {}
RuntimeCall::RuntimeCall() { ++runtimeDepth; }
RuntimeCall::~RuntimeCall() { --runtimeDepth; }
}  // namespace bench

extern "C" {

void* malloc(size_t size) {
  count();
  void* p = __libc_malloc(size);
  gained(p);
  return p;
}

void* calloc(size_t n, size_t size) {
  count();
  void* p = __libc_calloc(n, size);
  gained(p);
  return p;
}

void* realloc(void* p, size_t size) {
  if (size != 0) count();
  lost(p);
  void* q = __libc_realloc(p, size);
  gained(q ? q : (size != 0 ? p : nullptr));  // a failed realloc keeps the old block
  return q;
}

void free(void* p) {
  lost(p);
  __libc_free(p);
}

void* memalign(size_t alignment, size_t size) {
  count();
  void* p = __libc_memalign(alignment, size);
  gained(p);
  return p;
}

void* aligned_alloc(size_t alignment, size_t size) {
  count();
  void* p = __libc_memalign(alignment, size);
  gained(p);
  return p;
}

int posix_memalign(void** out, size_t alignment, size_t size) {
  if (alignment < sizeof(void*) || (alignment & (alignment - 1)) != 0) return EINVAL;
  count();
  void* p = __libc_memalign(alignment, size);
  if (!p) return ENOMEM;
  gained(p);
  *out = p;
  return 0;
}

}  // extern "C"
