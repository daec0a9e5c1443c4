// The TRTC cloud instance, its collections and the callback interfaces that
// the extension implements.
// Assumption: the SDK calls every callback on a thread of its own, never on
// the AIR main thread; callback arguments are valid only during the call.
#pragma once

#include <cstdint>

#include "trtc/sdk/trtc_types.h"

// Room, user, media and diagnostics notifications of the cloud instance.
// Every operation has an empty default body; the order is the interface's own.
class ITRTCCloudCallback {
 public:
  virtual ~ITRTCCloudCallback() {}

  virtual void onError(int errCode, const char* errMsg, void* extraInfo) {
    (void)errCode, (void)errMsg, (void)extraInfo;
  }
  virtual void onWarning(int warningCode, const char* warningMsg, void* extraInfo) {
    (void)warningCode, (void)warningMsg, (void)extraInfo;
  }
  virtual void onEnterRoom(int64_t elapsed) { (void)elapsed; }
  virtual void onExitRoom(int reason) { (void)reason; }
  virtual void onUserEnter(const char* userId) { (void)userId; }
  virtual void onUserExit(const char* userId, int reason) { (void)userId, (void)reason; }
  virtual void onUserVideoAvailable(const char* userId, bool available) { (void)userId, (void)available; }
  virtual void onUserSubStreamAvailable(const char* userId, bool available) { (void)userId, (void)available; }
  virtual void onUserAudioAvailable(const char* userId, bool available) { (void)userId, (void)available; }
  virtual void onUserVoiceVolume(TRTCVolumeInfo* userVolumes, uint32_t userVolumesCount, uint32_t totalVolume) {
    (void)userVolumes, (void)userVolumesCount, (void)totalVolume;
  }
  virtual void onFirstVideoFrame(const char* userId, TRTCVideoStreamType streamType, uint32_t width,
                                 uint32_t height) {
    (void)userId, (void)streamType, (void)width, (void)height;
  }
  virtual void onNetworkQuality(TRTCQualityInfo localQuality, TRTCQualityInfo* remoteQuality,
                                uint32_t remoteQualityCount) {
    (void)localQuality, (void)remoteQuality, (void)remoteQualityCount;
  }
  virtual void onStatistics(const TRTCStatistics& statistics) { (void)statistics; }
  virtual void onConnectionLost() {}
  virtual void onTryToReconnect() {}
  virtual void onConnectionRecovery() {}
  virtual void onSpeedTest(const TRTCSpeedTestResult& currentResult, uint32_t finishedCount, uint32_t totalCount) {
    (void)currentResult, (void)finishedCount, (void)totalCount;
  }
  virtual void onCameraDidReady() {}
  virtual void onMicDidReady() {}
  virtual void onDeviceChange(const char* deviceId, TRTCDeviceType type, TRTCDeviceState state) {
    (void)deviceId, (void)type, (void)state;
  }
  virtual void onScreenCaptureStarted() {}
  virtual void onScreenCapturePaused(int reason) { (void)reason; }
  virtual void onScreenCaptureResumed(int reason) { (void)reason; }
  virtual void onScreenCaptureStoped(int reason) { (void)reason; }
};

// Frames of one user and stream, registered with setLocalVideoRenderCallback /
// setRemoteVideoRenderCallback. Tamvex registers an object of its own for each
// of the two, so a frame is known as local or remote by the object it reaches,
// whatever user id it carries.
class ITRTCVideoRenderCallback {
 public:
  virtual ~ITRTCVideoRenderCallback() {}
  virtual void onRenderVideoFrame(const char* userId, TRTCVideoStreamType streamType, TRTCVideoFrame* frame) = 0;
};

// Raw audio blocks (captured, per remote user, mixed for playback).
class ITRTCAudioFrameCallback {
 public:
  virtual ~ITRTCAudioFrameCallback() {}
  virtual void onCapturedAudioFrame(TRTCAudioFrame* frame) = 0;
  virtual void onPlayAudioFrame(TRTCAudioFrame* frame, const char* userId) = 0;
  virtual void onMixedPlayAudioFrame(TRTCAudioFrame* frame) = 0;
};

// A fresh list of cameras, microphones or speakers.
// Assumption: the caller releases it with release() and never deletes it.
class ITRTCDeviceCollection {
 public:
  virtual uint32_t getCount() = 0;
  virtual const char* getDeviceName(uint32_t index) = 0;
  virtual const char* getDevicePID(uint32_t index) = 0;
  virtual void release() = 0;

 protected:
  virtual ~ITRTCDeviceCollection() {}
};

// The current camera, microphone or speaker.
// Assumption: the caller releases it with release() and never deletes it.
class ITRTCDeviceInfo {
 public:
  virtual const char* getDeviceName() = 0;
  virtual const char* getDevicePID() = 0;
  virtual void release() = 0;

 protected:
  virtual ~ITRTCDeviceInfo() {}
};

// The windows and screens that can be captured.
// Assumption: the caller releases it with release(); the source records and
// their images stay valid until then.
class ITRTCScreenCaptureSourceList {
 public:
  virtual uint32_t getCount() = 0;
  virtual TRTCScreenCaptureSourceInfo getSourceInfo(uint32_t index) = 0;
  virtual void release() = 0;

 protected:
  virtual ~ITRTCScreenCaptureSourceList() {}
};

// The shared cloud instance (getTRTCShareInstance). Every operation is called
// on the AIR main thread.
// Assumption: outcomes arrive later through ITRTCCloudCallback; operations
// may throw std::exception.
// A callback already on its way on an SDK thread may still be called after
// removeCallback, after the instance was destroyed, even after a new one was
// made: Tamvex keeps every callback object it registered while the library is
// loaded, and one of a released instance changes nothing.
class ITRTCCloud {
 public:
  // Callbacks and version.
  virtual void addCallback(ITRTCCloudCallback* callback) = 0;
  virtual void removeCallback(ITRTCCloudCallback* callback) = 0;
  virtual const char* getSDKVersion() = 0;

  // Room and media.
  virtual void enterRoom(const TRTCParams& params, TRTCAppScene scene) = 0;
  virtual void exitRoom() = 0;
  virtual void startLocalPreview(TXView rendView) = 0;
  virtual void stopLocalPreview() = 0;
  virtual void startRemoteView(const char* userId, TXView rendView) = 0;
  virtual void stopRemoteView(const char* userId) = 0;
  virtual void stopAllRemoteView() = 0;
  virtual void muteLocalVideo(bool mute) = 0;
  virtual void setVideoEncoderParam(const TRTCVideoEncParam& params) = 0;
  virtual void setNetworkQosParam(const TRTCNetworkQosParam& params) = 0;
  virtual void setLocalViewFillMode(TRTCVideoFillMode mode) = 0;
  virtual void setRemoteViewFillMode(const char* userId, TRTCVideoFillMode mode) = 0;
  virtual void setLocalViewRotation(TRTCVideoRotation rotation) = 0;
  virtual void setRemoteViewRotation(const char* userId, TRTCVideoRotation rotation) = 0;
  virtual void setVideoEncoderRotation(TRTCVideoRotation rotation) = 0;
  virtual void setLocalViewMirror(bool mirror) = 0;
  virtual void setVideoEncoderMirror(bool mirror) = 0;
  virtual int enableSmallVideoStream(bool enable, const TRTCVideoEncParam& smallVideoParam) = 0;
  virtual int setRemoteVideoStreamType(const char* userId, TRTCVideoStreamType type) = 0;
  virtual int setPriorRemoteVideoStreamType(TRTCVideoStreamType type) = 0;
  virtual void startLocalAudio() = 0;
  virtual void stopLocalAudio() = 0;
  virtual void muteLocalAudio(bool mute) = 0;
  virtual void muteRemoteAudio(const char* userId, bool mute) = 0;
  virtual void muteAllRemoteAudio(bool mute) = 0;
  virtual void enableAudioVolumeEvaluation(uint32_t interval) = 0;
  virtual void setBeautyStyle(TRTCBeautyStyle style, uint32_t beautyLevel, uint32_t whitenessLevel,
                              uint32_t ruddinessLevel) = 0;
  virtual void startRemoteSubStreamView(const char* userId, TXView rendView) = 0;
  virtual void stopRemoteSubStreamView(const char* userId) = 0;
  // 0 on success.
  virtual int setLocalVideoRenderCallback(TRTCVideoPixelFormat pixelFormat, TRTCVideoBufferType bufferType,
                                          ITRTCVideoRenderCallback* callback) = 0;
  virtual int setRemoteVideoRenderCallback(const char* userId, TRTCVideoPixelFormat pixelFormat,
                                           TRTCVideoBufferType bufferType, ITRTCVideoRenderCallback* callback) = 0;

  // Devices.
  // Assumption: collections and device objects may be null.
  virtual ITRTCDeviceCollection* getCameraDevicesList() = 0;
  virtual int setCurrentCameraDevice(const char* deviceId) = 0;
  virtual ITRTCDeviceInfo* getCurrentCameraDevice() = 0;
  virtual ITRTCDeviceCollection* getMicDevicesList() = 0;
  virtual int setCurrentMicDevice(const char* micId) = 0;
  virtual ITRTCDeviceInfo* getCurrentMicDevice() = 0;
  virtual uint32_t getCurrentMicDeviceVolume() = 0;
  virtual void setCurrentMicDeviceVolume(uint32_t volume) = 0;
  virtual ITRTCDeviceCollection* getSpeakerDevicesList() = 0;
  virtual int setCurrentSpeakerDevice(const char* speakerId) = 0;
  virtual ITRTCDeviceInfo* getCurrentSpeakerDevice() = 0;
  virtual uint32_t getCurrentSpeakerVolume() = 0;
  virtual void setCurrentSpeakerVolume(uint32_t volume) = 0;

  // Screen capture into the sub stream.
  // Assumption: the list may be null.
  virtual ITRTCScreenCaptureSourceList* getScreenCaptureSources(const TXSize& thumbSize, const TXSize& iconSize) = 0;
  virtual void selectScreenCaptureTarget(const TRTCScreenCaptureSourceInfo& source, const TXRect& captureRect,
                                         bool captureMouse, bool highlightWindow) = 0;
  virtual void startScreenCapture(TXView rendView) = 0;
  virtual void pauseScreenCapture() = 0;
  virtual void resumeScreenCapture() = 0;
  virtual void stopScreenCapture() = 0;
  virtual void setSubStreamEncoderParam(const TRTCVideoEncParam& params) = 0;
  virtual void setSubStreamMixVolume(uint32_t volume) = 0;

  // Logging and diagnostics.
  virtual void setConsoleEnabled(bool enabled) = 0;
  virtual void setLogCompressEnabled(bool enabled) = 0;
  virtual void setLogDirPath(const char* path) = 0;
  virtual void showDebugView(int showType) = 0;
  virtual void startSpeedTest(uint32_t sdkAppId, const char* userId, const char* userSig) = 0;
  virtual void stopSpeedTest() = 0;

  // Raw audio blocks (Tamvex registers none); 0 on success.
  virtual int setAudioFrameCallback(ITRTCAudioFrameCallback* callback) = 0;

 protected:
  virtual ~ITRTCCloud() {}
};
