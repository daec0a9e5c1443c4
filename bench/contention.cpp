// Pull latency on the main thread while an SDK thread delivers 1080p frames
// into the same renderer as fast as it can. Wall-clock times: this is what
// the application's main thread feels.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <functional>
#include <thread>

#include "core/pixels.h"
#include "core/renderer.h"
#include "frame_bench.h"

namespace bench {

namespace {

using Clock = std::chrono::steady_clock;

Latency summarise(std::vector<double> us) {
  Latency l;
  l.pulls = us.size();
  if (us.empty()) return l;
  std::sort(us.begin(), us.end());
  auto at = [&](double q) { return us[std::min(us.size() - 1, size_t(q * double(us.size() - 1) + 0.5))]; };
  l.p50 = at(0.50);
  l.p99 = at(0.99);
  l.max = us.back();
  return l;
}

template <class Fn>
Latency timeEach(size_t n, Fn&& fn) {
  std::vector<double> us;
  us.reserve(n);
  for (size_t i = 0; i < n; ++i) {
    const auto t0 = Clock::now();
    fn();
    us.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t0).count());
  }
  return summarise(std::move(us));
}

struct Round {
  Latency pull, memcpyFlood, memcpyAlone;
};

// One round: memcpy alone, then the flood with pulls and memcpys beside it.
Round round(Session& session, const std::function<void()>& deliver, size_t pulls) {
  const FrameSize s = kSizes[0];
  const std::vector<uint8_t>& src = sourceFrames(s).bgra;
  std::vector<uint8_t> dst(src.size());
  Round r;
  deliver();
  session.drainEvents();
  r.memcpyAlone = timeEach(pulls, [&] { std::memcpy(dst.data(), src.data(), src.size()); });

  std::atomic<bool> stop{false};
  std::atomic<size_t> delivered{0};
  std::thread sdk([&] {
    while (!stop.load(std::memory_order_relaxed)) {
      deliver();
      delivered.fetch_add(1, std::memory_order_relaxed);
    }
  });
  while (delivered.load() < 2) std::this_thread::yield();
  auto bytes = std::make_shared<air::ByteArray>();
  const std::vector<air::Value> args = {bytes, remoteUsers()[0], int32_t(1)};
  const size_t before = delivered.load();
  // Each pull is followed by a memcpy of the same frame, timed alike, so that
  // both meet the same machine (the flood, and whatever else runs).
  std::vector<double> pullUs, copyUs;
  pullUs.reserve(pulls);
  copyUs.reserve(pulls);
  for (size_t i = 0; i < pulls; ++i) {
    session.drainEvents();
    auto t0 = Clock::now();
    session.context().call("getVideoData", args);
    auto t1 = Clock::now();
    pullUs.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
    t0 = Clock::now();
    std::memcpy(dst.data(), src.data(), src.size());
    t1 = Clock::now();
    copyUs.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
  }
  r.pull = summarise(std::move(pullUs));
  r.pull.framesDelivered = delivered.load() - before;
  r.memcpyFlood = summarise(std::move(copyUs));
  stop = true;
  sdk.join();
  session.drainEvents();
  return r;
}

double medianOf(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

Latency medianLatency(const std::vector<Latency>& rounds) {
  std::vector<double> p50, p99, mx;
  Latency out;
  for (const Latency& l : rounds) {
    p50.push_back(l.p50), p99.push_back(l.p99), mx.push_back(l.max);
    out.pulls += l.pulls;
    out.framesDelivered += l.framesDelivered;
  }
  out.p50 = medianOf(p50);
  out.p99 = medianOf(p99);
  out.max = medianOf(mx);
  return out;
}

ContentionResult measure(const std::string& name, Session& session, const std::function<void()>& deliver, int rounds,
                         size_t pulls) {
  std::vector<Latency> pull, flood, alone;
  for (int i = 0; i < rounds; ++i) {
    Round r = round(session, deliver, pulls);
    pull.push_back(r.pull), flood.push_back(r.memcpyFlood), alone.push_back(r.memcpyAlone);
  }
  return {name, medianLatency(pull), medianLatency(flood), medianLatency(alone)};
}

}  // namespace

std::vector<ContentionResult> measureContention(int rounds, size_t pulls) {
  std::vector<ContentionResult> out;
  {
    BrisoraSession& b = BrisoraSession::get();
    const ilive::VideoFrame f = b.frame(remoteUsers()[0], ilive::COLOR_FORMAT_I420, kSizes[0]);
    out.push_back(measure("Brisora", b, [&] { b.deliver(f); }, rounds, pulls));
  }
  {
    TamvexSession& t = TamvexSession::get();
    TRTCVideoFrame f = t.frame(TRTCVideoPixelFormat_I420, kSizes[0]);
    out.push_back(measure("Tamvex", t, [&] { t.deliver(remoteUsers()[0], f); }, rounds, pulls));
  }
  return out;
}

LockWait measureLockWait(int rounds, size_t reads) {
  const FrameSize s = kSizes[0];
  const std::vector<uint8_t>& i420 = sourceFrames(s).i420;
  std::vector<uint8_t> dst(size_t(s.width) * s.height * 4);
  std::vector<Latency> waits, copies;
  for (int round = 0; round < rounds; ++round) {
    core::FrameStore store;
    auto convert = [&](uint8_t* out) { return core::i420ToBgra(i420.data(), i420.size(), s.width, s.height, out); };
    store.write(s.width, s.height, convert);
    std::atomic<bool> stop{false};
    std::thread writer([&] {
      while (!stop.load(std::memory_order_relaxed)) store.write(s.width, s.height, convert);
    });
    std::vector<double> waitUs, copyUs;
    for (size_t i = 0; i < reads; ++i) {
      const auto asked = Clock::now();
      Clock::time_point started, done;
      store.read([&](const uint8_t* data, uint32_t size, uint32_t, uint32_t) {
        started = Clock::now();
        if (data) std::memcpy(dst.data(), data, size);
        done = Clock::now();
      });
      waitUs.push_back(std::chrono::duration<double, std::micro>(started - asked).count());
      copyUs.push_back(std::chrono::duration<double, std::micro>(done - started).count());
    }
    stop = true;
    writer.join();
    waits.push_back(summarise(std::move(waitUs)));
    copies.push_back(summarise(std::move(copyUs)));
  }
  return {medianLatency(waits), medianLatency(copies)};
}

}  // namespace bench
