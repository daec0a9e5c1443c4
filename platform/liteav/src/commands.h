// The parts of the stand-in's command language that its files share: the
// words of a command, the frames that commands and the simulated room send,
// and the notifications sent to the registered callbacks.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "standin_common/frame_content.h"
#include "state.h"

namespace liteav_standin {

// One word of a command: bare text, one quoted text, or key=value(s) where the
// values are separated by commas ("list=\"A\",\"B\"").
struct Token {
  std::string key;                  // empty when the word has no '='
  std::vector<std::string> values;  // the word itself when there is no key
  bool quoted = false;              // the (first) value was quoted
  const std::string& text() const { return values.front(); }
};

bool toInt(const std::string& s, int64_t* v);
// WIDTHxHEIGHT.
bool toSize(const std::string& s, uint32_t* w, uint32_t* h);

// Reads the command's words: positional ones in order, key=value ones by key.
struct Words {
  std::vector<Token> positional;
  std::map<std::string, Token> keyed;
  std::string* error;
  // A `late` command: its callbacks go to what the cloud let go of
  // (State::departed...), not to what is registered.
  bool late = false;
  // A `hold NAME` command: its delivery waits just before the call into the
  // callback until `release NAME` (holds.cpp).
  std::string hold;

  bool has(const std::string& key) const { return keyed.count(key) != 0; }
  bool integer(size_t i, int64_t* v, const char* what) {
    if (i >= positional.size() || !toInt(positional[i].text(), v)) return fail(std::string("expected ") + what);
    return true;
  }
  bool text(size_t i, std::string* v, const char* what) {
    if (i >= positional.size()) return fail(std::string("expected ") + what);
    *v = positional[i].text();
    return true;
  }
  bool keyInt(const std::string& key, int64_t* v, int64_t fallback) {
    auto it = keyed.find(key);
    if (it == keyed.end()) {
      *v = fallback;
      return true;
    }
    if (!toInt(it->second.text(), v)) return fail(key + "= expects a number");
    return true;
  }
  bool fail(const std::string& message) {
    *error = message;
    return false;
  }
};

// 0 or 1 (any other number counts as 1).
bool boolWord(Words& w, size_t i, bool* v);

// A frame from the command or the simulated room.
struct FrameSpec {
  bool local = true;
  bool nullId = false;
  bool idGiven = false;  // a local frame with an id (or null) of its own
  std::string userId;
  int streamType = TRTCVideoStreamTypeBig;
  int format = -1;  // -1: the format the callback was registered for
  uint32_t width = 640, height = 360;
  int rotation = 0;
  int64_t length = -1;  // -1: what the format needs
  bool nullData = false;
  std::string pattern = "bars";
  int marks = 0;
  standin_common::FrameContent content;  // color=, yuv=, file=, png= (instead of the pattern)
  bool late = false;                     // to the render callback that was let go of
  std::string hold;                      // held before the call (see Words::hold)
};

// Reads the words of "frame local|remote ..." from `first` on.
bool parseFrame(Words& w, size_t first, FrameSpec* f);
// Delivers the frame on the worker of its user; with `wait`, once it has run.
bool runFrame(const FrameSpec& f, bool wait, std::string* error);
// big, small, sub or a number; -100 for anything else.
int streamTypeOf(const std::string& s);
// i420, bgra or a number; -100 for anything else.
int formatOf(const std::string& s);

// Runs a notification on the events worker, waiting for it or not; true.
bool onEvents(const std::function<void()>& task, bool wait);

// Held deliveries (holds.cpp). holdRun runs `deliver` on a thread of its
// own and returns once that thread waits at holdPoint(name), just before its
// call into the callback (true), or once it ended without getting there
// (false, with deliver's message). holdRelease lets it make the call and
// returns once the delivery is over. holdReleaseAll (reset) releases them all.
bool holdRun(const std::string& name, std::function<bool(std::string*)> deliver, std::string* error);
void holdPoint(const std::string& name);
bool holdRelease(const std::string& name, std::string* error);
void holdReleaseAll();

// Runs `fn(callback)` for every registered cloud callback on the events worker
// (late: every departed one). The callbacks are looked up when the task runs
// and called with no lock held. With a `hold` command (w), the delivery runs
// on a thread of its own and waits before the calls (holdRun).
template <class Fn>
bool fireCloud(Fn fn, bool wait, std::string* error, const Words* w = nullptr) {
  const bool late = w && w->late;
  const std::string hold = w ? w->hold : std::string();
  State& s = State::get();
  auto callbacks = [late](std::vector<ITRTCCloudCallback*>* out) {
    State& st = State::get();
    std::shared_lock<std::shared_mutex> lock(st.delivery);
    *out = late ? st.departedCloudCallbacks : st.cloudCallbacks;
  };
  {
    std::shared_lock<std::shared_mutex> lock(s.delivery);
    if ((late ? s.departedCloudCallbacks : s.cloudCallbacks).empty()) {
      if (error) *error = late ? "no cloud callback was removed" : "no cloud callback registered";
      return false;
    }
  }
  if (!hold.empty()) {
    return holdRun(
        hold,
        [fn, callbacks, hold](std::string* e) {
          std::vector<ITRTCCloudCallback*> list;
          callbacks(&list);
          if (list.empty()) {
            *e = "no cloud callback to hold a notification for";
            return false;
          }
          holdPoint(hold);
          for (ITRTCCloudCallback* cb : list) fn(cb);
          return true;
        },
        error);
  }
  auto task = [fn, callbacks] {
    std::vector<ITRTCCloudCallback*> list;
    callbacks(&list);
    for (ITRTCCloudCallback* cb : list) fn(cb);
  };
  return onEvents(task, wait);
}

// The notifications to the registered callbacks (notifications.cpp): false
// with *known false when the verb is none of the cloud's.
bool cloudCommand(const std::string& verb, Words& w, bool wait, bool* known);
bool pusherCommand(Words& w, bool wait);
bool audioFrameCommand(Words& w, bool wait);
bool vodCommand(Words& w, bool wait);

// The simulated room's thread (room.cpp).
void roomStart();
void roomStop();

}  // namespace liteav_standin
