// Counting forwarders of the C runtime's allocator on Windows. Every module of
// ours (the program, the extensions, the SDK and runtime stand-ins) links its
// own static C++ runtime, and all of them allocate through the C runtime DLL
// (msvcrt.dll): watchModules() points each module's imports of malloc and its
// relatives at the forwarders below, which count and call the DLL's own.
// Per-thread counts live in a Win32 TLS slot (mingw's thread_local would
// allocate on a thread's first use, inside the allocator).
#include <windows.h>

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "alloc_counter.h"
#include "import_patch.h"

namespace bench {
void probeRuntimeCalls();  // runtime_probe_win.cpp
}

namespace {

constexpr const char* kCrt = "msvcrt.dll";

struct PerThread {
  uint64_t mine;
  uint64_t outside;
  int runtimeDepth;
};

const DWORD tlsSlot = TlsAlloc();

PerThread* self() {
  const DWORD error = GetLastError();  // TlsGetValue clears it; callers of malloc may still read theirs
  auto* t = static_cast<PerThread*>(TlsGetValue(tlsSlot));
  if (!t) {
    t = static_cast<PerThread*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(PerThread)));
    TlsSetValue(tlsSlot, t);
  }
  SetLastError(error);
  return t;
}

std::atomic<uint64_t> all{0};
std::atomic<int64_t> live{0};
std::atomic<int64_t> peak{0};

using MallocFn = void* (*)(size_t);
using CallocFn = void* (*)(size_t, size_t);
using ReallocFn = void* (*)(void*, size_t);
using FreeFn = void (*)(void*);
using SizeFn = size_t (*)(void*);
using AlignedFn = void* (*)(size_t, size_t);
using StrdupFn = char* (*)(const char*);
using WcsdupFn = wchar_t* (*)(const wchar_t*);

template <class Fn>
Fn crt(const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA(kCrt), name)));
}

struct Crt {
  MallocFn malloc = crt<MallocFn>("malloc");
  CallocFn calloc = crt<CallocFn>("calloc");
  ReallocFn realloc = crt<ReallocFn>("realloc");
  FreeFn free = crt<FreeFn>("free");
  SizeFn msize = crt<SizeFn>("_msize");
  AlignedFn alignedMalloc = crt<AlignedFn>("_aligned_malloc");
  StrdupFn strdup = crt<StrdupFn>("_strdup");
  WcsdupFn wcsdup = crt<WcsdupFn>("_wcsdup");
};
const Crt& original() {
  static const Crt c;
  return c;
}

inline void count() {
  all.fetch_add(1, std::memory_order_relaxed);
  PerThread* t = self();
  if (!t) return;
  ++t->mine;
  if (t->runtimeDepth == 0) ++t->outside;
}

// Bytes of plain blocks only: an aligned block's size cannot be asked back.
inline void gained(void* p) {
  if (!p) return;
  const int64_t size = int64_t(original().msize(p));
  const int64_t now = live.fetch_add(size, std::memory_order_relaxed) + size;
  int64_t seen = peak.load(std::memory_order_relaxed);
  while (now > seen && !peak.compare_exchange_weak(seen, now, std::memory_order_relaxed)) {
  }
}
inline void lost(void* p) {
  if (p) live.fetch_sub(int64_t(original().msize(p)), std::memory_order_relaxed);
}

void* countedMalloc(size_t size) {
  count();
  void* p = original().malloc(size);
  gained(p);
  return p;
}
void* countedCalloc(size_t n, size_t size) {
  count();
  void* p = original().calloc(n, size);
  gained(p);
  return p;
}
void* countedRealloc(void* p, size_t size) {
  if (size != 0) count();
  lost(p);
  void* q = original().realloc(p, size);
  gained(q ? q : (size != 0 ? p : nullptr));  // a failed realloc keeps the old block
  return q;
}
void countedFree(void* p) {
  lost(p);
  original().free(p);
}
void* countedAlignedMalloc(size_t size, size_t alignment) {
  count();
  return original().alignedMalloc(size, alignment);
}
char* countedStrdup(const char* s) {
  count();
  char* p = original().strdup(s);
  gained(p);
  return p;
}
wchar_t* countedWcsdup(const wchar_t* s) {
  count();
  wchar_t* p = original().wcsdup(s);
  gained(p);
  return p;
}

template <class Fn>
void* address(Fn fn) {
  return reinterpret_cast<void*>(fn);
}

}  // namespace

namespace bench {

uint64_t allocationsAll() { return all.load(std::memory_order_relaxed); }
uint64_t allocationsThisThread() { return self()->mine; }
uint64_t allocationsOutsideRuntime() { return self()->outside; }
int64_t liveBytes() { return live.load(std::memory_order_relaxed); }
int64_t peakBytes() { return peak.load(std::memory_order_relaxed); }
void resetPeakBytes() { peak.store(live.load(std::memory_order_relaxed), std::memory_order_relaxed); }
RuntimeCall::RuntimeCall() { ++self()->runtimeDepth; }
RuntimeCall::~RuntimeCall() { --self()->runtimeDepth; }

void watchModules() {
  struct Entry {
    const char* name;
    void* replacement;
  };
  const Entry entries[] = {
      {"malloc", address(&countedMalloc)},
      {"calloc", address(&countedCalloc)},
      {"realloc", address(&countedRealloc)},
      {"free", address(&countedFree)},
      {"_aligned_malloc", address(&countedAlignedMalloc)},
      {"_strdup", address(&countedStrdup)},
      {"strdup", address(&countedStrdup)},
      {"_wcsdup", address(&countedWcsdup)},
  };
  (void)original();
  for (HMODULE module : ownModules())
    for (const Entry& e : entries) patchImport(module, kCrt, e.name, e.replacement);
  probeRuntimeCalls();
}

}  // namespace bench
