// Time limits for tests that measure an operation: the limit asked for in an
// optimised build, twenty times as much where the build is unoptimised or
// runs under a sanitizer (five times in the Windows build), so that those
// builds still test the order of the cost.
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

#if defined(_WIN32)
constexpr int kSlowBuildFactor = 5;  // the Windows build runs its tests under Wine here
#elif defined(__OPTIMIZE__) && !defined(ANE_TEST_SANITIZED)
constexpr int kSlowBuildFactor = 1;
#else
constexpr int kSlowBuildFactor = 20;
#endif

inline std::chrono::milliseconds timeLimit(std::chrono::milliseconds optimised) {
  return optimised * kSlowBuildFactor;
}

// Milliseconds that fn takes: the least of three runs, so that a machine
// busy with other work weighs less.
template <class Fn>
long long millisecondsOf(Fn&& fn) {
  long long least = -1;
  for (int run = 0; run < 3; ++run) {
    const auto start = std::chrono::steady_clock::now();
    fn();
    const long long ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    if (least < 0 || ms < least) least = ms;
  }
  return least;
}

}  // namespace ane_test
