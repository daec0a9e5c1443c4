// Brisora's entry points, context finalizer and the trace switch; the context
// initializer is core's (core/entry.h).
#include <cstdio>

#include "core/context.h"
#include "core/entry.h"
#include "core/sdk.h"
#include "ilive/brisora.h"
#include "ilive/function_table.h"
#include "ilive/manager.h"

namespace brisora {

core::TraceSwitch debugMode;

void emptyHandler(void*) {}
void emptyHandler() {}
void emptyHandler(int32_t, const ilive::SdkString&, void*) {}

namespace {

// A new context: every function, handler and renderer raises on it from now on.
void adoptContext(FREContext ctx) { LiveManager::instance().adoptContext(ctx); }

// The current context ends the session: the context is cleared and the
// renderers emptied first (reset), then the SDK released: its release
// completes on its own threads, and a frame that comes meanwhile finds no
// renderer and makes none. An older context that ActionScript dropped is only
// forgotten; the session of the newest goes on (core::finishContext). Either
// way no event is still on its way to ctx when this returns.
void contextFinalizer(FREContext ctx) {
  std::printf("\n%s,%s", kPrefix, "BrisoraContextFinalizer\xA3\xBAGetILive()->release()");
  try {
    LiveManager& manager = LiveManager::instance();
    core::finishContext(ctx, manager.renderers, manager.context, [&manager] {
      core::releaseQuietly([&manager] { manager.reset(); });
      // The SDK's answer to its release is not used, a failure included.
      core::releaseQuietly([] { ::GetILive()->releaseSdk(nullptr, nullptr, nullptr); });
    });
  } catch (...) {
  }
}

}  // namespace
}  // namespace brisora

ANE_ENTRY_POINTS(ANEWinExtInitializer, ANEWinExtFinalizer, brisora::adoptContext, brisora::kFunctionTable,
                 brisora::contextFinalizer)
