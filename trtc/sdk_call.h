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

// Releases an SDK collection (or device object) when the scope ends, whatever
// happens; a release that throws is swallowed, as nothing can be done about it.
template <class T>
class SdkReleaser {
 public:
  explicit SdkReleaser(T* object) : object_(object) {}
  ~SdkReleaser() {
    if (object_) core::releaseQuietly([this] { object_->release(); });
  }
  SdkReleaser(const SdkReleaser&) = delete;
  SdkReleaser& operator=(const SdkReleaser&) = delete;
  T* get() const { return object_; }
  T* operator->() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }

 private:
  T* object_;
};

// The zero-terminated text at an SDK pointer as a std::string, empty for null.
inline std::string fromSdkText(const char* text) { return text ? std::string(text) : std::string(); }

}  // namespace tamvex
