// Helpers for the edges of Brisora's ActionScript functions and SDK handlers:
// the debug trace, and the catch that keeps every exception on our side of an
// extern "C" call or an SDK callback.
#pragma once

#include <cstdarg>
#include <cstdio>
#include <string>

#include "FlashRuntimeExtensions.h"
#include "core/context.h"
#include "core/edge.h"
#include "ilive/brisora.h"
#include "ilive/live_manager.h"

namespace brisora {

// A debug trace: printed only while debugMode is 1.
#if defined(__GNUC__)
__attribute__((format(printf, 1, 2)))
#endif
inline void trace(const char* format, ...) {
  if (!tracing()) return;
  va_list args;
  va_start(args, format);
  std::vprintf(format, args);
  va_end(args);
}

// The catch-alls at the edges (function bodies, SDK handlers) and the
// argument type check are shared with Tamvex.
using core::atEdge;
using core::inHandler;
using core::isObjectOfType;

// Raises an event on the manager's context, the target of every event but
// the frame events.
inline void raise(const std::string& code, const std::string& level) {
  core::dispatchStatus(LiveManager::instance().context.get(), code, level);
}

}  // namespace brisora
