// The code sets that the room, view and screen-capture functions accept from
// ActionScript, and the records built from them. Accepted values reach the SDK
// unchanged.
#pragma once

#include <cstdint>

#include "trtc/sdk/liteav.h"

namespace tamvex {

// 100, 102, ..., 114: the resolutions that ActionScript may ask for.
inline bool acceptedResolution(int32_t code) { return code >= 100 && code <= 114 && code % 2 == 0; }
inline bool acceptedViewRotation(int32_t rotation) { return rotation >= 0 && rotation <= 3; }
// The encoder takes no rotation 0.
inline bool acceptedEncoderRotation(int32_t rotation) { return rotation >= 1 && rotation <= 3; }
inline bool acceptedStreamType(int32_t type) { return type >= 0 && type <= 2; }

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
