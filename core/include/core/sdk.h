// Asking an SDK: the one way both extensions make a call into the vendor's
// library. A call that throws a std::exception gives no answer, and the
// function then answers its own neutral value; anything else thrown goes on
// to the guard of the table entry (core/edge.h). The trace line, when a
// function has one, is printed by the function before it asks.
//
// The SDK and the extension must share one C++ runtime for an exception to be
// caught here at all (in the Windows build an exception thrown inside another
// DLL does not reach us); this keeps the answer sound where it does.
#pragma once

#include <exception>
#include <optional>
#include <type_traits>

namespace core {

// Makes `call()`. For a call with an answer: the answer, or nothing when the
// call threw. For a call without one: true when it returned, false when it threw.
template <class Call>
auto ask(Call&& call) {
  using Answer = std::decay_t<std::invoke_result_t<Call&>>;
  if constexpr (std::is_void_v<Answer>) {
    try {
      call();
    } catch (const std::exception&) {
      return false;
    }
    return true;
  } else {
    try {
      return std::optional<Answer>(call());
    } catch (const std::exception&) {
      return std::optional<Answer>();
    }
  }
}

// Makes a release call whose failure nothing can be done about (a
// destructor's, a finalizer's step): anything it throws is dropped, so the
// steps after it still run.
template <class Call>
void releaseQuietly(Call&& call) noexcept {
  try {
    call();
  } catch (...) {
  }
}

// Owns an SDK object for one scope and gives it back by the SDK's own call
// for that (Release) when the scope ends, on every path; a release that
// throws is dropped, as nothing can be done about it. Null owns nothing.
template <class T, void (T::*Release)()>
class SdkObject {
 public:
  explicit SdkObject(T* object) : object_(object) {}
  ~SdkObject() {
    if (object_) releaseQuietly([this] { (object_->*Release)(); });
  }
  SdkObject(const SdkObject&) = delete;
  SdkObject& operator=(const SdkObject&) = delete;
  T* get() const { return object_; }
  T* operator->() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }

 private:
  T* object_;
};

}  // namespace core
