// The extension context handle and the one way events reach ActionScript.
#pragma once

#include <atomic>
#include <string>

#include "FlashRuntimeExtensions.h"

namespace core {

// One FREContext, copied by value into the global holder, the manager and
// every renderer. The word is atomic so that a renderer's copy can be cleared
// on the main thread while an SDK thread reads it.
class AneContext {
 public:
  AneContext() = default;
  explicit AneContext(FREContext c) : context_(c) {}
  AneContext(const AneContext& o) : context_(o.get()) {}
  AneContext& operator=(const AneContext& o) {
    set(o.get());
    return *this;
  }
  void setContext(FREContext c) { set(c); }
  void set(FREContext c) { context_.store(c, std::memory_order_release); }
  FREContext get() const { return context_.load(std::memory_order_acquire); }
  bool null() const { return get() == nullptr; }
  // Raises a StatusEvent (code, level) on the context held now; any thread.
  void raise(const std::string& code, const std::string& level) const;

 private:
  std::atomic<FREContext> context_{nullptr};
};

// Raises a StatusEvent (code, level) on the context; callable from any thread.
// The runtime copies both texts before it returns, so texts that a thread
// keeps from call to call are raised without a copy; its result is ignored.
// A null context has nowhere to send the event: the runtime is not asked.
void dispatchStatus(FREContext context, const std::string& code, const std::string& level);

// The guard every renderer applies to each frame it receives: true when its
// context copy is set; otherwise prints "\nANE CTX Context Error" and the
// caller drops the frame (nothing stored, no event).
bool contextReady(const AneContext& context);

}  // namespace core
