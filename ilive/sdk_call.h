// How Brisora's functions reach the SDK: GetILive() gives the one live
// object; a call that throws a std::exception answers the function's neutral
// value. Whatever else escapes a function ends the call with null at the
// guard of its table entry (core/edge.h), so no body guards itself again.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

#include "FlashRuntimeExtensions.h"
#include "core/edge.h"
#include "core/results.h"
#include "ilive/brisora.h"
#include "ilive/sdk/ilive.h"

namespace brisora {

// The trace line of `word`, then one SDK call whose answer make() turns into
// the result; onThrow() gives the result when the call throws.
template <class Call, class Make>
FREObject askLive(const char* word, Call&& call, Make&& make, FREObject (*onThrow)()) {
  debugMode.print("\n%s%s\n", kPrefix, word);
  try {
    return make(call(GetILive()));
  } catch (const std::exception&) {
    return onThrow();
  }
}

// The answers of askLive.
inline FREObject answerFalse() { return core::newBool(false); }
inline FREObject answerTrue() { return core::newBool(true); }
inline FREObject asBool(bool value) { return core::newBool(value); }

// A text for the SDK, in the SDK's own storage.
inline ilive::SdkString sdkText(const std::string& text) { return ilive::SdkString(text.data(), text.size()); }

}  // namespace brisora
