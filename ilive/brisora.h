// Brisora, the AIR native extension over the iLive SDK. What lives in ilive/:
//   entry.cpp            the library's entry points and context finalizer
//   manager.h/.cpp       LiveManager, the state functions and SDK handlers share
//   function_table.*     the 68 named functions in the order the runtime sees them
//   functions.h          their declarations, grouped by the file that holds them
//   sdk_call.h           how a function reaches the SDK (the call edge)
//   login.cpp rooms.cpp frames.cpp devices.cpp audio.cpp media.cpp quality.cpp
//   host_utilities.cpp   one file per group of functions and its SDK handlers
//   sdk/                 everything taken from the iLive SDK
// The frame path, events, argument reading and the guards live in core/.
//
// This header: what the files share, the trace switch, the console prefix and
// the SDK handlers that one file installs and another defines.
#pragma once

#include <cstdint>

#include "core/trace.h"
#include "ilive/sdk/ilive.h"

namespace brisora {

constexpr const char* kPrefix = "Brisora:";

// The trace switch: on, the ActionScript functions print their debug traces.
// Set by initRtmpLiveSdk.
extern core::TraceSwitch debugMode;

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
