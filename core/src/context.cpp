// The context holder, status events (the one runtime call made off the main
// thread) and the dispatch gate, the context initializer's hand-over and a
// dropped context's end.
#include "core/context.h"

#include "core/entry.h"

#include <cstdio>
#include <mutex>
#include <shared_mutex>

namespace core {

namespace {

// The dispatch gate (see context.h): shared by every raise, taken exclusively
// by drainDispatches.
std::shared_mutex gDispatchGate;

}  // namespace

void dispatchStatus(FREContext context, const std::string& code, const std::string& level) {
  if (!context) return;
  FREDispatchStatusEventAsync(context, reinterpret_cast<const uint8_t*>(code.c_str()),
                              reinterpret_cast<const uint8_t*>(level.c_str()));
}

void AneContext::raise(const std::string& code, const std::string& level) const {
  std::shared_lock<std::shared_mutex> gate(gDispatchGate);
  dispatchStatus(get(), code, level);
}

void drainDispatches() { std::lock_guard<std::shared_mutex> drain(gDispatchGate); }

bool contextReady(const AneContext& context) {
  if (!context.null()) return true;
  std::printf("\n%s", "ANE CTX Context Error");
  return false;
}

ContextHolder& contextHolder() {
  static ContextHolder holder;
  return holder;
}

void startContext(void (*adopt)(FREContext), FREContext ctx, const FunctionTable& table,
                  uint32_t* numFunctionsToSet, const FRENamedFunction** functionsToSet) noexcept {
  try {
    contextHolder().adopt(ctx);
    adopt(ctx);
  } catch (...) {
  }
  if (numFunctionsToSet) *numFunctionsToSet = table.count;
  if (functionsToSet) *functionsToSet = table.entries;
}

void forgetContext(FREContext ctx, RendererPool& pool, const AneContext& owner) {
  if (!ctx) return;
  std::lock_guard<std::mutex> lock(pool.mutex());
  const FREContext live = owner.get();
  for (const RendererPtr& renderer : pool.renderersLocked())
    if (renderer->context.get() == ctx) renderer->context.set(live);
}

}  // namespace core
