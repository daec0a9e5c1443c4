// Helpers for the edges of Brisora's ActionScript functions and SDK handlers:
// the debug trace, and the catch that keeps every exception on our side of an
// extern "C" call or an SDK callback.
#pragma once

#include <cstdarg>
#include <cstdio>
#include <exception>
#include <string>

#include "FlashRuntimeExtensions.h"
#include "core/context.h"
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

// Runs an ActionScript function's body. Whatever escapes it (an SDK exception
// where the function has no guard of its own, or an allocation failure) ends
// the call with null instead of crossing into the runtime.
template <class Body>
FREObject atEdge(Body&& body) noexcept {
  try {
    return body();
  } catch (...) {
    return nullptr;
  }
}

// Runs an SDK handler's body; nothing thrown inside goes back into the SDK.
template <class Body>
void inHandler(Body&& body) noexcept {
  try {
    body();
  } catch (...) {
  }
}

// Whether an argument is an object of the given type (a missing argument is not).
inline bool isObjectOfType(FREObject object, FREObjectType type) {
  FREObjectType actual = FRE_TYPE_NULL;
  return object && FREGetObjectType(object, &actual) == FRE_OK && actual == type;
}

// Raises an event on the manager's context, the target of every event but
// the frame events.
inline void raise(const std::string& code, const std::string& level) {
  core::dispatchStatus(LiveManager::instance().context.get(), code, level);
}

}  // namespace brisora
