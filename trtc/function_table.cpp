// The function table handed to the runtime: 85 named functions in the order
// ActionScript code of earlier releases relies on. Every entry goes through
// core::guarded(), so that nothing a function throws reaches the runtime.
#include "core/edge.h"
#include "trtc/functions.h"

namespace tamvex {
#define ENTRY(name) ANE_FUNCTION_ENTRY(name)

const FRENamedFunction kFunctionTable[] = {
    ENTRY(initTRTCSdk),  // 0
    ENTRY(enterRoom),  // 1
    ENTRY(exitRoom),  // 2
    ENTRY(startLocalPreview),  // 3
    ENTRY(stopLocalPreview),  // 4
    ENTRY(startRemoteView),  // 5
    ENTRY(stopRemoteView),  // 6
    ENTRY(stopAllRemoteView),  // 7
    ENTRY(muteLocalVideo),  // 8
    ENTRY(setVideoEncoderParam),  // 9
    ENTRY(setNetworkQosParam),  // 10
    ENTRY(setLocalViewFillMode),  // 11
    ENTRY(setRemoteViewFillMode),  // 12
    ENTRY(setLocalViewRotation),  // 13
    ENTRY(setRemoteViewRotation),  // 14
    ENTRY(setVideoEncoderRotation),  // 15
    ENTRY(setLocalViewMirror),  // 16
    ENTRY(setVideoEncoderMirror),  // 17
    ENTRY(enableSmallVideoStream),  // 18
    ENTRY(setRemoteVideoStreamType),  // 19
    ENTRY(setPriorRemoteVideoStreamType),  // 20
    ENTRY(startLocalAudio),  // 21
    ENTRY(stopLocalAudio),  // 22
    ENTRY(muteLocalAudio),  // 23
    ENTRY(muteRemoteAudio),  // 24
    ENTRY(muteAllRemoteAudio),  // 25
    ENTRY(enableAudioVolumeEvaluation),  // 26
    ENTRY(setBeautyStyle),  // 27
    ENTRY(startRemoteSubStreamView),  // 28
    ENTRY(stopRemoteSubStreamView),  // 29
    ENTRY(getScreenCaptureSources),  // 30
    ENTRY(getScreenCaptureTargetThumb),  // 31
    ENTRY(selectScreenCaptureTarget),  // 32
    ENTRY(startScreenCapture),  // 33
    ENTRY(pauseScreenCapture),  // 34
    ENTRY(resumeScreenCapture),  // 35
    ENTRY(stopScreenCapture),  // 36
    ENTRY(setSubStreamEncoderParam),  // 37
    ENTRY(setSubStreamMixVolume),  // 38
    ENTRY(getCameraDevicesList),  // 39
    ENTRY(setCurrentCameraDevice),  // 40
    ENTRY(getCurrentCameraDevice),  // 41
    ENTRY(getMicDevicesList),  // 42
    ENTRY(setCurrentMicDevice),  // 43
    ENTRY(getCurrentMicDevice),  // 44
    ENTRY(getCurrentMicDeviceVolume),  // 45
    ENTRY(setCurrentMicDeviceVolume),  // 46
    ENTRY(getSpeakerDevicesList),  // 47
    ENTRY(setCurrentSpeakerDevice),  // 48
    ENTRY(getCurrentSpeakerDevice),  // 49
    ENTRY(getCurrentSpeakerVolume),  // 50
    ENTRY(setCurrentSpeakerVolume),  // 51
    ENTRY(setLocalVideoRenderCallback),  // 52
    ENTRY(setRemoteVideoRenderCallback),  // 53
    ENTRY(startSpeedTest),  // 54
    ENTRY(stopSpeedTest),  // 55
    ENTRY(getSdkVersion),  // 56
    ENTRY(setConsoleEnabled),  // 57
    ENTRY(setLogCompressEnabled),  // 58
    ENTRY(setLogPath),  // 59
    ENTRY(showDebugView),  // 60
    ENTRY(getVideoData),  // 61
    ENTRY(getAudioData),  // 62
    ENTRY(dispose),  // 63
    ENTRY(TXLivePusher_createTXLivePusher),  // 64
    ENTRY(TXLivePusher_destroyTXLivePusher),  // 65
    ENTRY(TXLivePusher_startPush),  // 66
    ENTRY(TXLivePusher_stopPush),  // 67
    ENTRY(TXLivePusher_startAudioCapture),  // 68
    ENTRY(TXLivePusher_stopAudioCapture),  // 69
    ENTRY(TXLivePusher_getMicDevicesList),  // 70
    ENTRY(TXLivePusher_selectMicDevice),  // 71
    ENTRY(TXLivePusher_setMute),  // 72
    ENTRY(TXLivePusher_micVolume),  // 73
    ENTRY(TXLivePusher_setMicVolume),  // 74
    ENTRY(ITXLivePlayer_createTXLivePlayer),  // 75
    ENTRY(ITXLivePlayer_destroyTXLivePlayer),  // 76
    ENTRY(ITXLivePlayer_startPlay),  // 77
    ENTRY(ITXVodPlayer_createTXVodPlayer),  // 78
    ENTRY(ITXVodPlayer_destroyTXVodPlayer),  // 79
    ENTRY(ITXVodPlayer_start),  // 80
    ENTRY(ITXVodPlayer_pause),  // 81
    ENTRY(ITXVodPlayer_resume),  // 82
    ENTRY(ITXVodPlayer_stop),  // 83
    ENTRY(ITXVodPlayer_seek),  // 84
};

#undef ENTRY

const uint32_t kFunctionCount = sizeof(kFunctionTable) / sizeof(kFunctionTable[0]);
static_assert(sizeof(kFunctionTable) / sizeof(kFunctionTable[0]) == 85, "Tamvex has 85 functions");

}  // namespace tamvex
