// Time limits for tests that measure an operation: the limit asked for in an
// optimised build, twenty times as much where the build is unoptimised or
// runs under a sanitizer, so that those builds still test the order of the cost.
#pragma once

#include <chrono>

#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define ANE_TEST_SANITIZED 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define ANE_TEST_SANITIZED 1
#endif

namespace ane_test {

#if defined(__OPTIMIZE__) && !defined(ANE_TEST_SANITIZED)
constexpr int kSlowBuildFactor = 1;
#else
constexpr int kSlowBuildFactor = 20;
#endif

inline std::chrono::milliseconds timeLimit(std::chrono::milliseconds optimised) {
  return optimised * kSlowBuildFactor;
}

// Milliseconds that fn takes.
template <class Fn>
long long millisecondsOf(Fn&& fn) {
  const auto start = std::chrono::steady_clock::now();
  fn();
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace ane_test
