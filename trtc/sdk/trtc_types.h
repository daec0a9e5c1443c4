// Records and codes of the TRTC / LiteAV SDK as Tamvex uses them.
// Assumption: every record is passed by reference (or returned by value), has
// the SDK's fields in its order, and is valid only during the call; texts are
// UTF-8 and owned by whoever passes them.
// Assumption: enumerations are 32 bits wide, and the SDK may report codes
// that are not in the lists.
#pragma once

#include <cstdint>

// A native window handle; Tamvex never opens a window and always passes null.
typedef void* TXView;

// Width and height in pixels (the layout of Win32 SIZE).
struct TXSize {
  int32_t cx = 0;
  int32_t cy = 0;
};

// A rectangle in pixels (the layout of Win32 RECT).
struct TXRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
};

enum TRTCAppScene : int {
  TRTCAppSceneVideoCall = 0,
  TRTCAppSceneLIVE = 1,
};

enum TRTCRoleType : int {
  TRTCRoleAnchor = 20,
  TRTCRoleAudience = 21,
};

enum TRTCVideoStreamType : int {
  TRTCVideoStreamTypeBig = 0,
  TRTCVideoStreamTypeSmall = 1,
  TRTCVideoStreamTypeSub = 2,
};

enum TRTCVideoPixelFormat : int {
  TRTCVideoPixelFormat_Unknown = 0,
  TRTCVideoPixelFormat_I420 = 1,
  TRTCVideoPixelFormat_Texture_2D = 2,
  TRTCVideoPixelFormat_BGRA32 = 3,
};

enum TRTCVideoBufferType : int {
  TRTCVideoBufferType_Unknown = 0,
  TRTCVideoBufferType_Buffer = 1,
  TRTCVideoBufferType_Texture = 3,
};

enum TRTCVideoResolution : int {
  TRTCVideoResolution_120_120 = 1,
  TRTCVideoResolution_160_160 = 3,
  TRTCVideoResolution_270_270 = 5,
  TRTCVideoResolution_480_480 = 7,
  TRTCVideoResolution_160_120 = 50,
  TRTCVideoResolution_240_180 = 52,
  TRTCVideoResolution_280_210 = 54,
  TRTCVideoResolution_320_240 = 56,
  TRTCVideoResolution_400_300 = 58,
  TRTCVideoResolution_480_360 = 60,
  TRTCVideoResolution_640_480 = 62,
  TRTCVideoResolution_960_720 = 64,
  TRTCVideoResolution_160_90 = 100,
  TRTCVideoResolution_256_144 = 102,
  TRTCVideoResolution_320_180 = 104,
  TRTCVideoResolution_480_270 = 106,
  TRTCVideoResolution_640_360 = 108,
  TRTCVideoResolution_960_540 = 110,
  TRTCVideoResolution_1280_720 = 112,
  TRTCVideoResolution_1920_1080 = 114,
};

enum TRTCVideoResolutionMode : int {
  TRTCVideoResolutionModeLandscape = 0,
  TRTCVideoResolutionModePortrait = 1,
};

enum TRTCVideoRotation : int {
  TRTCVideoRotation0 = 0,
  TRTCVideoRotation90 = 1,
  TRTCVideoRotation180 = 2,
  TRTCVideoRotation270 = 3,
};

enum TRTCVideoFillMode : int {
  TRTCVideoFillMode_Fill = 0,
  TRTCVideoFillMode_Fit = 1,
};

enum TRTCBeautyStyle : int {
  TRTCBeautyStyleSmooth = 0,
  TRTCBeautyStyleNature = 1,
};

enum TRTCVideoQosPreference : int {
  TRTCVideoQosPreferenceSmooth = 1,
  TRTCVideoQosPreferenceClear = 2,
};

enum TRTCQosControlMode : int {
  TRTCQosControlModeClient = 0,
  TRTCQosControlModeServer = 1,
};

enum TRTCQuality : int {
  TRTCQuality_Unknown = 0,
  TRTCQuality_Excellent = 1,
  TRTCQuality_Good = 2,
  TRTCQuality_Poor = 3,
  TRTCQuality_Bad = 4,
  TRTCQuality_Vbad = 5,
  TRTCQuality_Down = 6,
};

enum TRTCDeviceType : int {
  TRTCDeviceTypeUnknow = -1,
  TRTCDeviceTypeMic = 0,
  TRTCDeviceTypeSpeaker = 1,
  TRTCDeviceTypeCamera = 2,
};

enum TRTCDeviceState : int {
  TRTCDeviceStateAdd = 0,
  TRTCDeviceStateRemove = 1,
  TRTCDeviceStateActive = 2,
};

enum TRTCScreenCaptureSourceType : int32_t {
  TRTCScreenCaptureSourceTypeUnknown = -1,
  TRTCScreenCaptureSourceTypeWindow = 0,
  TRTCScreenCaptureSourceTypeScreen = 1,
  TRTCScreenCaptureSourceTypeCustom = 2,
};

enum TRTCAudioFrameFormat : int {
  TRTCAudioFrameFormatNone = 0,
  TRTCAudioFrameFormatPCM = 1,
};

// Entering a room: seven 32-bit words on the 32-bit platform.
struct TRTCParams {
  uint32_t sdkAppId = 0;
  const char* userId = nullptr;
  const char* userSig = nullptr;
  uint32_t roomId = 0;
  TRTCRoleType role = TRTCRoleAnchor;
  const char* privateMapKey = nullptr;
  const char* businessInfo = nullptr;
};

// Video encoder settings (main stream, small stream and sub stream).
struct TRTCVideoEncParam {
  TRTCVideoResolution videoResolution = TRTCVideoResolution_640_360;
  TRTCVideoResolutionMode resMode = TRTCVideoResolutionModeLandscape;
  uint32_t videoFps = 15;
  uint32_t videoBitrate = 550;
};

// Network quality preference.
struct TRTCNetworkQosParam {
  TRTCVideoQosPreference preference = TRTCVideoQosPreferenceClear;
  TRTCQosControlMode controlMode = TRTCQosControlModeServer;
};

// One video frame handed to a render callback.
// Assumption: data holds `length` bytes, valid only during the callback;
// I420: Y (stride width), then U and V (stride width / 2); BGRA32: width x 4
// bytes a row.
struct TRTCVideoFrame {
  TRTCVideoPixelFormat videoFormat = TRTCVideoPixelFormat_Unknown;
  TRTCVideoBufferType bufferType = TRTCVideoBufferType_Unknown;
  char* data = nullptr;
  int textureId = 0;
  uint32_t length = 0;
  uint32_t width = 0;
  uint32_t height = 0;
  uint64_t timestamp = 0;
  TRTCVideoRotation rotation = TRTCVideoRotation0;
};

// One block of PCM audio handed to an audio frame callback.
struct TRTCAudioFrame {
  TRTCAudioFrameFormat audioFormat = TRTCAudioFrameFormatNone;
  char* data = nullptr;
  uint32_t length = 0;
  uint32_t sampleRate = 0;
  uint32_t channel = 0;
  uint64_t timestamp = 0;
};

// One entry of a volume report; userId is empty for the local user.
struct TRTCVolumeInfo {
  const char* userId = nullptr;
  uint32_t volume = 0;
};

// One result of a network speed test.
struct TRTCSpeedTestResult {
  const char* ip = nullptr;
  TRTCQuality quality = TRTCQuality_Unknown;
  float upLostRate = 0.0f;
  float downLostRate = 0.0f;
  int rtt = 0;
};

// Network quality of one user (empty id: the local user).
struct TRTCQualityInfo {
  const char* userId = nullptr;
  TRTCQuality quality = TRTCQuality_Unknown;
};

// A statistics snapshot of the room.
struct TRTCStatistics {
  uint32_t upLoss = 0;
  uint32_t downLoss = 0;
  uint32_t appCpu = 0;
  uint32_t systemCpu = 0;
  uint32_t rtt = 0;
  uint32_t receivedBytes = 0;
  uint32_t sentBytes = 0;
};

// An image of a screen-capture source.
// Assumption: 4 bytes a pixel (blue, green, red, alpha), rows top first;
// `length` bytes behind `buffer`, owned by the source list.
struct TRTCImageBuffer {
  const char* buffer = nullptr;
  uint32_t length = 0;
  uint32_t width = 0;
  uint32_t height = 0;
};

// A window or screen that can be captured into the sub stream.
struct TRTCScreenCaptureSourceInfo {
  TRTCScreenCaptureSourceType type = TRTCScreenCaptureSourceTypeUnknown;
  TXView sourceId = nullptr;
  const char* sourceName = nullptr;
  TRTCImageBuffer thumbBGRA;
  TRTCImageBuffer iconBGRA;
};
