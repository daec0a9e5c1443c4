// Pixel memory of a Tamvex session over time: four remote 1080p streams that
// start, run, stop and start again. Heap bytes are counted by the malloc
// replacement (alloc_counter.cpp); the table gives them in 1080p frames
// (1920 × 1080 × 4 bytes) above the session's level before any frame.
#include "memory.h"

#include <cstdio>
#include <string>
#include <vector>

#include "alloc_counter.h"
#include "liteav_standin/control.h"
#include "sessions.h"

namespace bench {
namespace {

constexpr double kFrameBytes = 1920.0 * 1080.0 * 4.0;

struct Phase {
  const char* name;
  int active;    // streams delivering frames
  int pullable;  // streams whose last frame ActionScript can still pull
  double peak;   // frames
  double settled;
};

}  // namespace

// Users who come and go: each enters, its view is registered, it sends two
// 640 x 360 small-stream frames and leaves (onUserExit). Peak and settled
// pixel memory after every departure, in 640 x 360 BGRA frames; nothing of a
// user who left can be pulled, so the floor is 0.
static void printDepartures() {
  constexpr double kSmallBytes = 640.0 * 360.0 * 4.0;
  TamvexSession& t = TamvexSession::get();
  TRTCVideoFrame frame = t.frame(TRTCVideoPixelFormat_I420, FrameSize{640, 360});
  struct Row {
    int users;
    double peak, settled;
  };
  std::vector<Row> rows;
  int made = 0;
  for (int users : {5, 150}) {
    t.drainEvents();
    const int64_t base = liveBytes();
    resetPeakBytes();
    for (int i = 0; i < users; ++i) {
      const std::string user = "visitor_1400012345_" + std::to_string(++made);
      std::string error;
      liteav_standin::command("user-enter \"" + user + "\"", &error);
      t.context().call("setRemoteVideoRenderCallback", {user, int32_t(1), int32_t(1), int32_t(1)});
      t.deliver(user, frame, TRTCVideoStreamTypeSmall);
      t.deliver(user, frame, TRTCVideoStreamTypeSmall);
      liteav_standin::command("user-exit \"" + user + "\" 0", &error);
      t.drainEvents();
    }
    rows.push_back(Row{users, double(peakBytes() - base) / kSmallBytes, double(liveBytes() - base) / kSmallBytes});
  }
  std::fflush(stdout);
  std::printf("\nPixel memory, users who come and go: each enters, sends two 640x360 I420 small-stream frames and\n"
              "leaves (in 640x360 BGRA frames above the level before the first of them):\n");
  std::printf("  %-8s %8s %8s %8s\n", "users", "peak", "settled", "floor");
  for (const Row& r : rows) std::printf("  %-8d %8.2f %8.2f %8d\n", r.users, r.peak, r.settled, 0);
  std::printf("  (floor: nothing of a user who left can be pulled)\n");
  std::fflush(stdout);
}

void printPixelMemory() {
  TamvexSession& t = TamvexSession::get();
  TRTCVideoFrame frame = t.frame(TRTCVideoPixelFormat_I420, FrameSize{1920, 1080});
  const std::vector<std::string>& users = remoteUsers();
  t.drainEvents();
  const int64_t base = liveBytes();
  const auto inFrames = [base](int64_t bytes) { return double(bytes - base) / kFrameBytes; };
  const auto run = [&] {
    for (int round = 0; round < 5; ++round)
      for (const std::string& u : users) t.deliver(u, frame);
    t.drainEvents();
  };
  const auto stop = [&] {
    for (const std::string& u : users) t.context().call("stopRemoteView", {u});
    t.drainEvents();
  };
  std::vector<Phase> phases;
  const auto measure = [&](const char* name, int active, int pullable, auto&& step) {
    resetPeakBytes();
    step();
    phases.push_back(Phase{name, active, pullable, inFrames(peakBytes()), inFrames(liveBytes())});
  };
  const int n = int(users.size());
  measure("start and run", n, n, run);
  measure("stop", 0, n, stop);
  measure("start again and run", n, n, run);
  measure("stop again", 0, n, stop);

  std::printf("\nPixel memory, %d remote 1080p I420 streams (in 1080p BGRA frames above the session's level):\n", n);
  std::printf("  %-22s %6s %8s %8s %8s %8s\n", "phase", "active", "peak", "limit", "settled", "floor");
  for (const Phase& p : phases)
    std::printf("  %-22s %6d %8.2f %8d %8.2f %8d\n", p.name, p.active, p.peak, 2 * (p.active ? p.active : p.pullable),
                p.settled, p.active ? 2 * p.active : p.pullable);
  std::printf("  (limit: 2 frames per active stream; floor while stopped: 1 frame per stream that can still be pulled)\n");
  printDepartures();
}

}  // namespace bench
