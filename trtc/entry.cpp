// Tamvex's entry points, context finalizer and the trace switch; the context
// initializer is core's (core/entry.h).
#include <cstdio>

#include "core/context.h"
#include "core/entry.h"
#include "trtc/function_table.h"
#include "trtc/manager.h"
#include "trtc/tamvex.h"

namespace tamvex {

core::TraceSwitch debugMode;

namespace {

// "TamvexContextFinalizer" + full-width colon + "release()".
constexpr const char* kFinalizerText = "TamvexContextFinalizer\xA3\xBArelease()";

// A new context: every function, callback and renderer raises on it from now on.
void adoptContext(FREContext ctx) { RtcManager::instance().adoptContext(ctx); }

// The current context ends the session: the cloud is released first (its
// callbacks taken back), then the context cleared and the renderers emptied
// (reset): a frame still on its way finds no renderer and makes none. An
// older context that ActionScript dropped is only forgotten; the session of
// the newest goes on (core::finishContext). Either way no event is still on
// its way to ctx when this returns.
void contextFinalizer(FREContext ctx) {
  std::printf("\n%s,%s", kPrefix, kFinalizerText);
  try {
    RtcManager& manager = RtcManager::instance();
    core::finishContext(ctx, manager.pool, manager.context, [&manager] {
      releaseCloud();
      manager.reset();
    });
  } catch (...) {
  }
  std::fflush(stdout);
}

}  // namespace
}  // namespace tamvex

ANE_ENTRY_POINTS(ANEWinRTCExtInitializer, ANEWinRTCExtFinalizer, tamvex::adoptContext, tamvex::kFunctionTable,
                 tamvex::contextFinalizer)
