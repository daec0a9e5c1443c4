// The text interface of the stand-in (one command a line, see COMMANDS.md),
// frame delivery, the simulated room, and the control exports that tests and
// the host tool reach with dlsym / GetProcAddress.
#include <libyuv.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "standin.h"

namespace liteav_standin {
namespace {

// One word of a command: bare text, one quoted text, or key=value(s) where the
// values are separated by commas ("list=\"A\",\"B\"").
struct Token {
  std::string key;                  // empty when the word has no '='
  std::vector<std::string> values;  // the word itself when there is no key
  bool quoted = false;              // the (first) value was quoted
  const std::string& text() const { return values.front(); }
};

bool lex(const std::string& line, std::vector<Token>* out, std::string* error) {
  size_t i = 0;
  const size_t n = line.size();
  while (i < n) {
    while (i < n && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
    if (i >= n || line[i] == '#') break;
    Token t;
    std::string cur;
    bool curQuoted = false, any = false;
    while (i < n && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') {
      char c = line[i];
      if (c == '"') {
        ++i;
        curQuoted = true;
        any = true;
        bool closed = false;
        while (i < n) {
          char d = line[i++];
          if (d == '"') {
            closed = true;
            break;
          }
          if (d != '\\') {
            cur += d;
            continue;
          }
          if (i >= n) break;
          char e = line[i++];
          switch (e) {
            case 'n': cur += '\n'; break;
            case 'r': cur += '\r'; break;
            case 't': cur += '\t'; break;
            case '0': cur += '\0'; break;
            case 'x': {
              if (i + 2 > n) {
                *error = "bad \\x escape";
                return false;
              }
              cur += static_cast<char>(std::strtol(line.substr(i, 2).c_str(), nullptr, 16));
              i += 2;
              break;
            }
            default: cur += e;
          }
        }
        if (!closed) {
          *error = "unterminated text";
          return false;
        }
      } else if (c == '=' && t.key.empty() && !curQuoted && t.values.empty()) {
        t.key = cur;
        cur.clear();
        any = false;
        ++i;
      } else if (c == ',' && !t.key.empty()) {
        t.values.push_back(cur);
        if (t.values.size() == 1) t.quoted = curQuoted;
        cur.clear();
        curQuoted = false;
        any = false;
        ++i;
      } else {
        cur += c;
        any = true;
        ++i;
      }
    }
    if (any || !cur.empty() || curQuoted || t.values.empty()) {
      t.values.push_back(cur);
      if (t.values.size() == 1) t.quoted = curQuoted;
    }
    out->push_back(std::move(t));
  }
  return true;
}

bool toInt(const std::string& s, int64_t* v) {
  if (s.empty()) return false;
  char* end = nullptr;
  errno = 0;
  long long x = std::strtoll(s.c_str(), &end, 0);
  if (*end || errno) return false;
  *v = x;
  return true;
}

bool toSize(const std::string& s, uint32_t* w, uint32_t* h) {
  size_t x = s.find('x');
  if (x == std::string::npos) return false;
  int64_t a, b;
  if (!toInt(s.substr(0, x), &a) || !toInt(s.substr(x + 1), &b) || a < 0 || b < 0 || a > 0xffffffffLL ||
      b > 0xffffffffLL)
    return false;
  *w = uint32_t(a);
  *h = uint32_t(b);
  return true;
}

// Reads the command's words: positional ones in order, key=value ones by key.
struct Words {
  std::vector<Token> positional;
  std::map<std::string, Token> keyed;
  std::string* error;

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

std::atomic<uint32_t> frameCounter{0};

// A frame from the command or the simulated room.
struct FrameSpec {
  bool local = true;
  bool nullId = false;
  std::string userId;
  int streamType = TRTCVideoStreamTypeBig;
  int format = -1;  // -1: the format the callback was registered for
  uint32_t width = 640, height = 360;
  int rotation = 0;
  int64_t length = -1;  // -1: what the format needs
  bool nullData = false;
  std::string pattern = "bars";
  int marks = 0;
};

bool needsOf(int format, uint32_t w, uint32_t h, uint64_t* bytes) {
  if (format == TRTCVideoPixelFormat_I420) {
    *bytes = uint64_t(w) * h + 2 * uint64_t((w + 1) / 2) * ((h + 1) / 2);
    return true;
  }
  *bytes = uint64_t(w) * h * 4;
  return true;
}

// Runs on a frame worker.
bool deliverFrame(const FrameSpec& f, std::string* error) {
  State& s = State::get();
  std::shared_lock<std::shared_mutex> lock(s.delivery);
  RenderRegistration reg;
  if (f.local) {
    reg = s.localRender;
  } else {
    auto it = s.remoteRenders.find(f.userId);
    if (it != s.remoteRenders.end()) reg = it->second;
  }
  if (!reg.callback) {
    *error = f.local ? "no local render callback registered" : "no render callback registered for " + f.userId;
    return false;
  }
  int format = f.format >= 0 ? f.format : (reg.format == TRTCVideoPixelFormat_BGRA32 ? 3 : 1);
  uint64_t need = 0;
  needsOf(format, f.width, f.height, &need);
  uint64_t length = f.length >= 0 ? uint64_t(f.length) : need;
  if (length > (uint64_t(1) << 30)) {
    *error = "frame too large for the stand-in";
    return false;
  }
  // A picture too large to draw (a size that overflows, given with a short
  // length) carries a ramp of `length` bytes.
  const bool drawable = need <= (uint64_t(1) << 30);
  if (!drawable) need = length;
  thread_local std::vector<uint8_t> picture, data;
  const uint32_t frameNo = frameCounter.fetch_add(1);
  // The picture in the requested format, then cut or padded to `length`.
  std::vector<uint8_t> full(need);
  if (f.pattern == "ramp" || !drawable) {
    for (size_t i = 0; i < full.size(); ++i) full[i] = uint8_t(i % 251);
  } else {
    picture.resize(size_t(f.width) * f.height * 4);
    if (f.pattern.rfind("solid:", 0) == 0) {
      uint32_t rgb = uint32_t(std::strtoul(f.pattern.c_str() + 6, nullptr, 16));
      for (size_t i = 0; i + 3 < picture.size(); i += 4) {
        picture[i] = uint8_t(rgb), picture[i + 1] = uint8_t(rgb >> 8), picture[i + 2] = uint8_t(rgb >> 16);
        picture[i + 3] = 255;
      }
    } else {
      drawPattern(picture.data(), f.width, f.height, frameNo, f.marks);
    }
    if (format == TRTCVideoPixelFormat_I420 && f.width && f.height) {
      const uint32_t cw = (f.width + 1) / 2, ch = (f.height + 1) / 2;
      uint8_t* y = full.data();
      uint8_t* u = y + size_t(f.width) * f.height;
      uint8_t* v = u + size_t(cw) * ch;
      libyuv::ARGBToI420(picture.data(), int(f.width * 4), y, int(f.width), u, int(cw), v, int(cw), int(f.width),
                         int(f.height));
    } else if (!full.empty() && !picture.empty()) {
      std::memcpy(full.data(), picture.data(), std::min<size_t>(full.size(), picture.size()));
    }
  }
  data.assign(full.begin(), full.begin() + std::min<uint64_t>(length, full.size()));
  data.resize(length);
  uint8_t empty = 0;
  TRTCVideoFrame frame;
  frame.videoFormat = static_cast<TRTCVideoPixelFormat>(format);
  frame.bufferType = TRTCVideoBufferType_Buffer;
  frame.data = f.nullData ? nullptr : reinterpret_cast<char*>(length ? data.data() : &empty);
  frame.length = uint32_t(length);
  frame.width = f.width;
  frame.height = f.height;
  frame.timestamp = frameNo;
  frame.rotation = static_cast<TRTCVideoRotation>(f.rotation);
  const char* id = f.nullId ? nullptr : f.userId.c_str();
  reg.callback->onRenderVideoFrame(id, static_cast<TRTCVideoStreamType>(f.streamType), &frame);
  return true;
}

// Runs a notification on the events worker, waiting for it or not; true.
bool onEvents(const std::function<void()>& task, bool wait) {
  Worker& events = State::get().events;
  if (wait)
    events.run(task);
  else
    events.post(task);
  return true;
}

// Runs `fn(callback)` for every registered cloud callback on the events worker.
template <class Fn>
bool fireCloud(Fn fn, bool wait, std::string* error) {
  State& s = State::get();
  {
    std::shared_lock<std::shared_mutex> lock(s.delivery);
    if (s.cloudCallbacks.empty()) {
      if (error) *error = "no cloud callback registered";
      return false;
    }
  }
  auto task = [fn] {
    State& st = State::get();
    std::shared_lock<std::shared_mutex> lock(st.delivery);
    for (ITRTCCloudCallback* cb : st.cloudCallbacks) fn(cb);
  };
  return onEvents(task, wait);
}

bool runFrame(const FrameSpec& f, bool wait, std::string* error) {
  State& s = State::get();
  Worker& w = f.local ? s.local : s.remoteFor(f.userId);
  if (!wait) {
    w.post([f] {
      std::string ignored;
      deliverFrame(f, &ignored);
    });
    return true;
  }
  bool ok = false;
  w.run([&] { ok = deliverFrame(f, error); });
  return ok;
}

int streamTypeOf(const std::string& s) {
  if (s == "big") return 0;
  if (s == "small") return 1;
  if (s == "sub") return 2;
  int64_t v;
  return toInt(s, &v) ? int(v) : -100;
}

int formatOf(const std::string& s) {
  if (s == "i420") return 1;
  if (s == "bgra") return 3;
  int64_t v;
  return toInt(s, &v) ? int(v) : -100;
}

// ---- The simulated room ---------------------------------------------------

struct Room {
  std::mutex mutex;  // guards everything below
  bool running = false;
  bool inRoom = false;
  bool usersAnnounced = false;
  std::chrono::steady_clock::time_point enteredAt, lastVolume;
  int speedResultsLeft = 0;
  std::chrono::steady_clock::time_point nextSpeed;
  std::condition_variable wake;
  std::thread thread;
  uint32_t tick = 0;
};

Room& room() {
  static Room* r = new Room();
  return *r;
}

const char* const kRemoteUsers[2] = {"u1", "u2"};

void roomLoop() {
  Room& r = room();
  std::unique_lock<std::mutex> lock(r.mutex);
  while (r.running) {
    r.wake.wait_for(lock, std::chrono::milliseconds(66));
    if (!r.running) break;
    const auto now = std::chrono::steady_clock::now();
    ++r.tick;
    State& s = State::get();
    bool preview, screen;
    uint32_t volumeInterval;
    {
      std::lock_guard<std::mutex> sl(s.mutex);
      preview = s.previewOn;
      screen = s.screenOn;
      volumeInterval = s.volumeInterval;
    }
    if (r.inRoom) {
      if (preview) {
        FrameSpec f;
        f.width = 320, f.height = 180;
        runFrame(f, false, nullptr);
      }
      if (screen) {
        FrameSpec f;
        f.streamType = TRTCVideoStreamTypeSub;
        f.width = 480, f.height = 270;
        f.marks = 3;
        runFrame(f, false, nullptr);
      }
      if (!r.usersAnnounced && now - r.enteredAt > std::chrono::milliseconds(200)) {
        r.usersAnnounced = true;
        for (const char* u : kRemoteUsers) {
          std::string id = u;
          fireCloud([id](ITRTCCloudCallback* cb) { cb->onUserEnter(id.c_str()); }, false, nullptr);
          fireCloud([id](ITRTCCloudCallback* cb) { cb->onUserVideoAvailable(id.c_str(), true); }, false, nullptr);
          fireCloud([id](ITRTCCloudCallback* cb) { cb->onUserAudioAvailable(id.c_str(), true); }, false, nullptr);
        }
      }
      if (r.usersAnnounced) {
        for (int i = 0; i < 2; ++i) {
          FrameSpec f;
          f.local = false;
          f.userId = kRemoteUsers[i];
          f.width = i == 0 ? 640 : 320;
          f.height = i == 0 ? 360 : 180;
          f.marks = i + 1;
          bool registered;
          {
            std::shared_lock<std::shared_mutex> dl(s.delivery);
            registered = s.remoteRenders.count(f.userId) != 0;
          }
          if (registered) runFrame(f, false, nullptr);
        }
      }
      if (volumeInterval > 0 && now - r.lastVolume >= std::chrono::milliseconds(std::max<uint32_t>(volumeInterval, 100))) {
        r.lastVolume = now;
        const uint32_t t = r.tick;
        fireCloud(
            [t](ITRTCCloudCallback* cb) {
              TRTCVolumeInfo v[3];
              v[0].userId = "";
              v[0].volume = 40 + t % 20;
              v[1].userId = "u1";
              v[1].volume = 60 + (t * 7) % 30;
              v[2].userId = "u2";
              v[2].volume = (t * 13) % 50;
              cb->onUserVoiceVolume(v, 3, 70);
            },
            false, nullptr);
      }
    }
    if (r.speedResultsLeft > 0 && now >= r.nextSpeed) {
      const int finished = 4 - r.speedResultsLeft;
      --r.speedResultsLeft;
      r.nextSpeed = now + std::chrono::milliseconds(100);
      fireCloud(
          [finished](ITRTCCloudCallback* cb) {
            static const char* const ips[3] = {"203.0.113.10", "203.0.113.20", "203.0.113.30"};
            TRTCSpeedTestResult res;
            res.ip = ips[finished - 1];
            res.quality = TRTCQuality_Good;
            res.rtt = 20 + finished * 15;
            cb->onSpeedTest(res, uint32_t(finished), 3);
          },
          false, nullptr);
    }
  }
}

void roomStart() {
  Room& r = room();
  std::lock_guard<std::mutex> lock(r.mutex);
  if (r.running) return;
  if (r.thread.joinable()) r.thread.join();
  r.running = true;
  r.thread = std::thread(roomLoop);
}

void roomStop() {
  Room& r = room();
  std::thread t;
  {
    std::lock_guard<std::mutex> lock(r.mutex);
    r.running = false;
    r.inRoom = false;
    r.usersAnnounced = false;
    r.speedResultsLeft = 0;
    t = std::move(r.thread);
  }
  r.wake.notify_all();
  if (t.joinable()) t.join();
}

// ---- Commands --------------------------------------------------------------

bool parseFrame(Words& w, size_t first, FrameSpec* f) {
  size_t i = first;
  if (!f->local) {
    if (!w.text(i++, &f->userId, "a user id")) return false;
  } else if (i < w.positional.size() && (w.positional[i].quoted || w.positional[i].text() == "null")) {
    f->nullId = !w.positional[i].quoted;
    f->userId = w.positional[i].quoted ? w.positional[i].text() : "";
    ++i;
  }
  bool sized = false;
  for (; i < w.positional.size(); ++i) {
    if (toSize(w.positional[i].text(), &f->width, &f->height))
      sized = true;
    else
      return w.fail("unexpected word " + w.positional[i].text());
  }
  if (!sized) return w.fail("expected WIDTHxHEIGHT");
  if (w.has("kind")) {
    f->streamType = streamTypeOf(w.keyed["kind"].text());
    if (f->streamType == -100) return w.fail("kind= expects big, small, sub or a number");
  }
  if (w.has("format")) {
    f->format = formatOf(w.keyed["format"].text());
    if (f->format == -100) return w.fail("format= expects i420, bgra or a number");
  }
  int64_t v;
  if (!w.keyInt("rotation", &v, 0)) return false;
  f->rotation = int(v);
  if (!w.keyInt("length", &v, -1)) return false;
  f->length = v;
  if (!w.keyInt("marks", &v, f->local ? 0 : 1)) return false;
  f->marks = int(v);
  if (w.has("pattern")) f->pattern = w.keyed["pattern"].text();
  if (w.has("data")) {
    if (w.keyed["data"].text() != "null") return w.fail("data= expects null");
    f->nullData = true;
  }
  return true;
}

bool answerCommand(Words& w, bool raise) {
  std::string op;
  if (!w.text(0, &op, "an operation name")) return false;
  auto a = std::make_shared<Answer>();
#if defined(_WIN32)
  // With mingw's static runtime every DLL unwinds only its own frames: an
  // exception thrown here would end the process instead of reaching the caller.
  if (raise) return w.fail("throw: not available in the Windows build (exceptions do not cross these DLLs)");
#endif
  if (raise) {
    a->raise = true;
    a->message = w.positional.size() > 1 ? w.positional[1].text() : "stand-in: " + op + " failed";
  } else {
    for (size_t i = 1; i < w.positional.size(); ++i) {
      if (w.positional[i].text() == "null" && !w.positional[i].quoted)
        a->null = true;
      else
        return w.fail("unexpected word " + w.positional[i].text());
    }
    for (auto& [key, tok] : w.keyed) {
      if (key == "code" || key == "value") {
        if (!toInt(tok.text(), &a->code)) return w.fail(key + "= expects a number");
        a->hasCode = true;
      } else if (key == "text" || key == "name") {
        a->hasText = true;
        a->text = tok.text();
      } else if (key == "list") {
        a->hasList = true;
        a->list = tok.values;
        if (a->list.size() == 1 && a->list[0].empty() && !tok.quoted) a->list.clear();
      } else if (key == "ids") {
        a->ids = tok.values;
      } else if (key == "count") {
        if (!toInt(tok.text(), &a->count)) return w.fail("count= expects a number");
        a->hasCount = true;
      } else {
        return w.fail("unknown answer field " + key);
      }
    }
  }
  State& s = State::get();
  std::lock_guard<std::mutex> lock(s.mutex);
  s.answers[op] = a;
  return true;
}

bool boolWord(Words& w, size_t i, bool* v) {
  int64_t x;
  if (!w.integer(i, &x, "0 or 1")) return false;
  *v = x != 0;
  return true;
}

bool pusherCommand(Words& w, bool wait) {
  int64_t n;
  std::string what;
  if (!w.integer(0, &n, "a pusher number") || !w.text(1, &what, "event, status or device")) return false;
  int64_t eventId = 0, deviceType = 0;
  bool added = false;
  if (what == "event" && !w.integer(2, &eventId, "an event id")) return false;
  if (what == "device" && (!w.integer(2, &deviceType, "a device type") || !boolWord(w, 3, &added))) return false;
  if (what != "event" && what != "status" && what != "device") return w.fail("pusher: unknown notification " + what);
  std::vector<std::string> keys, values;
  for (auto& [k, t] : w.keyed) keys.push_back(k), values.push_back(t.text());
  State& s = State::get();
  {
    std::shared_lock<std::shared_mutex> lock(s.delivery);
    auto it = s.pushers.find(int(n));
    void* data = nullptr;
    const auto gone = s.departedPushers.find(int(n));
    const bool departed = it == s.pushers.end() && gone != s.departedPushers.end() && gone->second.first;
    if (!departed && (it == s.pushers.end() || !pusherCallback(it->second, &data)))
      return w.fail("pusher has no callback");
  }
  auto task = [n, what, eventId, deviceType, added, keys, values] {
    State& st = State::get();
    std::shared_lock<std::shared_mutex> lock(st.delivery);
    auto it = st.pushers.find(int(n));
    void* data = nullptr;
    ITXLivePusherCallback* cb = nullptr;
    if (it != st.pushers.end()) {
      cb = pusherCallback(it->second, &data);
    } else {
      // Destroyed: a thread on its way out still calls what it last had.
      auto gone = st.departedPushers.find(int(n));
      if (gone == st.departedPushers.end()) return;
      cb = gone->second.first;
      data = gone->second.second;
    }
    if (!cb) return;
    std::vector<const char*> k, v;
    for (auto& x : keys) k.push_back(x.c_str());
    for (auto& x : values) v.push_back(x.c_str());
    if (what == "event")
      cb->onEventCallback(int(eventId), int(k.size()), k.data(), v.data(), data);
    else if (what == "status")
      cb->onStatusUpdate(int(k.size()), k.data(), v.data(), data);
    else
      cb->onDeviceChange(int(deviceType), added, data);
  };
  return onEvents(task, wait);
}

// audio-frame captured|mixed|play ["id"] [samples=N] [rate=R] [channels=C]: 16-bit PCM, a quiet ramp.
bool audioFrameCommand(Words& w, bool wait) {
  std::string which, id;
  if (!w.text(0, &which, "captured, play or mixed")) return false;
  if (which != "captured" && which != "play" && which != "mixed") return w.fail("audio-frame: captured, play or mixed");
  if (which == "play" && !w.text(1, &id, "a user id")) return false;
  int64_t samples, rate, channels;
  if (!w.keyInt("samples", &samples, 480) || !w.keyInt("rate", &rate, 48000) || !w.keyInt("channels", &channels, 1))
    return false;
  if (samples < 0 || channels < 1 || samples * channels > (1 << 20)) return w.fail("audio-frame: bad size");
  State& s = State::get();
  {
    std::shared_lock<std::shared_mutex> lock(s.delivery);
    if (!s.audioFrames) return w.fail("no audio frame callback registered");
  }
  auto task = [which, id, samples, rate, channels] {
    State& st = State::get();
    std::shared_lock<std::shared_mutex> lock(st.delivery);
    if (!st.audioFrames) return;
    std::vector<int16_t> pcm(size_t(samples * channels));
    for (size_t i = 0; i < pcm.size(); ++i) pcm[i] = int16_t((i % 64) * 16);
    TRTCAudioFrame frame;
    frame.audioFormat = TRTCAudioFrameFormatPCM;
    frame.data = reinterpret_cast<char*>(pcm.data());
    frame.length = uint32_t(pcm.size() * 2);
    frame.sampleRate = uint32_t(rate);
    frame.channel = uint32_t(channels);
    if (which == "captured") st.audioFrames->onCapturedAudioFrame(&frame);
    else if (which == "play") st.audioFrames->onPlayAudioFrame(&frame, id.c_str());
    else st.audioFrames->onMixedPlayAudioFrame(&frame);
  };
  return onEvents(task, wait);
}

bool vodCommand(Words& w, bool wait) {
  int64_t n, value = 0;
  std::string what;
  if (!w.integer(0, &n, "a VOD player number") || !w.text(1, &what, "a notification")) return false;
  const bool needsValue = what == "started" || what == "progress" || what == "stopped" || what == "error";
  if (needsValue && !w.integer(2, &value, "a value")) return false;
  if (!needsValue && what != "paused" && what != "resumed") return w.fail("vod: unknown notification " + what);
  State& s = State::get();
  {
    std::shared_lock<std::shared_mutex> lock(s.delivery);
    auto it = s.vodPlayers.find(int(n));
    const auto gone = s.departedVodPlayers.find(int(n));
    const bool departed = it == s.vodPlayers.end() && gone != s.departedVodPlayers.end() && gone->second;
    if (!departed && (it == s.vodPlayers.end() || !vodCallback(it->second))) return w.fail("VOD player has no callback");
  }
  auto task = [n, what, value] {
    State& st = State::get();
    std::shared_lock<std::shared_mutex> lock(st.delivery);
    auto it = st.vodPlayers.find(int(n));
    ITXVodPlayerCallback* cb = nullptr;
    if (it != st.vodPlayers.end()) {
      cb = vodCallback(it->second);
    } else {
      auto gone = st.departedVodPlayers.find(int(n));  // a thread on its way out
      if (gone == st.departedVodPlayers.end()) return;
      cb = gone->second;
    }
    if (!cb) return;
    if (what == "started") cb->onVodPlayerStarted(uint64_t(value));
    else if (what == "progress") cb->onVodPlayerProgress(uint64_t(value));
    else if (what == "paused") cb->onVodPlayerPaused();
    else if (what == "resumed") cb->onVodPlayerResumed();
    else if (what == "stopped") cb->onVodPlayerStoped(int(value));
    else cb->onVodPlayerError(int(value));
  };
  return onEvents(task, wait);
}

bool cloudCommand(const std::string& verb, Words& w, bool wait, bool* known) {
  *known = true;
  std::string* error = w.error;
  int64_t a = 0, b = 0;
  std::string id, text;
  if (verb == "error" || verb == "warning") {
    if (!w.integer(0, &a, "a code") || !w.text(1, &text, "a message")) return false;
    const bool isError = verb == "error";
    return fireCloud(
        [isError, a, text](ITRTCCloudCallback* cb) {
          if (isError)
            cb->onError(int(a), text.c_str(), nullptr);
          else
            cb->onWarning(int(a), text.c_str(), nullptr);
        },
        wait, error);
  }
  if (verb == "enter-room") {
    if (!w.integer(0, &a, "milliseconds")) return false;
    return fireCloud([a](ITRTCCloudCallback* cb) { cb->onEnterRoom(a); }, wait, error);
  }
  if (verb == "exit-room") {
    if (!w.integer(0, &a, "a reason")) return false;
    return fireCloud([a](ITRTCCloudCallback* cb) { cb->onExitRoom(int(a)); }, wait, error);
  }
  if (verb == "user-enter") {
    if (!w.text(0, &id, "a user id")) return false;
    return fireCloud([id](ITRTCCloudCallback* cb) { cb->onUserEnter(id.c_str()); }, wait, error);
  }
  if (verb == "user-exit") {
    if (!w.text(0, &id, "a user id") || !w.integer(1, &a, "a reason")) return false;
    return fireCloud([id, a](ITRTCCloudCallback* cb) { cb->onUserExit(id.c_str(), int(a)); }, wait, error);
  }
  if (verb == "video-available" || verb == "substream-available" || verb == "audio-available") {
    bool on;
    if (!w.text(0, &id, "a user id") || !boolWord(w, 1, &on)) return false;
    const bool nullId = !w.positional[0].quoted && id == "null";
    const int which = verb == "video-available" ? 0 : verb == "substream-available" ? 1 : 2;
    return fireCloud(
        [id, on, which, nullId](ITRTCCloudCallback* cb) {
          const char* p = nullId ? nullptr : id.c_str();
          if (which == 0) cb->onUserVideoAvailable(p, on);
          else if (which == 1) cb->onUserSubStreamAvailable(p, on);
          else cb->onUserAudioAvailable(p, on);
        },
        wait, error);
  }
  if (verb == "volume") {
    std::vector<std::pair<std::string, uint32_t>> entries;
    if (w.positional.size() % 2) return w.fail("volume expects pairs of user id and volume");
    for (size_t i = 0; i < w.positional.size(); i += 2) {
      int64_t v;
      if (!w.integer(i + 1, &v, "a volume")) return false;
      entries.emplace_back(w.positional[i].text(), uint32_t(v));
    }
    int64_t total, count;
    if (!w.keyInt("total", &total, 0) || !w.keyInt("count", &count, int64_t(entries.size()))) return false;
    return fireCloud(
        [entries, total, count](ITRTCCloudCallback* cb) {
          std::vector<TRTCVolumeInfo> v(entries.size() + 1);
          for (size_t i = 0; i < entries.size(); ++i) v[i].userId = entries[i].first.c_str(), v[i].volume = entries[i].second;
          cb->onUserVoiceVolume(entries.empty() ? nullptr : v.data(), uint32_t(count), uint32_t(total));
        },
        wait, error);
  }
  if (verb == "speed-test") {
    int64_t rtt, finished, total, quality;
    if (!w.text(0, &text, "a server address") || !w.keyInt("rtt", &rtt, 0) || !w.keyInt("finished", &finished, 1) ||
        !w.keyInt("total", &total, 1) || !w.keyInt("quality", &quality, TRTCQuality_Good))
      return false;
    return fireCloud(
        [text, rtt, finished, total, quality](ITRTCCloudCallback* cb) {
          TRTCSpeedTestResult r;
          r.ip = text.c_str();
          r.quality = static_cast<TRTCQuality>(quality);
          r.rtt = int(rtt);
          cb->onSpeedTest(r, uint32_t(finished), uint32_t(total));
        },
        wait, error);
  }
  if (verb == "first-frame") {
    uint32_t fw = 0, fh = 0;
    if (!w.text(0, &id, "a user id") || w.positional.size() < 2 || !toSize(w.positional[1].text(), &fw, &fh))
      return w.fail("first-frame expects a user id and WIDTHxHEIGHT");
    int kind = w.has("kind") ? streamTypeOf(w.keyed["kind"].text()) : 0;
    return fireCloud(
        [id, kind, fw, fh](ITRTCCloudCallback* cb) {
          cb->onFirstVideoFrame(id.c_str(), static_cast<TRTCVideoStreamType>(kind), fw, fh);
        },
        wait, error);
  }
  if (verb == "network-quality") {
    if (!w.integer(0, &a, "the local quality")) return false;
    std::vector<std::pair<std::string, int>> remote;
    for (size_t i = 1; i + 1 < w.positional.size(); i += 2) {
      int64_t q;
      if (!w.integer(i + 1, &q, "a quality")) return false;
      remote.emplace_back(w.positional[i].text(), int(q));
    }
    return fireCloud(
        [a, remote](ITRTCCloudCallback* cb) {
          TRTCQualityInfo local;
          local.userId = "";
          local.quality = static_cast<TRTCQuality>(a);
          std::vector<TRTCQualityInfo> r(remote.size() + 1);
          for (size_t i = 0; i < remote.size(); ++i)
            r[i].userId = remote[i].first.c_str(), r[i].quality = static_cast<TRTCQuality>(remote[i].second);
          cb->onNetworkQuality(local, r.data(), uint32_t(remote.size()));
        },
        wait, error);
  }
  if (verb == "statistics") {
    TRTCStatistics st;
    int64_t v;
    if (!w.keyInt("up-loss", &v, 0)) return false;
    st.upLoss = uint32_t(v);
    if (!w.keyInt("down-loss", &v, 0)) return false;
    st.downLoss = uint32_t(v);
    if (!w.keyInt("app-cpu", &v, 0)) return false;
    st.appCpu = uint32_t(v);
    if (!w.keyInt("system-cpu", &v, 0)) return false;
    st.systemCpu = uint32_t(v);
    if (!w.keyInt("rtt", &v, 0)) return false;
    st.rtt = uint32_t(v);
    if (!w.keyInt("received", &v, 0)) return false;
    st.receivedBytes = uint32_t(v);
    if (!w.keyInt("sent", &v, 0)) return false;
    st.sentBytes = uint32_t(v);
    return fireCloud([st](ITRTCCloudCallback* cb) { cb->onStatistics(st); }, wait, error);
  }
  if (verb == "connection") {
    if (!w.text(0, &text, "lost, retrying or recovered")) return false;
    if (text != "lost" && text != "retrying" && text != "recovered") return w.fail("connection: lost, retrying or recovered");
    return fireCloud(
        [text](ITRTCCloudCallback* cb) {
          if (text == "lost") cb->onConnectionLost();
          else if (text == "retrying") cb->onTryToReconnect();
          else cb->onConnectionRecovery();
        },
        wait, error);
  }
  if (verb == "camera-ready") return fireCloud([](ITRTCCloudCallback* cb) { cb->onCameraDidReady(); }, wait, error);
  if (verb == "mic-ready") return fireCloud([](ITRTCCloudCallback* cb) { cb->onMicDidReady(); }, wait, error);
  if (verb == "device-change") {
    if (!w.text(0, &id, "a device id") || !w.integer(1, &a, "a device type") || !w.integer(2, &b, "a state"))
      return false;
    return fireCloud(
        [id, a, b](ITRTCCloudCallback* cb) {
          cb->onDeviceChange(id.c_str(), static_cast<TRTCDeviceType>(a), static_cast<TRTCDeviceState>(b));
        },
        wait, error);
  }
  if (verb == "screen-capture") {
    if (!w.text(0, &text, "started, paused, resumed or stopped")) return false;
    if (text != "started" && !w.integer(1, &a, "a reason")) return false;
    if (text != "started" && text != "paused" && text != "resumed" && text != "stopped")
      return w.fail("screen-capture: started, paused, resumed or stopped");
    return fireCloud(
        [text, a](ITRTCCloudCallback* cb) {
          if (text == "started") cb->onScreenCaptureStarted();
          else if (text == "paused") cb->onScreenCapturePaused(int(a));
          else if (text == "resumed") cb->onScreenCaptureResumed(int(a));
          else cb->onScreenCaptureStoped(int(a));
        },
        wait, error);
  }
  *known = false;
  return false;
}

}  // namespace

void roomOnEnter() {
  Room& r = room();
  std::lock_guard<std::mutex> lock(r.mutex);
  if (!r.running) return;
  r.inRoom = true;
  r.usersAnnounced = false;
  r.enteredAt = std::chrono::steady_clock::now();
  r.lastVolume = r.enteredAt;
  fireCloud([](ITRTCCloudCallback* cb) { cb->onEnterRoom(120); }, false, nullptr);
}

void roomOnExit() {
  Room& r = room();
  std::lock_guard<std::mutex> lock(r.mutex);
  if (!r.running || !r.inRoom) return;
  r.inRoom = false;
  r.usersAnnounced = false;
  fireCloud([](ITRTCCloudCallback* cb) { cb->onExitRoom(0); }, false, nullptr);
}

void roomOnSpeedTest() {
  Room& r = room();
  std::lock_guard<std::mutex> lock(r.mutex);
  if (!r.running) return;
  r.speedResultsLeft = 3;
  r.nextSpeed = std::chrono::steady_clock::now() + std::chrono::milliseconds(100);
}

bool command(const std::string& line, std::string* error) {
  std::string ignored;
  if (!error) error = &ignored;
  error->clear();
  std::vector<Token> tokens;
  if (!lex(line, &tokens, error)) return false;
  if (tokens.empty()) return true;
  bool wait = true;
  size_t first = 0;
  if (tokens[0].key.empty() && tokens[0].text() == "async") wait = false, first = 1;
  if (first >= tokens.size()) {
    *error = "async: expected a command";
    return false;
  }
  const std::string verb = tokens[first].key.empty() ? tokens[first].text() : std::string();
  Words w;
  w.error = error;
  for (size_t i = first + 1; i < tokens.size(); ++i) {
    if (tokens[i].key.empty())
      w.positional.push_back(tokens[i]);
    else
      w.keyed[tokens[i].key] = tokens[i];
  }
  State& s = State::get();
  if (verb == "reset") {
    roomStop();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.resetLocked();
    s.previewOn = s.screenOn = false;
    s.volumeInterval = 0;
    return true;
  }
  if (verb == "answer") return answerCommand(w, false);
  if (verb == "throw") return answerCommand(w, true);
  if (verb == "clear") {
    std::string op;
    if (!w.text(0, &op, "an operation name")) return false;
    std::lock_guard<std::mutex> lock(s.mutex);
    s.answers.erase(op);
    return true;
  }
  if (verb == "sources") {
    std::string what;
    if (!w.text(0, &what, "clear") || what != "clear") return w.fail("sources: expected clear");
    std::lock_guard<std::mutex> lock(s.mutex);
    s.sources.clear();
    return true;
  }
  if (verb == "source") {
    Source src;
    int64_t id, type;
    if (!w.integer(0, &id, "a source id") || !w.integer(1, &type, "a type") || !w.text(2, &src.name, "a name"))
      return false;
    src.id = int32_t(id);
    src.type = int32_t(type);
    if (w.has("thumb")) {
      uint32_t tw, th;
      if (!toSize(w.keyed["thumb"].text(), &tw, &th)) return w.fail("thumb= expects WIDTHxHEIGHT");
      src.thumbWidth = int32_t(tw);
      src.thumbHeight = int32_t(th);
    }
    if (!w.keyInt("thumb-length", &src.thumbLength, -1)) return false;
    for (size_t i = 3; i < w.positional.size(); ++i) {
      if (w.positional[i].text() == "no-thumb")
        src.noThumb = true;
      else
        return w.fail("unexpected word " + w.positional[i].text());
    }
    std::lock_guard<std::mutex> lock(s.mutex);
    s.sources.push_back(src);
    return true;
  }
  if (verb == "frame") {
    std::string where;
    if (!w.text(0, &where, "local or remote")) return false;
    if (where != "local" && where != "remote") return w.fail("frame: expected local or remote");
    FrameSpec f;
    f.local = where == "local";
    if (!parseFrame(w, 1, &f)) return false;
    return runFrame(f, wait, error);
  }
  if (verb == "audio-frame") return audioFrameCommand(w, wait);
  if (verb == "pusher") return pusherCommand(w, wait);
  if (verb == "vod") return vodCommand(w, wait);
  if (verb == "room") {
    std::string what;
    if (!w.text(0, &what, "start or stop")) return false;
    if (what == "start") {
      roomStart();
      return true;
    }
    if (what == "stop") {
      roomStop();
      return true;
    }
    return w.fail("room: expected start or stop");
  }
  bool known = false;
  const bool ok = cloudCommand(verb, w, wait, &known);
  if (!known) *error = "unknown command " + verb;
  return ok;
}

}  // namespace liteav_standin

// ---- Control exports (see include/liteav_standin/control.h) ---------------

namespace {
char* copyText(const std::string& text) {
  char* p = static_cast<char*>(std::malloc(text.size() + 1));
  if (p) std::memcpy(p, text.c_str(), text.size() + 1);
  return p;
}
}  // namespace

LITEAV_EXPORT int liteav_standin_command(const char* line, char** error) {
  std::string message;
  bool ok = false;
  try {
    ok = liteav_standin::command(line ? line : "", &message);
  } catch (const std::exception& e) {
    message = e.what();
  } catch (...) {
    message = "command failed";
  }
  if (error) *error = ok ? nullptr : copyText(message);
  return ok ? 1 : 0;
}

LITEAV_EXPORT char* liteav_standin_take_calls() {
  liteav_standin::State& s = liteav_standin::State::get();
  std::vector<std::string> calls;
  {
    std::lock_guard<std::mutex> lock(s.mutex);
    calls.swap(s.calls);
  }
  std::string joined;
  for (const auto& c : calls) joined += c + "\n";
  return copyText(joined);
}

LITEAV_EXPORT void liteav_standin_free(char* text) { std::free(text); }

// The render callback registered for a remote user, or for the local frames
// when userId is null or empty; null when none is. The benchmark calls it
// directly with frames of its own, so that the stand-in's frame drawing does
// not count; it must not change registrations while it does.
LITEAV_EXPORT void* liteav_standin_render_callback(const char* userId) {
  liteav_standin::State& s = liteav_standin::State::get();
  std::shared_lock<std::shared_mutex> lock(s.delivery);
  if (!userId || !userId[0]) return s.localRender.callback;
  auto it = s.remoteRenders.find(userId);
  return it == s.remoteRenders.end() ? nullptr : it->second.callback;
}
