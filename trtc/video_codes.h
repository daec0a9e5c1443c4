// The numbers that the room, view, render-callback and screen-capture
// functions take from ActionScript or show it, in groups, and the records
// built from them. Accepted values reach the SDK unchanged.
#pragma once

#include <cstdint>

#include "trtc/sdk/liteav.h"

namespace tamvex {

// The stream codes renderers are bound by and that events and pulls show:
// the big stream (bound when the SDK announces it: core::routeRemote's
// announced kind), the sub stream (screen sharing), the small stream, and
// kNoStream for what has no renderer (audio, an unknown stream type).
constexpr int32_t kNoStream = 0;      // no video stream
constexpr int32_t kBigStream = 1;     // the big (main) stream
constexpr int32_t kSubStream = 2;     // the sub stream (screen sharing)
constexpr int32_t kSmallStream = 10;  // the small stream

// The stream code of an SDK stream type (kNoStream for an unknown one).
inline int32_t streamCodeOf(int streamType) {
  switch (streamType) {
    case TRTCVideoStreamTypeBig: return kBigStream;
    case TRTCVideoStreamTypeSmall: return kSmallStream;
    case TRTCVideoStreamTypeSub: return kSubStream;
    default: return kNoStream;
  }
}

// Pixel formats that the render-callback registrations take: I420, a 2-D
// texture and BGRA as the SDK numbers them; any other number is sent as
// kPixelFormatUnknown.
constexpr int32_t kPixelFormatUnknown = 0;    // what any other number is sent as
constexpr int32_t kPixelFormatI420 = 1;       // planar 4:2:0
constexpr int32_t kPixelFormatTexture2D = 2;  // a 2-D texture
constexpr int32_t kPixelFormatBgra32 = 3;     // 4 bytes a pixel, blue first
static_assert(kPixelFormatUnknown == TRTCVideoPixelFormat_Unknown && kPixelFormatI420 == TRTCVideoPixelFormat_I420 &&
                  kPixelFormatTexture2D == TRTCVideoPixelFormat_Texture_2D &&
                  kPixelFormatBgra32 == TRTCVideoPixelFormat_BGRA32,
              "pixel formats reach the SDK unchanged");

// Buffer types that the render-callback registrations take; any other number
// is sent as kBufferTypeUnknown.
constexpr int32_t kBufferTypeUnknown = 0;  // what any other number is sent as
constexpr int32_t kBufferTypeBuffer = 1;   // frames in memory
constexpr int32_t kBufferTypeTexture = 3;  // frames as textures
static_assert(kBufferTypeUnknown == TRTCVideoBufferType_Unknown && kBufferTypeBuffer == TRTCVideoBufferType_Buffer &&
                  kBufferTypeTexture == TRTCVideoBufferType_Texture,
              "buffer types reach the SDK unchanged");

// The switch of the render-callback registrations: kRenderCallbackOn
// registers the extension's callback, any other number removes it.
constexpr int32_t kRenderCallbackOff = 0;  // removes the registration (any number but 1)
constexpr int32_t kRenderCallbackOn = 1;   // registers the callback

// The pixel format a registration sends for what ActionScript gave.
inline TRTCVideoPixelFormat pixelFormatOf(int32_t value) {
  return value == kPixelFormatI420 || value == kPixelFormatTexture2D || value == kPixelFormatBgra32
             ? static_cast<TRTCVideoPixelFormat>(value)
             : TRTCVideoPixelFormat_Unknown;
}

// The buffer type a registration sends for what ActionScript gave.
inline TRTCVideoBufferType bufferTypeOf(int32_t value) {
  return value == kBufferTypeBuffer || value == kBufferTypeTexture ? static_cast<TRTCVideoBufferType>(value)
                                                                   : TRTCVideoBufferType_Unknown;
}

// Encoder resolutions that ActionScript may ask for: the SDK's 16:9 codes
// 100 (160 x 90), 102, ..., 114 (1920 x 1080), every second number.
constexpr int32_t kFirstResolution = 100;  // 160 x 90
constexpr int32_t kLastResolution = 114;   // 1920 x 1080
constexpr int32_t kResolutionStep = 2;     // between two neighbouring codes
static_assert(kFirstResolution == TRTCVideoResolution_160_90 && kLastResolution == TRTCVideoResolution_1920_1080,
              "resolutions reach the SDK unchanged");
// Each accepted code by its size, width x height of a landscape picture.
constexpr int32_t kResolution160x90 = kFirstResolution;
constexpr int32_t kResolution256x144 = 102;
constexpr int32_t kResolution320x180 = 104;
constexpr int32_t kResolution480x270 = 106;
constexpr int32_t kResolution640x360 = 108;
constexpr int32_t kResolution960x540 = 110;
constexpr int32_t kResolution1280x720 = 112;
constexpr int32_t kResolution1920x1080 = kLastResolution;
static_assert(kResolution256x144 == TRTCVideoResolution_256_144 && kResolution320x180 == TRTCVideoResolution_320_180 &&
                  kResolution480x270 == TRTCVideoResolution_480_270 &&
                  kResolution640x360 == TRTCVideoResolution_640_360 &&
                  kResolution960x540 == TRTCVideoResolution_960_540 &&
                  kResolution1280x720 == TRTCVideoResolution_1280_720,
              "resolutions reach the SDK unchanged");

// Resolution modes of the encoder records: 0 landscape, any other number portrait.
constexpr int32_t kResolutionModeLandscape = 0;  // wider than high
constexpr int32_t kResolutionModePortrait = 1;   // higher than wide (any number but 0)

// Rotations, clockwise, as the SDK numbers them; the views take all four,
// the encoder all but kRotation0.
constexpr int32_t kRotation0 = 0;    // upright
constexpr int32_t kRotation90 = 1;   // a quarter turn
constexpr int32_t kRotation180 = 2;  // a half turn
constexpr int32_t kRotation270 = 3;  // three quarter turns
static_assert(kRotation0 == TRTCVideoRotation0 && kRotation270 == TRTCVideoRotation270,
              "rotations reach the SDK unchanged");

// Stream types as the SDK numbers them: what the stream-type settings take
// (and what render callbacks name before streamCodeOf makes a stream code).
constexpr int32_t kStreamTypeBig = 0;    // the big (main) stream
constexpr int32_t kStreamTypeSmall = 1;  // the small stream
constexpr int32_t kStreamTypeSub = 2;    // the sub stream (screen sharing)
static_assert(kStreamTypeBig == TRTCVideoStreamTypeBig && kStreamTypeSmall == TRTCVideoStreamTypeSmall &&
                  kStreamTypeSub == TRTCVideoStreamTypeSub,
              "stream types reach the SDK unchanged");

// View fill modes: 0 fills the view, any other number fits the picture in it.
constexpr int32_t kFillModeFill = 0;  // the picture fills the view, cut where it must be
constexpr int32_t kFillModeFit = 1;   // the whole picture in the view (any number but 0)

inline TRTCVideoFillMode fillModeOf(int32_t mode) {
  return mode != kFillModeFill ? TRTCVideoFillMode_Fit : TRTCVideoFillMode_Fill;
}

// Network settings: the preference (kQosSmooth, any other number clear) and
// the control mode (0 the client's, any other number the server's).
constexpr int32_t kQosClear = 0;          // a clear picture first (any number but 1)
constexpr int32_t kQosSmooth = 1;         // smooth motion first
constexpr int32_t kQosControlClient = 0;  // the client controls
constexpr int32_t kQosControlServer = 1;  // the server controls (any number but 0)

// Beauty styles: 0 smooth, any other number nature.
constexpr int32_t kBeautySmooth = 0;  // the smoothing style
constexpr int32_t kBeautyNature = 1;  // the natural style (any number but 0)

// Screen-capture source types as the source listing shows them: the SDK's
// window, screen and custom, and kSourceTypeUnknown for any other.
constexpr int32_t kSourceTypeUnknown = -1;  // a type the extension does not know
constexpr int32_t kSourceTypeWindow = 0;    // a window
constexpr int32_t kSourceTypeScreen = 1;    // a whole screen
constexpr int32_t kSourceTypeCustom = 2;    // a source the application defines
static_assert(kSourceTypeUnknown == TRTCScreenCaptureSourceTypeUnknown &&
                  kSourceTypeWindow == TRTCScreenCaptureSourceTypeWindow &&
                  kSourceTypeScreen == TRTCScreenCaptureSourceTypeScreen &&
                  kSourceTypeCustom == TRTCScreenCaptureSourceTypeCustom,
              "source types are shown as the SDK numbers them");

inline bool acceptedResolution(int32_t code) {
  return code >= kFirstResolution && code <= kLastResolution && (code - kFirstResolution) % kResolutionStep == 0;
}
inline bool acceptedViewRotation(int32_t rotation) { return rotation >= kRotation0 && rotation <= kRotation270; }
// The encoder takes no rotation 0.
inline bool acceptedEncoderRotation(int32_t rotation) { return rotation >= kRotation90 && rotation <= kRotation270; }
inline bool acceptedStreamType(int32_t type) { return type >= kStreamTypeBig && type <= kStreamTypeSub; }

// The encoder record, or false when the resolution code is refused.
inline bool makeEncoderParam(int32_t resolution, int32_t mode, int32_t fps, int32_t bitrate, TRTCVideoEncParam* out) {
  if (!acceptedResolution(resolution)) return false;
  out->videoResolution = static_cast<TRTCVideoResolution>(resolution);
  out->resMode = mode != kResolutionModeLandscape ? TRTCVideoResolutionModePortrait : TRTCVideoResolutionModeLandscape;
  out->videoFps = static_cast<uint32_t>(fps);
  out->videoBitrate = static_cast<uint32_t>(bitrate);
  return true;
}

}  // namespace tamvex
