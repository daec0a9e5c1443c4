// What the runtime meets first in an extension library: the two exported
// entry points, the context initializer's hand-over of the function table,
// and the context finalizer's decision between ending the session and only
// forgetting a context that ActionScript dropped.
//
// Ownership and protection: the context holder (which context is the current
// one) belongs to the main thread. The runtime runs the context initializer
// and every context finalizer there, and they are its only users, so it takes
// no lock.
#pragma once

#include <cstddef>
#include <cstdint>

#include "FlashRuntimeExtensions.h"
#include "core/api.h"
#include "core/context.h"
#include "core/renderer.h"

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
// extension's events, codes and lists) as its function data.
// Count is the number of functions the extension must have.
template <size_t Count>
class NamedTable {
 public:
  template <size_t N>
  NamedTable(const TableEntry (&entries)[N], const ApiExtension& extension) {
    static_assert(N == Count, "the function table does not hold the number of functions it should");
    for (size_t i = 0; i < N; ++i) {
      records_[i] = entries[i].api;
      records_[i].extension = &extension;
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

// The extension's global context holder: the context the context initializer
// adopted last, the current one (main thread only, see above). A finalized
// context is not forgotten here: a later initializer overwrites it.
class ContextHolder {
 public:
  void adopt(FREContext ctx) { current_ = ctx; }
  bool isCurrent(FREContext ctx) const { return ctx != nullptr && ctx == current_; }

 private:
  FREContext current_ = nullptr;
};

// This extension library's holder (core is linked into each library).
ContextHolder& contextHolder();

// The context initializer's work: the new context kept in the extension's
// holder and handed to adopt() (the extension's manager, which may be made by
// that call, and every renderer take it), then the function table handed
// over (also when adopting the context failed).
void startContext(void (*adopt)(FREContext), FREContext ctx, const FunctionTable& table,
                  uint32_t* numFunctionsToSet, const FRENamedFunction** functionsToSet) noexcept;

// The context initializer of an extension: the context kept in the
// extension's global holder and given to Adopt(), the table handed over.
template <void (*Adopt)(FREContext), const FunctionTable& Table>
void contextInitializer(void*, const uint8_t*, FREContext ctx, uint32_t* numFunctionsToSet,
                        const FRENamedFunction** functionsToSet) {
  startContext(Adopt, ctx, Table, numFunctionsToSet, functionsToSet);
}

// A dropped context's end: every renderer of the pool whose word still names
// ctx (one made by a call on that context) takes the owner's context, the
// live one; nothing else changes. Takes the pool's mutex.
void forgetContext(FREContext ctx, RendererPool& pool, const AneContext& owner);

// A context finalizer's work, the same in both extensions (main thread, no
// lock held by the caller):
// - ctx is the current context: endSession() ends the session as the
//   extension does it (it clears every word that names ctx, the owner's and
//   the renderers', under the pool's mutex, and lets the SDK go); what it
//   throws is dropped.
// - any other context was dropped by ActionScript while a newer one carries
//   the session (AIR finalizes a dropped context whenever it collects it):
//   it is only forgotten (forgetContext); the pool, the SDK and the live
//   context are left alone.
// Either way the dispatch gate is drained last, so no event that read a word
// naming ctx is still on its way when the finalizer returns.
template <class EndSession>
void finishContext(FREContext ctx, RendererPool& pool, const AneContext& owner, EndSession&& endSession) noexcept {
  if (contextHolder().isCurrent(ctx)) {
    try {
      endSession();
    } catch (...) {
    }
  } else {
    try {
      forgetContext(ctx, pool, owner);
    } catch (...) {
    }
  }
  drainDispatches();
}

}  // namespace core
