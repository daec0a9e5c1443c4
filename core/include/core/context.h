// The extension context handle and the one way events reach ActionScript.
//
// Ownership and protection:
// - An AneContext word is atomic: a copy may be set on the main thread
//   (adopted, cleared by the finalizer under the renderer pool's mutex) while
//   an SDK thread reads it to raise an event.
// - The dispatch gate (one per extension library) orders every event against
//   the context finalizer: raise() holds it shared from reading its word to
//   the end of the dispatch; the finalizer, once it has cleared or re-pointed
//   the words that name its context, drains it (takes it exclusively once,
//   never while holding the pool's mutex). A dispatch that read a finished
//   context's word has therefore reached the runtime before the finalizer
//   returns, and one that starts afterwards reads the new word. The dispatch
//   only queues the event, so holding the gate shared across it (also while
//   the caller holds locks of its own) cannot deadlock; raise() never runs
//   inside another raise().
#pragma once

#include <atomic>
#include <string>

#include "FlashRuntimeExtensions.h"

namespace core {

// One FREContext, copied by value into the manager and every renderer (the
// extension's global holder is core's ContextHolder, entry.h). The word is
// atomic so that a renderer's copy can be cleared on the main thread while an
// SDK thread reads it.
class AneContext {
 public:
  AneContext() = default;
  explicit AneContext(FREContext c) : context_(c) {}
  AneContext(const AneContext& o) : context_(o.get()) {}
  AneContext& operator=(const AneContext& o) {
    set(o.get());
    return *this;
  }
  void set(FREContext c) { context_.store(c, std::memory_order_release); }
  FREContext get() const { return context_.load(std::memory_order_acquire); }
  bool null() const { return get() == nullptr; }
  // Raises a StatusEvent (code, level) on the context held now; any thread.
  // The word is read and the event dispatched under the dispatch gate;
  // nothing is allocated.
  void raise(const std::string& code, const std::string& level) const;

 private:
  std::atomic<FREContext> context_{nullptr};
};

// Raises a StatusEvent (code, level) on the context; callable from any thread.
// The runtime copies both texts before it returns, so texts that a thread
// keeps from call to call are raised without a copy; its result is ignored.
// A null context has nowhere to send the event: the runtime is not asked.
// It does not take the dispatch gate (its caller read the context already):
// the extensions raise through AneContext::raise, which does.
void dispatchStatus(FREContext context, const std::string& code, const std::string& level);

// The context finalizer's wait, after it cleared the words that name its
// context (main thread, not holding the renderer pool's mutex): returns once
// every raise() that read a word before this call has finished its dispatch.
void drainDispatches();

// The guard every renderer applies to each frame it receives: true when its
// context copy is set; otherwise prints "\nANE CTX Context Error" and the
// caller drops the frame (nothing stored, no event).
bool contextReady(const AneContext& context);

}  // namespace core
