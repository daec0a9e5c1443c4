// The edges where Brisora and Tamvex meet code that must not see an
// exception: the runtime calls every ActionScript function through a plain C
// function pointer, and the SDKs call our handlers on their own threads.
#pragma once

#include "FlashRuntimeExtensions.h"

namespace core {

// The entry a function table hands the runtime for F. An exception that F
// does not answer itself gives null, as a function without a value does.
template <FREFunction F>
FREObject guarded(FREContext ctx, void* functionData, uint32_t argc, FREObject argv[]) noexcept {
  try {
    return F(ctx, functionData, argc, argv);
  } catch (...) {
    return nullptr;
  }
}

// Runs an ActionScript function's body; whatever escapes it ends the call
// with null instead of crossing into the runtime.
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

}  // namespace core

// One entry of a function table: the ActionScript name and the guarded function.
#define ANE_FUNCTION_ENTRY(name) {reinterpret_cast<const uint8_t*>(#name), nullptr, &::core::guarded<&name>}
