// The edges where Brisora and Tamvex meet code that must not see an
// exception: the runtime calls every ActionScript function through a plain C
// function pointer, and the SDKs call our handlers on their own threads.
#pragma once

#include "FlashRuntimeExtensions.h"

// The shape of every ActionScript function; a function need not use all four.
#define ANE_FUNCTION(name)                                                                             \
  FREObject name([[maybe_unused]] FREContext ctx, [[maybe_unused]] void* functionData,                \
                 [[maybe_unused]] uint32_t argc, [[maybe_unused]] FREObject argv[])

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
