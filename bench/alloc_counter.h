// Heap allocations counted process-wide and per thread. The benchmark program
// replaces malloc and its relatives (operator new of libstdc++ ends in malloc),
// so every allocation of the extensions, the stand-ins and the benchmark is seen.
#pragma once

#include <cstdint>

namespace bench {

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
