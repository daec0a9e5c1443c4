// Observation: what the extension shows between and during the steps of a
// script (console lines, events, SDK calls), shown in the transcript as it
// arrives and kept for the expectations, less what the script ignores.
#pragma once

#include <chrono>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "air/host.h"
#include "extension_host.h"
#include "transcript.h"

namespace anehost {

class Observer {
 public:
  Observer(Transcript& transcript, ExtensionHost& host) : t_(transcript), host_(host) {}
  ~Observer();

  // Takes what arrived: the console's lines (with endOfStep, the last one
  // too), the SDK calls and the events.
  void pump(bool endOfStep);
  // The console's lines, the SDK calls and the Win32 calls, in the order they were made.
  void pumpOutput(bool endOfStep);

  // The step ends: all it showed is taken, and the ignored lines and events counted.
  void endStep();
  // A call, sdk or wait step starts: what came before it is shown, and the
  // console lines and SDK calls that expectations look at start afresh.
  void beginAction();
  // `ignore event CODE | ignore console PREFIX | ignore win32 PREFIX | ignore nothing`.
  void ignore(const cmd::Ignore& c);
  // A console line still without its successor counts as complete.
  void completePartialLine();

  // Polls until done() or the time is up.
  template <typename Done>
  bool pollUntil(unsigned ms, Done done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
      pump(false);
      if (done()) return true;
      if (std::chrono::steady_clock::now() >= deadline) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }
  // `wait event CODE [LEVEL]`: begins the action, then whether the event
  // arrives within ms (ignored or not); one delivered earlier and not yet
  // expected counts.
  bool waitForEvent(const EventPattern& event, unsigned ms);

  // What the expectations consume.
  std::vector<std::string>& consoleLines() { return consoleLines_; }
  std::deque<air::Event>& events() { return events_; }
  std::deque<std::string>& calls() { return calls_; }
  std::deque<std::string>& win32Calls() { return win32Calls_; }
  // Every byte the extension wrote to the console since the current action
  // began, line breaks and ignored lines included.
  const std::string& consoleBytes() const { return consoleBytes_; }

  // `expect no sdk CALL` (placeholders replaced) on that line: from here to
  // the end of the next step, an SDK call that matches is a miss.
  void forbid(const std::string& call, int line);
  // At the end of a step: the miss of a call forbidden until now ("" when
  // none); a forbidding that has run its course ends.
  std::string forbiddenCallMade();

  // Runs right after the simulated SDK (or, with win32, the Win32 stand-in)
  // logged a call: the console output written before it is set apart, so the
  // call is shown after it.
  void callLogged(bool win32 = false);

 private:
  // What arrived, in order: console bytes, and the places where a call was logged.
  struct Arrival {
    bool call = false;
    std::string bytes;
    bool win32 = false;  // the call was a Win32 call
  };

  void consoleText(const std::string& bytes);
  // Shows a Win32 call (unless ignored) and keeps it for the expectations.
  void win32Call(std::string call);
  void consoleLine(const std::string& line);
  void pumpEvents();
  void listen();

  Transcript& t_;
  ExtensionHost& host_;
  std::unique_ptr<air::ConsoleCapture> console_ = std::make_unique<air::ConsoleCapture>();
  std::mutex arrivalsLock_;  // arrivals_, and the console's taking
  std::vector<Arrival> arrivals_;
  SdkControl* listenedTo_ = nullptr;
  size_t callsAhead_ = 0;  // calls shown before the place where they were logged arrived
  size_t win32Ahead_ = 0;  // the same for Win32 calls
  bool win32Listened_ = false;
  std::string partial_;
  std::string consoleBytes_;
  std::vector<std::string> consoleLines_;
  std::deque<air::Event> events_;
  std::deque<std::string> calls_;
  std::deque<std::string> win32Calls_;
  std::vector<std::string> ignoredEvents_;
  std::vector<std::string> ignoredConsole_;
  std::vector<std::string> ignoredWin32_;
  size_t ignoredWin32Count_ = 0;
  size_t ignoredConsoleCount_ = 0;
  std::map<std::string, size_t> ignoredEventCounts_;
  struct Forbidden {
    std::string call;  // as written, placeholders replaced
    int line;
    int stepsLeft;
    std::string made;  // the first call that matched
  };
  void sdkCall(std::string call);

  std::vector<Forbidden> forbidden_;
  // Ignored events delivered since the current action began: `wait event`
  // counts them as delivered.
  std::set<std::pair<std::string, std::string>> recentIgnored_;
  const EventPattern* watch_ = nullptr;  // the event a `wait event` waits for
  bool watched_ = false;
};

}  // namespace anehost
