// The trace switch of an extension: its ActionScript start-up function turns
// the debug traces on or off, every function may print one. Each extension
// keeps its own switch; it is atomic, so an SDK thread may ask it too.
#pragma once

#include <atomic>
#include <cstdint>

#include "core/args.h"

namespace core {

class TraceSwitch {
 public:
  void set(bool on) { mode_.store(on ? 1 : 0, std::memory_order_relaxed); }
  // Set from argument i when it is a Boolean; anything else leaves it as it was.
  void setFrom(const Args& args, uint32_t i) {
    bool value = false;
    if (args.tryBoolean(i, &value)) set(value);
  }
  bool on() const { return mode_.load(std::memory_order_relaxed) == 1; }

  // printf to the console, only while the switch is on.
#if defined(__GNUC__)
  __attribute__((format(printf, 2, 3)))
#endif
  void print(const char* format, ...) const;

 private:
  std::atomic<int32_t> mode_{0};
};

}  // namespace core
