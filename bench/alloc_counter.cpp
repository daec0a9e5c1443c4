// Counting replacements of the C allocator, forwarding to glibc's own entry
// points. glibc supports replacing malloc this way; every library of the
// process, loaded at start or with dlopen, calls these.
#include "alloc_counter.h"

#include <atomic>
#include <cerrno>
#include <cstddef>

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
RuntimeCall::RuntimeCall() { ++runtimeDepth; }
RuntimeCall::~RuntimeCall() { --runtimeDepth; }
}  // namespace bench

extern "C" {

void* malloc(size_t size) {
  count();
  return __libc_malloc(size);
}

void* calloc(size_t n, size_t size) {
  count();
  return __libc_calloc(n, size);
}

void* realloc(void* p, size_t size) {
  if (size != 0) count();
  return __libc_realloc(p, size);
}

void free(void* p) { __libc_free(p); }

void* memalign(size_t alignment, size_t size) {
  count();
  return __libc_memalign(alignment, size);
}

void* aligned_alloc(size_t alignment, size_t size) {
  count();
  return __libc_memalign(alignment, size);
}

int posix_memalign(void** out, size_t alignment, size_t size) {
  if (alignment < sizeof(void*) || (alignment & (alignment - 1)) != 0) return EINVAL;
  count();
  void* p = __libc_memalign(alignment, size);
  if (!p) return ENOMEM;
  *out = p;
  return 0;
}

}  // extern "C"
