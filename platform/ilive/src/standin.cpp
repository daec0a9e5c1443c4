// The stand-in's core: call log, scripted answers, installed handlers and the
// SDK thread on which callbacks are delivered.
#include <algorithm>
#include <atomic>
#include <cctype>
#include <condition_variable>
#include <cstdio>
#include <stdexcept>

#include "standin_common/task_thread.h"
#include "state.h"

namespace ilive::standin {

namespace {

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

struct Log {
  std::mutex mutex;
  std::vector<std::string> calls;
  std::map<std::string, Answer> answers;  // by lower-case operation
  std::map<std::string, Received> bytes;  // by lower-case operation
  void (*listener)(void*) = nullptr;
  void* listenerData = nullptr;
};

Log& log() {
  static Log* l = new Log;
  return *l;
}

// The SDK's callback thread.
using SdkThread = standin_common::TaskThread;

SdkThread& sdkThread() {
#ifdef _WIN32
  // Windows ends every other thread before it runs a DLL's static destructors
  // at process exit, and a join there never returns: the callback thread
  // lives as long as the process.
  static SdkThread* t = new SdkThread("iLiveSDK stand-in");
  return *t;
#else
  static SdkThread t("iLiveSDK stand-in");
  return t;
#endif
}

// The hold of holdNextDelivery.
struct Hold {
  std::atomic<bool> armed{false};  // written under mutex; read first without it
  std::mutex mutex;                // guards the members below
  std::condition_variable changed;
  std::string slot, user;
  bool held = false;      // a delivery is stopped in pause()
  bool released = false;  // the stopped delivery may go on
};

Hold& holdState() {
  static Hold* h = new Hold;
  return *h;
}

// Whom a delivery is for: one identifier, a list of them, or nobody.
struct Who {
  const SdkString* one = nullptr;
  const std::vector<std::string>* many = nullptr;
  bool is(const std::string& user) const {
    if (one) return one->size() == user.size() && std::equal(user.begin(), user.end(), one->c_str());
    return many && std::find(many->begin(), many->end(), user) != many->end();
  }
};

// Run by the delivering thread between reading the handler and calling it.
// Allocates nothing unless a hold is armed.
void pause(const char* slot, const Who& who) {
  Hold& h = holdState();
  if (!h.armed.load()) return;
  std::unique_lock<std::mutex> lock(h.mutex);
  if (!h.armed.load() || h.slot != slot || (!h.user.empty() && !who.is(h.user))) return;
  h.armed = false;
  h.held = true;
  h.released = false;
  h.changed.notify_all();
  h.changed.wait(lock, [&h] { return h.released; });
  h.held = false;
  h.released = false;
  h.changed.notify_all();
}

template <class Fn>
void deliver(bool here, const char* slot, const Who& who, Fn&& fn) {
  if (here) {
    pause(slot, who);
    fn();
  } else {
    runOnSdkThread([&] {
      pause(slot, who);
      fn();
    });
  }
}

}  // namespace

// ---- Formatting ----

std::string fmt(const SdkString& s) { return quote(s.c_str(), s.size()); }
std::string fmt(const char* s) { return quote(s); }
std::string fmt(bool v) { return standin_common::boolText(v); }
std::string fmt(int32_t v) { return std::to_string(v); }
std::string fmt(uint32_t v) { return std::to_string(v); }
std::string fmt(int64_t v) { return std::to_string(v); }
std::string fmt(uint64_t v) { return std::to_string(v); }
std::string fmtPtr(const void* p) { return p ? "ptr" : "null"; }
std::string fmtHandler(const void* fn, const char* name) { return standin_common::pointerText(fn, name); }
std::string fmtBytes(const void* data, uint32_t size) { return standin_common::bytesText(data, size); }

std::string fmt(const RoomOption& o) {
  std::string s = "{";
  const std::string fields[] = {
      fmt(o.roomType), fmt(o.roomId), fmt(o.authType), fmt(o.authBuffer), fmt(o.autoCreate), fmt(o.authBits),
      fmt(o.controlRole), fmt(o.privateMapKey), fmt(o.autoCamera), fmt(o.autoMic), fmt(o.autoSpeaker),
      fmt(o.timeoutMs), fmt(o.autoRequestCamera), fmt(o.autoRequestScreen), fmt(o.autoRequestMediaFile),
      fmt(o.autoRequestAudio), fmt(o.recordTag), fmt(o.highAudioQuality),
      fmtHandler(fnAddr(o.roomDisconnectHandler), "roomDisconnect"), fmtPtr(o.roomDisconnectData),
      fmtHandler(fnAddr(o.memberEventHandler), "memberEvent"), fmtPtr(o.memberEventData),
      fmtHandler(fnAddr(o.qualityHandler), "quality"), fmtPtr(o.qualityData)};
  bool first = true;
  for (const auto& f : fields) {
    if (!first) s += ", ";
    s += f;
    first = false;
  }
  return s + "}";
}

std::string fmt(const VideoFrame& f) {
  return "{" + fmt(f.identifier) + ", " + fmt(f.colorFormat) + ", " + fmt(f.width) + ", " + fmt(f.height) + ", " +
         fmt(static_cast<uint32_t>(f.flag)) + ", " + fmt(f.sourceKind) + ", " + fmt(f.value) + ", " +
         fmt(f.dataSize) + ", " + fmtBytes(f.data, f.dataSize) + ", " + fmt(f.timestamp) + "}";
}

std::string fmt(const CustomData& d) {
  return "{" + fmt(d.identifier) + ", " + fmt(d.size) + ", " + fmtBytes(d.data, d.size) + ", " + fmt(d.kind) + "}";
}

std::string fmt(const SdkVector<StreamRequest>& list) {
  std::string s = "[";
  for (uint32_t i = 0; i < list.size(); ++i) {
    if (i) s += ", ";
    s += "{" + fmt(list[i].first) + ", " + fmt(list[i].second) + "}";
  }
  return s + "]";
}

// ---- Log and answers ----

Answer logCall(const char* op, std::initializer_list<std::string> args) {
  std::string line = op;
  line += "(";
  bool first = true;
  for (const auto& a : args) {
    if (!first) line += ", ";
    line += a;
    first = false;
  }
  line += ")";
  Answer answer;
  void (*listener)(void*) = nullptr;
  void* listenerData = nullptr;
  {
    Log& l = log();
    std::lock_guard<std::mutex> lock(l.mutex);
    l.calls.push_back(std::move(line));
    auto it = l.answers.find(lower(op));
    if (it != l.answers.end()) answer = it->second;
    listener = l.listener;
    listenerData = l.listenerData;
  }
  if (listener) listener(listenerData);
  if (answer.throws) throw std::runtime_error(std::string("iLiveSDK stand-in: ") + op + " failed");
  return answer;
}

bool scriptedAnswer(const std::string& op, Answer* out) {
  Log& l = log();
  std::lock_guard<std::mutex> lock(l.mutex);
  auto it = l.answers.find(lower(op));
  if (it == l.answers.end()) return false;
  *out = it->second;
  return true;
}

void keepBytes(const char* op, const void* data, uint32_t size, const VideoFrame* frame) {
  Log& l = log();
  std::lock_guard<std::mutex> lock(l.mutex);
  Received& r = l.bytes[lower(op)];
  if (data)
    r.bytes.assign(static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + size);
  else
    r.bytes.clear();
  r.frame = frame != nullptr;
  r.colorFormat = frame ? frame->colorFormat : 0;
  r.width = frame ? frame->width : 0;
  r.height = frame ? frame->height : 0;
}

std::vector<std::string> takeCalls() {
  Log& l = log();
  std::lock_guard<std::mutex> lock(l.mutex);
  return std::exchange(l.calls, {});
}

void setCallListener(void (*listener)(void*), void* data) {
  Log& l = log();
  std::lock_guard<std::mutex> lock(l.mutex);
  l.listener = listener;
  l.listenerData = data;
}

std::vector<uint8_t> lastBytes(const std::string& operation) {
  Log& l = log();
  std::lock_guard<std::mutex> lock(l.mutex);
  auto it = l.bytes.find(lower(operation));
  return it == l.bytes.end() ? std::vector<uint8_t>() : it->second.bytes;
}

bool received(const std::string& operation, Received* out) {
  Log& l = log();
  std::lock_guard<std::mutex> lock(l.mutex);
  auto it = l.bytes.find(lower(operation));
  if (it == l.bytes.end()) return false;
  *out = it->second;
  return true;
}

void setAnswer(const std::string& operation, const Answer& answer) {
  Log& l = log();
  std::lock_guard<std::mutex> lock(l.mutex);
  l.answers[lower(operation)] = answer;
}

bool exceptionsCrossModules() {
#if defined(_WIN32)
  return false;
#else
  return true;
#endif
}

void clearAnswer(const std::string& operation) {
  Log& l = log();
  std::lock_guard<std::mutex> lock(l.mutex);
  l.answers.erase(lower(operation));
}

// ---- State and delivery ----

State& state() {
  static State* s = new State;
  return *s;
}

void runOnSdkThread(const std::function<void()>& fn) { sdkThread().run(fn); }
void postToSdkThread(std::function<void()> fn) { sdkThread().post(std::move(fn)); }

void addPending(const std::string& op, SuccessHandler onSuccess, ErrorHandler onError, void* data) {
  bool autoComplete;
  {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.pending[op] = Completion{onSuccess, onError, data};
    autoComplete = s.autoComplete;
  }
  if (autoComplete) postToSdkThread([op] { complete(op, true); });
}

void onCompleted(const std::string& op, bool success) {
  State& s = state();
  std::lock_guard<std::mutex> lock(s.mutex);
  if (!success) return;
  if (op == "login" || op == "loginWithSpear") {
    s.loggedIn = true;
    s.loggedInUser = s.loginUser;
  } else if (op == "logout") {
    s.loggedIn = false;
    s.inRoom = false;
  } else if (op == "createRoom" || op == "joinRoom") {
    s.inRoom = true;
  } else if (op == "quitRoom") {
    s.inRoom = false;
  }
}

bool complete(const std::string& operation, bool success, int32_t code, const std::string& message) {
  Completion c;
  std::string op;
  {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    auto it = s.pending.end();
    for (auto i = s.pending.begin(); i != s.pending.end(); ++i)
      if (lower(i->first) == lower(operation)) it = i;
    if (it == s.pending.end()) return false;
    c = it->second;
    op = it->first;
  }
  onCompleted(op, success);
  runOnSdkThread([&] {
    if (success) {
      if (c.onSuccess) c.onSuccess(c.data);
    } else if (c.onError) {
      const SdkString text(message.c_str(), message.size());
      c.onError(code, text, c.data);
    }
  });
  if (lower(op) == "releasesdk") forgetHandlers();  // the SDK calls nothing after its release
  return true;
}

void setAutoComplete(bool on) {
  State& s = state();
  std::lock_guard<std::mutex> lock(s.mutex);
  s.autoComplete = on;
}

int32_t videoColorFormat() {
  State& s = state();
  std::lock_guard<std::mutex> lock(s.mutex);
  return s.colorFormat;
}

bool& lateDelivery() {
  thread_local bool late = false;
  return late;
}

template <class Get>
static auto hook(Get get) {
  State& s = state();
  std::lock_guard<std::mutex> lock(s.mutex);
  return get(lateDelivery() ? s.departedHooks : s.hooks);
}

bool memberEvent(int32_t event, const std::vector<std::string>& userIds, bool here) {
  auto h = hook([](Hooks& k) { return std::make_pair(k.memberEvent, k.memberEventData); });
  if (!h.first) return false;
  deliver(here, "memberEvent", Who{nullptr, &userIds}, [&] {
    SdkVector<SdkString> ids;
    for (const auto& u : userIds) ids.push_back(SdkString(u.c_str(), u.size()));
    h.first(event, ids, h.second);
  });
  return true;
}

bool remoteFrame(const VideoFrame& frame, bool here) {
  auto h = hook([](Hooks& k) { return std::make_pair(k.remoteVideo, k.remoteVideoData); });
  if (!h.first) return false;
  deliver(here, "remoteVideo", Who{&frame.identifier}, [&] { h.first(&frame, h.second); });
  return true;
}

bool localFrame(const VideoFrame& frame, bool here) {
  auto h = hook([](Hooks& k) { return std::make_pair(k.localVideo, k.localVideoData); });
  if (!h.first) return false;
  deliver(here, "localVideo", Who{&frame.identifier}, [&] { h.first(&frame, h.second); });
  return true;
}

bool statistics(const Statistics& stats, bool here) {
  auto h = hook([](Hooks& k) { return std::make_pair(k.quality, k.qualityData); });
  if (!h.first) return false;
  deliver(here, "quality", Who{}, [&] { h.first(stats, h.second); });
  return true;
}

bool deviceOperation(int32_t operation, int32_t result, bool here) {
  auto h = hook([](Hooks& k) { return std::make_pair(k.deviceOperation, k.deviceOperationData); });
  if (!h.first) return false;
  deliver(here, "deviceOperation", Who{}, [&] { h.first(operation, result, h.second); });
  return true;
}

bool deviceDetect(bool here) {
  auto h = hook([](Hooks& k) { return std::make_pair(k.deviceDetect, k.deviceDetectData); });
  if (!h.first) return false;
  deliver(here, "deviceDetect", Who{}, [&] { h.first(h.second); });
  return true;
}

bool audioFrame(int32_t kind, const AudioFrame& frame, bool here) {
  auto h = hook([kind](Hooks& k) {
    auto it = k.audio.find(kind);
    return it == k.audio.end() ? std::make_pair(AudioDataHandler(nullptr), static_cast<void*>(nullptr)) : it->second;
  });
  if (!h.first) return false;
  deliver(here, "audio", Who{&frame.identifier}, [&] { h.first(&frame, kind, h.second); });
  return true;
}

bool roomDisconnect(int32_t reason, const std::string& message) {
  auto h = hook([](Hooks& k) { return std::make_pair(k.roomDisconnect, k.roomDisconnectData); });
  if (!h.first) return false;
  runOnSdkThread([&] { h.first(reason, SdkString(message.c_str(), message.size()), h.second); });
  return true;
}

bool forceOffline() {
  auto h = hook([](Hooks& k) { return std::make_pair(k.forceOffline, k.forceOfflineData); });
  if (!h.first) return false;
  runOnSdkThread([&] { h.first(h.second); });
  return true;
}

bool networkNotice() {
  auto h = hook([](Hooks& k) { return k.networkNotice; });
  if (!h) return false;
  runOnSdkThread([&] { h(); });
  return true;
}

bool recordError(int32_t code, const std::string& message) {
  auto d = hook([](Hooks& k) { return k.recordDelegate; });
  if (!d) return false;
  runOnSdkThread([&] { d->OnError(code, SdkString(message.c_str(), message.size())); });
  return true;
}

bool recorded(int32_t first, int32_t second, int32_t third, const std::string& path) {
  auto d = hook([](Hooks& k) { return k.recordDelegate; });
  if (!d) return false;
  runOnSdkThread([&] { d->OnRecorded(first, second, third, SdkString(path.c_str(), path.size())); });
  return true;
}

void forgetHandlers() {
  State& s = state();
  std::lock_guard<std::mutex> lock(s.mutex);
  s.departedHooks = s.hooks;
  s.hooks = Hooks();
  s.pending.clear();
  s.inited = false;
  s.loggedIn = false;
  s.inRoom = false;
}

void holdNextDelivery(const std::string& slot, const std::string& user) {
  Hold& h = holdState();
  std::lock_guard<std::mutex> lock(h.mutex);
  h.armed = true;
  h.slot = slot;
  h.user = user;
}

bool waitUntilHeld(int timeoutMs) {
  Hold& h = holdState();
  std::unique_lock<std::mutex> lock(h.mutex);
  return h.changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&h] { return h.held; });
}

void releaseHeld() {
  Hold& h = holdState();
  std::lock_guard<std::mutex> lock(h.mutex);
  h.armed = false;
  if (h.held) h.released = true;
  h.changed.notify_all();
}

void reset() {
  releaseHeld();
  settleRoom();
  runOnSdkThread([] {});  // let queued callbacks finish
  {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    static_cast<StateData&>(s) = StateData{};
  }
  Log& l = log();
  std::lock_guard<std::mutex> lock(l.mutex);
  l.calls.clear();
  l.answers.clear();
  l.bytes.clear();
}

}  // namespace ilive::standin
