// The runtime functions the extensions import, defined again in this program
// (exported, so they take precedence for every library loaded into it): each
// marks the thread as inside the runtime and forwards to the runtime stand-in.
// So the allocations the stand-in makes for its objects and event queue are
// told apart from the extension's own.
#include <dlfcn.h>

#include "FlashRuntimeExtensions.h"
#include "alloc_counter.h"

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
