// What both fuzz targets share: the session (the extension loaded and driven
// as the test sessions drive it, tests/support/extension_host.h), hostile
// ActionScript values, SDK-side buffers between guard pages, and the checks
// made after every operation of a session (no breach of the runtime's rules,
// no operation longer than two seconds). Sanitizer reports and crashes end
// the run by themselves.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "air/host.h"
#include "extension_host.h"
#include "stall_watchdog.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#include <sanitizer/asan_interface.h>
#define FUZZ_POISON(p, n) ASAN_POISON_MEMORY_REGION(p, n)
#define FUZZ_UNPOISON(p, n) ASAN_UNPOISON_MEMORY_REGION(p, n)
#endif
#endif
#ifndef FUZZ_POISON
#define FUZZ_POISON(p, n) ((void)(p), (void)(n))
#define FUZZ_UNPOISON(p, n) ((void)(p), (void)(n))
#endif

namespace fuzz {

using Input = FuzzedDataProvider;

// The longest an operation may take.
constexpr auto kOperationLimit = std::chrono::seconds(2);
// The most operations one input decodes into.
constexpr int kMaxOperations = 300;

// A buffer as an SDK hands it over: its last byte touches a page that cannot be
// read, and the page before its first byte cannot be read either, so reading
// past either end faults at once. The end is kept 8-byte aligned (a real SDK's
// buffers are aligned); the few bytes between the end and the guard page are
// poisoned for AddressSanitizer. size 0 gives a pointer onto the guard page.
class GuardedBuffer {
 public:
  explicit GuardedBuffer(size_t size) : size_(size) {
    page_ = size_t(::sysconf(_SC_PAGESIZE));
    const size_t rounded = (size + 7) & ~size_t(7);
    body_ = (rounded + page_ - 1) / page_ * page_;
    mapped_ = body_ + 2 * page_;
    void* p = ::mmap(nullptr, mapped_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) {
      std::perror("mmap");
      std::abort();
    }
    base_ = static_cast<uint8_t*>(p);
    ::mprotect(base_, page_, PROT_NONE);
    ::mprotect(base_ + page_ + body_, page_, PROT_NONE);
    data_ = base_ + page_ + body_ - rounded;
    FUZZ_POISON(data_ + size, rounded - size);
  }
  ~GuardedBuffer() {
    FUZZ_UNPOISON(base_ + page_, body_);
    ::munmap(base_, mapped_);
  }
  GuardedBuffer(const GuardedBuffer&) = delete;
  GuardedBuffer& operator=(const GuardedBuffer&) = delete;

  uint8_t* data() { return data_; }
  size_t size() const { return size_; }
  // Fills the buffer with a pattern that depends on seed.
  void fill(uint32_t seed) {
    for (size_t i = 0; i < size_; ++i) data_[i] = uint8_t((i * 131u + seed) ^ (i >> 7));
  }

 private:
  size_t page_ = 0, body_ = 0, mapped_ = 0, size_ = 0;
  uint8_t* base_ = nullptr;
  uint8_t* data_ = nullptr;
};

// ---- Hostile values ----

inline int32_t anyInt32(Input& in) {
  static const int32_t edges[] = {0, 1, -1, 2, 3, 4, 5, 7, 8, 9, 10, 16, 100, 255, 256, 1000, 1234, 65535, 65536,
                                  1400000001, std::numeric_limits<int32_t>::max(),
                                  std::numeric_limits<int32_t>::min(), -2, 0x40000000};
  switch (in.ConsumeIntegralInRange<int>(0, 3)) {
    case 0: return in.PickValueInArray(edges);
    case 1: return in.ConsumeIntegralInRange<int32_t>(-2, 20);
    default: return in.ConsumeIntegral<int32_t>();
  }
}

inline uint32_t anyUint32(Input& in) {
  static const uint32_t edges[] = {0u, 1u, 2u, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu, 0xFFFFFFFEu, 640u, 1234u};
  return in.ConsumeBool() ? in.PickValueInArray(edges) : in.ConsumeIntegral<uint32_t>();
}

inline double anyDouble(Input& in) {
  static const double edges[] = {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                                 -std::numeric_limits<double>::infinity(), -0.0, 0.5, -1.5, 1e300, -1e300,
                                 4294967296.0, 2147483648.0, -2147483649.0, std::numeric_limits<double>::denorm_min()};
  return in.ConsumeBool() ? in.PickValueInArray(edges) : in.ConsumeFloatingPoint<double>();
}

// Texts: words the extension knows (user ids, paths), then the hostile kinds.
inline std::string anyText(Input& in, const std::vector<std::string>& words) {
  static const char invalid[] = "\xFF\xFE\xC0\x80\xED\xA0\x80 bad \xF4\x90\x80\x80\xC3";
  static const char zeros[] = "a\0b\0";
  switch (in.ConsumeIntegralInRange<int>(0, 9)) {
    case 0: return std::string();
    case 1: return std::string(65536, 'a');
    case 2: return std::string(invalid, sizeof invalid - 1);
    case 3: return std::string(zeros, sizeof zeros - 1);
    case 4: return "\xE5\x90\x8D\xE5\xAD\x97 \xC3\xA9 \xF0\x9F\x98\x80";  // CJK, Latin, an emoji
    case 5: return "%s%s%n%x%p%d%%%ls";
    case 6: return in.ConsumeRandomLengthString(64);
    default: return words.empty() ? std::string() : words[in.ConsumeIntegralInRange<size_t>(0, words.size() - 1)];
  }
}

inline size_t anyByteCount(Input& in) {
  static const size_t sizes[] = {0, 1, 2, 3, 4, 7, 64, 4095, 4096, 65536, 1u << 20};
  switch (in.ConsumeIntegralInRange<int>(0, 3)) {
    case 0: return in.PickValueInArray(sizes);
    case 1: return in.ConsumeIntegralInRange<size_t>(0, 65536);
    case 2: return in.ConsumeIntegralInRange<size_t>(0, 640 * 360 * 4 + 16);
    default: return in.ConsumeIntegralInRange<size_t>(0, 4u << 20);
  }
}

inline air::Value anyValue(Input& in, const std::vector<std::string>& words) {
  switch (in.ConsumeIntegralInRange<int>(0, 10)) {
    case 0: return air::Null{};
    case 1: return in.ConsumeBool();
    case 2: return anyInt32(in);
    case 3: return anyUint32(in);
    case 4: return anyDouble(in);
    case 5: {
      auto bytes = std::make_shared<air::ByteArray>();
      bytes->bytes.resize(anyByteCount(in), uint8_t(in.ConsumeIntegral<uint8_t>()));
      return bytes;
    }
    case 6: {
      // Odd sizes, both row orders, padded strides.
      air::setBitmapLayout(in.ConsumeBool(), in.ConsumeIntegralInRange<uint32_t>(0, 3));
      const uint32_t w = in.ConsumeBool() ? in.ConsumeIntegralInRange<uint32_t>(1, 17)
                                          : in.ConsumeIntegralInRange<uint32_t>(1, 1283);
      const uint32_t h = in.ConsumeBool() ? in.ConsumeIntegralInRange<uint32_t>(1, 17)
                                          : in.ConsumeIntegralInRange<uint32_t>(1, 723);
      auto bitmap = air::newBitmap(w, h, in.ConsumeBool(), in.ConsumeIntegral<uint32_t>());
      air::setBitmapLayout(false, 0);
      return bitmap;
    }
    case 7: return std::make_shared<air::PlainObject>();
    default: return anyText(in, words);
  }
}

// A count of items of itemSize bytes, cut so that they hold at most 4 MB:
// longer lists only make an operation slow, not different.
inline size_t withinBudget(size_t count, size_t itemSize) {
  const size_t budget = size_t(4) << 20;
  return itemSize == 0 ? count : std::min(count, std::max<size_t>(1, budget / itemSize));
}

// Arguments for one call: usually about as many as functions take, sometimes
// none or far too many.
inline std::vector<air::Value> anyArguments(Input& in, const std::vector<std::string>& words) {
  size_t count = in.ConsumeIntegralInRange<size_t>(0, 7);
  if (in.ConsumeIntegralInRange<int>(0, 15) == 0) count = in.ConsumeIntegralInRange<size_t>(8, 40);
  std::vector<air::Value> args;
  for (size_t i = 0; i < count && in.remaining_bytes() > 0; ++i) args.push_back(anyValue(in, words));
  return args;
}

// ---- Checks after every operation ----

class Checks {
 public:
  Checks() : watchdog_(kOperationLimit) {
    air::setBreachEcho(true);
    air::resetBreaches();
  }

  // Runs one operation under the watchdog, then checks the runtime's breach count.
  template <class Op>
  void run(const std::string& what, Op&& op) {
    {
      stall::StallWatchdog::Watch watch(watchdog_, what);
      op();
    }
    const air::Breaches b = air::breaches();
    if (b.total() != 0) {
      std::fprintf(stderr, "\nBREACH of the runtime's rules after \"%s\":\n", what.c_str());
      for (const std::string& line : air::breachLog()) std::fprintf(stderr, "  %s\n", line.c_str());
      std::abort();
    }
  }

 private:
  stall::StallWatchdog watchdog_;
};

// ---- The session ----

// One extension loaded once for the whole run, a context per input. A load
// or a context that cannot be made ends the run: nothing could be fuzzed.
// Only the fuzzer's thread uses it.
class Session : public ane_test::ExtensionHost {
 public:
  // The functions to call; skip names one that must not be called (one that
  // ends the process, say).
  Session(const char* name, const char* library, const char* initializer, const char* finalizer,
          std::vector<std::string> skip = {})
      : name_(name), library_(library), initializer_(initializer), finalizer_(finalizer), skip_(std::move(skip)) {}

  void load() { ensure(loadLibrary(library_, initializer_, finalizer_, &error_)); }
  // A new context, and the functions of its table but the skipped ones.
  void newContext() {
    ensure(ExtensionHost::newContext(&error_));
    functions_.clear();
    for (const std::string& f : context_->functionNames())
      if (std::find(skip_.begin(), skip_.end(), f) == skip_.end()) functions_.push_back(f);
  }
  // The context disposed (by ActionScript) and then finalized.
  void endContext() {
    context_->dispose();
    context_.reset();
  }
  void reload() { ensure(ExtensionHost::reload(&error_)); }

  // One of the functions, drawn by the input (null when there is none).
  const std::string* anyFunction(Input& in) const {
    if (functions_.empty()) return nullptr;
    return &functions_[in.ConsumeIntegralInRange<size_t>(0, functions_.size() - 1)];
  }

 private:
  void ensure(bool done) {
    if (done) return;
    std::fprintf(stderr, "%s: %s\n", name_, error_.c_str());
    std::abort();
  }

  const char* name_;
  std::string library_, initializer_, finalizer_;
  std::vector<std::string> skip_;
  std::vector<std::string> functions_;
  std::string error_;
};

// A call of any function of the table, with any arguments.
inline void callAnyFunction(Session& s, Input& in, Checks& checks, const std::vector<std::string>& words) {
  const std::string* name = s.anyFunction(in);
  if (!name) return;
  const std::vector<air::Value> args = anyArguments(in, words);
  checks.run(*name, [&] { s.call(*name, args); });
}

// The lifecycle operations both targets draw (kind 95..99 of 100): a new
// context after a dispose, a finalize with the extension reloaded, or taking
// the events.
inline void lifecycleOperation(int kind, Session& s, Checks& checks) {
  if (kind < 97) {
    checks.run("dispose and new context", [&] {
      s.context().dispose();
      s.newContext();
    });
  } else if (kind < 98) {
    checks.run("context finalized, extension reloaded", [&] {
      s.reload();
      s.newContext();
    });
  } else {
    checks.run("take events", [&] { s.events(); });
  }
}

}  // namespace fuzz
