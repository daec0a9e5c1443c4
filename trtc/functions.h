// The 85 ActionScript functions of Tamvex, grouped by the file that holds them.
// Each has the runtime's function shape and runs on the AIR main thread.
#pragma once

#include <cstdint>

#include "FlashRuntimeExtensions.h"
#include "core/edge.h"

namespace tamvex {

// startup.cpp
ANE_FUNCTION(initTRTCSdk);
ANE_FUNCTION(dispose);

// frames.cpp: frame delivery and the render-callback registrations
ANE_FUNCTION(getVideoData);
ANE_FUNCTION(getAudioData);
ANE_FUNCTION(setLocalVideoRenderCallback);
ANE_FUNCTION(setRemoteVideoRenderCallback);

// rooms.cpp
ANE_FUNCTION(enterRoom);
ANE_FUNCTION(exitRoom);
ANE_FUNCTION(startLocalPreview);
ANE_FUNCTION(stopLocalPreview);
ANE_FUNCTION(startRemoteView);
ANE_FUNCTION(stopRemoteView);
ANE_FUNCTION(stopAllRemoteView);
ANE_FUNCTION(muteLocalVideo);
ANE_FUNCTION(setVideoEncoderParam);
ANE_FUNCTION(setNetworkQosParam);
ANE_FUNCTION(setLocalViewFillMode);
ANE_FUNCTION(setRemoteViewFillMode);
ANE_FUNCTION(setLocalViewRotation);
ANE_FUNCTION(setRemoteViewRotation);
ANE_FUNCTION(setVideoEncoderRotation);
ANE_FUNCTION(setLocalViewMirror);
ANE_FUNCTION(setVideoEncoderMirror);
ANE_FUNCTION(enableSmallVideoStream);
ANE_FUNCTION(setRemoteVideoStreamType);
ANE_FUNCTION(setPriorRemoteVideoStreamType);
ANE_FUNCTION(startLocalAudio);
ANE_FUNCTION(stopLocalAudio);
ANE_FUNCTION(muteLocalAudio);
ANE_FUNCTION(muteRemoteAudio);
ANE_FUNCTION(muteAllRemoteAudio);
ANE_FUNCTION(enableAudioVolumeEvaluation);
ANE_FUNCTION(setBeautyStyle);
ANE_FUNCTION(startRemoteSubStreamView);
ANE_FUNCTION(stopRemoteSubStreamView);

// screen_capture.cpp
ANE_FUNCTION(getScreenCaptureSources);
ANE_FUNCTION(getScreenCaptureTargetThumb);
ANE_FUNCTION(selectScreenCaptureTarget);
ANE_FUNCTION(startScreenCapture);
ANE_FUNCTION(pauseScreenCapture);
ANE_FUNCTION(resumeScreenCapture);
ANE_FUNCTION(stopScreenCapture);
ANE_FUNCTION(setSubStreamEncoderParam);
ANE_FUNCTION(setSubStreamMixVolume);

// devices.cpp
ANE_FUNCTION(getCameraDevicesList);
ANE_FUNCTION(setCurrentCameraDevice);
ANE_FUNCTION(getCurrentCameraDevice);
ANE_FUNCTION(getMicDevicesList);
ANE_FUNCTION(setCurrentMicDevice);
ANE_FUNCTION(getCurrentMicDevice);
ANE_FUNCTION(getCurrentMicDeviceVolume);
ANE_FUNCTION(setCurrentMicDeviceVolume);
ANE_FUNCTION(getSpeakerDevicesList);
ANE_FUNCTION(setCurrentSpeakerDevice);
ANE_FUNCTION(getCurrentSpeakerDevice);
ANE_FUNCTION(getCurrentSpeakerVolume);
ANE_FUNCTION(setCurrentSpeakerVolume);

// diagnostics.cpp
ANE_FUNCTION(startSpeedTest);
ANE_FUNCTION(stopSpeedTest);
ANE_FUNCTION(getSdkVersion);
ANE_FUNCTION(setConsoleEnabled);
ANE_FUNCTION(setLogCompressEnabled);
ANE_FUNCTION(setLogPath);
ANE_FUNCTION(showDebugView);

// players.cpp
ANE_FUNCTION(TXLivePusher_createTXLivePusher);
ANE_FUNCTION(TXLivePusher_destroyTXLivePusher);
ANE_FUNCTION(TXLivePusher_startPush);
ANE_FUNCTION(TXLivePusher_stopPush);
ANE_FUNCTION(TXLivePusher_startAudioCapture);
ANE_FUNCTION(TXLivePusher_stopAudioCapture);
ANE_FUNCTION(TXLivePusher_getMicDevicesList);
ANE_FUNCTION(TXLivePusher_selectMicDevice);
ANE_FUNCTION(TXLivePusher_setMute);
ANE_FUNCTION(TXLivePusher_micVolume);
ANE_FUNCTION(TXLivePusher_setMicVolume);
ANE_FUNCTION(ITXLivePlayer_createTXLivePlayer);
ANE_FUNCTION(ITXLivePlayer_destroyTXLivePlayer);
ANE_FUNCTION(ITXLivePlayer_startPlay);
ANE_FUNCTION(ITXVodPlayer_createTXVodPlayer);
ANE_FUNCTION(ITXVodPlayer_destroyTXVodPlayer);
ANE_FUNCTION(ITXVodPlayer_start);
ANE_FUNCTION(ITXVodPlayer_pause);
ANE_FUNCTION(ITXVodPlayer_resume);
ANE_FUNCTION(ITXVodPlayer_stop);
ANE_FUNCTION(ITXVodPlayer_seek);

}  // namespace tamvex
