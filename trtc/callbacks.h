// The callback objects Tamvex registers with the SDK. The SDK calls them on
// its own threads; no operation touches an ActionScript object or lets an
// exception out.
#pragma once

#include "trtc/manager.h"

namespace tamvex {

// Room, user, media, volume, error and speed-test notifications. Only the
// ITRTCCloudCallback part is ever registered; the frame and audio operations
// inherited from the other two interfaces do nothing.
class ANEITRTCCloudCallback : public ITRTCCloudCallback,
                              public ITRTCVideoRenderCallback,
                              public ITRTCAudioFrameCallback {
 public:
  explicit ANEITRTCCloudCallback(RtcManager* manager) : manager_(manager) {}

  void onError(int errCode, const char* errMsg, void* extraInfo) override;
  void onWarning(int warningCode, const char* warningMsg, void* extraInfo) override;
  void onEnterRoom(int64_t elapsed) override;
  void onExitRoom(int reason) override;
  void onUserEnter(const char* userId) override;
  void onUserExit(const char* userId, int reason) override;
  void onUserVideoAvailable(const char* userId, bool available) override;
  void onUserSubStreamAvailable(const char* userId, bool available) override;
  void onUserAudioAvailable(const char* userId, bool available) override;
  void onUserVoiceVolume(TRTCVolumeInfo* userVolumes, uint32_t userVolumesCount, uint32_t totalVolume) override;
  void onSpeedTest(const TRTCSpeedTestResult& currentResult, uint32_t finishedCount, uint32_t totalCount) override;

  void onRenderVideoFrame(const char*, TRTCVideoStreamType, TRTCVideoFrame*) override {}
  void onCapturedAudioFrame(TRTCAudioFrame*) override {}
  void onPlayAudioFrame(TRTCAudioFrame*, const char*) override {}
  void onMixedPlayAudioFrame(TRTCAudioFrame*) override {}

 private:
  void availability(const char* userId, bool available, const char* kind, const char* line, int32_t code);
  void raise(RtcManager::Event event, const std::string& level);
  RtcManager* manager_;
};

// Routes every frame into the renderer pool (frames.cpp).
class ANEITRTCVideoRenderCallback : public ITRTCVideoRenderCallback {
 public:
  explicit ANEITRTCVideoRenderCallback(RtcManager* manager) : manager_(manager) {}
  void onRenderVideoFrame(const char* userId, TRTCVideoStreamType streamType, TRTCVideoFrame* frame) override;

 private:
  RtcManager* manager_;
};

// Binds a free renderer to (code, id) unless one is bound already or id is the
// local user's (frames.cpp). Called on SDK threads.
void addVideoRender(RtcManager& manager, int32_t code, const std::string& id);

// Text for ActionScript: the bytes as given when they are valid UTF-8, with
// U+FFFD for every invalid sequence otherwise.
std::string forActionScript(const std::string& text);
// The code-page-936 form of a UTF-8 text, for the console.
std::string consoleText(const char* utf8);

}  // namespace tamvex
