// How the control functions reach the cloud instance. Each function runs on
// the AIR main thread, asks loadTrtcCloud for the instance (which loads the SDK
// on first use) and makes its call through core::ask (core/sdk.h). When the
// SDK is missing, or the call throws, the function answers its neutral value
// (false, empty text, 0) instead of claiming that the SDK was asked. Whatever
// else escapes a function ends the call with null at the guard of its table
// entry (core/edge.h).
#pragma once

#include <cstdio>
#include <string>

#include "core/edge.h"
#include "core/results.h"
#include "core/sdk.h"
#include "trtc/manager.h"

namespace tamvex {

// core::ask of `call(cloud)` on the cloud instance: as core::ask answers, and
// no answer (false for a call without one) when the SDK is missing.
template <class Call>
auto onCloud(Call&& call) {
  ITRTCCloud* cloud = loadTrtcCloud();
  auto onInstance = [&] { return call(*cloud); };
  using Asked = decltype(core::ask(onInstance));
  if (!cloud) return Asked{};
  return core::ask(onInstance);
}

// An SDK collection (or device object), released when the scope ends.
template <class T>
using SdkReleaser = core::SdkObject<T, &T::release>;

// The zero-terminated text at an SDK pointer as a std::string, empty for null.
inline std::string fromSdkText(const char* text) { return text ? std::string(text) : std::string(); }

}  // namespace tamvex
