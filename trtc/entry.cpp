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

// The cloud is released first (its callbacks taken back), then the context
// cleared and the renderers emptied (reset): a frame still on its way finds
// no renderer and makes none.
void contextFinalizer(FREContext) {
  try {
    std::printf("\n%s,%s", kPrefix, kFinalizerText);
    releaseCloud();
    RtcManager::instance().reset();
    std::fflush(stdout);
  } catch (...) {
  }
}

}  // namespace
}  // namespace tamvex

ANE_ENTRY_POINTS(ANEWinRTCExtInitializer, ANEWinRTCExtFinalizer, tamvex::adoptContext, tamvex::kFunctionTable,
                 tamvex::contextFinalizer)
