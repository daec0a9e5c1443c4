// The records that cross the iLive SDK boundary.
// Assumption: each record has the SDK's fields in the SDK's order and with
// its sizes (the 32-bit layout); a frame's pixels and an audio block's
// samples are valid only during the handler call that carries them.
#pragma once

#include <cstdint>

#include "ilive/sdk/sdk_string.h"
#include "ilive/sdk/sdk_vector.h"

namespace ilive {

// Colour formats of video frames.
enum ColorFormat : int32_t {
  COLOR_FORMAT_I420 = 0,
  COLOR_FORMAT_RGB24 = 8,  // packed 24-bit, 3 bytes a pixel
};

// Root view types (iLiveCreateRootView).
enum RootViewType : int32_t {
  ROOT_VIEW_TYPE_GDI = 0,
  ROOT_VIEW_TYPE_D3D = 1,
};

// Video source kinds of a frame.
enum VideoSourceKind : int32_t {
  VIDEO_SRC_UNKNOWN = 0,
  VIDEO_SRC_CAMERA = 1,
  VIDEO_SRC_SCREEN = 2,
  VIDEO_SRC_MEDIA = 3,
};

// Room member events.
enum MemberEvent : int32_t {
  EVENT_MEMBER_ENTER = 1,
  EVENT_MEMBER_EXIT = 2,
  EVENT_CAMERA_ON = 3,
  EVENT_CAMERA_OFF = 4,
  EVENT_AUDIO_ON = 5,
  EVENT_AUDIO_OFF = 6,
  EVENT_SCREEN_ON = 7,
  EVENT_SCREEN_OFF = 8,
  EVENT_MEDIA_ON = 9,
  EVENT_MEDIA_OFF = 10,
};

// One video frame, local or remote (also the frame that external capture hands in).
struct VideoFrame {
  SdkString identifier;  // the user the frame belongs to
  int32_t colorFormat = COLOR_FORMAT_I420;
  uint32_t width = 0;
  uint32_t height = 0;
  uint8_t flag = 0;
  int32_t sourceKind = VIDEO_SRC_CAMERA;
  uint32_t value = 0;     // rotation-like value, passed on as a number
  uint32_t dataSize = 0;  // bytes of pixel data
  uint8_t* data = nullptr;
  uint64_t timestamp = 0;
};

// One audio frame: signed 16-bit little-endian samples.
struct AudioFrame {
  SdkString identifier;  // the speaking user
  uint32_t sampleRate = 0;
  uint32_t channelCount = 1;
  uint32_t bits = 16;
  uint32_t dataSize = 0;
  uint8_t* data = nullptr;
  uint64_t timestamp = 0;
};

// Custom data sent into the stream.
struct CustomData {
  SdkString identifier;
  uint32_t size = 0;
  uint8_t* data = nullptr;
  int32_t kind = 0;
};

// ---- Statistics (delivered to the quality handler of a room) ----

struct NetworkStats {
  uint32_t kbpsSend = 0;
  uint16_t lossRateSend = 0;
  uint16_t lossRateSendUdt = 0;
  uint32_t packetSend = 0;
  uint16_t lossModelSend = 0;
  uint32_t kbpsRecv = 0;
  uint16_t lossRateRecvUdt = 0;
  uint16_t lossRateRecv = 0;
  uint32_t packetRecv = 0;
  uint32_t unsendUdt = 0;
  uint32_t interfaceIP = 0;
  uint16_t interfacePort = 0;
  uint32_t clientIP = 0;
  uint8_t isTcp = 0;
  uint16_t lossModelRecv = 0;
  uint16_t cpuRateApp = 0;
  uint16_t cpuRateSys = 0;
  uint32_t rtt = 0;
  uint16_t udtSMode = 0;
  uint16_t udtRMode = 0;
  uint16_t udtSendq = 0;
  uint16_t udtRecvq = 0;
  uint8_t udtEnable = 0;
};

struct VideoSizeStats {
  uint32_t width = 0;
  uint32_t height = 0;
  uint32_t fps = 0;
};

struct GopStats {
  uint32_t reffrmInterval = 0;
  uint32_t encIFrmNum = 0;
  uint32_t reqIFrmNum = 0;
  uint32_t recvNACKNum = 0;
  uint32_t recvFailedFrmInfNum = 0;
  uint32_t lossrate2S = 0;
  uint32_t weigth20SLossRate = 0;
};

struct VideoEncodeStats {
  uint32_t viewType = 0;
  uint32_t width = 0;
  uint32_t height = 0;
  uint32_t fps = 0;
  uint32_t bitrate = 0;
  uint32_t angle = 0;
  uint32_t encodeType = 0;
  uint32_t hw = 0;
  GopStats gopparam;
};

struct VideoSendStats {
  uint32_t lossRate = 0;
  uint32_t iFec = 0;
  uint32_t spFec = 0;
  uint32_t pkt = 0;
  uint32_t STnSBGainLoss12s = 0;
  uint32_t STnSBDecLostMaxConcal12s = 0;
  uint32_t STnSBBreakSmallBreakContiPlc12s = 0;
};

struct VideoDecodeStats {
  SdkString userId;
  uint32_t viewType = 0;
  uint32_t width = 0;
  uint32_t height = 0;
  uint32_t fps = 0;
  uint32_t bitrate = 0;
  uint32_t hw = 0;
  uint32_t codecType = 0;
  uint32_t hwdecDelay = 0;
};

struct VideoRecvStats {
  float lossRate = 0;
  uint32_t dwJitterR = 0;
  uint32_t dwBRR = 0;
};

struct VideoQosStats {
  uint32_t width = 0;
  uint32_t height = 0;
  uint32_t fps = 0;
  uint32_t bitrate = 0;
  uint32_t encodeType = 0;
  uint32_t minQp = 0;
  uint32_t maxQp = 0;
  uint32_t fectype = 0;
  uint32_t iFecPrecent = 0;
  uint32_t spFecPrecent = 0;
  uint32_t pFecPrecent = 0;
  uint32_t iMtu = 0;
  uint32_t spMtu = 0;
  uint32_t pMtu = 0;
  uint32_t iFecMinPkg = 0;
  uint32_t spFecMinPkg = 0;
  uint32_t pFecMinPkg = 0;
  uint32_t iFecMinSize = 0;
  uint32_t spFecMinSize = 0;
  uint32_t pFecMinSize = 0;
  uint32_t gopType = 0;
  uint32_t gop = 0;
  uint32_t encMode = 0;
  uint32_t hw = 0;
};

struct AudioCaptureStats {
  uint32_t sampleRate = 0;
  uint32_t channelCount = 0;
};

struct AudioEncodeStats {
  uint32_t encodeType = 0;
  uint32_t encodeBitrate = 0;
  uint32_t vad = 0;
};

struct AudioSendStats {
  uint32_t lossRate = 0;
  uint32_t FEC = 0;
  uint32_t jitter = 0;
  uint32_t sendBr = 0;
  uint32_t sendBrUdt = 0;
};

struct AudioDecodeStats {
  SdkString userId;
  uint32_t decodeType = 0;
  uint32_t sampleRate = 0;
  uint32_t channelCount = 0;
};

struct AudioRecvStats {
  uint32_t playDelay = 0;
  uint32_t lossRate = 0;
  uint32_t recvBr = 0;
};

struct AudioQosStats {
  uint32_t sampleRate = 0;
  uint32_t channelCount = 0;
  uint32_t codecType = 0;
  uint32_t bitrate = 0;
  uint8_t aecEnable = 0;
  uint8_t agcEnable = 0;
  uint32_t fec = 0;
  uint32_t vad = 0;
  uint32_t packDuration = 0;
  uint32_t recn = 0;
  uint32_t recm = 0;
  uint32_t audioMtu = 0;
  uint32_t jitterMinDelay = 0;
  uint32_t jitterMinMaxDelay = 0;
  uint32_t jitterMaxMaxDelay = 0;
  uint32_t jitterDropScale = 0;
};

struct Statistics {
  uint64_t tickCountBegin = 0;
  uint64_t tickCountEnd = 0;
  SdkString avsdkVersion;
  uint16_t exeCpuRate = 0;
  uint16_t sysCpuRate = 0;
  NetworkStats networkParams;
  VideoSizeStats videoCaptureParam;
  SdkVector<VideoEncodeStats> videoEncodeParams;
  VideoSendStats videoSendParam;
  SdkVector<VideoDecodeStats> videoDecodeParams;
  SdkVector<VideoRecvStats> videoRecvParams;
  uint8_t isAnchor = 0;
  VideoQosStats videoMainQosParam;
  VideoQosStats videoAuxQosParam;
  AudioCaptureStats audioCaptureParam;
  AudioEncodeStats audioEncodeParams;
  AudioSendStats audioSendParam;
  SdkVector<AudioDecodeStats> audioDecodeParams;
  AudioRecvStats audioRecvParam;
  AudioQosStats audioQosParam;
  uint32_t audioCategory = 0;
};

// ---- Lists filled by the SDK ----

using DeviceInfo = SdkPair<SdkString, SdkString>;  // device id, device name
using WindowHandle = uint32_t;
using WindowInfo = SdkPair<WindowHandle, SdkString>;  // window handle, window title
using StreamRequest = SdkPair<SdkString, int32_t>;    // user id, stream kind

}  // namespace ilive
