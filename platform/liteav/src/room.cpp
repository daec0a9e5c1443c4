// The simulated room: once started, a thread that, in a room, sends the local
// preview and screen frames, announces two remote users and sends their
// frames, reports volumes, and plays out a speed test.
#include <chrono>
#include <condition_variable>
#include <thread>

#include "commands.h"

namespace liteav_standin {
namespace {

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

}  // namespace

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
  // What the room sent is still queued on the delivery threads: it is
  // delivered (or finds its callback gone) before the stop returns.
  State& s = State::get();
  const auto settled = [] {};
  for (Worker* w : {&s.events, &s.local, &s.screen})
    if (!w->onThread()) w->run(settled);
  for (Worker& w : s.remote)
    if (!w.onThread()) w.run(settled);
}

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

}  // namespace liteav_standin
