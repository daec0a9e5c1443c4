// Brisora's entry points, context initializer and finalizer.
#include <cstdio>
#include <exception>

#include "core/context.h"
#include "ilive/brisora.h"
#include "ilive/function_table.h"
#include "ilive/live_manager.h"

#if defined(_WIN32)
#define BRISORA_EXPORT extern "C" __declspec(dllexport)
#else
#define BRISORA_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace brisora {

void emptyHandler(void*) {}
void emptyHandler() {}
void emptyHandler(int32_t, const ilive::SdkString&, void*) {}

namespace {

// The extension's global context holder.
core::AneContext globalContext;

void contextInitializer(void*, const uint8_t*, FREContext ctx, uint32_t* numFunctionsToSet,
                        const FRENamedFunction** functionsToSet) {
  try {
    globalContext.setContext(ctx);
    LiveManager& manager = LiveManager::instance();
    manager.context = globalContext;
  } catch (...) {
  }
  if (numFunctionsToSet) *numFunctionsToSet = functionCount();
  if (functionsToSet) *functionsToSet = functionTable();
}

void contextFinalizer(FREContext) {
  std::printf("\n%s,%s", kPrefix, "BrisoraContextFinalizer\xA3\xBAGetILive()->release()");
  try {
    LiveManager::instance().reset();
  } catch (...) {
  }
  try {
    ::GetILive()->releaseSdk(nullptr, nullptr, nullptr);
  } catch (...) {
    // The SDK's answer to its release is not used, a failure included.
  }
}

}  // namespace
}  // namespace brisora

BRISORA_EXPORT void ANEWinExtInitializer(void** extDataToSet, FREContextInitializer* ctxInitializerToSet,
                                         FREContextFinalizer* ctxFinalizerToSet) {
  (void)extDataToSet;  // Brisora keeps no extension data
  if (ctxInitializerToSet) *ctxInitializerToSet = &brisora::contextInitializer;
  if (ctxFinalizerToSet) *ctxFinalizerToSet = &brisora::contextFinalizer;
}

BRISORA_EXPORT void ANEWinExtFinalizer(void* extData) { (void)extData; }
