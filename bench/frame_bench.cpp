// The frame path of both extensions, measured against its limits in one run.
//
// Intake: a remote camera frame handed to the handler the extension installed
// (renderer lookup, conversion into the renderer, the "video" event text and
// its dispatch into the runtime stand-in). Pull: getVideoData and
// getVideoBitmapData called through the runtime stand-in. Limits: libyuv's
// conversion alone into a warm buffer, memcpy of the BGRA frame alone.
// Baselines: a fresh buffer per frame, with a byte loop for 24-bit frames.
// Allocations are counted on the calling thread (alloc_counter.cpp).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "alloc_counter.h"
#include "frame_bench.h"
#include "libyuv/convert_argb.h"
#include "sessions.h"

namespace bench {

const FrameSize kSizes[] = {{1920, 1080}, {1280, 720}, {640, 360}};
const char* const kSizeNames[] = {"1080p", "720p", "360p"};

namespace {

FrameSize sizeOf(const benchmark::State& state) { return kSizes[state.range(0)]; }
size_t bgraBytes(FrameSize s) { return size_t(s.width) * s.height * 4; }

// Allocations of the measured work on this thread: all of them, and those
// made outside the runtime's functions.
struct Allocations {
  uint64_t all = 0;
  uint64_t outside = 0;
};

// Counts the allocations of fn() into *sum.
template <class Fn>
void counted(Allocations* sum, Fn&& fn) {
  const uint64_t all = allocationsThisThread(), outside = allocationsOutsideRuntime();
  fn();
  sum->all += allocationsThisThread() - all;
  sum->outside += allocationsOutsideRuntime() - outside;
}

void setPerFrame(benchmark::State& state, Allocations a) {
  const double n = double(state.iterations());
  state.counters["allocs"] = benchmark::Counter(double(a.all) / n);
  state.counters["outside"] = benchmark::Counter(double(a.outside) / n);
}

void setPerFrame(benchmark::State& state, uint64_t all) { setPerFrame(state, Allocations{all, all}); }

// ---- Limits and baselines ----

void Limit_I420ToARGB(benchmark::State& state) {
  const FrameSize s = sizeOf(state);
  const SourceFrames& src = sourceFrames(s);
  std::vector<uint8_t> dst(bgraBytes(s));
  const uint8_t* y = src.i420.data();
  const size_t ySize = size_t(s.width) * s.height;
  for (auto _ : state) {
    libyuv::I420ToARGB(y, int(s.width), y + ySize, int(s.width / 2), y + ySize * 5 / 4, int(s.width / 2), dst.data(),
                       int(s.width * 4), int(s.width), int(s.height));
    benchmark::ClobberMemory();
  }
  setPerFrame(state, 0);
}

void Limit_RGB24ToARGB(benchmark::State& state) {
  const FrameSize s = sizeOf(state);
  const SourceFrames& src = sourceFrames(s);
  std::vector<uint8_t> dst(bgraBytes(s));
  for (auto _ : state) {
    libyuv::RGB24ToARGB(src.rgb24.data(), int(s.width * 3), dst.data(), int(s.width * 4), int(s.width),
                        int(s.height));
    benchmark::ClobberMemory();
  }
  setPerFrame(state, 0);
}

void Limit_Memcpy(benchmark::State& state) {
  const FrameSize s = sizeOf(state);
  const SourceFrames& src = sourceFrames(s);
  std::vector<uint8_t> dst(bgraBytes(s));
  for (auto _ : state) {
    std::memcpy(dst.data(), src.bgra.data(), dst.size());
    benchmark::ClobberMemory();
  }
  setPerFrame(state, 0);
}

// The same limits with the destination alternating between two buffers, as
// a double-buffered store writes them: the cost of the larger footprint.
void Limit2_I420ToARGB(benchmark::State& state) {
  const FrameSize s = sizeOf(state);
  const SourceFrames& src = sourceFrames(s);
  std::vector<uint8_t> dst[2] = {std::vector<uint8_t>(bgraBytes(s)), std::vector<uint8_t>(bgraBytes(s))};
  const uint8_t* y = src.i420.data();
  const size_t ySize = size_t(s.width) * s.height;
  int k = 0;
  for (auto _ : state) {
    libyuv::I420ToARGB(y, int(s.width), y + ySize, int(s.width / 2), y + ySize * 5 / 4, int(s.width / 2),
                       dst[k ^= 1].data(), int(s.width * 4), int(s.width), int(s.height));
    benchmark::ClobberMemory();
  }
  setPerFrame(state, 0);
}

void Limit2_RGB24ToARGB(benchmark::State& state) {
  const FrameSize s = sizeOf(state);
  const SourceFrames& src = sourceFrames(s);
  std::vector<uint8_t> dst[2] = {std::vector<uint8_t>(bgraBytes(s)), std::vector<uint8_t>(bgraBytes(s))};
  int k = 0;
  for (auto _ : state) {
    libyuv::RGB24ToARGB(src.rgb24.data(), int(s.width * 3), dst[k ^= 1].data(), int(s.width * 4), int(s.width),
                        int(s.height));
    benchmark::ClobberMemory();
  }
  setPerFrame(state, 0);
}

void Limit2_Memcpy(benchmark::State& state) {
  const FrameSize s = sizeOf(state);
  const SourceFrames& src = sourceFrames(s);
  std::vector<uint8_t> dst[2] = {std::vector<uint8_t>(bgraBytes(s)), std::vector<uint8_t>(bgraBytes(s))};
  int k = 0;
  for (auto _ : state) {
    std::memcpy(dst[k ^= 1].data(), src.bgra.data(), bgraBytes(s));
    benchmark::ClobberMemory();
  }
  setPerFrame(state, 0);
}

// Convert on pull, tried outside the extensions: the SDK thread would only
// copy the newest I420 frame (1.5 bytes a pixel) and the main thread would
// convert it straight into the ByteArray when ActionScript pulls it.
void Try_IntakeCopyI420(benchmark::State& state) {
  const FrameSize s = sizeOf(state);
  const SourceFrames& src = sourceFrames(s);
  std::vector<uint8_t> kept[2] = {std::vector<uint8_t>(src.i420.size()), std::vector<uint8_t>(src.i420.size())};
  int k = 0;
  for (auto _ : state) {
    std::memcpy(kept[k ^= 1].data(), src.i420.data(), src.i420.size());
    benchmark::ClobberMemory();
  }
  setPerFrame(state, 0);
}

void Try_PullConvert(benchmark::State& state) {
  const FrameSize s = sizeOf(state);
  const SourceFrames& src = sourceFrames(s);
  std::vector<uint8_t> array(bgraBytes(s));
  const uint8_t* y = src.i420.data();
  const size_t ySize = size_t(s.width) * s.height;
  for (auto _ : state) {
    libyuv::I420ToARGB(y, int(s.width), y + ySize, int(s.width / 2), y + ySize * 5 / 4, int(s.width / 2),
                       array.data(), int(s.width * 4), int(s.width), int(s.height));
    benchmark::ClobberMemory();
  }
  setPerFrame(state, 0);
}

// The frame intake done literally: the old buffer freed, a new one allocated,
// then one pass over the pixels.
template <class Fill>
void freshBufferPerFrame(benchmark::State& state, Fill&& fill) {
  const FrameSize s = sizeOf(state);
  uint8_t* buffer = nullptr;
  const uint64_t before = allocationsThisThread();
  for (auto _ : state) {
    delete[] buffer;
    buffer = new uint8_t[bgraBytes(s)];
    fill(buffer);
    benchmark::ClobberMemory();
  }
  setPerFrame(state, allocationsThisThread() - before);
  delete[] buffer;
}

void Baseline_RGB24ByteLoop(benchmark::State& state) {
  const FrameSize s = sizeOf(state);
  const SourceFrames& src = sourceFrames(s);
  const uint8_t* data = src.rgb24.data();
  const size_t dataSize = src.rgb24.size();
  freshBufferPerFrame(state, [&](uint8_t* buffer) { rgb24ByteLoop(data, dataSize, buffer); });
}

void Baseline_I420Fresh(benchmark::State& state) {
  const FrameSize s = sizeOf(state);
  const SourceFrames& src = sourceFrames(s);
  const uint8_t* y = src.i420.data();
  const size_t ySize = size_t(s.width) * s.height;
  freshBufferPerFrame(state, [&](uint8_t* buffer) {
    libyuv::I420ToARGB(y, int(s.width), y + ySize, int(s.width / 2), y + ySize * 5 / 4, int(s.width / 2), buffer,
                       int(s.width * 4), int(s.width), int(s.height));
  });
}

void Baseline_BGRAFresh(benchmark::State& state) {
  const FrameSize s = sizeOf(state);
  const SourceFrames& src = sourceFrames(s);
  freshBufferPerFrame(state, [&](uint8_t* buffer) { std::memcpy(buffer, src.bgra.data(), bgraBytes(s)); });
}

// ---- Intake through the extensions ----

// Runs deliver() per iteration; the queued events are handed to ActionScript
// (dropped) every few frames outside the measured time.
template <class Deliver>
void intake(benchmark::State& state, Session& session, Deliver&& deliver) {
  for (int i = 0; i < 3; ++i) deliver();  // sizes settle
  session.drainEvents();
  Allocations allocations;
  int pending = 0;
  for (auto _ : state) {
    counted(&allocations, deliver);
    if (++pending == 32) {
      state.PauseTiming();
      session.drainEvents();
      pending = 0;
      state.ResumeTiming();
    }
  }
  session.drainEvents();
  setPerFrame(state, allocations);
}

void Intake_Brisora(benchmark::State& state, int32_t format) {
  BrisoraSession& b = BrisoraSession::get();
  const ilive::VideoFrame f = b.frame(remoteUsers()[0], format, sizeOf(state));
  intake(state, b, [&] { b.deliver(f); });
}
void Intake_Brisora_I420(benchmark::State& state) { Intake_Brisora(state, ilive::COLOR_FORMAT_I420); }
void Intake_Brisora_RGB24(benchmark::State& state) { Intake_Brisora(state, ilive::COLOR_FORMAT_RGB24); }

void Intake_Tamvex(benchmark::State& state, int format) {
  TamvexSession& t = TamvexSession::get();
  TRTCVideoFrame f = t.frame(format, sizeOf(state));
  const std::string& user = remoteUsers()[0];
  intake(state, t, [&] { t.deliver(user, f); });
}
void Intake_Tamvex_I420(benchmark::State& state) { Intake_Tamvex(state, TRTCVideoPixelFormat_I420); }
void Intake_Tamvex_BGRA(benchmark::State& state) { Intake_Tamvex(state, TRTCVideoPixelFormat_BGRA32); }

// The runtime's share of an intake: one status event of the same length.
void Runtime_Dispatch(benchmark::State& state) {
  Session& s = TamvexSession::get();
  const std::string level = remoteUsers()[0] + "||1920||1080||0||0||1";
  const uint64_t before = allocationsThisThread();
  int pending = 0;
  for (auto _ : state) {
    FREDispatchStatusEventAsync(s.context().handle(), reinterpret_cast<const uint8_t*>("video"),
                                reinterpret_cast<const uint8_t*>(level.c_str()));
    if (++pending == 32) {
      state.PauseTiming();
      s.drainEvents();
      pending = 0;
      state.ResumeTiming();
    }
  }
  s.drainEvents();
  state.counters["allocs"] = benchmark::Counter(double(allocationsThisThread() - before) / double(state.iterations()));
}

// ---- Pull through the runtime ----

template <class Deliver>
void pull(benchmark::State& state, Session& session, Deliver&& deliver) {
  deliver();
  session.drainEvents();
  auto bytes = std::make_shared<air::ByteArray>();
  const std::vector<air::Value> args = {bytes, remoteUsers()[0], int32_t(1)};
  session.context().call("getVideoData", args);  // the array takes the frame's length
  if (bytes->bytes.size() != bgraBytes(sizeOf(state))) state.SkipWithError("getVideoData gave a wrong length");
  Allocations allocations;
  for (auto _ : state) counted(&allocations, [&] { session.context().call("getVideoData", args); });
  setPerFrame(state, allocations);
}

void Pull_Brisora(benchmark::State& state) {
  BrisoraSession& b = BrisoraSession::get();
  const ilive::VideoFrame f = b.frame(remoteUsers()[0], ilive::COLOR_FORMAT_I420, sizeOf(state));
  pull(state, b, [&] { b.deliver(f); });
}

void Pull_Tamvex(benchmark::State& state) {
  TamvexSession& t = TamvexSession::get();
  TRTCVideoFrame f = t.frame(TRTCVideoPixelFormat_I420, sizeOf(state));
  pull(state, t, [&] { t.deliver(remoteUsers()[0], f); });
}

void PullBitmap_Brisora(benchmark::State& state) {
  BrisoraSession& b = BrisoraSession::get();
  const ilive::VideoFrame f = b.frame(remoteUsers()[0], ilive::COLOR_FORMAT_I420, sizeOf(state));
  b.deliver(f);
  b.drainEvents();
  const std::vector<air::Value> args = {air::Null{}, remoteUsers()[0], int32_t(1)};
  Allocations allocations;
  for (auto _ : state) {
    bool made = false;
    counted(&allocations, [&] { made = b.pullBitmap(args); });
    if (!made) state.SkipWithError("getVideoBitmapData gave no bitmap");
  }
  setPerFrame(state, allocations);
}

// The host's own work for a call of three arguments (allocations included):
// getAudioData, which does nothing.
void emptyCall(benchmark::State& state, const air::Value& first) {
  TamvexSession& t = TamvexSession::get();
  const std::vector<air::Value> args = {first, remoteUsers()[0], int32_t(1)};
  Allocations allocations;
  for (auto _ : state) counted(&allocations, [&] { t.context().call("getAudioData", args); });
  const double n = double(state.iterations());
  state.counters["allocs"] = benchmark::Counter(double(allocations.all) / n);
  state.counters["outside"] = benchmark::Counter(double(allocations.outside) / n);
}

void Runtime_EmptyCall(benchmark::State& state) { emptyCall(state, std::make_shared<air::ByteArray>()); }

// The runtime's share of a pull: a call with the same three arguments to a
// function that does nothing, plus the runtime calls that filling a ByteArray
// makes (a uint for "length", the property set, acquire and release).
void Runtime_PullCall(benchmark::State& state) {
  TamvexSession& t = TamvexSession::get();
  auto bytes = std::make_shared<air::ByteArray>();
  bytes->bytes.resize(bgraBytes(sizeOf(state)));
  const std::vector<air::Value> args = {bytes, remoteUsers()[0], int32_t(1)};
  const uint64_t before = allocationsThisThread();
  for (auto _ : state) {
    t.context().call("getAudioData", args);
    air::CallScope scope;
    FREObject array = scope.object(bytes);
    FREObject length = nullptr;
    FRENewObjectFromUint32(uint32_t(bytes->bytes.size()), &length);
    FRESetObjectProperty(array, reinterpret_cast<const uint8_t*>("length"), length, nullptr);
    FREByteArray acquired{};
    FREAcquireByteArray(array, &acquired);
    FREReleaseByteArray(array);
  }
  setPerFrame(state, allocationsThisThread() - before);
}

// The runtime's share of getVideoBitmapData: a call, a new BitmapData of the
// frame's size (allocated and filled by the runtime), acquire and release.
void Runtime_NewBitmap(benchmark::State& state) {
  TamvexSession& t = TamvexSession::get();
  const FrameSize s = sizeOf(state);
  const std::vector<air::Value> args = {air::Null{}, remoteUsers()[0], int32_t(1)};
  const uint64_t before = allocationsThisThread();
  for (auto _ : state) {
    t.context().call("getAudioData", args);
    air::CallScope scope;
    FREObject ctorArgs[4] = {nullptr, nullptr, nullptr, nullptr};
    FRENewObjectFromUint32(s.width, &ctorArgs[0]);
    FRENewObjectFromUint32(s.height, &ctorArgs[1]);
    FRENewObjectFromUint32(0, &ctorArgs[2]);
    FRENewObjectFromUint32(0, &ctorArgs[3]);
    FREObject bitmap = nullptr, thrown = nullptr;
    FRENewObject(reinterpret_cast<const uint8_t*>("flash.display.BitmapData"), 4, ctorArgs, &bitmap, &thrown);
    FREBitmapData2 data{};
    FREAcquireBitmapData2(bitmap, &data);
    FREInvalidateBitmapDataRect(bitmap, 0, 0, s.width, s.height);
    FREReleaseBitmapData(bitmap);
    benchmark::DoNotOptimize(scope.value(bitmap));
  }
  setPerFrame(state, allocationsThisThread() - before);
}

// ---- Scale: several 720p remote streams, intake and one pull per frame ----

template <class DeliverTo>
void scale(benchmark::State& state, Session& session, DeliverTo&& deliverTo) {
  const auto& users = remoteUsers();
  auto bytes = std::make_shared<air::ByteArray>();
  std::vector<std::vector<air::Value>> args;
  for (const auto& u : users) args.push_back({bytes, u, int32_t(1)});
  for (size_t i = 0; i < users.size(); ++i) deliverTo(i);
  session.drainEvents();
  for (auto _ : state) {
    for (size_t i = 0; i < users.size(); ++i) {
      deliverTo(i);
      session.context().call("getVideoData", args[i]);
    }
    session.drainEvents();
  }
  state.counters["streams"] = benchmark::Counter(double(users.size()));
}

void Scale720_Brisora(benchmark::State& state) {
  BrisoraSession& b = BrisoraSession::get();
  std::vector<ilive::VideoFrame> frames;
  for (const auto& u : remoteUsers()) frames.push_back(b.frame(u, ilive::COLOR_FORMAT_I420, {1280, 720}));
  scale(state, b, [&](size_t i) { b.deliver(frames[i]); });
}

void Scale720_Tamvex(benchmark::State& state) {
  TamvexSession& t = TamvexSession::get();
  TRTCVideoFrame f = t.frame(TRTCVideoPixelFormat_I420, {1280, 720});
  scale(state, t, [&](size_t i) { t.deliver(remoteUsers()[i], f); });
}

}  // namespace

double minimum(const std::vector<double>& v) { return v.empty() ? 0.0 : *std::min_element(v.begin(), v.end()); }

void registerBenchmarks() {
  auto sized = [](const char* name, void (*fn)(benchmark::State&)) {
    benchmark::RegisterBenchmark(name, fn)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond)->ComputeStatistics(
        "min", minimum);
  };
  sized("Limit_I420ToARGB", Limit_I420ToARGB);
  sized("Limit_RGB24ToARGB", Limit_RGB24ToARGB);
  sized("Limit_Memcpy", Limit_Memcpy);
  sized("Limit2_I420ToARGB", Limit2_I420ToARGB);
  sized("Limit2_RGB24ToARGB", Limit2_RGB24ToARGB);
  sized("Limit2_Memcpy", Limit2_Memcpy);
  sized("Try_IntakeCopyI420", Try_IntakeCopyI420);
  sized("Try_PullConvert", Try_PullConvert);
  sized("Baseline_RGB24ByteLoop", Baseline_RGB24ByteLoop);
  sized("Baseline_I420Fresh", Baseline_I420Fresh);
  sized("Baseline_BGRAFresh", Baseline_BGRAFresh);
  sized("Intake_Brisora_I420", Intake_Brisora_I420);
  sized("Intake_Brisora_RGB24", Intake_Brisora_RGB24);
  sized("Intake_Tamvex_I420", Intake_Tamvex_I420);
  sized("Intake_Tamvex_BGRA", Intake_Tamvex_BGRA);
  sized("Pull_Brisora", Pull_Brisora);
  sized("Pull_Tamvex", Pull_Tamvex);
  sized("PullBitmap_Brisora", PullBitmap_Brisora);
  sized("Runtime_PullCall", Runtime_PullCall);
  sized("Runtime_NewBitmap", Runtime_NewBitmap);
  benchmark::RegisterBenchmark("Runtime_EmptyCall", Runtime_EmptyCall)->Unit(benchmark::kMicrosecond)->ComputeStatistics("min", minimum);
  benchmark::RegisterBenchmark("Runtime_Dispatch", Runtime_Dispatch)->Unit(benchmark::kMicrosecond)->ComputeStatistics("min", minimum);
  benchmark::RegisterBenchmark("Scale720_Brisora", Scale720_Brisora)->Unit(benchmark::kMicrosecond)->ComputeStatistics("min", minimum);
  benchmark::RegisterBenchmark("Scale720_Tamvex", Scale720_Tamvex)->Unit(benchmark::kMicrosecond)->ComputeStatistics("min", minimum);
}

}  // namespace bench
