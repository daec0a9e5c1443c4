// The front that every call of the native-extension C interface makes
// (runtime.cpp, buffers.cpp): the thread and acquire rules, null pointers,
// the lifetime of the objects passed in; each refusal counted as a breach.
#pragma once

#include <initializer_list>

#include "runtime_state.h"

namespace air::detail {

// ActionScript null, for a null FREObject.
extern const Value kNullValue;

enum class Allow { Nothing, ReleaseBytes, ReleaseBitmap, Invalidate };

// Admits a call: the thread rule, then the acquire rule (what `allow` lets
// through while something is acquired).
FREResult admit(Runtime& r, const char* fn, Allow allow = Allow::Nothing, FREObject object = nullptr);

FREResult nullArgument(Runtime& r, const char* fn, const char* what);

// Resolves an object argument: null reads as ActionScript null; a handle that
// is not alive is a breach and yields null with *result set.
const Value* resolve(Runtime& r, const char* fn, FREObject object, FREResult* result);

// Catches what must never cross the C boundary (an allocation failure).
template <typename F>
FREResult guarded(F&& body) {
  try {
    return body();
  } catch (...) {
    return FRE_INSUFFICIENT_MEMORY;
  }
}

// A result pointer of a call, and its parameter's name for the breach text.
struct Out {
  const void* pointer;
  const char* name;
};

// The first null result pointer refused as a breach; FRE_OK when none is null.
inline FREResult refuseNullOuts(Runtime& r, const char* fn, std::initializer_list<Out> outs) {
  for (const Out& out : outs) {
    if (!out.pointer) return nullArgument(r, fn, out.name);
  }
  return FRE_OK;
}

// The front of every call, under the runtime's lock: admit the call (with
// what `allow` lets through while `object` or another is acquired), then let
// `body(r)` answer.
template <typename Body>
FREResult admitted(const char* fn, Allow allow, FREObject object, Body&& body) {
  return guarded([&] {
    Runtime& r = runtime();
    std::lock_guard<std::mutex> g(r.lock);
    if (FREResult a = admit(r, fn, allow, object); a != FRE_OK) return a;
    return body(r);
  });
}

// The front every call about one object makes: admit the call, refuse null
// result pointers, resolve the object, then let `body(r, v)` answer from its
// value.
template <typename Body>
FREResult withObject(const char* fn, FREObject object, Allow allow, std::initializer_list<Out> outs, Body&& body) {
  return admitted(fn, allow, object, [&](Runtime& r) {
    if (FREResult n = refuseNullOuts(r, fn, outs); n != FRE_OK) return n;
    FREResult result = FRE_OK;
    const Value* v = resolve(r, fn, object, &result);
    if (!v) return result;
    return body(r, v);
  });
}

// The front of the calls about a context: admit the call, refuse a null
// context and null result pointers, then let `body(r, state)` work on the
// context's state.
template <typename Body>
FREResult withContext(const char* fn, FREContext ctx, std::initializer_list<Out> outs, Body&& body) {
  return admitted(fn, Allow::Nothing, nullptr, [&](Runtime& r) {
    if (!ctx) return nullArgument(r, fn, "context");
    if (FREResult n = refuseNullOuts(r, fn, outs); n != FRE_OK) return n;
    auto state = findContext(ctx);
    if (!state) return nullArgument(r, fn, "(unknown) context");
    return body(r, *state);
  });
}
}  // namespace air::detail
