// The frame store and the renderer pool (see renderer.h for who guards what).
#include "core/renderer.h"

namespace core {

void FrameStore::clear() {
  std::lock_guard<std::mutex> writer(writeMutex_);
  std::lock_guard<std::mutex> lock(frontMutex_);
  std::vector<uint8_t>().swap(back_);
  std::vector<uint8_t>().swap(front_);
  size_ = 0;
}

RendererPtr RendererPool::findLocked(const std::string& id, int32_t kind) const {
  for (const RendererPtr& renderer : renderers_) {
    if (renderer->userId == id && renderer->kind == kind) return renderer;
  }
  return nullptr;
}

RendererPtr RendererPool::acquireLocked(FREContext contextForNew) {
  for (const RendererPtr& renderer : renderers_) {
    if (renderer->free) return renderer;
  }
  renderers_.push_back(std::make_shared<ANEVideoRander>(contextForNew));
  return renderers_.back();
}

void RendererPool::growLocked(size_t count, FREContext context) {
  while (renderers_.size() < count) renderers_.push_back(std::make_shared<ANEVideoRander>(context));
}

}  // namespace core
