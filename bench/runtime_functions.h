// The runtime's functions that the extensions call, for the benchmark's
// probes to forward: X(name, parameters, arguments).
#pragma once

#define ANE_BENCH_RUNTIME_FUNCTIONS(X)                                                               \
  X(FREGetObjectType, (FREObject o, FREObjectType* t), (o, t))                                       \
  X(FREGetObjectAsInt32, (FREObject o, int32_t* v), (o, v))                                          \
  X(FREGetObjectAsUint32, (FREObject o, uint32_t* v), (o, v))                                        \
  X(FREGetObjectAsDouble, (FREObject o, double* v), (o, v))                                          \
  X(FREGetObjectAsBool, (FREObject o, uint32_t* v), (o, v))                                          \
  X(FREGetObjectAsUTF8, (FREObject o, uint32_t* n, const uint8_t** v), (o, n, v))                    \
  X(FRENewObjectFromInt32, (int32_t v, FREObject* o), (v, o))                                        \
  X(FRENewObjectFromUint32, (uint32_t v, FREObject* o), (v, o))                                      \
  X(FRENewObjectFromDouble, (double v, FREObject* o), (v, o))                                        \
  X(FRENewObjectFromBool, (uint32_t v, FREObject* o), (v, o))                                        \
  X(FRENewObjectFromUTF8, (uint32_t n, const uint8_t* v, FREObject* o), (n, v, o))                   \
  X(FRENewObject, (const uint8_t* c, uint32_t n, FREObject a[], FREObject* o, FREObject* e),         \
    (c, n, a, o, e))                                                                                 \
  X(FREGetObjectProperty, (FREObject o, const uint8_t* p, FREObject* v, FREObject* e), (o, p, v, e)) \
  X(FRESetObjectProperty, (FREObject o, const uint8_t* p, FREObject v, FREObject* e), (o, p, v, e))  \
  X(FREAcquireBitmapData2, (FREObject o, FREBitmapData2* d), (o, d))                                 \
  X(FREReleaseBitmapData, (FREObject o), (o))                                                        \
  X(FREInvalidateBitmapDataRect, (FREObject o, uint32_t x, uint32_t y, uint32_t w, uint32_t h),      \
    (o, x, y, w, h))                                                                                 \
  X(FREAcquireByteArray, (FREObject o, FREByteArray* b), (o, b))                                     \
  X(FREReleaseByteArray, (FREObject o), (o))                                                         \
  X(FREDispatchStatusEventAsync, (FREContext c, const uint8_t* code, const uint8_t* level),          \
    (c, code, level))
