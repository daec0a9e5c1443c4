// Pieces of the frame benchmark program shared between its files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "sessions.h"

namespace bench {

extern const FrameSize kSizes[3];
extern const char* const kSizeNames[3];

// Registers the Google Benchmark cases (frame_bench.cpp).
void registerBenchmarks();

// The 24-bit intake as first written: 3 source bytes, then 255, per pixel,
// for every whole pixel of dataSize.
void rgb24ByteLoop(const uint8_t* data, size_t dataSize, uint8_t* buffer);

// Main-thread pull latency while an SDK thread floods 1080p I420 frames into
// the renderer being pulled (contention.cpp). Times in microseconds.
struct Latency {
  double p50 = 0;
  double p99 = 0;
  double max = 0;
  size_t pulls = 0;
  size_t framesDelivered = 0;
};
struct ContentionResult {
  std::string extension;
  Latency pull;          // getVideoData under the flood
  Latency memcpyFlood;   // memcpy of the frame under the same flood
  Latency memcpyAlone;   // memcpy of the frame, no flood
};
// rounds: independent runs; each row is the median over the rounds.
std::vector<ContentionResult> measureContention(int rounds, size_t pullsPerRound);

// The frame store of the shared core alone, under the same flood: how long a
// reader waits for the store's lock before its copy starts.
struct LockWait {
  Latency wait;  // from asking to read until the copy starts
  Latency copy;  // the copy itself, under the lock
};
LockWait measureLockWait(int rounds, size_t readsPerRound);

}  // namespace bench
