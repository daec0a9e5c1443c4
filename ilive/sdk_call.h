// How Brisora's functions reach the SDK: GetILive() gives the one live
// object, and each call is made through core::ask (core/sdk.h): a call that
// throws a std::exception answers the function's neutral value, which is null
// for the functions that have always ended without a value then (boolOrNull,
// trueOrNull). Whatever else escapes a function ends the call with null at
// the guard of its table entry (core/edge.h), so no body guards itself again.
#pragma once

#include <optional>
#include <string>

#include "core/edge.h"
#include "core/results.h"
#include "core/sdk.h"
#include "ilive/brisora.h"
#include "ilive/sdk/ilive.h"

namespace brisora {

// The trace line of a function that prints only its name.
inline void traceCall(const char* word) { debugMode.print("\n%s%s\n", kPrefix, word); }

// The answers of the functions that end without a value when the SDK throws:
// a Boolean made from the SDK's answer, or true once a call without one
// returned; null when the SDK threw.
inline FREObject boolOrNull(const std::optional<bool>& answer) { return answer ? core::newBool(*answer) : nullptr; }
inline FREObject trueOrNull(bool returned) { return returned ? core::newBool(true) : nullptr; }

// A text for the SDK, in the SDK's own storage: all size() bytes, embedded
// zeros included.
inline ilive::SdkString toSdkString(const std::string& text) { return ilive::SdkString(text.data(), text.size()); }

}  // namespace brisora
