// The stand-alone media objects of liteav.dll: live pusher, live player and
// VOD player, and the callback interfaces of the pusher and the VOD player.
// Assumption: objects are made and destroyed only through the exported entry
// points, never deleted by the caller.
#pragma once

#include <cstdint>

#include "trtc/sdk/trtc_cloud.h"

// Pusher notifications. pUserData is the value given to setCallback.
// Assumption: called on SDK threads.
class ITXLivePusherCallback {
 public:
  virtual ~ITXLivePusherCallback() {}
  virtual void onEventCallback(int eventId, const int paramCount, const char** paramKeys, const char** paramValues,
                               void* pUserData) {
    (void)eventId, (void)paramCount, (void)paramKeys, (void)paramValues, (void)pUserData;
  }
  virtual void onStatusUpdate(const int paramCount, const char** paramKeys, const char** paramValues,
                              void* pUserData) {
    (void)paramCount, (void)paramKeys, (void)paramValues, (void)pUserData;
  }
  virtual void onDeviceChange(int deviceType, bool added, void* pUserData) {
    (void)deviceType, (void)added, (void)pUserData;
  }
};

// VOD player notifications.
// Assumption: called on SDK threads.
class ITXVodPlayerCallback {
 public:
  virtual ~ITXVodPlayerCallback() {}
  virtual void onVodPlayerStarted(uint64_t msLength) { (void)msLength; }
  virtual void onVodPlayerProgress(uint64_t msPos) { (void)msPos; }
  virtual void onVodPlayerPaused() {}
  virtual void onVodPlayerResumed() {}
  virtual void onVodPlayerStoped(int reason) { (void)reason; }
  virtual void onVodPlayerError(int error) { (void)error; }
};

// Captures and publishes to a push URL.
class ITXLivePusher {
 public:
  // Assumption: the SDK calls the callback until setCallback(null) or
  // destroyTXLivePusher, except a notification already under way, which may
  // finish during or after either; the SDK never deletes the callback.
  virtual void setCallback(ITXLivePusherCallback* callback, void* pUserData) = 0;
  virtual bool startPush(const char* url) = 0;
  virtual void stopPush() = 0;
  virtual void startAudioCapture(int mode) = 0;
  virtual void stopAudioCapture() = 0;
  // A fresh microphone list.
  // Assumption: may be null; the caller releases it.
  virtual ITRTCDeviceCollection* getMicDevicesList() = 0;
  virtual void selectMicDevice(int index) = 0;
  virtual void setMute(bool mute) = 0;
  virtual int micVolume() = 0;
  virtual void setMicVolume(int volume) = 0;

 protected:
  virtual ~ITXLivePusher() {}
};

// Plays a live stream URL.
class ITXLivePlayer {
 public:
  // 0 when playback starts.
  virtual int startPlay(const char* url, int playType) = 0;
  virtual void stopPlay() = 0;

 protected:
  virtual ~ITXLivePlayer() {}
};

// Plays a media file or URL.
class ITXVodPlayer {
 public:
  // Assumption: the SDK calls the callback until setCallback(null) or
  // destroyTXVodPlayer, except a notification already under way, which may
  // finish during or after either; the SDK never deletes the callback.
  virtual void setCallback(ITXVodPlayerCallback* callback) = 0;
  virtual void start() = 0;
  virtual void pause() = 0;
  virtual void resume() = 0;
  virtual void stop() = 0;
  virtual void seek(int64_t msPos) = 0;

 protected:
  virtual ~ITXVodPlayer() {}
};
