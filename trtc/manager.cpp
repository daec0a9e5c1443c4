// RtcManager and its renderer pool operations.
#include "trtc/manager.h"

#include <cstdio>

#include "core/text.h"

namespace tamvex {

// Lives until the extension is unloaded (after its context finalizer has
// released the SDK) or the process ends.
RtcManager& RtcManager::instance() {
  static RtcManager manager;
  return manager;
}

RtcManager::RtcManager()
    : eventNames_{"complete", "enterroom", "exitroom", "mediaavailable", "audioevent", "speedtestevent"} {}

std::string RtcManager::localUserId() const {
  std::lock_guard<std::mutex> lock(localIdMutex_);
  return localUserId_;
}

void RtcManager::copyLocalUserId(std::string* out) const {
  std::lock_guard<std::mutex> lock(localIdMutex_);
  out->assign(localUserId_);
}

void RtcManager::setLocalUserId(const std::string& id) {
  std::lock_guard<std::mutex> lock(localIdMutex_);
  localUserId_ = id;
}

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
