// The runtime functions the extensions import from "Adobe AIR.dll", wrapped
// on Windows: probeRuntimeCalls() points each extension's imports of them at
// forwarders that mark the thread as inside the runtime and call the runtime
// stand-in. So the allocations the stand-in makes for its objects and event
// queue are told apart from the extension's own (runtime_probe.cpp does the
// same on Linux by defining the functions in the program).
#include <windows.h>

#include "FlashRuntimeExtensions.h"
#include "alloc_counter.h"
#include "import_patch.h"

namespace {

#define ANE_BENCH_FORWARD(name, params, args) \
  FREResult probe_##name params {              \
    bench::RuntimeCall inside;                 \
    return ::name args;                        \
  }

ANE_BENCH_FORWARD(FREGetObjectType, (FREObject o, FREObjectType* t), (o, t))
ANE_BENCH_FORWARD(FREGetObjectAsInt32, (FREObject o, int32_t* v), (o, v))
ANE_BENCH_FORWARD(FREGetObjectAsUint32, (FREObject o, uint32_t* v), (o, v))
ANE_BENCH_FORWARD(FREGetObjectAsDouble, (FREObject o, double* v), (o, v))
ANE_BENCH_FORWARD(FREGetObjectAsBool, (FREObject o, uint32_t* v), (o, v))
ANE_BENCH_FORWARD(FREGetObjectAsUTF8, (FREObject o, uint32_t* n, const uint8_t** v), (o, n, v))
ANE_BENCH_FORWARD(FRENewObjectFromInt32, (int32_t v, FREObject* o), (v, o))
ANE_BENCH_FORWARD(FRENewObjectFromUint32, (uint32_t v, FREObject* o), (v, o))
ANE_BENCH_FORWARD(FRENewObjectFromDouble, (double v, FREObject* o), (v, o))
ANE_BENCH_FORWARD(FRENewObjectFromBool, (uint32_t v, FREObject* o), (v, o))
ANE_BENCH_FORWARD(FRENewObjectFromUTF8, (uint32_t n, const uint8_t* v, FREObject* o), (n, v, o))
ANE_BENCH_FORWARD(FRENewObject, (const uint8_t* c, uint32_t n, FREObject a[], FREObject* o, FREObject* e),
                  (c, n, a, o, e))
ANE_BENCH_FORWARD(FREGetObjectProperty, (FREObject o, const uint8_t* p, FREObject* v, FREObject* e), (o, p, v, e))
ANE_BENCH_FORWARD(FRESetObjectProperty, (FREObject o, const uint8_t* p, FREObject v, FREObject* e), (o, p, v, e))
ANE_BENCH_FORWARD(FREAcquireBitmapData2, (FREObject o, FREBitmapData2* d), (o, d))
ANE_BENCH_FORWARD(FREReleaseBitmapData, (FREObject o), (o))
ANE_BENCH_FORWARD(FREInvalidateBitmapDataRect, (FREObject o, uint32_t x, uint32_t y, uint32_t w, uint32_t h),
                  (o, x, y, w, h))
ANE_BENCH_FORWARD(FREAcquireByteArray, (FREObject o, FREByteArray* b), (o, b))
ANE_BENCH_FORWARD(FREReleaseByteArray, (FREObject o), (o))
ANE_BENCH_FORWARD(FREDispatchStatusEventAsync, (FREContext c, const uint8_t* code, const uint8_t* level),
                  (c, code, level))

#define ANE_BENCH_ENTRY(name) {#name, reinterpret_cast<void*>(&probe_##name)}

}  // namespace

namespace bench {

void probeRuntimeCalls() {
  struct Entry {
    const char* name;
    void* replacement;
  };
  const Entry entries[] = {
      ANE_BENCH_ENTRY(FREGetObjectType),       ANE_BENCH_ENTRY(FREGetObjectAsInt32),
      ANE_BENCH_ENTRY(FREGetObjectAsUint32),   ANE_BENCH_ENTRY(FREGetObjectAsDouble),
      ANE_BENCH_ENTRY(FREGetObjectAsBool),     ANE_BENCH_ENTRY(FREGetObjectAsUTF8),
      ANE_BENCH_ENTRY(FRENewObjectFromInt32),  ANE_BENCH_ENTRY(FRENewObjectFromUint32),
      ANE_BENCH_ENTRY(FRENewObjectFromDouble), ANE_BENCH_ENTRY(FRENewObjectFromBool),
      ANE_BENCH_ENTRY(FRENewObjectFromUTF8),   ANE_BENCH_ENTRY(FRENewObject),
      ANE_BENCH_ENTRY(FREGetObjectProperty),   ANE_BENCH_ENTRY(FRESetObjectProperty),
      ANE_BENCH_ENTRY(FREAcquireBitmapData2),  ANE_BENCH_ENTRY(FREReleaseBitmapData),
      ANE_BENCH_ENTRY(FREInvalidateBitmapDataRect), ANE_BENCH_ENTRY(FREAcquireByteArray),
      ANE_BENCH_ENTRY(FREReleaseByteArray),    ANE_BENCH_ENTRY(FREDispatchStatusEventAsync),
  };
  const std::vector<HMODULE> modules = ownModules();
  // Not the program's own calls (modules[0]): as on Linux, only the extensions' are marked.
  for (size_t i = 1; i < modules.size(); ++i)
    for (const Entry& e : entries) patchImport(modules[i], "Adobe AIR.dll", e.name, e.replacement);
}

}  // namespace bench
