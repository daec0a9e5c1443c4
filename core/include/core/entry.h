// What the runtime meets first in an extension library: the two exported
// entry points, and the context initializer's hand-over of the function table.
#pragma once

#include <cstddef>
#include <cstdint>

#include "FlashRuntimeExtensions.h"
#include "core/context.h"

#if defined(_WIN32)
#define ANE_EXPORT extern "C" __declspec(dllexport)
#else
#define ANE_EXPORT extern "C" __attribute__((visibility("default")))
#endif

// Defines the library's extension initializer and finalizer, named as the
// extension descriptor names them. The initializer hands the runtime the
// context finalizer and core::contextInitializer for the extension's table and
// the context its events go to (eventsContext() names it); no extension keeps
// extension data.
#define ANE_ENTRY_POINTS(initializerName, finalizerName, eventsContext, functionTable, contextFinalizer)   \
  ANE_EXPORT void initializerName(void** extDataToSet, FREContextInitializer* ctxInitializerToSet,          \
                                  FREContextFinalizer* ctxFinalizerToSet) {                                 \
    (void)extDataToSet;                                                                                      \
    if (ctxInitializerToSet) *ctxInitializerToSet = &::core::contextInitializer<&eventsContext, functionTable>; \
    if (ctxFinalizerToSet) *ctxFinalizerToSet = &contextFinalizer;                                           \
  }                                                                                                          \
  ANE_EXPORT void finalizerName(void* extData) { (void)extData; }

namespace core {

// An extension's table of named functions, in the order the runtime sees it.
struct FunctionTable {
  const FRENamedFunction* entries;
  uint32_t count;
};

// The table of an array of exactly Count entries.
template <size_t Count, size_t N>
constexpr FunctionTable tableOf(const FRENamedFunction (&entries)[N]) {
  static_assert(N == Count, "the function table does not hold the number of functions it should");
  return FunctionTable{entries, static_cast<uint32_t>(N)};
}

// The context initializer's work: the new context kept in the extension's
// holder and copied to where its events go (events() names it; the manager it
// belongs to may be made by that call), then the function table handed
// over (also when keeping the context failed).
void startContext(AneContext& holder, AneContext& (*events)(), FREContext ctx, const FunctionTable& table,
                  uint32_t* numFunctionsToSet, const FRENamedFunction** functionsToSet) noexcept;

// The context initializer of an extension: the context kept in the
// extension's global holder and given to Events(), the table handed over.
template <AneContext& (*Events)(), const FunctionTable& Table>
void contextInitializer(void*, const uint8_t*, FREContext ctx, uint32_t* numFunctionsToSet,
                        const FRENamedFunction** functionsToSet) {
  static AneContext holder;  // the extension's global context holder
  startContext(holder, Events, ctx, Table, numFunctionsToSet, functionsToSet);
}

}  // namespace core
