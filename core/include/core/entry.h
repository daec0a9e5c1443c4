// What the runtime meets first in an extension library: the two exported
// entry points, and the context initializer's hand-over of the function table.
#pragma once

#include <cstddef>
#include <cstdint>

#include "FlashRuntimeExtensions.h"
#include "core/api.h"
#include "core/context.h"

#if defined(_WIN32)
#define ANE_EXPORT extern "C" __declspec(dllexport)
#else
#define ANE_EXPORT extern "C" __attribute__((visibility("default")))
#endif

// Defines the library's extension initializer and finalizer, named as the
// extension descriptor names them. The initializer hands the runtime the
// context finalizer and core::contextInitializer for the extension's table and
// the function that hands the new context to the extension (adoptContext()
// names it: its manager and every renderer take it); no extension keeps
// extension data.
#define ANE_ENTRY_POINTS(initializerName, finalizerName, adoptContext, functionTable, contextFinalizer)    \
  ANE_EXPORT void initializerName(void** extDataToSet, FREContextInitializer* ctxInitializerToSet,          \
                                  FREContextFinalizer* ctxFinalizerToSet) {                                 \
    (void)extDataToSet;                                                                                      \
    if (ctxInitializerToSet) *ctxInitializerToSet = &::core::contextInitializer<&adoptContext, functionTable>; \
    if (ctxFinalizerToSet) *ctxFinalizerToSet = &contextFinalizer;                                           \
  }                                                                                                          \
  ANE_EXPORT void finalizerName(void* extData) { (void)extData; }

namespace core {

// An extension's table of named functions, in the order the runtime sees it.
struct FunctionTable {
  const FRENamedFunction* entries;
  uint32_t count;
};

// The table the runtime receives, made from an extension's entries: each
// named function carries its record (ApiFunction, which also reaches the
// extension's events) as its function data.
// Count is the number of functions the extension must have.
template <size_t Count>
class NamedTable {
 public:
  template <size_t N>
  NamedTable(const TableEntry (&entries)[N], const ApiEvents& events) {
    static_assert(N == Count, "the function table does not hold the number of functions it should");
    for (size_t i = 0; i < N; ++i) {
      records_[i] = entries[i].api;
      records_[i].extensionEvents = &events;
      named_[i].name = reinterpret_cast<const uint8_t*>(records_[i].name);
      named_[i].functionData = &records_[i];
      named_[i].function = entries[i].function;
    }
  }
  FunctionTable table() const { return FunctionTable{named_, static_cast<uint32_t>(Count)}; }

 private:
  ApiFunction records_[Count] = {};
  FRENamedFunction named_[Count] = {};
};

// The context initializer's work: the new context kept in the extension's
// holder and copied to where its events go (events() names it; the manager it
// belongs to may be made by that call), then the function table handed
// over (also when keeping the context failed).
void startContext(AneContext& holder, void (*adopt)(FREContext), FREContext ctx, const FunctionTable& table,
                  uint32_t* numFunctionsToSet, const FRENamedFunction** functionsToSet) noexcept;

// The context initializer of an extension: the context kept in the
// extension's global holder and given to Adopt(), the table handed over.
template <void (*Adopt)(FREContext), const FunctionTable& Table>
void contextInitializer(void*, const uint8_t*, FREContext ctx, uint32_t* numFunctionsToSet,
                        const FRENamedFunction** functionsToSet) {
  static AneContext holder;  // the extension's global context holder
  startContext(holder, Adopt, ctx, Table, numFunctionsToSet, functionsToSet);
}

}  // namespace core
