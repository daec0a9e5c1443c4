// A small extension for the host tool's own tests: it echoes values, prints
// console lines (or bytes as they are), raises events from another thread, and paints a 2 × 2 test
// picture (red, green / blue, white) into ByteArrays and BitmapDatas.
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "FlashRuntimeExtensions.h"

#if defined(_WIN32)
#define ECHO_EXPORT extern "C" __declspec(dllexport)
#else
#define ECHO_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace {

FREContext gContext = nullptr;

// The picture as ARGB words, top row first.
const uint32_t kPicture[4] = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFFFFu};

std::string text(FREObject o) {
  uint32_t length = 0;
  const uint8_t* bytes = nullptr;
  if (FREGetObjectAsUTF8(o, &length, &bytes) != FRE_OK || !bytes) return {};
  return std::string(reinterpret_cast<const char*>(bytes), length);
}

FREObject echo(FREContext, void*, uint32_t argc, FREObject argv[]) { return argc ? argv[0] : nullptr; }

FREObject say(FREContext, void*, uint32_t argc, FREObject argv[]) {
  for (uint32_t i = 0; i < argc; ++i) std::printf("\n%s", text(argv[i]).c_str());
  FREObject result = nullptr;
  FRENewObjectFromBool(1, &result);
  return result;
}

// write(text): the text's bytes as they are, no line break added.
FREObject write(FREContext, void*, uint32_t argc, FREObject argv[]) {
  const std::string t = argc ? text(argv[0]) : "";
  std::fwrite(t.data(), 1, t.size(), stdout);
  return nullptr;
}

FREObject emit(FREContext ctx, void*, uint32_t argc, FREObject argv[]) {
  const std::string code = argc > 0 ? text(argv[0]) : "";
  const std::string level = argc > 1 ? text(argv[1]) : "";
  std::thread([ctx, code, level] {
    FREDispatchStatusEventAsync(ctx, reinterpret_cast<const uint8_t*>(code.c_str()),
                                reinterpret_cast<const uint8_t*>(level.c_str()));
  }).join();
  return nullptr;
}

// breach(value): reads the value into a null pointer, which the runtime
// refuses and counts as a breach of its rules.
FREObject breach(FREContext, void*, uint32_t argc, FREObject argv[]) {
  if (argc) FREGetObjectAsInt32(argv[0], nullptr);
  return nullptr;
}

// emitLate(code, level): the event is raised to this context when the
// extension is unloaded, after every context finalizer has run.
struct LateEvent {
  FREContext context;
  std::string code, level;
};
std::vector<LateEvent> gLateEvents;

FREObject emitLate(FREContext ctx, void*, uint32_t argc, FREObject argv[]) {
  gLateEvents.push_back({ctx, argc > 0 ? text(argv[0]) : "", argc > 1 ? text(argv[1]) : ""});
  return nullptr;
}

// fill(bytes): the picture as getVideoData delivers it, BGRA, top row first.
FREObject fill(FREContext, void*, uint32_t argc, FREObject argv[]) {
  if (argc < 1) return nullptr;
  FREObject length = nullptr;
  FRENewObjectFromUint32(16, &length);
  FRESetObjectProperty(argv[0], reinterpret_cast<const uint8_t*>("length"), length, nullptr);
  FREByteArray array;
  if (FREAcquireByteArray(argv[0], &array) != FRE_OK) return nullptr;
  for (int i = 0; i < 4; ++i) {
    array.bytes[i * 4 + 0] = static_cast<uint8_t>(kPicture[i]);
    array.bytes[i * 4 + 1] = static_cast<uint8_t>(kPicture[i] >> 8);
    array.bytes[i * 4 + 2] = static_cast<uint8_t>(kPicture[i] >> 16);
    array.bytes[i * 4 + 3] = static_cast<uint8_t>(kPicture[i] >> 24);
  }
  FREReleaseByteArray(argv[0]);
  return nullptr;
}

void paintBitmap(FREObject bitmap) {
  FREBitmapData2 data;
  if (FREAcquireBitmapData2(bitmap, &data) != FRE_OK) return;
  for (uint32_t y = 0; y < 2 && y < data.height; ++y) {
    const uint32_t row = data.isInvertedY ? data.height - 1 - y : y;
    for (uint32_t x = 0; x < 2 && x < data.width; ++x) data.bits32[row * data.lineStride32 + x] = kPicture[y * 2 + x];
  }
  FREInvalidateBitmapDataRect(bitmap, 0, 0, data.width, data.height);
  FREReleaseBitmapData(bitmap);
}

// paint(bitmap): the picture into the top left corner of a BitmapData.
FREObject paint(FREContext, void*, uint32_t argc, FREObject argv[]) {
  if (argc >= 1) paintBitmap(argv[0]);
  return nullptr;
}

// inverted(bitmap): whether the runtime stores its rows bottom row first.
FREObject inverted(FREContext, void*, uint32_t argc, FREObject argv[]) {
  FREBitmapData2 data;
  if (argc < 1 || FREAcquireBitmapData2(argv[0], &data) != FRE_OK) return nullptr;
  const uint32_t invertedY = data.isInvertedY;
  FREReleaseBitmapData(argv[0]);
  FREObject result = nullptr;
  FRENewObjectFromBool(invertedY, &result);
  return result;
}

// picture(): a new 2 × 2 BitmapData with the picture.
FREObject picture(FREContext, void*, uint32_t, FREObject[]) {
  FREObject args[4] = {};
  FRENewObjectFromUint32(2, &args[0]);
  FRENewObjectFromUint32(2, &args[1]);
  FRENewObjectFromBool(1, &args[2]);
  FRENewObjectFromUint32(0, &args[3]);
  FREObject bitmap = nullptr;
  if (FRENewObject(reinterpret_cast<const uint8_t*>("flash.display.BitmapData"), 4, args, &bitmap, nullptr) != FRE_OK)
    return nullptr;
  paintBitmap(bitmap);
  return bitmap;
}

const FRENamedFunction kFunctions[] = {
    {reinterpret_cast<const uint8_t*>("echo"), nullptr, echo},
    {reinterpret_cast<const uint8_t*>("say"), nullptr, say},
    {reinterpret_cast<const uint8_t*>("emit"), nullptr, emit},
    {reinterpret_cast<const uint8_t*>("write"), nullptr, write},
    {reinterpret_cast<const uint8_t*>("fill"), nullptr, fill},
    {reinterpret_cast<const uint8_t*>("paint"), nullptr, paint},
    {reinterpret_cast<const uint8_t*>("picture"), nullptr, picture},
    {reinterpret_cast<const uint8_t*>("inverted"), nullptr, inverted},
    {reinterpret_cast<const uint8_t*>("breach"), nullptr, breach},
    {reinterpret_cast<const uint8_t*>("emitLate"), nullptr, emitLate},
};

void contextInitializer(void*, const uint8_t*, FREContext ctx, uint32_t* count, const FRENamedFunction** functions) {
  gContext = ctx;
  *count = sizeof kFunctions / sizeof kFunctions[0];
  *functions = kFunctions;
}

void contextFinalizer(FREContext) {
  std::printf("\nHostEcho: context finalized");
  gContext = nullptr;
}

}  // namespace

ECHO_EXPORT void HostEchoInitializer(void**, FREContextInitializer* init, FREContextFinalizer* fini) {
  *init = contextInitializer;
  *fini = contextFinalizer;
}

ECHO_EXPORT void HostEchoFinalizer(void*) {
  for (const LateEvent& e : gLateEvents)
    FREDispatchStatusEventAsync(e.context, reinterpret_cast<const uint8_t*>(e.code.c_str()),
                                reinterpret_cast<const uint8_t*>(e.level.c_str()));
  gLateEvents.clear();
}
