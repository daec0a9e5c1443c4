// The code sets that the room, view and screen-capture functions accept from
// ActionScript, and the records built from them. Accepted values reach the SDK
// unchanged.
#pragma once

#include <cstdint>

#include "trtc/sdk/liteav.h"

namespace tamvex {

// The stream codes renderers are bound by and that events and pulls show:
// the big stream (bound when the SDK announces it: core::routeRemote's
// announced kind), the sub stream (screen sharing), the small stream, and
// kNoStream for what has no renderer (audio, an unknown stream type).
constexpr int32_t kNoStream = 0;
constexpr int32_t kBigStream = 1;
constexpr int32_t kSubStream = 2;
constexpr int32_t kSmallStream = 10;

// The stream code of an SDK stream type (kNoStream for an unknown one).
inline int32_t streamCodeOf(int streamType) {
  switch (streamType) {
    case TRTCVideoStreamTypeBig: return kBigStream;
    case TRTCVideoStreamTypeSmall: return kSmallStream;
    case TRTCVideoStreamTypeSub: return kSubStream;
    default: return kNoStream;
  }
}

// 100, 102, ..., 114: the resolutions that ActionScript may ask for.
inline bool acceptedResolution(int32_t code) { return code >= 100 && code <= 114 && code % 2 == 0; }
inline bool acceptedViewRotation(int32_t rotation) { return rotation >= 0 && rotation <= 3; }
// The encoder takes no rotation 0.
inline bool acceptedEncoderRotation(int32_t rotation) { return rotation >= 1 && rotation <= 3; }
// The SDK's stream types: big (0), small (1) and sub (2).
inline bool acceptedStreamType(int32_t type) {
  return type >= TRTCVideoStreamTypeBig && type <= TRTCVideoStreamTypeSub;
}

// The encoder record, or false when the resolution code is refused.
inline bool makeEncoderParam(int32_t resolution, int32_t mode, int32_t fps, int32_t bitrate, TRTCVideoEncParam* out) {
  if (!acceptedResolution(resolution)) return false;
  out->videoResolution = static_cast<TRTCVideoResolution>(resolution);
  out->resMode = mode != 0 ? TRTCVideoResolutionModePortrait : TRTCVideoResolutionModeLandscape;
  out->videoFps = static_cast<uint32_t>(fps);
  out->videoBitrate = static_cast<uint32_t>(bitrate);
  return true;
}

}  // namespace tamvex
