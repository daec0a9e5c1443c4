// What Brisora's files share: the trace switch, the console prefix and the SDK
// handlers that one file installs and another defines.
#pragma once

#include <atomic>
#include <cstdint>

#include "ilive/sdk/ilive.h"

namespace brisora {

constexpr const char* kPrefix = "Brisora:";

// The trace switch: 1 prints the debug traces of the ActionScript functions.
// Written by initRtmpLiveSdk on the main thread.
extern std::atomic<int32_t> debugMode;
inline bool tracing() { return debugMode.load(std::memory_order_relaxed) == 1; }

// Handlers that do nothing (stream operations, notification hooks, the first
// room-record slot).
void emptyHandler(void* data);
void emptyHandler();
void emptyHandler(int32_t code, const ilive::SdkString& message, void* data);

// Video (frames.cpp).
void onRemoteVideo(const ilive::VideoFrame* frame, void* data);
void onLocalVideo(const ilive::VideoFrame* frame, void* data);
void onMemberEvent(int32_t event, const ilive::SdkVector<ilive::SdkString>& userIds, void* data);

// Quality report (quality.cpp).
void onQuality(const ilive::Statistics& stats, void* data);
ilive::SdkString buildQualityReport(const ilive::Statistics& stats);

// Device and audio notifications (audio.cpp).
void onDeviceOperation(int32_t operation, int32_t result, void* data);
void onDeviceDetect(void* data);
void onAudioData(const ilive::AudioFrame* frame, int32_t sourceKind, void* data);

}  // namespace brisora
