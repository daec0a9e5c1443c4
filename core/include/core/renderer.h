// The newest-frame store shared by both extensions: a renderer per bound
// (user, kind) pair, kept in a pool that SDK threads and the main thread share.
//
// Ownership and protection:
// - RendererPool::mutex() guards the pool list and every renderer's binding
//   (user id, kind, free flag) and is the only lock under which a binding
//   changes. Routing takes it for the lookup and the bind only, never for a
//   conversion.
// - Each binding has a generation, a counter on the renderer that moves (under
//   the pool lock) whenever the binding changes: release, a bind to another
//   user or kind, remove. Routing reads it with the renderer under the pool
//   lock; the store compares it under its write lock just before it publishes
//   and drops the frame when it moved. So a frame routed for one user is never
//   shown after its renderer was given to another, however long the SDK
//   thread took between routing and intake. A pull does the same: it notes
//   the generation when it looks the renderer up and copies only while it
//   holds, so it never copies the picture of the renderer's next user. The
//   counter is atomic because the store reads it under its own locks, not
//   the pool's.
// - A renderer bound to another user starts empty, as an unbound one is: no
//   view ever shows the previous user's picture.
// - FrameStore guards its pixels itself: a writer converts into a back buffer
//   that nobody reads (writers are serialised by their own lock), then swaps
//   it with the published buffer under a short lock; a reader copies the
//   published buffer under that same short lock. A copy never reads a freed or
//   half-written buffer, and a reader never waits for a conversion.
// - Renderers are shared_ptr: one taken out of the pool stays alive until the
//   thread using it lets go, even after the pool is emptied.
//
// Contexts: every renderer raises its events on its own copy of the context.
// The owner's context (the manager's) is changed only under the pool's
// mutex, and every renderer's copy with it: a new context is adopted by every
// renderer at once (adoptLocked), and no renderer is made without a context
// (acquireLocked). The current context's finalizer clears the owner's context
// first and empties the pool under the same lock (removeAll), before the SDK
// is released; a frame that arrives while the SDK winds down finds no
// renderer and makes none, so nothing keeps a finished context. Each copy is
// read under core's dispatch gate (context.h), which the finalizer drains
// after removeAll, outside this lock: an event that read a finished context
// has landed before the finalizer returns. The finalizer of an older context
// that ActionScript dropped empties nothing: the renderers still naming it
// take the owner's context (forgetContext, entry.h).
//
// Pixel memory: a renderer in use keeps two frames (the published one and the
// one being written), so a steady stream allocates nothing; one whose stream
// stopped keeps only the published frame (trim), and one that is no longer
// bound keeps none (release, remove).
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "core/context.h"
#include "core/pixels.h"

namespace core {

class FrameStore {
 public:
  // SDK thread. convert(uint8_t* dst) fills width*height*4 bytes and returns
  // false to drop the frame. stillWanted() is asked under the write lock,
  // before the conversion and again just before the frame is published; false
  // drops the frame. Buffers are reused while the size stays the same.
  // Returns false when the frame was dropped (bad size, convert refused, no
  // longer wanted).
  template <class Convert, class StillWanted>
  bool write(uint32_t width, uint32_t height, Convert&& convert, StillWanted&& stillWanted);
  template <class Convert>
  bool write(uint32_t width, uint32_t height, Convert&& convert) {
    return write(width, height, std::forward<Convert>(convert), [] { return true; });
  }

  // Main thread. read(const uint8_t* data, uint32_t size, uint32_t width,
  // uint32_t height) runs under the publish lock; data is null when size is 0.
  template <class Read>
  void read(Read&& fn) const {
    read(std::forward<Read>(fn), [] { return true; });
  }
  // As read, but stillWanted() is asked under the publish lock; false reads
  // as no frame (null data, size 0).
  template <class Read, class StillWanted>
  void read(Read&& fn, StillWanted&& stillWanted) const {
    std::lock_guard<std::mutex> lock(frontMutex_);
    if (size_ && stillWanted())
      fn(front_.data(), size_, width_, height_);
    else
      fn(static_cast<const uint8_t*>(nullptr), uint32_t{0}, width_, height_);
  }

  // Frees both buffers; size 0, width and height kept.
  void clear();
  // Frees the buffer being written; the published frame stays readable.
  void trim();
  // Bytes of pixel memory held now (both buffers' capacity).
  size_t bytesHeld() const;

 private:
  mutable std::mutex writeMutex_;  // serialises writers; guards back_
  mutable std::mutex frontMutex_;  // guards front_, size_, width_, height_
  std::vector<uint8_t> back_;
  std::vector<uint8_t> front_;
  uint32_t size_ = 0;
  uint32_t width_ = 640;
  uint32_t height_ = 480;
};

template <class Convert, class StillWanted>
bool FrameStore::write(uint32_t width, uint32_t height, Convert&& convert, StillWanted&& stillWanted) {
  const uint32_t bytes = bgraFrameBytes(width, height);
  if (bytes == 0) return false;
  std::lock_guard<std::mutex> writer(writeMutex_);
  if (!stillWanted()) return false;
  if (back_.size() != bytes) back_.resize(bytes);
  if (!convert(back_.data())) return false;
  if (!stillWanted()) return false;
  std::lock_guard<std::mutex> lock(frontMutex_);
  front_.swap(back_);
  size_ = bytes;
  width_ = width;
  height_ = height;
  return true;
}

// One renderer. The binding fields are guarded by the pool's mutex, and bind,
// release and remove are called with it held; the context is atomic (cleared
// by remove() while SDK threads may read it), and so is the binding's
// generation (changed under the pool's mutex, read under the store's lock).
class ANEVideoRander {
 public:
  explicit ANEVideoRander(FREContext context) : context(context) {}

  AneContext context;
  std::string userId;  // guarded by the pool's mutex
  int32_t kind = -1;   // guarded by the pool's mutex
  bool free = true;    // guarded by the pool's mutex
  FrameStore frame;

  // The generation of the binding: equal values mean the same binding.
  uint32_t binding() const { return binding_.load(std::memory_order_acquire); }

  // Bound to (id, k). The same binding again changes nothing (a steady
  // stream rebinds on every frame); any other starts a new generation, and a
  // renderer that passes to another user starts empty.
  void bind(const std::string& id, int32_t k) {
    if (!free && kind == k && userId == id) return;
    const bool otherUser = userId != id;
    nextBinding();
    userId = id;
    kind = k;
    free = false;
    if (otherUser) frame.clear();
  }
  // Unbound: its frames are freed (nothing can look it up to pull them). The
  // generation moves first, so that a writer holding the store's lock now
  // either publishes before the frames are freed or sees the change.
  void release() {
    nextBinding();
    userId.clear();
    kind = 0;
    free = true;
    frame.clear();
  }
  void remove() {
    release();
    context.set(nullptr);
    frame.clear();
  }

 private:
  void nextBinding() { binding_.fetch_add(1, std::memory_order_acq_rel); }
  std::atomic<uint32_t> binding_{0};  // written under the pool's mutex
};

using RendererPtr = std::shared_ptr<ANEVideoRander>;

class RendererPool {
 public:
  std::mutex& mutex() const { return mutex_; }

  // The *Locked operations expect mutex() held by the caller.
  // First renderer whose user id and kind match (free ones included).
  RendererPtr findLocked(const std::string& id, int32_t kind) const;
  // First free renderer, else a new one with the given context, appended
  // (still free); null when none is free and there is no context.
  RendererPtr acquireLocked(FREContext contextForNew);
  // Every renderer's context becomes `context`.
  void adoptLocked(FREContext context);
  // Appends renderers with the given context until the pool holds `count`.
  void growLocked(size_t count, FREContext context);
  size_t sizeLocked() const { return renderers_.size(); }
  const std::vector<RendererPtr>& renderersLocked() const { return renderers_; }
  // Empties the pool and hands back what it held (the caller removes them).
  std::vector<RendererPtr> takeAllLocked() { return std::exchange(renderers_, {}); }

  // Empties the pool under its lock: the owner's context cleared (no renderer
  // is made afterwards until a new context is adopted), the slots (an
  // extension's local renderers) cleared, then each renderer shown to `each`
  // while its binding is still readable, then removed (see ANEVideoRander::remove).
  template <class Each>
  void removeAll(AneContext& owner, RendererPtr& slotA, RendererPtr& slotB, Each&& each) {
    std::lock_guard<std::mutex> lock(mutex_);
    owner.set(nullptr);
    slotA.reset();
    slotB.reset();
    for (const RendererPtr& renderer : std::exchange(renderers_, {})) {
      each(*renderer);
      renderer->remove();
    }
  }

  // Makes `context` the owner's and every renderer's.
  void adopt(AneContext& owner, FREContext context) {
    std::lock_guard<std::mutex> lock(mutex_);
    owner.set(context);
    adoptLocked(context);
  }
  // The renderer bound to (id, kind), if any, keeps only its published frame
  // (its stream stopped; ActionScript may still pull the last frame).
  void trim(const std::string& id, int32_t kind) {
    RendererPtr r = find(id, kind);
    if (r) r->frame.trim();
  }
  // Pixel memory held by the renderers in the pool.
  size_t bytesHeld() const {
    std::lock_guard<std::mutex> lock(mutex_);
    size_t total = 0;
    for (const RendererPtr& r : renderers_) total += r->frame.bytesHeld();
    return total;
  }

  // Locking conveniences.
  RendererPtr find(const std::string& id, int32_t kind) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return findLocked(id, kind);
  }
  size_t size() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return renderers_.size();
  }

 private:
  mutable std::mutex mutex_;
  std::vector<RendererPtr> renderers_;
};

}  // namespace core
