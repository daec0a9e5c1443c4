// Test patterns, sample statistics and the simulated room.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <memory>
#include <thread>

#include "state.h"

namespace ilive::standin {
namespace {

struct Rgb {
  uint8_t r, g, b;
};

// Eight vertical colour bars; a white square that moves with the tick; a
// coloured marker block in the top-left corner that tells the users apart.
Rgb patternPixel(uint32_t x, uint32_t y, uint32_t w, uint32_t h, uint32_t tick, uint32_t seed) {
  static const Rgb bars[8] = {{235, 235, 235}, {235, 235, 16}, {16, 235, 235}, {16, 235, 16},
                              {235, 16, 235},  {235, 16, 16},  {16, 16, 235},  {16, 16, 16}};
  const uint32_t side = std::max<uint32_t>(8, h / 5);
  const uint32_t travel = w > side ? w - side : 1;
  const uint32_t sx = (tick * 4) % travel;
  const uint32_t sy = h > side ? (h - side) / 2 : 0;
  if (x >= sx && x < sx + side && y >= sy && y < sy + side) return {255, 255, 255};
  const uint32_t marker = std::max<uint32_t>(4, h / 8);
  if (x < marker && y < marker) {
    static const Rgb marks[4] = {{255, 128, 0}, {0, 128, 255}, {128, 255, 0}, {255, 0, 128}};
    return marks[seed % 4];
  }
  return bars[(x * 8 / std::max<uint32_t>(w, 1)) % 8];
}

uint8_t clamp8(int v) { return static_cast<uint8_t>(std::min(255, std::max(0, v))); }

uint32_t seedOf(const std::string& user, int32_t kind) {
  uint32_t seed = static_cast<uint32_t>(kind);
  for (char c : user) seed = seed * 31 + static_cast<unsigned char>(c);
  return seed;
}

}  // namespace

VideoFrame makeFrame(const std::string& user, int32_t kind, int32_t format, uint32_t width, uint32_t height,
                     uint32_t tick, std::vector<uint8_t>* storage) {
  VideoFrame f;
  f.identifier = SdkString(user.c_str(), user.size());
  f.colorFormat = format;
  f.width = width;
  f.height = height;
  f.sourceKind = kind;
  f.timestamp = tick;
  const uint32_t seed = seedOf(user, kind);
  const uint64_t w = width, h = height;
  if (format == COLOR_FORMAT_RGB24) {
    storage->assign(static_cast<size_t>(w * h * 3), 0);
    for (uint32_t y = 0; y < height; ++y)
      for (uint32_t x = 0; x < width; ++x) {
        const Rgb p = patternPixel(x, y, width, height, tick, seed);
        uint8_t* d = storage->data() + (static_cast<size_t>(y) * w + x) * 3;
        d[0] = p.b;
        d[1] = p.g;
        d[2] = p.r;
      }
  } else {
    const uint64_t cw = (w + 1) / 2, ch = (h + 1) / 2;
    storage->assign(static_cast<size_t>(w * h + 2 * cw * ch), 0);
    uint8_t* yp = storage->data();
    uint8_t* up = yp + w * h;
    uint8_t* vp = up + cw * ch;
    for (uint32_t y = 0; y < height; ++y)
      for (uint32_t x = 0; x < width; ++x) {
        const Rgb p = patternPixel(x, y, width, height, tick, seed);
        // BT.601 limited range.
        yp[y * w + x] = clamp8(((66 * p.r + 129 * p.g + 25 * p.b + 128) >> 8) + 16);
        if ((x % 2) == 0 && (y % 2) == 0) {
          up[(y / 2) * cw + x / 2] = clamp8(((-38 * p.r - 74 * p.g + 112 * p.b + 128) >> 8) + 128);
          vp[(y / 2) * cw + x / 2] = clamp8(((112 * p.r - 94 * p.g - 18 * p.b + 128) >> 8) + 128);
        }
      }
  }
  f.data = storage->data();
  f.dataSize = static_cast<uint32_t>(storage->size());
  return f;
}

Statistics makeStatistics(uint32_t count) {
  Statistics s;
  s.tickCountBegin = 1000;
  s.tickCountEnd = 3000;
  s.avsdkVersion = SdkString("1.0.0.0 (stand-in)");
  s.exeCpuRate = 12;
  s.sysCpuRate = 34;
  s.networkParams.kbpsSend = 800;
  s.networkParams.kbpsRecv = 1600;
  s.networkParams.rtt = 42;
  s.networkParams.udtEnable = 1;
  s.videoCaptureParam = {640, 480, 15};
  for (uint32_t i = 0; i < count; ++i) {
    VideoEncodeStats e;
    e.width = 640;
    e.height = 480;
    e.fps = 15;
    e.bitrate = 700;
    e.gopparam.reffrmInterval = 2;
    s.videoEncodeParams.push_back(e);
    VideoDecodeStats d;
    d.userId = SdkString(i % 2 ? "sim-user-2" : "sim-user-1");
    d.width = 640;
    d.height = 360;
    d.fps = 15;
    s.videoDecodeParams.push_back(d);
    VideoRecvStats r;
    r.lossRate = 0.5f;
    r.dwJitterR = 10;
    r.dwBRR = 700;
    s.videoRecvParams.push_back(r);
    AudioDecodeStats a;
    a.userId = d.userId;
    a.sampleRate = 48000;
    a.channelCount = 1;
    s.audioDecodeParams.push_back(a);
  }
  s.audioCaptureParam = {48000, 1};
  s.audioQosParam.sampleRate = 48000;
  s.audioQosParam.aecEnable = 1;
  s.audioCategory = 1;
  return s;
}

// ---- The simulated room ----
namespace {

// One run of the room, from start to stop: its threads, and the stop signal
// they watch. A stopped run's threads may still be finishing a delivery;
// they are joined later (the next start, settle, reset), never by stop.
struct Run {
  std::mutex mutex;  // guards stopping; wake sleeps on it
  std::condition_variable wake;
  bool stopping = false;
  // Set by the room thread once the remote cameras were announced while the
  // room is active; the remote users' threads send frames only then, as a
  // real room announces a camera before its first frame.
  std::atomic<bool> announced{false};
  std::vector<std::thread> threads;  // written by start only, before any thread reads the run

  // Sleeps d; false once the run is stopping.
  bool sleepFor(std::chrono::milliseconds d) {
    std::unique_lock<std::mutex> l(mutex);
    return !wake.wait_for(l, d, [this] { return stopping; });
  }
  bool stopped() {
    std::lock_guard<std::mutex> l(mutex);
    return stopping;
  }
};

struct Session {
  bool active = false;
  std::string me;
  int32_t format = COLOR_FORMAT_I420;
  std::vector<int32_t> audioKinds;
};

Session session() {
  Session out;
  State& s = state();
  std::lock_guard<std::mutex> lock(s.mutex);
  out.active = s.loggedIn && s.inRoom;
  out.me = s.loggedInUser;
  out.format = s.colorFormat;
  for (const auto& a : s.hooks.audio) out.audioKinds.push_back(a.first);
  return out;
}

const std::vector<std::string>& remoteUsers() {
  static const std::vector<std::string>* users = new std::vector<std::string>{"sim-user-1", "sim-user-2"};
  return *users;
}

constexpr std::chrono::milliseconds kPeriod(66);

// Member events, audio and statistics.
void roomThread(Run& run) {
  uint32_t tick = 0;
  std::vector<int16_t> samples(960);
  while (run.sleepFor(kPeriod)) {
    const Session s = session();
    if (!s.active) {
      run.announced = false;
      continue;
    }
    if (!run.announced) {
      if (run.stopped()) return;
      memberEvent(EVENT_CAMERA_ON, remoteUsers(), true);
      run.announced = true;
    }
    ++tick;
    // One 20 ms block of a 440 Hz tone at 48 kHz for the local user and each remote user.
    for (size_t i = 0; i < samples.size(); ++i)
      samples[i] = static_cast<int16_t>(3000 * std::sin(2 * 3.14159265 * 440 * (tick * 960 + i) / 48000.0));
    for (int32_t kind : s.audioKinds) {
      for (const std::string& who : {s.me, remoteUsers()[0], remoteUsers()[1]}) {
        if (run.stopped()) return;
        AudioFrame a;
        a.identifier = SdkString(who.c_str(), who.size());
        a.sampleRate = 48000;
        a.dataSize = static_cast<uint32_t>(samples.size() * 2);
        a.data = reinterpret_cast<uint8_t*>(samples.data());
        audioFrame(kind, a, true);
      }
    }
    if (tick % 30 == 0 && !run.stopped()) statistics(makeStatistics(1), true);
  }
}

// The local camera.
void localThread(Run& run) {
  uint32_t tick = 0;
  std::vector<uint8_t> pixels;
  while (run.sleepFor(kPeriod)) {
    const Session s = session();
    if (!s.active) continue;
    ++tick;
    const VideoFrame f = makeFrame(s.me, VIDEO_SRC_CAMERA, s.format, 320, 240, tick, &pixels);
    if (!run.stopped()) localFrame(f, true);
  }
}

// One remote user's camera.
void remoteThread(Run& run, size_t index) {
  const uint32_t width = index == 0 ? 640 : 320, height = index == 0 ? 360 : 180;
  uint32_t tick = 0;
  std::vector<uint8_t> pixels;
  while (run.sleepFor(kPeriod)) {
    const Session s = session();
    if (!s.active || !run.announced) continue;
    ++tick;
    const VideoFrame f =
        makeFrame(remoteUsers()[index], VIDEO_SRC_CAMERA, s.format, width, height, tick * (index + 1), &pixels);
    if (!run.stopped()) remoteFrame(f, true);
  }
}

class Room {
 public:
  ~Room() { settle(); }
  void start() {
    std::lock_guard<std::mutex> lock(control_);
    joinRetiredLocked();
    if (current_) return;
    current_ = std::make_shared<Run>();
    Run& run = *current_;
    run.threads.emplace_back([&run] { roomThread(run); });
    run.threads.emplace_back([&run] { localThread(run); });
    for (size_t i = 0; i < remoteUsers().size(); ++i) run.threads.emplace_back([&run, i] { remoteThread(run, i); });
  }
  // Tells the threads to stop and returns: a delivery already under way
  // finishes on its own time.
  void stop() {
    std::lock_guard<std::mutex> lock(control_);
    if (!current_) return;
    {
      std::lock_guard<std::mutex> l(current_->mutex);
      current_->stopping = true;
    }
    current_->wake.notify_all();
    retired_.push_back(std::move(current_));
  }
  // Stops the room and waits until every thread of every run has ended.
  void settle() {
    stop();
    std::lock_guard<std::mutex> lock(control_);
    joinRetiredLocked();
  }

 private:
  void joinRetiredLocked() {
    for (const auto& run : retired_)
      for (std::thread& t : run->threads) t.join();
    retired_.clear();
  }

  std::mutex control_;  // guards current_ and retired_; held by start, stop and settle only
  std::shared_ptr<Run> current_;
  std::vector<std::shared_ptr<Run>> retired_;  // stopped runs whose threads are not joined yet
};

Room& room() {
#ifdef _WIN32
  // As the callback thread: no join in a DLL's static destructors on Windows.
  static Room* r = new Room;
  return *r;
#else
  static Room r;
  return r;
#endif
}

}  // namespace

void startRoom() { room().start(); }
void stopRoom() { room().stop(); }
void settleRoom() { room().settle(); }

}  // namespace ilive::standin
