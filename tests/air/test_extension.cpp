// A tiny extension that the runtime tests load like a real one. Each function
// breaks (or keeps) one rule of the runtime from inside a call or from another
// thread and answers with the FREResult it got, so tests see what the
// extension saw.
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <thread>

#include "FlashRuntimeExtensions.h"

#if defined(_WIN32)
#define TEST_EXPORT __declspec(dllexport)
#else
#define TEST_EXPORT __attribute__((visibility("default")))
#endif

namespace {

FREObject gKept = nullptr;
std::thread gLate;
FREResult gLateResult = FRE_OK;

FREObject code(FREResult r) {
  FREObject o = nullptr;
  FRENewObjectFromInt32(int32_t(r), &o);
  return o;
}

FREObject arg(uint32_t argc, FREObject argv[], uint32_t i) { return i < argc ? argv[i] : nullptr; }

int32_t intArg(uint32_t argc, FREObject argv[], uint32_t i) {
  int32_t v = 0;
  FREGetObjectAsInt32(arg(argc, argv, i), &v);
  return v;
}

// Returns its first argument unchanged.
FREObject echo(FREContext, void*, uint32_t argc, FREObject argv[]) { return arg(argc, argv, 0); }

// Keeps its first argument for a later call.
FREObject keep(FREContext, void*, uint32_t argc, FREObject argv[]) {
  gKept = arg(argc, argv, 0);
  return nullptr;
}

// Reads the object kept by an earlier call.
FREObject useKept(FREContext, void*, uint32_t, FREObject[]) {
  int32_t v = 0;
  return code(FREGetObjectAsInt32(gKept, &v));
}

// Returns the object kept by an earlier call as its result.
FREObject returnKept(FREContext, void*, uint32_t, FREObject[]) { return gKept; }

// Calls the runtime from another thread while this call is outstanding.
FREObject fromThread(FREContext ctx, void*, uint32_t, FREObject[]) {
  FREResult make = FRE_OK, dispatch = FRE_OK;
  std::thread t([&] {
    FREObject o = nullptr;
    make = FRENewObjectFromInt32(1, &o);
    dispatch = FREDispatchStatusEventAsync(ctx, reinterpret_cast<const uint8_t*>("thread"),
                                           reinterpret_cast<const uint8_t*>("ok"));
  });
  t.join();
  return code(dispatch == FRE_OK ? make : dispatch);
}

// Starts a thread that calls the runtime after this call has returned;
// joinLate answers with what it got.
FREObject startLate(FREContext, void*, uint32_t, FREObject[]) {
  gLate = std::thread([] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    FREObject o = nullptr;
    gLateResult = FRENewObjectFromBool(1, &o);
  });
  return nullptr;
}

FREObject joinLate(FREContext, void*, uint32_t, FREObject[]) {
  if (gLate.joinable()) gLate.join();
  return code(gLateResult);
}

// Acquires its ByteArray argument, calls something else and the release.
// Answers "other,release" result codes, e.g. "8,0".
FREObject whileAcquired(FREContext ctx, void*, uint32_t argc, FREObject argv[]) {
  FREByteArray bytes{};
  FREResult acquire = FREAcquireByteArray(arg(argc, argv, 0), &bytes);
  FREObject o = nullptr;
  FREResult other = FRENewObjectFromInt32(1, &o);
  FREResult dispatch = FREDispatchStatusEventAsync(ctx, reinterpret_cast<const uint8_t*>("acquired"),
                                                   reinterpret_cast<const uint8_t*>(""));
  FREResult release = FREReleaseByteArray(arg(argc, argv, 0));
  std::string text = std::to_string(acquire) + "," + std::to_string(other) + "," + std::to_string(dispatch) +
                     "," + std::to_string(release);
  FRENewObjectFromUTF8(uint32_t(text.size()), reinterpret_cast<const uint8_t*>(text.c_str()), &o);
  return o;
}

// Acquires its argument and returns without releasing it.
FREObject forgetRelease(FREContext, void*, uint32_t argc, FREObject argv[]) {
  FREByteArray bytes{};
  FREAcquireByteArray(arg(argc, argv, 0), &bytes);
  return nullptr;
}

// Passes a null result pointer.
FREObject nullPointer(FREContext, void*, uint32_t argc, FREObject argv[]) {
  return code(FREGetObjectAsInt32(arg(argc, argv, 0), nullptr));
}

// Sets its ByteArray's length to argument 1 and fills it with 0, 1, 2, ...
FREObject fillBytes(FREContext, void*, uint32_t argc, FREObject argv[]) {
  FREObject ba = arg(argc, argv, 0);
  FRESetObjectProperty(ba, reinterpret_cast<const uint8_t*>("length"), arg(argc, argv, 1), nullptr);
  FREByteArray bytes{};
  if (FREAcquireByteArray(ba, &bytes) != FRE_OK) return code(FRE_TYPE_MISMATCH);
  for (uint32_t i = 0; i < bytes.length; ++i) bytes.bytes[i] = uint8_t(i);
  return code(FREReleaseByteArray(ba));
}

// new BitmapData(args 0..3), then writes pixel (x, y) = args 4, 5 of the image
// (0 = top row) with the word of arg 6 and returns the bitmap.
FREObject paintBitmap(FREContext, void*, uint32_t argc, FREObject argv[]) {
  FREObject bitmap = nullptr, thrown = nullptr;
  FREObject ctorArgs[4] = {arg(argc, argv, 0), arg(argc, argv, 1), arg(argc, argv, 2), arg(argc, argv, 3)};
  if (FRENewObject(reinterpret_cast<const uint8_t*>("flash.display.BitmapData"), argc < 4 ? argc : 4, ctorArgs,
                   &bitmap, &thrown) != FRE_OK)
    return nullptr;
  uint32_t x = uint32_t(intArg(argc, argv, 4)), y = uint32_t(intArg(argc, argv, 5));
  uint32_t word = 0;
  FREGetObjectAsUint32(arg(argc, argv, 6), &word);
  FREBitmapData2 d{};
  if (FREAcquireBitmapData2(bitmap, &d) != FRE_OK) return nullptr;
  if (x < d.width && y < d.height) {
    uint32_t row = d.isInvertedY ? d.height - 1 - y : y;
    d.bits32[row * d.lineStride32 + x] = word;
  }
  FREInvalidateBitmapDataRect(bitmap, 0, 0, d.width, d.height);
  FREReleaseBitmapData(bitmap);
  return bitmap;
}

// Prints its text argument from the main thread and from another thread.
FREObject print(FREContext, void*, uint32_t argc, FREObject argv[]) {
  uint32_t n = 0;
  const uint8_t* s = nullptr;
  if (FREGetObjectAsUTF8(arg(argc, argv, 0), &n, &s) != FRE_OK) return nullptr;
  std::string text(reinterpret_cast<const char*>(s), n);
  std::printf("\nmain %s", text.c_str());
  std::thread t([&] { std::printf("\nthread %s", text.c_str()); });
  t.join();
  return nullptr;
}

// Throws out of the function (which a real extension must never do).
FREObject throws(FREContext, void*, uint32_t, FREObject[]) { throw std::runtime_error("boom"); }

const FRENamedFunction kFunctions[] = {
    {reinterpret_cast<const uint8_t*>("echo"), nullptr, echo},
    {reinterpret_cast<const uint8_t*>("keep"), nullptr, keep},
    {reinterpret_cast<const uint8_t*>("useKept"), nullptr, useKept},
    {reinterpret_cast<const uint8_t*>("returnKept"), nullptr, returnKept},
    {reinterpret_cast<const uint8_t*>("fromThread"), nullptr, fromThread},
    {reinterpret_cast<const uint8_t*>("startLate"), nullptr, startLate},
    {reinterpret_cast<const uint8_t*>("joinLate"), nullptr, joinLate},
    {reinterpret_cast<const uint8_t*>("whileAcquired"), nullptr, whileAcquired},
    {reinterpret_cast<const uint8_t*>("forgetRelease"), nullptr, forgetRelease},
    {reinterpret_cast<const uint8_t*>("nullPointer"), nullptr, nullPointer},
    {reinterpret_cast<const uint8_t*>("fillBytes"), nullptr, fillBytes},
    {reinterpret_cast<const uint8_t*>("paintBitmap"), nullptr, paintBitmap},
    {reinterpret_cast<const uint8_t*>("print"), nullptr, print},
    {reinterpret_cast<const uint8_t*>("throws"), nullptr, throws},
};

void contextInitializer(void*, const uint8_t* type, FREContext ctx, uint32_t* count,
                        const FRENamedFunction** functions) {
  *count = sizeof kFunctions / sizeof kFunctions[0];
  *functions = kFunctions;
  // The initializer runs as a call: the runtime may be used here.
  std::string text = "created " + std::string(reinterpret_cast<const char*>(type));
  FREDispatchStatusEventAsync(ctx, reinterpret_cast<const uint8_t*>("init"),
                              reinterpret_cast<const uint8_t*>(text.c_str()));
}

void contextFinalizer(FREContext) {
  if (gLate.joinable()) gLate.join();
  std::printf("\ncontext finalized");
}

}  // namespace

extern "C" {
TEST_EXPORT void AirTestInitializer(void** extData, FREContextInitializer* ctxInit, FREContextFinalizer* ctxFin) {
  *extData = nullptr;
  *ctxInit = contextInitializer;
  *ctxFin = contextFinalizer;
}
TEST_EXPORT void AirTestFinalizer(void*) {}
}
