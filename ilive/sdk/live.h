// The iLive SDK's live object and its handler types: everything the extension
// calls through GetILive().
// Assumption: handlers are always called on SDK threads, never on the thread
// that installed them; their arguments are valid only during the call.
#pragma once

#include <cstdint>

#include "ilive/sdk/records.h"

namespace ilive {

// Completion of an asynchronous operation.
using SuccessHandler = void (*)(void* data);
using ErrorHandler = void (*)(int32_t code, const SdkString& message, void* data);
// Plain notifications.
using NoticeHandler = void (*)(void* data);
using BareNoticeHandler = void (*)();
using RoomDisconnectHandler = void (*)(int32_t reason, const SdkString& message, void* data);
// Media.
using VideoFrameHandler = void (*)(const VideoFrame* frame, void* data);
using MemberEventHandler = void (*)(int32_t event, const SdkVector<SdkString>& userIds, void* data);
using QualityHandler = void (*)(const Statistics& stats, void* data);
using DeviceOperationHandler = void (*)(int32_t operation, int32_t result, void* data);
using DeviceDetectHandler = void (*)(void* data);
using AudioDataHandler = void (*)(const AudioFrame* frame, int32_t sourceKind, void* data);

// The room option record of createRoom and joinRoom.
// Assumption: the fields are the SDK's, in its order (numbered below).
struct RoomOption {
  int32_t roomType = 1;                                // 1
  uint32_t roomId = 0;                                 // 2
  int32_t authType = 1;                                // 3
  SdkString authBuffer;                                // 4
  bool autoCreate = true;                              // 5
  alignas(8) int64_t authBits = -1;                    // 6
  SdkString controlRole;                               // 7
  SdkString privateMapKey;                             // 8
  bool autoCamera = true;                              // 9
  bool autoMic = true;                                 // 10
  bool autoSpeaker = true;                             // 11
  int32_t timeoutMs = 1000;                            // 12
  bool autoRequestCamera = false;                      // 13
  bool autoRequestScreen = false;                      // 14
  bool autoRequestMediaFile = false;                   // 15
  bool autoRequestAudio = false;                       // 16
  SdkString recordTag;                                 // 17
  bool highAudioQuality = false;                       // 18
  RoomDisconnectHandler roomDisconnectHandler = nullptr;  // 19
  void* roomDisconnectData = nullptr;
  MemberEventHandler memberEventHandler = nullptr;  // 20
  void* memberEventData = nullptr;
  QualityHandler qualityHandler = nullptr;  // 21
  void* qualityData = nullptr;
};

// The view that decides the colour format the SDK renders into.
class iLiveRootView {
 public:
  virtual int32_t getViewType() = 0;
  // Assumption: releases the view; the object is gone afterwards, and the
  // caller never deletes it itself.
  virtual void destroy() = 0;

 protected:
  virtual ~iLiveRootView() = default;
};

// Receives the outcome of a local recording.
// Assumption: the SDK calls it on its own thread.
class iLiveLocalRecordDelegate {
 public:
  virtual ~iLiveLocalRecordDelegate() = default;
  virtual void OnError(int32_t code, const SdkString& message) = 0;
  virtual void OnRecorded(int32_t first, int32_t second, int32_t third, const SdkString& path) = 0;
};

// The SDK's single live object.
// Assumption: wherever an answer is an int32_t code, 0 means success; lists
// and values written through references are valid only after a 0 answer.
// Assumption: any operation may throw a std::exception (so every call is
// made where such a throw is caught).
class iLive {
 public:
  // ---- Start-up, login ----
  virtual int32_t init(int32_t appId, int32_t option, int32_t flags) = 0;
  virtual SdkString getVersion() = 0;
  virtual bool isInited() = 0;
  virtual bool isLogin() = 0;
  virtual bool setLogPath(const SdkString& path) = 0;
  virtual int32_t setChannelMode(bool enabled, const SdkString& text) = 0;
  virtual void setVideoColorFormat(int32_t format) = 0;
  virtual void setForceOfflineHandler(NoticeHandler handler, void* data) = 0;
  virtual void setNetworkNoticeHandler(BareNoticeHandler handler) = 0;
  virtual void setRemoteVideoHandler(VideoFrameHandler handler, void* data) = 0;
  virtual void login(const char* userId, const char* sig, SuccessHandler onSuccess, ErrorHandler onError, void* data,
                     const char* extra) = 0;
  virtual void loginWithSpear(const char* userId, const char* sig, const char* extra, SuccessHandler onSuccess,
                              ErrorHandler onError, void* data) = 0;
  virtual void logout(SuccessHandler onSuccess, ErrorHandler onError, void* data) = 0;
  // Assumption: the release completes on the SDK's own threads; handlers may
  // still be called until it has, and none after the library that installed
  // them is unloaded.
  virtual int32_t releaseSdk(SuccessHandler onSuccess, ErrorHandler onError, void* data) = 0;

  // ---- Rooms and streams ----
  virtual void setLocalVideoHandler(VideoFrameHandler handler, void* data) = 0;
  virtual void setDeviceOperationHandler(DeviceOperationHandler handler, void* data) = 0;
  virtual void setDeviceDetectHandler(DeviceDetectHandler handler, void* data) = 0;
  virtual void createRoom(const RoomOption& option, SuccessHandler onSuccess, ErrorHandler onError, void* data) = 0;
  virtual void joinRoom(const RoomOption& option, SuccessHandler onSuccess, ErrorHandler onError, void* data) = 0;
  virtual void changeRole(const char* role, SuccessHandler onSuccess, ErrorHandler onError, void* data) = 0;
  virtual void quitRoom(SuccessHandler onSuccess, ErrorHandler onError, void* data, int32_t flags) = 0;
  virtual void requestStreams(const SdkVector<StreamRequest>& streams, SuccessHandler onSuccess, ErrorHandler onError,
                              void* data) = 0;
  virtual void cancelStreams(const SdkVector<StreamRequest>& streams, SuccessHandler onSuccess, ErrorHandler onError,
                             void* data) = 0;
  virtual void cancelAllStreams(SuccessHandler onSuccess, ErrorHandler onError, void* data) = 0;

  // ---- Local devices ----
  virtual int32_t getCameraList(SdkVector<DeviceInfo>& list) = 0;
  virtual int32_t getMicList(SdkVector<DeviceInfo>& list) = 0;
  virtual int32_t getSpeakerList(SdkVector<DeviceInfo>& list) = 0;
  virtual int32_t getWindowList(SdkVector<WindowInfo>& list) = 0;
  virtual int32_t openCamera(const SdkString& deviceId) = 0;
  virtual int32_t closeCamera() = 0;
  virtual bool getCurCameraState() = 0;
  virtual int32_t openMic(const SdkString& deviceId) = 0;
  virtual int32_t closeMic() = 0;
  virtual bool getCurMicState() = 0;
  virtual uint32_t getMicVolume() = 0;
  virtual int32_t setMicVolume(int32_t volume) = 0;
  virtual int32_t openSpeaker(const SdkString& deviceId) = 0;
  virtual int32_t closeSpeaker() = 0;
  virtual bool getCurPlayerState() = 0;
  virtual uint32_t getPlayerVolume() = 0;
  virtual int32_t setPlayerVolume(int32_t volume) = 0;
  virtual int32_t openScreenShare(WindowHandle window, uint32_t& fps) = 0;
  virtual int32_t openScreenShareArea(int32_t& left, int32_t& top, int32_t& right, int32_t& bottom,
                                      uint32_t& fps) = 0;
  virtual int32_t closeScreenShare() = 0;
  virtual int32_t getScreenShareState() = 0;
  virtual int32_t openSystemVoiceInput(const SdkString& playerPath) = 0;
  virtual int32_t closeSystemVoiceInput() = 0;
  virtual bool getCurSystemVoiceInputState() = 0;
  virtual uint32_t getSystemVoiceInputVolume() = 0;
  virtual int32_t setSystemVoiceInputVolume(int32_t volume) = 0;
  virtual int32_t setSkinSmoothGrade(int32_t grade) = 0;
  virtual int32_t setSkinWhitenessGrade(int32_t grade) = 0;

  // ---- Audio data ----
  virtual int32_t setAudioDataHandler(int32_t kind, AudioDataHandler handler, void* data) = 0;

  // ---- Media files, recording, external capture, custom data ----
  virtual bool isValidMediaFile(const SdkString& path) = 0;
  virtual int32_t openPlayMediaFile(const SdkString& path) = 0;
  virtual int32_t pausePlayMediaFile() = 0;
  virtual int32_t resumePlayMediaFile() = 0;
  virtual int32_t closePlayMediaFile() = 0;
  virtual int32_t getPlayMediaFileState() = 0;
  virtual int32_t getPlayMediaFilePos(int64_t& position, int64_t& duration) = 0;
  virtual int32_t setPlayMediaFilePos(const int64_t& position) = 0;
  // Assumption: the SDK keeps the delegate pointer (it never deletes the
  // object) and may call it on its own threads until the process ends.
  virtual int32_t startLocalRecord(const SdkString& path, iLiveLocalRecordDelegate* delegate) = 0;
  virtual int32_t stopLocalRecord() = 0;
  virtual int32_t openExternalCapture() = 0;
  virtual int32_t closeExternalCapture() = 0;
  // Assumption: both copy whatever they keep of the record and its bytes
  // before they return; the caller frees its buffers afterwards.
  virtual int32_t fillExternalCaptureFrame(const VideoFrame& frame) = 0;
  virtual int32_t sendCustomData(const CustomData& data) = 0;

 protected:
  virtual ~iLive() = default;
};

}  // namespace ilive

extern "C++" {
// The SDK's single live object.
ILIVE_API ilive::iLive* GetILive();
// A new root view; release it with destroy().
ILIVE_API ilive::iLiveRootView* iLiveCreateRootView();
}
