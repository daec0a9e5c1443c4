// Pixel memory of a Tamvex session over time: four remote 1080p streams that
// start, run, stop and start again. Heap bytes are counted by the malloc
// replacement (alloc_counter.cpp); the table gives them in 1080p frames
// (1920 × 1080 × 4 bytes) above the session's level before any frame.
#include "memory.h"

#include <cstdio>
#include <string>
#include <vector>

#include "alloc_counter.h"
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
}

}  // namespace bench
