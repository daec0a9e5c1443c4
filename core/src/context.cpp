// The context holder, status events (the one runtime call made off the main
// thread) and the context initializer's hand-over.
#include "core/context.h"

#include "core/entry.h"

#include <cstdio>

namespace core {

void dispatchStatus(FREContext context, const std::string& code, const std::string& level) {
  if (!context) return;
  FREDispatchStatusEventAsync(context, reinterpret_cast<const uint8_t*>(code.c_str()),
                              reinterpret_cast<const uint8_t*>(level.c_str()));
}

void AneContext::raise(const std::string& code, const std::string& level) const { dispatchStatus(get(), code, level); }

bool contextReady(const AneContext& context) {
  if (!context.null()) return true;
  std::printf("\n%s", "ANE CTX Context Error");
  return false;
}

void startContext(AneContext& holder, void (*adopt)(FREContext), FREContext ctx, const FunctionTable& table,
                  uint32_t* numFunctionsToSet, const FRENamedFunction** functionsToSet) noexcept {
  try {
    holder.set(ctx);
    adopt(ctx);
  } catch (...) {
  }
  if (numFunctionsToSet) *numFunctionsToSet = table.count;
  if (functionsToSet) *functionsToSet = table.entries;
}

}  // namespace core
