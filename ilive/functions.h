// The 68 ActionScript functions of Brisora, grouped by the file that defines them.
#pragma once

#include "FlashRuntimeExtensions.h"
#include "core/edge.h"

namespace brisora {

// login.cpp — start-up and login
ANE_FUNCTION(initRtmpLiveSdk);
ANE_FUNCTION(initILiveSdk);
ANE_FUNCTION(setLogPath);
ANE_FUNCTION(getSdkVersion);
ANE_FUNCTION(setChannelMode);
ANE_FUNCTION(iLiveLogin);
ANE_FUNCTION(iLiveLoginWithSpear);
ANE_FUNCTION(iLiveLoginOut);
ANE_FUNCTION(isLogin);
ANE_FUNCTION(isInited);

// rooms.cpp — rooms and streams
ANE_FUNCTION(createRoom);
ANE_FUNCTION(joinRoom);
ANE_FUNCTION(changeRole);
ANE_FUNCTION(requestStream);
ANE_FUNCTION(cancelStream);
ANE_FUNCTION(cancelAllStream);
ANE_FUNCTION(quitRoom);

// frames.cpp — video frames
ANE_FUNCTION(getVideoData);
ANE_FUNCTION(getVideoBitmapData);
ANE_FUNCTION(getVideoVector);

// devices.cpp — local devices
ANE_FUNCTION(openCamera);
ANE_FUNCTION(getCurCameraState);
ANE_FUNCTION(closeCamera);
ANE_FUNCTION(getCameraNames);
ANE_FUNCTION(openMic);
ANE_FUNCTION(getMicVolume);
ANE_FUNCTION(setMicVolume);
ANE_FUNCTION(getCurMicState);
ANE_FUNCTION(closeMic);
ANE_FUNCTION(getMicNames);
ANE_FUNCTION(openSpeaker);
ANE_FUNCTION(getCurPlayerState);
ANE_FUNCTION(getSpeakerNames);
ANE_FUNCTION(setPlayerVolume);
ANE_FUNCTION(getPlayerVolume);
ANE_FUNCTION(closeSpeaker);
ANE_FUNCTION(getScreenShareState);
ANE_FUNCTION(getScreenShareNames);
ANE_FUNCTION(openScreenShare);
ANE_FUNCTION(openScreenRectangleShare);
ANE_FUNCTION(closeScreenShare);
ANE_FUNCTION(openSystemVoiceInput);
ANE_FUNCTION(closeSystemVoiceInput);
ANE_FUNCTION(setSystemVoiceInputVolume);
ANE_FUNCTION(getSystemVoiceInputVolume);
ANE_FUNCTION(getCurSystemVoiceInputState);
ANE_FUNCTION(setSkinSmoothGrade);
ANE_FUNCTION(setSkinWhitenessGrade);

// audio.cpp — audio data
ANE_FUNCTION(registAudioDataCallback);
ANE_FUNCTION(getAudioData);

// media.cpp — media files, recording, external capture, custom data
ANE_FUNCTION(openExternalCapture);
ANE_FUNCTION(fillExternalCaptureByteFrame);
ANE_FUNCTION(fillExternalCaptureBitmapFrame);
ANE_FUNCTION(closeExternalCapture);
ANE_FUNCTION(isValidMediaFile);
ANE_FUNCTION(openPlayMediaFile);
ANE_FUNCTION(pausePlayMediaFile);
ANE_FUNCTION(resumePlayMediaFile);
ANE_FUNCTION(closePlayMediaFile);
ANE_FUNCTION(getPlayMediaFileState);
ANE_FUNCTION(getPlayMediaFilePos);
ANE_FUNCTION(setPlayMediaFilePos);
ANE_FUNCTION(startLocalRecord);
ANE_FUNCTION(stopLocalRecord);
ANE_FUNCTION(fillCustomData);

// host_utilities.cpp — disposal and host process
ANE_FUNCTION(dispose);
ANE_FUNCTION(killProcess);
ANE_FUNCTION(keepScreenOn);

}  // namespace brisora
