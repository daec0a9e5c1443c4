// Test patterns, sample statistics and the simulated room.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
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

class Room {
 public:
  ~Room() { stop(); }
  void start() {
    std::lock_guard<std::mutex> lock(control_);
    if (thread_.joinable()) return;
    stopping_ = false;
    thread_ = std::thread([this] { run(); });
  }
  void stop() {
    std::lock_guard<std::mutex> lock(control_);
    if (!thread_.joinable()) return;
    {
      std::lock_guard<std::mutex> l(wakeMutex_);
      stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
  }

 private:
  bool sleepFor(std::chrono::milliseconds d) {
    std::unique_lock<std::mutex> l(wakeMutex_);
    return !wake_.wait_for(l, d, [this] { return stopping_; });
  }

  void run() {
    const std::vector<std::string> remotes = {"sim-user-1", "sim-user-2"};
    bool announced = false;
    uint32_t tick = 0;
    std::vector<uint8_t> pixels;
    std::vector<int16_t> samples(960);
    while (sleepFor(std::chrono::milliseconds(66))) {
      bool active;
      std::string me;
      int32_t format;
      std::vector<int32_t> audioKinds;
      {
        State& s = state();
        std::lock_guard<std::mutex> lock(s.mutex);
        active = s.loggedIn && s.inRoom;
        me = s.loggedInUser;
        format = s.colorFormat;
        for (const auto& a : s.hooks.audio) audioKinds.push_back(a.first);
      }
      if (!active) {
        announced = false;
        continue;
      }
      if (!announced) {
        memberEvent(EVENT_CAMERA_ON, remotes);
        announced = true;
      }
      ++tick;
      localFrame(makeFrame(me, VIDEO_SRC_CAMERA, format, 320, 240, tick, &pixels));
      remoteFrame(makeFrame(remotes[0], VIDEO_SRC_CAMERA, format, 640, 360, tick, &pixels));
      remoteFrame(makeFrame(remotes[1], VIDEO_SRC_CAMERA, format, 320, 180, tick * 2, &pixels));
      // One 20 ms block of a 440 Hz tone at 48 kHz for the local user and each remote user.
      for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<int16_t>(3000 * std::sin(2 * 3.14159265 * 440 * (tick * 960 + i) / 48000.0));
      for (int32_t kind : audioKinds) {
        for (const std::string& who : {me, remotes[0], remotes[1]}) {
          AudioFrame a;
          a.identifier = SdkString(who.c_str(), who.size());
          a.sampleRate = 48000;
          a.dataSize = static_cast<uint32_t>(samples.size() * 2);
          a.data = reinterpret_cast<uint8_t*>(samples.data());
          audioFrame(kind, a);
        }
      }
      if (tick % 30 == 0) statistics(makeStatistics(1));
    }
  }

  std::mutex control_;
  std::mutex wakeMutex_;
  std::condition_variable wake_;
  bool stopping_ = false;
  std::thread thread_;
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

}  // namespace ilive::standin
