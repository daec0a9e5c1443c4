// Heap allocations counted process-wide and per thread: every allocation of
// the extensions, the stand-ins and the benchmark through the C allocator
// (operator new of libstdc++ ends in malloc). On Linux the program replaces
// malloc and its relatives (alloc_counter.cpp); on Windows each module of
// ours imports them from the C runtime DLL, and watchModules() points those
// imports at counting forwarders (alloc_counter_win.cpp).
#pragma once

#include <cstdint>

namespace bench {

// Starts counting in every module of ours loaded so far, and marks the
// runtime calls the extensions make (runtime_probe*.cpp). Call it once the
// extensions and the SDK stand-ins are loaded; on Linux counting runs from
// the start and this does nothing.
void watchModules();

// Allocations (malloc, calloc, realloc to a new size, aligned forms) so far.
uint64_t allocationsAll();
uint64_t allocationsThisThread();
// Allocations of this thread made outside the runtime stand-in's FRE calls
// (runtime_probe.cpp marks those), i.e. by the extension or the host.
uint64_t allocationsOutsideRuntime();

// Heap bytes live now (usable sizes), and the most live since the last
// resetPeakBytes.
int64_t liveBytes();
int64_t peakBytes();
void resetPeakBytes();

// Marks the calling thread as inside a runtime call while it lives.
class RuntimeCall {
 public:
  RuntimeCall();
  ~RuntimeCall();
  RuntimeCall(const RuntimeCall&) = delete;
  RuntimeCall& operator=(const RuntimeCall&) = delete;
};

}  // namespace bench
