// The 68 ActionScript functions of Brisora, grouped by the file that defines them.
#pragma once

#include "FlashRuntimeExtensions.h"

#define BRISORA_FUNCTION(name) FREObject name(FREContext ctx, void* functionData, uint32_t argc, FREObject argv[])

namespace brisora {

// login.cpp — start-up and login
BRISORA_FUNCTION(initRtmpLiveSdk);
BRISORA_FUNCTION(initILiveSdk);
BRISORA_FUNCTION(setLogPath);
BRISORA_FUNCTION(getSdkVersion);
BRISORA_FUNCTION(setChannelMode);
BRISORA_FUNCTION(iLiveLogin);
BRISORA_FUNCTION(iLiveLoginWithSpear);
BRISORA_FUNCTION(iLiveLoginOut);
BRISORA_FUNCTION(isLogin);
BRISORA_FUNCTION(isInited);

// rooms.cpp — rooms and streams
BRISORA_FUNCTION(createRoom);
BRISORA_FUNCTION(joinRoom);
BRISORA_FUNCTION(changeRole);
BRISORA_FUNCTION(requestStream);
BRISORA_FUNCTION(cancelStream);
BRISORA_FUNCTION(cancelAllStream);
BRISORA_FUNCTION(quitRoom);

// frames.cpp — video frames
BRISORA_FUNCTION(getVideoData);
BRISORA_FUNCTION(getVideoBitmapData);
BRISORA_FUNCTION(getVideoVector);

// devices.cpp — local devices
BRISORA_FUNCTION(openCamera);
BRISORA_FUNCTION(getCurCameraState);
BRISORA_FUNCTION(closeCamera);
BRISORA_FUNCTION(getCameraNames);
BRISORA_FUNCTION(openMic);
BRISORA_FUNCTION(getMicVolume);
BRISORA_FUNCTION(setMicVolume);
BRISORA_FUNCTION(getCurMicState);
BRISORA_FUNCTION(closeMic);
BRISORA_FUNCTION(getMicNames);
BRISORA_FUNCTION(openSpeaker);
BRISORA_FUNCTION(getCurPlayerState);
BRISORA_FUNCTION(getSpeakerNames);
BRISORA_FUNCTION(setPlayerVolume);
BRISORA_FUNCTION(getPlayerVolume);
BRISORA_FUNCTION(closeSpeaker);
BRISORA_FUNCTION(getScreenShareState);
BRISORA_FUNCTION(getScreenShareNames);
BRISORA_FUNCTION(openScreenShare);
BRISORA_FUNCTION(openScreenRectangleShare);
BRISORA_FUNCTION(closeScreenShare);
BRISORA_FUNCTION(openSystemVoiceInput);
BRISORA_FUNCTION(closeSystemVoiceInput);
BRISORA_FUNCTION(setSystemVoiceInputVolume);
BRISORA_FUNCTION(getSystemVoiceInputVolume);
BRISORA_FUNCTION(getCurSystemVoiceInputState);
BRISORA_FUNCTION(setSkinSmoothGrade);
BRISORA_FUNCTION(setSkinWhitenessGrade);

// audio.cpp — audio data
BRISORA_FUNCTION(registAudioDataCallback);
BRISORA_FUNCTION(getAudioData);

// media.cpp — media files, recording, external capture, custom data
BRISORA_FUNCTION(openExternalCapture);
BRISORA_FUNCTION(fillExternalCaptureByteFrame);
BRISORA_FUNCTION(fillExternalCaptureBitmapFrame);
BRISORA_FUNCTION(closeExternalCapture);
BRISORA_FUNCTION(isValidMediaFile);
BRISORA_FUNCTION(openPlayMediaFile);
BRISORA_FUNCTION(pausePlayMediaFile);
BRISORA_FUNCTION(resumePlayMediaFile);
BRISORA_FUNCTION(closePlayMediaFile);
BRISORA_FUNCTION(getPlayMediaFileState);
BRISORA_FUNCTION(getPlayMediaFilePos);
BRISORA_FUNCTION(setPlayMediaFilePos);
BRISORA_FUNCTION(startLocalRecord);
BRISORA_FUNCTION(stopLocalRecord);
BRISORA_FUNCTION(fillCustomData);

// host_utilities.cpp — disposal and host process
BRISORA_FUNCTION(dispose);
BRISORA_FUNCTION(killProcess);
BRISORA_FUNCTION(keepScreenOn);

}  // namespace brisora
