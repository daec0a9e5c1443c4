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

// Where the events of every function and handler go (but the frame events).
core::AneContext& eventsContext() { return RtcManager::instance().context; }

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

ANE_ENTRY_POINTS(ANEWinRTCExtInitializer, ANEWinRTCExtFinalizer, tamvex::eventsContext, tamvex::kFunctionTable,
                 tamvex::contextFinalizer)
