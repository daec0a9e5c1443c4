// Brisora's entry points, context finalizer and the trace switch; the context
// initializer is core's (core/entry.h).
#include <cstdio>

#include "core/context.h"
#include "core/entry.h"
#include "ilive/brisora.h"
#include "ilive/function_table.h"
#include "ilive/manager.h"

namespace brisora {

core::TraceSwitch debugMode;

void emptyHandler(void*) {}
void emptyHandler() {}
void emptyHandler(int32_t, const ilive::SdkString&, void*) {}

namespace {

// Where the events of every function and handler go (but the frame events).
core::AneContext& eventsContext() { return LiveManager::instance().context; }

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

ANE_ENTRY_POINTS(ANEWinExtInitializer, ANEWinExtFinalizer, brisora::eventsContext, brisora::kFunctionTable,
                 brisora::contextFinalizer)
