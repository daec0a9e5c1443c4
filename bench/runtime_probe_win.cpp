// The runtime functions the extensions import from "Adobe AIR.dll", wrapped
// on Windows: probeRuntimeCalls() points each extension's imports of them at
// forwarders that mark the thread as inside the runtime and call the runtime
// stand-in. So the allocations the stand-in makes for its objects and event
// queue are told apart from the extension's own (runtime_probe.cpp does the
// same on Linux by defining the functions in the program).
#include <windows.h>

#include "FlashRuntimeExtensions.h"
#include "alloc_counter.h"
#include "runtime_functions.h"
#include "import_patch.h"

namespace {

#define ANE_BENCH_FORWARD(name, params, args) \
  FREResult probe_##name params {              \
    bench::RuntimeCall inside;                 \
    return ::name args;                        \
  }

ANE_BENCH_RUNTIME_FUNCTIONS(ANE_BENCH_FORWARD)

#define ANE_BENCH_ENTRY(name, params, args) {#name, reinterpret_cast<void*>(&probe_##name)},

}  // namespace

namespace bench {

void probeRuntimeCalls() {
  struct Entry {
    const char* name;
    void* replacement;
  };
  const Entry entries[] = {
      ANE_BENCH_RUNTIME_FUNCTIONS(ANE_BENCH_ENTRY)
  };
  const std::vector<HMODULE> modules = ownModules();
  // Not the program's own calls (modules[0]): as on Linux, only the extensions' are marked.
  for (size_t i = 1; i < modules.size(); ++i)
    for (const Entry& e : entries) patchImport(modules[i], "Adobe AIR.dll", e.name, e.replacement);
}

}  // namespace bench
