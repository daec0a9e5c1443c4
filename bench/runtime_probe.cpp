// The runtime functions the extensions import, defined again in this program
// (exported, so they take precedence for every library loaded into it): each
// marks the thread as inside the runtime and forwards to the runtime stand-in.
// So the allocations the stand-in makes for its objects and event queue are
// told apart from the extension's own.
#include <dlfcn.h>

#include "FlashRuntimeExtensions.h"
#include "alloc_counter.h"
#include "runtime_functions.h"

namespace {

template <class Fn>
Fn next(const char* name) {
  return reinterpret_cast<Fn>(dlsym(RTLD_NEXT, name));
}

}  // namespace

#define ANE_BENCH_FORWARD(name, params, args)                          \
  extern "C" FRE_API FREResult name params {                           \
    bench::RuntimeCall inside;                                         \
    static const auto fn = next<FREResult(*) params>(#name);           \
    return fn ? fn args : FRE_INVALID_ARGUMENT;                        \
  }

ANE_BENCH_RUNTIME_FUNCTIONS(ANE_BENCH_FORWARD)
