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

void FrameStore::trim() {
  std::lock_guard<std::mutex> writer(writeMutex_);
  std::vector<uint8_t>().swap(back_);
}

size_t FrameStore::bytesHeld() const {
  std::lock_guard<std::mutex> writer(writeMutex_);
  std::lock_guard<std::mutex> lock(frontMutex_);
  return back_.capacity() + front_.capacity();
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
  if (!contextForNew) return nullptr;
  renderers_.push_back(std::make_shared<ANEVideoRander>(contextForNew));
  return renderers_.back();
}

void RendererPool::adoptLocked(FREContext context) {
  for (const RendererPtr& renderer : renderers_) renderer->context.set(context);
}

void RendererPool::growLocked(size_t count, FREContext context) {
  while (renderers_.size() < count) renderers_.push_back(std::make_shared<ANEVideoRander>(context));
}

}  // namespace core
