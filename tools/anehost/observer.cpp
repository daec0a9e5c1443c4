#include "observer.h"

#include <algorithm>

#include "call_lines.h"

#ifndef _WIN32
#include "win32_standin.h"
#endif

namespace anehost {
namespace {

// The stand-ins call one plain function; it reaches the observer while there
// is one. The lock is never destroyed: the stand-ins' threads may log a call
// while the process ends.
std::mutex& listenerLock() {
  static std::mutex* lock = new std::mutex;
  return *lock;
}
Observer* gListener = nullptr;

void onCallLogged(void*) {
  std::lock_guard<std::mutex> lock(listenerLock());
  if (gListener) gListener->callLogged();
}

#ifndef _WIN32
void onWin32CallLogged(void*) {
  std::lock_guard<std::mutex> lock(listenerLock());
  if (gListener) gListener->callLogged(true);
}
#endif

}  // namespace

Observer::~Observer() {
  std::lock_guard<std::mutex> lock(listenerLock());
  if (gListener == this) gListener = nullptr;
}

void Observer::listen() {
#ifndef _WIN32
  if (!win32Listened_) {
    {
      std::lock_guard<std::mutex> lock(listenerLock());
      gListener = this;
    }
    win32::setCallListener(&onWin32CallLogged, nullptr);
    win32Listened_ = true;
  }
#endif
  SdkControl* sdk = host_.sdk();
  if (!sdk || sdk == listenedTo_) return;
  {
    std::lock_guard<std::mutex> lock(listenerLock());
    gListener = this;
  }
  sdk->setCallListener(&onCallLogged, nullptr);
  listenedTo_ = sdk;
}

void Observer::callLogged(bool win32) {
  std::lock_guard<std::mutex> lock(arrivalsLock_);
  if (!console_) return;
  std::string bytes = console_->take();
  if (!bytes.empty()) arrivals_.push_back({false, std::move(bytes)});
  arrivals_.push_back({true, {}, win32});
}

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
// until the next one starts, a call is made or the step ends.
void Observer::consoleText(const std::string& bytes) {
  consoleBytes_ += bytes;
  partial_ += bytes;
  size_t start = 0;
  for (size_t nl; (nl = partial_.find('\n', start)) != std::string::npos; start = nl + 1) {
    std::string line = partial_.substr(start, nl - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) consoleLine(line);
  }
  partial_.erase(0, start);
}

void Observer::completePartialLine() {
  if (partial_.empty()) return;
  consoleLine(partial_);
  partial_.clear();
}

void Observer::pumpOutput(bool endOfStep) {
  listen();
  std::vector<Arrival> arrivals;
  {
    std::lock_guard<std::mutex> lock(arrivalsLock_);
    if (console_) {
      std::string bytes = console_->take();
      if (!bytes.empty()) arrivals_.push_back({false, std::move(bytes)});
    }
    arrivals.swap(arrivals_);
  }
  // Taken after the arrivals: every call whose place arrived is among them.
  SdkControl* sdk = host_.sdk();
  std::deque<std::string> taken;
  if (sdk)
    for (auto& call : sdk->takeCalls()) taken.push_back(std::move(call));
  std::deque<std::string> takenWin32;
#ifndef _WIN32
  for (auto& call : win32::takeCalls()) takenWin32.push_back(std::move(call));
#endif
  const auto showCall = [&] {
    sdkCall(std::move(taken.front()));
    taken.pop_front();
  };
  const auto showWin32Call = [&] {
    win32Call(std::move(takenWin32.front()));
    takenWin32.pop_front();
  };
  for (const Arrival& a : arrivals) {
    if (!a.call) {
      consoleText(a.bytes);
    } else if (a.win32 ? win32Ahead_ > 0 : callsAhead_ > 0) {
      --(a.win32 ? win32Ahead_ : callsAhead_);  // shown by an earlier pump
    } else if (!(a.win32 ? takenWin32 : taken).empty()) {
      completePartialLine();
      if (a.win32)
        showWin32Call();
      else
        showCall();
    }
  }
  // Calls logged after the arrivals were taken: their places come later.
  while (!taken.empty()) {
    completePartialLine();
    showCall();
    ++callsAhead_;
  }
  while (!takenWin32.empty()) {
    completePartialLine();
    showWin32Call();
    ++win32Ahead_;
  }
  if (endOfStep) completePartialLine();
}

void Observer::sdkCall(std::string call) {
  t_.item("sdk", t_.call(call));
  for (Forbidden& f : forbidden_)
    if (f.made.empty() && callMatches(f.call, call)) f.made = call;
  calls_.push_back(std::move(call));
}

void Observer::forbid(const std::string& call, int line) { forbidden_.push_back({call, line, 2, {}}); }

std::string Observer::forbiddenCallMade() {
  std::string miss;
  for (Forbidden& f : forbidden_) {
    if (miss.empty() && !f.made.empty())
      miss = "expected no SDK call " + f.call + " from line " + std::to_string(f.line) +
             " to the end of the next step, but the extension called " + t_.call(f.made);
    --f.stepsLeft;
  }
  forbidden_.erase(std::remove_if(forbidden_.begin(), forbidden_.end(),
                                  [](const Forbidden& f) { return f.stepsLeft <= 0 || !f.made.empty(); }),
                   forbidden_.end());
  return miss;
}

void Observer::win32Call(std::string call) {
  const auto ignored = [&](const std::string& prefix) { return call.compare(0, prefix.size(), prefix) == 0; };
  if (std::any_of(ignoredWin32_.begin(), ignoredWin32_.end(), ignored)) {
    ++ignoredWin32Count_;
    return;
  }
  t_.item("win32", t_.call(call));
  win32Calls_.push_back(std::move(call));
}

// Events as the runtime delivers them on the main thread, between calls.
void Observer::pumpEvents() {
  air::Context* context = host_.liveContext();
  if (!context) return;
  for (auto& e : context->takeEvents()) {
    if (watch_ && watch_->matches(e.code, e.level)) watched_ = true;
    if (std::find(ignoredEvents_.begin(), ignoredEvents_.end(), e.code) != ignoredEvents_.end()) {
      ++ignoredEventCounts_[e.code];
      recentIgnored_.emplace(e.code, e.level);
      continue;
    }
    t_.item("event", t_.q(e.code) + " " + t_.q(e.level));
    events_.push_back(std::move(e));
  }
}

void Observer::pump(bool endOfStep) {
  pumpOutput(endOfStep);
  pumpEvents();
}

void Observer::endStep() {
  pump(true);
  if (ignoredConsoleCount_) {
    t_.item("ignored", std::to_string(ignoredConsoleCount_) + " console line(s)");
    ignoredConsoleCount_ = 0;
  }
  if (ignoredWin32Count_) {
    t_.item("ignored", std::to_string(ignoredWin32Count_) + " Win32 call(s)");
    ignoredWin32Count_ = 0;
  }
  for (const auto& [code, count] : ignoredEventCounts_) t_.item("ignored", std::to_string(count) + " event(s) " + t_.q(code));
  ignoredEventCounts_.clear();
}

void Observer::beginAction() {
  pump(true);
  recentIgnored_.clear();
  consoleLines_.clear();
  calls_.clear();
  win32Calls_.clear();
  consoleBytes_.clear();
}

void Observer::ignore(const cmd::Ignore& c) {
  switch (c.what) {
    case cmd::Ignore::What::Nothing:
      ignoredEvents_.clear();
      ignoredConsole_.clear();
      ignoredWin32_.clear();
      break;
    case cmd::Ignore::What::Event:
      ignoredEvents_.push_back(c.match);
      // Already delivered events of that code no longer count either.
      events_.erase(std::remove_if(events_.begin(), events_.end(), [&](const air::Event& e) { return e.code == c.match; }),
                    events_.end());
      break;
    case cmd::Ignore::What::Win32:
      ignoredWin32_.push_back(c.match);
      break;
    case cmd::Ignore::What::Console:
      ignoredConsole_.push_back(c.match);
      break;
  }
}

bool Observer::waitForEvent(const EventPattern& event, unsigned ms) {
  watch_ = &event;
  watched_ = false;
  // Ignored ones too, up to the start of this step.
  for (const auto& [code, level] : recentIgnored_)
    if (event.matches(code, level)) watched_ = true;
  beginAction();
  // One delivered before (the moment a completion arrives on an SDK thread
  // decides which step shows it) and not yet expected counts as well.
  for (const auto& e : events_)
    if (event.matches(e.code, e.level)) watched_ = true;
  const bool seen = pollUntil(ms, [this] { return watched_; });
  watch_ = nullptr;
  return seen;
}

}  // namespace anehost
