// The 85 ActionScript functions of Tamvex, grouped by the file that holds them.
// Each has the runtime's function shape and runs on the AIR main thread.
#pragma once

#include <cstdint>

#include "FlashRuntimeExtensions.h"

#define TAMVEX_FUNCTION(name) FREObject name(FREContext ctx, void* functionData, uint32_t argc, FREObject argv[])

namespace tamvex {

// spine.cpp
TAMVEX_FUNCTION(initTRTCSdk);
TAMVEX_FUNCTION(dispose);

// render_store.cpp: frame delivery and the render-callback registrations
TAMVEX_FUNCTION(getVideoData);
TAMVEX_FUNCTION(getAudioData);
TAMVEX_FUNCTION(setLocalVideoRenderCallback);
TAMVEX_FUNCTION(setRemoteVideoRenderCallback);

// room_controls.cpp
TAMVEX_FUNCTION(enterRoom);
TAMVEX_FUNCTION(exitRoom);
TAMVEX_FUNCTION(startLocalPreview);
TAMVEX_FUNCTION(stopLocalPreview);
TAMVEX_FUNCTION(startRemoteView);
TAMVEX_FUNCTION(stopRemoteView);
TAMVEX_FUNCTION(stopAllRemoteView);
TAMVEX_FUNCTION(muteLocalVideo);
TAMVEX_FUNCTION(setVideoEncoderParam);
TAMVEX_FUNCTION(setNetworkQosParam);
TAMVEX_FUNCTION(setLocalViewFillMode);
TAMVEX_FUNCTION(setRemoteViewFillMode);
TAMVEX_FUNCTION(setLocalViewRotation);
TAMVEX_FUNCTION(setRemoteViewRotation);
TAMVEX_FUNCTION(setVideoEncoderRotation);
TAMVEX_FUNCTION(setLocalViewMirror);
TAMVEX_FUNCTION(setVideoEncoderMirror);
TAMVEX_FUNCTION(enableSmallVideoStream);
TAMVEX_FUNCTION(setRemoteVideoStreamType);
TAMVEX_FUNCTION(setPriorRemoteVideoStreamType);
TAMVEX_FUNCTION(startLocalAudio);
TAMVEX_FUNCTION(stopLocalAudio);
TAMVEX_FUNCTION(muteLocalAudio);
TAMVEX_FUNCTION(muteRemoteAudio);
TAMVEX_FUNCTION(muteAllRemoteAudio);
TAMVEX_FUNCTION(enableAudioVolumeEvaluation);
TAMVEX_FUNCTION(setBeautyStyle);
TAMVEX_FUNCTION(startRemoteSubStreamView);
TAMVEX_FUNCTION(stopRemoteSubStreamView);

// screen_capture.cpp
TAMVEX_FUNCTION(getScreenCaptureSources);
TAMVEX_FUNCTION(getScreenCaptureTargetThumb);
TAMVEX_FUNCTION(selectScreenCaptureTarget);
TAMVEX_FUNCTION(startScreenCapture);
TAMVEX_FUNCTION(pauseScreenCapture);
TAMVEX_FUNCTION(resumeScreenCapture);
TAMVEX_FUNCTION(stopScreenCapture);
TAMVEX_FUNCTION(setSubStreamEncoderParam);
TAMVEX_FUNCTION(setSubStreamMixVolume);

// devices.cpp
TAMVEX_FUNCTION(getCameraDevicesList);
TAMVEX_FUNCTION(setCurrentCameraDevice);
TAMVEX_FUNCTION(getCurrentCameraDevice);
TAMVEX_FUNCTION(getMicDevicesList);
TAMVEX_FUNCTION(setCurrentMicDevice);
TAMVEX_FUNCTION(getCurrentMicDevice);
TAMVEX_FUNCTION(getCurrentMicDeviceVolume);
TAMVEX_FUNCTION(setCurrentMicDeviceVolume);
TAMVEX_FUNCTION(getSpeakerDevicesList);
TAMVEX_FUNCTION(setCurrentSpeakerDevice);
TAMVEX_FUNCTION(getCurrentSpeakerDevice);
TAMVEX_FUNCTION(getCurrentSpeakerVolume);
TAMVEX_FUNCTION(setCurrentSpeakerVolume);

// diagnostics.cpp
TAMVEX_FUNCTION(startSpeedTest);
TAMVEX_FUNCTION(stopSpeedTest);
TAMVEX_FUNCTION(getSdkVersion);
TAMVEX_FUNCTION(setConsoleEnabled);
TAMVEX_FUNCTION(setLogCompressEnabled);
TAMVEX_FUNCTION(setLogPath);
TAMVEX_FUNCTION(showDebugView);

// players.cpp
TAMVEX_FUNCTION(TXLivePusher_createTXLivePusher);
TAMVEX_FUNCTION(TXLivePusher_destroyTXLivePusher);
TAMVEX_FUNCTION(TXLivePusher_startPush);
TAMVEX_FUNCTION(TXLivePusher_stopPush);
TAMVEX_FUNCTION(TXLivePusher_startAudioCapture);
TAMVEX_FUNCTION(TXLivePusher_stopAudioCapture);
TAMVEX_FUNCTION(TXLivePusher_getMicDevicesList);
TAMVEX_FUNCTION(TXLivePusher_selectMicDevice);
TAMVEX_FUNCTION(TXLivePusher_setMute);
TAMVEX_FUNCTION(TXLivePusher_micVolume);
TAMVEX_FUNCTION(TXLivePusher_setMicVolume);
TAMVEX_FUNCTION(ITXLivePlayer_createTXLivePlayer);
TAMVEX_FUNCTION(ITXLivePlayer_destroyTXLivePlayer);
TAMVEX_FUNCTION(ITXLivePlayer_startPlay);
TAMVEX_FUNCTION(ITXVodPlayer_createTXVodPlayer);
TAMVEX_FUNCTION(ITXVodPlayer_destroyTXVodPlayer);
TAMVEX_FUNCTION(ITXVodPlayer_start);
TAMVEX_FUNCTION(ITXVodPlayer_pause);
TAMVEX_FUNCTION(ITXVodPlayer_resume);
TAMVEX_FUNCTION(ITXVodPlayer_stop);
TAMVEX_FUNCTION(ITXVodPlayer_seek);

// function_table.cpp: the table handed to the runtime, in the runtime's order.
extern const FRENamedFunction kFunctionTable[];
extern const uint32_t kFunctionCount;

}  // namespace tamvex
