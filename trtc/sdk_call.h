// How the control functions reach the cloud instance. Each function runs on
// the AIR main thread, asks loadTrtcCloud for the instance (which loads the SDK
// on first use) and makes its call. When the SDK is missing, or the call throws,
// the function answers its neutral value (false, empty text, 0) instead of
// claiming that the SDK was asked. Whatever else escapes a function ends the
// call with null at the guard of its table entry (core/edge.h).
#pragma once

#include <cstdio>
#include <exception>
#include <string>

#include "core/edge.h"
#include "core/results.h"
#include "trtc/manager.h"

namespace tamvex {

// Makes `call(cloud)`; true when it was made and returned.
template <class Call>
bool callCloud(Call&& call) {
  ITRTCCloud* cloud = loadTrtcCloud();
  return cloud && core::callSdk([&] { call(*cloud); });
}

// The Boolean answer of a function that only asks the SDK.
template <class Call>
FREObject askCloud(Call&& call) {
  return core::newBool(callCloud(std::forward<Call>(call)));
}

using core::callSdk;  // a call on an SDK object: false when it throws

// Releases an SDK collection (or device object) when the scope ends, whatever
// happens; a release that throws is swallowed, as nothing can be done about it.
template <class T>
class SdkReleaser {
 public:
  explicit SdkReleaser(T* object) : object_(object) {}
  ~SdkReleaser() {
    if (!object_) return;
    try {
      object_->release();
    } catch (...) {
    }
  }
  SdkReleaser(const SdkReleaser&) = delete;
  SdkReleaser& operator=(const SdkReleaser&) = delete;
  T* get() const { return object_; }
  T* operator->() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }

 private:
  T* object_;
};

// The text at an SDK pointer, empty for null.
inline std::string sdkText(const char* text) { return text ? std::string(text) : std::string(); }

}  // namespace tamvex
