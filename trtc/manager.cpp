// RtcManager and its renderer pool operations.
#include "trtc/manager.h"

#include <cstdio>

#include "core/text.h"
#include "trtc/codes.h"

namespace tamvex {

// Lives until the extension is unloaded (after its context finalizer has
// released the SDK) or the process ends.
RtcManager& RtcManager::instance() {
  static RtcManager manager;
  return manager;
}

// In the order of Event.
RtcManager::RtcManager()
    : eventNames_{events::kComplete,   events::kEnterRoom,  events::kExitRoom,
                  events::kMediaAvailable, events::kAudioEvent, events::kSpeedTestEvent} {}

void RtcManager::prepareRendererPool(FREContext ctx) {
  std::lock_guard<std::mutex> lock(pool.mutex());
  if (pool.sizeLocked() == 0) pool.growLocked(18, ctx);
}

void RtcManager::adoptContext(FREContext ctx) { pool.adopt(context, ctx); }

void RtcManager::reset() {
  pool.removeAll(context, localBig, localSub, [](const core::ANEVideoRander& r) {
    std::printf("\n ANEVideoRander Remove: %s == %i", core::utf8ToLocal(r.userId).c_str(), r.kind);
  });
}

}  // namespace tamvex
