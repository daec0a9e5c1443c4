// Status events: the one runtime call made off the main thread.
#include "core/context.h"

#include <cstdio>

namespace core {

// The texts are this call's own copies; the runtime copies them again before
// it returns. A null context has nowhere to send the event, so the runtime is
// not asked (it would only refuse the null pointer).
void dispatchStatus(FREContext context, std::string code, std::string level) {
  if (!context) return;
  FREDispatchStatusEventAsync(context, reinterpret_cast<const uint8_t*>(code.c_str()),
                              reinterpret_cast<const uint8_t*>(level.c_str()));
}

bool contextReady(const AneContext& context) {
  if (!context.null()) return true;
  std::printf("\n%s", "ANE CTX Context Error");
  return false;
}

}  // namespace core
