#include "observer.h"

#include <algorithm>

#ifndef _WIN32
#include "win32_standin.h"
#endif

namespace anehost {

void Observer::consoleLine(const std::string& line) {
  for (const auto& prefix : ignoredConsole_) {
    if (line.compare(0, prefix.size(), prefix) == 0) {
      ++ignoredConsoleCount_;
      return;
    }
  }
  t_.item("console", t_.qb(line));
  consoleLines_.push_back(line);
}

// The extensions start each line with a line break, so the last piece is held
// until the next one starts or the step ends.
void Observer::pumpConsole(bool endOfStep) {
  if (!console_) return;
  partial_ += console_->take();
  size_t start = 0;
  for (size_t nl; (nl = partial_.find('\n', start)) != std::string::npos; start = nl + 1) {
    std::string line = partial_.substr(start, nl - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) consoleLine(line);
  }
  partial_.erase(0, start);
  if (endOfStep && !partial_.empty()) {
    consoleLine(partial_);
    partial_.clear();
  }
}

void Observer::completePartialLine() {
  if (partial_.empty()) return;
  consoleLine(partial_);
  partial_.clear();
}

void Observer::pumpSdkCalls() {
  SdkControl* sdk = host_.sdk();
  if (!sdk) return;
  for (auto& call : sdk->takeCalls()) {
    t_.item("sdk", t_.call(call));
    calls_.push_back(std::move(call));
  }
}

void Observer::pumpWin32Calls() {
#ifndef _WIN32
  for (auto& call : win32::takeCalls()) {
    t_.item("win32", t_.call(call));
    win32Calls_.push_back(std::move(call));
  }
#endif
}

// Events as the runtime delivers them on the main thread, between calls.
void Observer::pumpEvents() {
  air::Context* context = host_.liveContext();
  if (!context) return;
  for (auto& e : context->takeEvents()) {
    if (watch_ && e.code == watch_->name && (!watch_->hasText || e.level == watch_->text)) watched_ = true;
    if (std::find(ignoredEvents_.begin(), ignoredEvents_.end(), e.code) != ignoredEvents_.end()) {
      ++ignoredEventCounts_[e.code];
      continue;
    }
    t_.item("event", t_.q(e.code) + " " + t_.q(e.level));
    events_.push_back(std::move(e));
  }
}

void Observer::pump(bool endOfStep) {
  pumpConsole(endOfStep);
  pumpSdkCalls();
  pumpWin32Calls();
  pumpEvents();
}

void Observer::endStep() {
  pump(true);
  if (ignoredConsoleCount_) {
    t_.item("ignored", std::to_string(ignoredConsoleCount_) + " console line(s)");
    ignoredConsoleCount_ = 0;
  }
  for (const auto& [code, count] : ignoredEventCounts_) t_.item("ignored", std::to_string(count) + " event(s) " + t_.q(code));
  ignoredEventCounts_.clear();
}

void Observer::beginAction() {
  pump(true);
  consoleLines_.clear();
  calls_.clear();
  win32Calls_.clear();
}

void Observer::ignore(const Command& c) {
  if (c.name == "nothing") {
    ignoredEvents_.clear();
    ignoredConsole_.clear();
  } else if (c.name == "event") {
    ignoredEvents_.push_back(c.text);
    // Already delivered events of that code no longer count either.
    events_.erase(std::remove_if(events_.begin(), events_.end(), [&](const air::Event& e) { return e.code == c.text; }),
                  events_.end());
  } else {
    ignoredConsole_.push_back(c.text);
  }
}

bool Observer::waitForEvent(const Command& c, unsigned ms) {
  watch_ = &c;
  watched_ = false;
  beginAction();
  // One delivered before (the moment a completion arrives on an SDK thread
  // decides which step shows it) and not yet expected counts as well.
  for (const auto& e : events_)
    if (e.code == c.name && (!c.hasText || e.level == c.text)) watched_ = true;
  const bool seen = pollUntil(ms, [this] { return watched_; });
  watch_ = nullptr;
  return seen;
}

}  // namespace anehost
