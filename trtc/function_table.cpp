// The function table handed to the runtime: 85 named functions in the order
// ActionScript code of earlier releases relies on. Every entry goes through
// core::guarded(), so that nothing a function throws reaches the runtime.
#include "trtc/function_table.h"

#include "core/edge.h"
#include "core/entry.h"
#include "trtc/functions.h"

namespace tamvex {
namespace {

const FRENamedFunction kFunctions[] = {
    ANE_FUNCTION_ENTRY(initTRTCSdk),  // 0
    ANE_FUNCTION_ENTRY(enterRoom),  // 1
    ANE_FUNCTION_ENTRY(exitRoom),  // 2
    ANE_FUNCTION_ENTRY(startLocalPreview),  // 3
    ANE_FUNCTION_ENTRY(stopLocalPreview),  // 4
    ANE_FUNCTION_ENTRY(startRemoteView),  // 5
    ANE_FUNCTION_ENTRY(stopRemoteView),  // 6
    ANE_FUNCTION_ENTRY(stopAllRemoteView),  // 7
    ANE_FUNCTION_ENTRY(muteLocalVideo),  // 8
    ANE_FUNCTION_ENTRY(setVideoEncoderParam),  // 9
    ANE_FUNCTION_ENTRY(setNetworkQosParam),  // 10
    ANE_FUNCTION_ENTRY(setLocalViewFillMode),  // 11
    ANE_FUNCTION_ENTRY(setRemoteViewFillMode),  // 12
    ANE_FUNCTION_ENTRY(setLocalViewRotation),  // 13
    ANE_FUNCTION_ENTRY(setRemoteViewRotation),  // 14
    ANE_FUNCTION_ENTRY(setVideoEncoderRotation),  // 15
    ANE_FUNCTION_ENTRY(setLocalViewMirror),  // 16
    ANE_FUNCTION_ENTRY(setVideoEncoderMirror),  // 17
    ANE_FUNCTION_ENTRY(enableSmallVideoStream),  // 18
    ANE_FUNCTION_ENTRY(setRemoteVideoStreamType),  // 19
    ANE_FUNCTION_ENTRY(setPriorRemoteVideoStreamType),  // 20
    ANE_FUNCTION_ENTRY(startLocalAudio),  // 21
    ANE_FUNCTION_ENTRY(stopLocalAudio),  // 22
    ANE_FUNCTION_ENTRY(muteLocalAudio),  // 23
    ANE_FUNCTION_ENTRY(muteRemoteAudio),  // 24
    ANE_FUNCTION_ENTRY(muteAllRemoteAudio),  // 25
    ANE_FUNCTION_ENTRY(enableAudioVolumeEvaluation),  // 26
    ANE_FUNCTION_ENTRY(setBeautyStyle),  // 27
    ANE_FUNCTION_ENTRY(startRemoteSubStreamView),  // 28
    ANE_FUNCTION_ENTRY(stopRemoteSubStreamView),  // 29
    ANE_FUNCTION_ENTRY(getScreenCaptureSources),  // 30
    ANE_FUNCTION_ENTRY(getScreenCaptureTargetThumb),  // 31
    ANE_FUNCTION_ENTRY(selectScreenCaptureTarget),  // 32
    ANE_FUNCTION_ENTRY(startScreenCapture),  // 33
    ANE_FUNCTION_ENTRY(pauseScreenCapture),  // 34
    ANE_FUNCTION_ENTRY(resumeScreenCapture),  // 35
    ANE_FUNCTION_ENTRY(stopScreenCapture),  // 36
    ANE_FUNCTION_ENTRY(setSubStreamEncoderParam),  // 37
    ANE_FUNCTION_ENTRY(setSubStreamMixVolume),  // 38
    ANE_FUNCTION_ENTRY(getCameraDevicesList),  // 39
    ANE_FUNCTION_ENTRY(setCurrentCameraDevice),  // 40
    ANE_FUNCTION_ENTRY(getCurrentCameraDevice),  // 41
    ANE_FUNCTION_ENTRY(getMicDevicesList),  // 42
    ANE_FUNCTION_ENTRY(setCurrentMicDevice),  // 43
    ANE_FUNCTION_ENTRY(getCurrentMicDevice),  // 44
    ANE_FUNCTION_ENTRY(getCurrentMicDeviceVolume),  // 45
    ANE_FUNCTION_ENTRY(setCurrentMicDeviceVolume),  // 46
    ANE_FUNCTION_ENTRY(getSpeakerDevicesList),  // 47
    ANE_FUNCTION_ENTRY(setCurrentSpeakerDevice),  // 48
    ANE_FUNCTION_ENTRY(getCurrentSpeakerDevice),  // 49
    ANE_FUNCTION_ENTRY(getCurrentSpeakerVolume),  // 50
    ANE_FUNCTION_ENTRY(setCurrentSpeakerVolume),  // 51
    ANE_FUNCTION_ENTRY(setLocalVideoRenderCallback),  // 52
    ANE_FUNCTION_ENTRY(setRemoteVideoRenderCallback),  // 53
    ANE_FUNCTION_ENTRY(startSpeedTest),  // 54
    ANE_FUNCTION_ENTRY(stopSpeedTest),  // 55
    ANE_FUNCTION_ENTRY(getSdkVersion),  // 56
    ANE_FUNCTION_ENTRY(setConsoleEnabled),  // 57
    ANE_FUNCTION_ENTRY(setLogCompressEnabled),  // 58
    ANE_FUNCTION_ENTRY(setLogPath),  // 59
    ANE_FUNCTION_ENTRY(showDebugView),  // 60
    ANE_FUNCTION_ENTRY(getVideoData),  // 61
    ANE_FUNCTION_ENTRY(getAudioData),  // 62
    ANE_FUNCTION_ENTRY(dispose),  // 63
    ANE_FUNCTION_ENTRY(TXLivePusher_createTXLivePusher),  // 64
    ANE_FUNCTION_ENTRY(TXLivePusher_destroyTXLivePusher),  // 65
    ANE_FUNCTION_ENTRY(TXLivePusher_startPush),  // 66
    ANE_FUNCTION_ENTRY(TXLivePusher_stopPush),  // 67
    ANE_FUNCTION_ENTRY(TXLivePusher_startAudioCapture),  // 68
    ANE_FUNCTION_ENTRY(TXLivePusher_stopAudioCapture),  // 69
    ANE_FUNCTION_ENTRY(TXLivePusher_getMicDevicesList),  // 70
    ANE_FUNCTION_ENTRY(TXLivePusher_selectMicDevice),  // 71
    ANE_FUNCTION_ENTRY(TXLivePusher_setMute),  // 72
    ANE_FUNCTION_ENTRY(TXLivePusher_micVolume),  // 73
    ANE_FUNCTION_ENTRY(TXLivePusher_setMicVolume),  // 74
    ANE_FUNCTION_ENTRY(ITXLivePlayer_createTXLivePlayer),  // 75
    ANE_FUNCTION_ENTRY(ITXLivePlayer_destroyTXLivePlayer),  // 76
    ANE_FUNCTION_ENTRY(ITXLivePlayer_startPlay),  // 77
    ANE_FUNCTION_ENTRY(ITXVodPlayer_createTXVodPlayer),  // 78
    ANE_FUNCTION_ENTRY(ITXVodPlayer_destroyTXVodPlayer),  // 79
    ANE_FUNCTION_ENTRY(ITXVodPlayer_start),  // 80
    ANE_FUNCTION_ENTRY(ITXVodPlayer_pause),  // 81
    ANE_FUNCTION_ENTRY(ITXVodPlayer_resume),  // 82
    ANE_FUNCTION_ENTRY(ITXVodPlayer_stop),  // 83
    ANE_FUNCTION_ENTRY(ITXVodPlayer_seek),  // 84
};

}  // namespace

const core::FunctionTable kFunctionTable = core::tableOf<85>(kFunctions);

}  // namespace tamvex
