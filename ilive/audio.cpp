// Audio data and device notices: the device-operation and device-detect
// handlers ("devices"), the audio-data handler with its level counters
// ("audioevent") and the local 16 kHz block ("audiodata"), and the two
// ActionScript functions that register for audio and fetch the block.
//
// Threads: the handlers run on SDK threads, the functions on the main thread.
// The pending block is guarded by LiveManager::audioMutex (a reader sees a
// length only together with its buffer); the level counters by
// LiveManager::audioLevelsMutex, so the SDK may call the handler from several
// threads at once; the capture flag is atomic.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "core/args.h"
#include "core/results.h"
#include "core/text.h"
#include "ilive/brisora.h"
#include "ilive/codes.h"
#include "ilive/sdk_call.h"
#include "ilive/functions.h"
#include "ilive/manager.h"
#include "ilive/sdk/ilive.h"

namespace brisora {
namespace {

// The extension's numbering of the SDK's device operation codes.
int32_t operationNumber(int32_t code) {
  if (code >= kFirstPlainOperationCode && code <= kLastPlainOperationCode) return code;
  if (code >= kFirstShiftedOperationCode && code <= kLastShiftedOperationCode) return code - kOperationCodeShift;
  return kUnknownOperation;
}

// The level in decibels of 16-bit little-endian samples: -96 for silence.
int32_t levelDecibels(const uint8_t* data, uint32_t dataSize) {
  const uint32_t samples = dataSize / 2;
  if (!data || samples == 0) return -96;
  uint64_t sum = 0;
  for (uint32_t i = 0; i < samples; ++i) {
    const int16_t sample = static_cast<int16_t>(static_cast<uint16_t>(data[2 * i] | (data[2 * i + 1] << 8)));
    sum += static_cast<uint64_t>(std::abs(static_cast<int32_t>(sample)));
  }
  const uint64_t mean = sum / samples;
  if (mean == 0) return -96;
  return static_cast<int32_t>(20.0 * std::log10(static_cast<double>(mean) / 65535.0));
}

// The local block: the frame decimated by six with a (1 4 14 14 4 1)/38
// filter, keeping n = dataSize / 6 bytes of the n 16-bit results, when n is
// the length that 16 kHz implies. ActionScript callers rely on these byte
// counts. The expected length is computed first (the same figure the
// decimation would be compared against), so a mismatch costs no work.
void takeLocalBlock(LiveManager& manager, const std::string& id, const ilive::AudioFrame& frame) {
  const uint32_t dataSize = frame.dataSize;
  const uint32_t n = dataSize / 6;
  // (dataSize x 16000, modulo 2^32) / (2 x rate); the divisor is widened so
  // that a rate of 2^31 or more cannot make it zero.
  const uint32_t scaled = static_cast<uint32_t>(static_cast<uint64_t>(dataSize) * 16000u);
  const uint64_t expected = scaled / (2 * static_cast<uint64_t>(frame.sampleRate));
  if (n != expected) {
    std::printf("\n AudioData BufLen Error : %i", static_cast<int32_t>(n));
    return;
  }
  // The working buffer holds dataSize 16-bit values (2 x dataSize bytes): the
  // frame's bytes first, the rest zero.
  std::vector<int16_t> work(dataSize, 0);
  std::memcpy(work.data(), frame.data, dataSize);
  for (uint32_t k = 0; k < n; ++k) {
    const int16_t* x = work.data() + 6 * static_cast<size_t>(k);
    const int32_t sum = x[0] + 4 * x[1] + 14 * x[2] + 14 * x[3] + 4 * x[4] + x[5];
    work[k] = static_cast<int16_t>(sum / 38);
  }
  std::unique_ptr<uint8_t[]> block(new uint8_t[n ? n : 1]);
  std::memcpy(block.get(), work.data(), n);
  {
    std::lock_guard<std::mutex> lock(manager.audioMutex);
    if (manager.pendingAudioLength != 0) return;  // another thread got there first
    manager.pendingAudio = std::move(block);
    manager.pendingAudioLength = n;
  }
  manager.context.raise(manager.audiodata, id);
}

bool blockWanted(LiveManager& manager) {
  std::lock_guard<std::mutex> lock(manager.audioMutex);
  return manager.pendingAudioLength == 0;
}

}  // namespace

// ---- Device notices (installed by createRoom and joinRoom) ----

void onDeviceOperation(int32_t operation, int32_t result, void* data) {
  (void)data;
  core::inHandler([&] {
    std::printf("\n%s", "OnDeviceOperation");
    LiveManager& manager = LiveManager::instance();
    manager.context.raise(manager.devices,
          core::joinLevel({"operation", core::intToString(operationNumber(operation)), core::intToString(result)}));
  });
}

void onDeviceDetect(void* data) {
  (void)data;
  core::inHandler([] {
    LiveManager& manager = LiveManager::instance();
    manager.context.raise(manager.devices, "detect");
  });
}

// ---- Audio data (installed by registAudioDataCallback) ----

void onAudioData(const ilive::AudioFrame* frame, int32_t sourceKind, void* data) {
  (void)data;
  core::inHandler([&] {
    if (!frame) return;
    if (sourceKind != kAudioKindLocalBlock && sourceKind != kAudioKindLevelOnly) return;
    LiveManager& manager = LiveManager::instance();
    const std::string id(frame->identifier.c_str(), frame->identifier.size());
    // A frame that claims data but has no pointer carries no samples.
    const uint32_t dataSize = frame->data ? frame->dataSize : 0;

    if (sourceKind == kAudioKindLocalBlock && manager.localAudioCapture.load() && dataSize != 0 && frame->sampleRate != 0 &&
        manager.localUser.is(id.data(), id.size()) && blockWanted(manager)) {
      takeLocalBlock(manager, id, *frame);
    }

    uint32_t count;
    {
      std::lock_guard<std::mutex> lock(manager.audioLevelsMutex);
      int32_t& counter = manager.audioLevels[id];
      count = static_cast<uint32_t>(counter) + 1u;  // wraps instead of overflowing
      counter = static_cast<int32_t>(count);
    }
    if (count % 6 != 0) return;
    const int32_t level = levelDecibels(frame->data, dataSize);
    manager.context.raise(manager.audioevent, core::joinLevel({core::intToString(sourceKind), id, core::intToString(level)}));
  });
}

// ---- ActionScript functions ----

ANE_FUNCTION(registAudioDataCallback) {
  core::Args args(argc, argv);
  const int32_t kind = args.int32(0);
  debugMode.print("\n%s%s==%i\n", kPrefix, "registAudioDataCallback", kind);
  if (kind == kLocalCaptureKind) {
    LiveManager::instance().localAudioCapture.store(args.boolean(1));
    return core::newBool(true);
  }
  return core::newBool(core::ask([&] { GetILive()->setAudioDataHandler(kind, &onAudioData, ctx); }));
}

ANE_FUNCTION(getAudioData) {
  core::Args args(argc, argv);
  // Something that is not a ByteArray cannot take the block: it stays pending.
  if (!core::isObjectOfType(args.object(0), FRE_TYPE_BYTEARRAY)) return nullptr;
  LiveManager& manager = LiveManager::instance();
  // Take the block out under the lock, then fill the ByteArray without it.
  std::unique_ptr<uint8_t[]> block;
  uint32_t length = 0;
  {
    std::lock_guard<std::mutex> lock(manager.audioMutex);
    block = std::move(manager.pendingAudio);
    length = manager.pendingAudioLength;
    manager.pendingAudioLength = 0;
  }
  if (!block) length = 0;
  core::fillByteArray(args.object(0), block.get(), length);
  return nullptr;
}

}  // namespace brisora
