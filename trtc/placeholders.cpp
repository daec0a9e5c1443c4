// Functions not written yet: each answers null until it is implemented in
// the file that functions.h names for it (then it is deleted from here).
// setLocalVideoRenderCallback and setRemoteVideoRenderCallback live in
// render_store.cpp with the frame store they feed.
#include "trtc/functions.h"
#include "trtc/rtc_manager.h"

namespace tamvex {

#define PLACEHOLDER(name) \
  TAMVEX_FUNCTION(name) { \
    (void)ctx, (void)functionData, (void)argc, (void)argv; \
    return nullptr; \
  }

PLACEHOLDER(enterRoom)
PLACEHOLDER(exitRoom)
PLACEHOLDER(startLocalPreview)
PLACEHOLDER(stopLocalPreview)
PLACEHOLDER(startRemoteView)
PLACEHOLDER(stopRemoteView)
PLACEHOLDER(stopAllRemoteView)
PLACEHOLDER(muteLocalVideo)
PLACEHOLDER(setVideoEncoderParam)
PLACEHOLDER(setNetworkQosParam)
PLACEHOLDER(setLocalViewFillMode)
PLACEHOLDER(setRemoteViewFillMode)
PLACEHOLDER(setLocalViewRotation)
PLACEHOLDER(setRemoteViewRotation)
PLACEHOLDER(setVideoEncoderRotation)
PLACEHOLDER(setLocalViewMirror)
PLACEHOLDER(setVideoEncoderMirror)
PLACEHOLDER(enableSmallVideoStream)
PLACEHOLDER(setRemoteVideoStreamType)
PLACEHOLDER(setPriorRemoteVideoStreamType)
PLACEHOLDER(startLocalAudio)
PLACEHOLDER(stopLocalAudio)
PLACEHOLDER(muteLocalAudio)
PLACEHOLDER(muteRemoteAudio)
PLACEHOLDER(muteAllRemoteAudio)
PLACEHOLDER(enableAudioVolumeEvaluation)
PLACEHOLDER(setBeautyStyle)
PLACEHOLDER(startRemoteSubStreamView)
PLACEHOLDER(stopRemoteSubStreamView)
PLACEHOLDER(getScreenCaptureSources)
PLACEHOLDER(getScreenCaptureTargetThumb)
PLACEHOLDER(selectScreenCaptureTarget)
PLACEHOLDER(startScreenCapture)
PLACEHOLDER(pauseScreenCapture)
PLACEHOLDER(resumeScreenCapture)
PLACEHOLDER(stopScreenCapture)
PLACEHOLDER(setSubStreamEncoderParam)
PLACEHOLDER(setSubStreamMixVolume)
PLACEHOLDER(getCameraDevicesList)
PLACEHOLDER(setCurrentCameraDevice)
PLACEHOLDER(getCurrentCameraDevice)
PLACEHOLDER(getMicDevicesList)
PLACEHOLDER(setCurrentMicDevice)
PLACEHOLDER(getCurrentMicDevice)
PLACEHOLDER(getCurrentMicDeviceVolume)
PLACEHOLDER(setCurrentMicDeviceVolume)
PLACEHOLDER(getSpeakerDevicesList)
PLACEHOLDER(setCurrentSpeakerDevice)
PLACEHOLDER(getCurrentSpeakerDevice)
PLACEHOLDER(getCurrentSpeakerVolume)
PLACEHOLDER(setCurrentSpeakerVolume)
PLACEHOLDER(startSpeedTest)
PLACEHOLDER(stopSpeedTest)
PLACEHOLDER(getSdkVersion)
PLACEHOLDER(setConsoleEnabled)
PLACEHOLDER(setLogCompressEnabled)
PLACEHOLDER(setLogPath)
PLACEHOLDER(showDebugView)
PLACEHOLDER(TXLivePusher_createTXLivePusher)
PLACEHOLDER(TXLivePusher_destroyTXLivePusher)
PLACEHOLDER(TXLivePusher_startPush)
PLACEHOLDER(TXLivePusher_stopPush)
PLACEHOLDER(TXLivePusher_startAudioCapture)
PLACEHOLDER(TXLivePusher_stopAudioCapture)
PLACEHOLDER(TXLivePusher_getMicDevicesList)
PLACEHOLDER(TXLivePusher_selectMicDevice)
PLACEHOLDER(TXLivePusher_setMute)
PLACEHOLDER(TXLivePusher_micVolume)
PLACEHOLDER(TXLivePusher_setMicVolume)
PLACEHOLDER(ITXLivePlayer_createTXLivePlayer)
PLACEHOLDER(ITXLivePlayer_destroyTXLivePlayer)
PLACEHOLDER(ITXLivePlayer_startPlay)
PLACEHOLDER(ITXVodPlayer_createTXVodPlayer)
PLACEHOLDER(ITXVodPlayer_destroyTXVodPlayer)
PLACEHOLDER(ITXVodPlayer_start)
PLACEHOLDER(ITXVodPlayer_pause)
PLACEHOLDER(ITXVodPlayer_resume)
PLACEHOLDER(ITXVodPlayer_stop)
PLACEHOLDER(ITXVodPlayer_seek)

// Disposal hooks (see rtc_manager.h); players.cpp and screen_capture.cpp take them over.
void forgetHandles() {}
void releaseScreenList() {}

}  // namespace tamvex
