// LiveManager and its renderer pool operations.
#include "ilive/manager.h"

namespace brisora {

namespace {
// A pool larger than this is not grown by login: the count comes from
// ActionScript, and a huge one would exhaust memory with idle renderers.
constexpr int32_t kMaxPreparedRenderers = 256;
}  // namespace

// Lives until the library is unloaded, which the runtime does only after the
// last context finalizer has released the SDK (so no handler can still run).
LiveManager& LiveManager::instance() {
  static const std::unique_ptr<LiveManager> manager(new LiveManager);
  return *manager;
}

void LiveManager::prepareRendererPool(const std::string& localUserId, int32_t count, FREContext ctx) {
  // count + 2 in 32-bit signed arithmetic (wrapping), at least 2.
  int32_t target = static_cast<int32_t>(static_cast<uint32_t>(count) + 2u);
  if (target < 2) target = 2;
  if (target > kMaxPreparedRenderers) target = kMaxPreparedRenderers;
  std::lock_guard<std::mutex> lock(renderers.mutex());
  localUser.set(localUserId);  // a leaf lock: may be taken under the pool's
  renderers.growLocked(static_cast<size_t>(target), ctx);
}

core::RendererPtr LiveManager::acquireRendererLocked() { return renderers.acquireLocked(context.get()); }

void LiveManager::adoptContext(FREContext ctx) { renderers.adopt(context, ctx); }

void LiveManager::reset() {
  renderers.removeAll(context, localCamera, localScreen, [](const core::ANEVideoRander&) {});
  std::lock_guard<std::mutex> lock(audioLevelsMutex);
  audioLevels.clear();
}

}  // namespace brisora
