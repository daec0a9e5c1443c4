// The cloud instance and the exports that share it.
#include "objects.h"

namespace liteav_standin {

class Cloud : public ITRTCCloud {
 public:
  ~Cloud() override = default;

  void addCallback(ITRTCCloudCallback* callback) override {
    called("addCallback", pointerText(callback, "callback"));
    State& s = State::get();
    std::unique_lock<std::shared_mutex> lock(s.delivery);
    if (callback) s.cloudCallbacks.push_back(callback);
  }
  void removeCallback(ITRTCCloudCallback* callback) override {
    called("removeCallback", pointerText(callback, "callback"));
    State& s = State::get();
    std::unique_lock<std::shared_mutex> lock(s.delivery);
    for (auto it = s.cloudCallbacks.begin(); it != s.cloudCallbacks.end();) {
      if (*it == callback) {
        s.departedCloudCallbacks.push_back(callback);
        it = s.cloudCallbacks.erase(it);
      } else {
        ++it;
      }
    }
  }
  const char* getSDKVersion() override {
    AnswerPtr a = called("getSDKVersion");
    if (a && a->null) return nullptr;
    if (a && a->hasText) {
      version_ = a->text;
      return version_.c_str();
    }
    return "7.9.10000 (stand-in)";
  }

  void enterRoom(const TRTCParams& params, TRTCAppScene scene) override {
    called("enterRoom", paramsText(params) + ", " + str(scene));
    {
      State& s = State::get();
      std::lock_guard<std::mutex> lock(s.mutex);
      s.enteredUserId = params.userId ? params.userId : "";
    }
    roomOnEnter();
  }
  void exitRoom() override {
    called("exitRoom");
    roomOnExit();
  }
  void startLocalPreview(TXView view) override {
    called("startLocalPreview", pointerText(view, "window"));
    setFlag(&State::previewOn, true);
  }
  void stopLocalPreview() override {
    called("stopLocalPreview");
    setFlag(&State::previewOn, false);
  }
  void startRemoteView(const char* userId, TXView view) override {
    called("startRemoteView", quote(userId) + ", " + pointerText(view, "window"));
  }
  void stopRemoteView(const char* userId) override { called("stopRemoteView", quote(userId)); }
  void stopAllRemoteView() override { called("stopAllRemoteView"); }
  void muteLocalVideo(bool mute) override { called("muteLocalVideo", boolText(mute)); }
  void setVideoEncoderParam(const TRTCVideoEncParam& p) override { called("setVideoEncoderParam", encText(p)); }
  void setNetworkQosParam(const TRTCNetworkQosParam& p) override {
    called("setNetworkQosParam", "{" + str(p.preference) + ", " + str(p.controlMode) + "}");
  }
  void setLocalViewFillMode(TRTCVideoFillMode mode) override { called("setLocalViewFillMode", str(mode)); }
  void setRemoteViewFillMode(const char* userId, TRTCVideoFillMode mode) override {
    called("setRemoteViewFillMode", quote(userId) + ", " + str(mode));
  }
  void setLocalViewRotation(TRTCVideoRotation rotation) override { called("setLocalViewRotation", str(rotation)); }
  void setRemoteViewRotation(const char* userId, TRTCVideoRotation rotation) override {
    called("setRemoteViewRotation", quote(userId) + ", " + str(rotation));
  }
  void setVideoEncoderRotation(TRTCVideoRotation rotation) override {
    called("setVideoEncoderRotation", str(rotation));
  }
  void setLocalViewMirror(bool mirror) override { called("setLocalViewMirror", boolText(mirror)); }
  void setVideoEncoderMirror(bool mirror) override { called("setVideoEncoderMirror", boolText(mirror)); }
  int enableSmallVideoStream(bool enable, const TRTCVideoEncParam& p) override {
    return codeOr(called("enableSmallVideoStream", boolText(enable) + ", " + encText(p)), 0);
  }
  int setRemoteVideoStreamType(const char* userId, TRTCVideoStreamType type) override {
    return codeOr(called("setRemoteVideoStreamType", quote(userId) + ", " + str(type)), 0);
  }
  int setPriorRemoteVideoStreamType(TRTCVideoStreamType type) override {
    return codeOr(called("setPriorRemoteVideoStreamType", str(type)), 0);
  }
  void startLocalAudio() override { called("startLocalAudio"); }
  void stopLocalAudio() override { called("stopLocalAudio"); }
  void muteLocalAudio(bool mute) override { called("muteLocalAudio", boolText(mute)); }
  void muteRemoteAudio(const char* userId, bool mute) override {
    called("muteRemoteAudio", quote(userId) + ", " + boolText(mute));
  }
  void muteAllRemoteAudio(bool mute) override { called("muteAllRemoteAudio", boolText(mute)); }
  void enableAudioVolumeEvaluation(uint32_t interval) override {
    called("enableAudioVolumeEvaluation", str(interval));
    State& s = State::get();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.volumeInterval = interval;
  }
  void setBeautyStyle(TRTCBeautyStyle style, uint32_t beauty, uint32_t white, uint32_t ruddiness) override {
    called("setBeautyStyle", str(style) + ", " + str(beauty) + ", " + str(white) + ", " + str(ruddiness));
  }
  void startRemoteSubStreamView(const char* userId, TXView view) override {
    called("startRemoteSubStreamView", quote(userId) + ", " + pointerText(view, "window"));
  }
  void stopRemoteSubStreamView(const char* userId) override { called("stopRemoteSubStreamView", quote(userId)); }
  int setLocalVideoRenderCallback(TRTCVideoPixelFormat format, TRTCVideoBufferType type,
                                  ITRTCVideoRenderCallback* callback) override {
    AnswerPtr a = called("setLocalVideoRenderCallback",
                             str(format) + ", " + str(type) + ", " + pointerText(callback, "callback"));
    int code = codeOr(a, 0);
    if (code == 0) {
      State& s = State::get();
      std::unique_lock<std::shared_mutex> lock(s.delivery);
      if (s.localRender.callback && s.localRender.callback != callback) s.departedLocalRender = s.localRender;
      s.localRender = RenderRegistration{format, type, callback};
    }
    return code;
  }
  int setRemoteVideoRenderCallback(const char* userId, TRTCVideoPixelFormat format, TRTCVideoBufferType type,
                                   ITRTCVideoRenderCallback* callback) override {
    AnswerPtr a = called("setRemoteVideoRenderCallback", quote(userId) + ", " + str(format) + ", " + str(type) +
                                                                 ", " + pointerText(callback, "callback"));
    int code = codeOr(a, 0);
    if (code == 0) {
      State& s = State::get();
      std::unique_lock<std::shared_mutex> lock(s.delivery);
      std::string id = userId ? userId : "";
      auto old = s.remoteRenders.find(id);
      if (old != s.remoteRenders.end() && old->second.callback != callback) s.departedRemoteRenders[id] = old->second;
      if (callback)
        s.remoteRenders[id] = RenderRegistration{format, type, callback};
      else
        s.remoteRenders.erase(id);
    }
    return code;
  }

  ITRTCDeviceCollection* getCameraDevicesList() override {
    return makeCollection(kCameras.listOp, kCameras.listOp, kCameras.listName, kCameras);
  }
  int setCurrentCameraDevice(const char* id) override {
    return codeOr(called("setCurrentCameraDevice", quote(id)), 0);
  }
  ITRTCDeviceInfo* getCurrentCameraDevice() override { return makeCurrent(kCameras); }
  ITRTCDeviceCollection* getMicDevicesList() override {
    return makeCollection(kMics.listOp, kMics.listOp, kMics.listName, kMics);
  }
  int setCurrentMicDevice(const char* id) override { return codeOr(called("setCurrentMicDevice", quote(id)), 0); }
  ITRTCDeviceInfo* getCurrentMicDevice() override { return makeCurrent(kMics); }
  uint32_t getCurrentMicDeviceVolume() override {
    return uint32_t(codeOr(called("getCurrentMicDeviceVolume"), 80));
  }
  void setCurrentMicDeviceVolume(uint32_t volume) override { called("setCurrentMicDeviceVolume", str(volume)); }
  ITRTCDeviceCollection* getSpeakerDevicesList() override {
    return makeCollection(kSpeakers.listOp, kSpeakers.listOp, kSpeakers.listName, kSpeakers);
  }
  int setCurrentSpeakerDevice(const char* id) override {
    return codeOr(called("setCurrentSpeakerDevice", quote(id)), 0);
  }
  ITRTCDeviceInfo* getCurrentSpeakerDevice() override { return makeCurrent(kSpeakers); }
  uint32_t getCurrentSpeakerVolume() override { return uint32_t(codeOr(called("getCurrentSpeakerVolume"), 60)); }
  void setCurrentSpeakerVolume(uint32_t volume) override { called("setCurrentSpeakerVolume", str(volume)); }

  ITRTCScreenCaptureSourceList* getScreenCaptureSources(const TXSize& thumb, const TXSize& icon) override {
    AnswerPtr a = called("getScreenCaptureSources", sizeText(thumb) + ", " + sizeText(icon));
    if (a && a->null) return nullptr;
    State& s = State::get();
    std::vector<Source> sources;
    {
      std::lock_guard<std::mutex> lock(s.mutex);
      sources = s.sources;
    }
    return newSourceList("SourceList" + str(s.number("SourceList")), std::move(sources), thumb, icon);
  }
  void selectScreenCaptureTarget(const TRTCScreenCaptureSourceInfo& source, const TXRect& rect, bool captureMouse,
                                 bool highlight) override {
    called("selectScreenCaptureTarget",
           sourceText(source) + ", " + rectText(rect) + ", " + boolText(captureMouse) + ", " + boolText(highlight));
  }
  void startScreenCapture(TXView view) override {
    called("startScreenCapture", pointerText(view, "window"));
    setFlag(&State::screenOn, true);
  }
  void pauseScreenCapture() override { called("pauseScreenCapture"); }
  void resumeScreenCapture() override { called("resumeScreenCapture"); }
  void stopScreenCapture() override {
    called("stopScreenCapture");
    setFlag(&State::screenOn, false);
  }
  void setSubStreamEncoderParam(const TRTCVideoEncParam& p) override { called("setSubStreamEncoderParam", encText(p)); }
  void setSubStreamMixVolume(uint32_t volume) override { called("setSubStreamMixVolume", str(volume)); }

  void setConsoleEnabled(bool enabled) override { called("setConsoleEnabled", boolText(enabled)); }
  void setLogCompressEnabled(bool enabled) override { called("setLogCompressEnabled", boolText(enabled)); }
  void setLogDirPath(const char* path) override { called("setLogDirPath", quote(path)); }
  void showDebugView(int type) override { called("showDebugView", str(type)); }
  void startSpeedTest(uint32_t sdkAppId, const char* userId, const char* userSig) override {
    called("startSpeedTest", str(sdkAppId) + ", " + quote(userId) + ", " + quote(userSig));
    roomOnSpeedTest();
  }
  void stopSpeedTest() override { called("stopSpeedTest"); }
  int setAudioFrameCallback(ITRTCAudioFrameCallback* callback) override {
    int code = codeOr(called("setAudioFrameCallback", pointerText(callback, "callback")), 0);
    if (code == 0) {
      State& s = State::get();
      std::unique_lock<std::shared_mutex> lock(s.delivery);
      s.audioFrames = callback;
    }
    return code;
  }

 private:
  static void setFlag(bool State::*flag, bool value) {
    State& s = State::get();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.*flag = value;
  }
  std::string version_;
};

Cloud* newCloud() { return new Cloud(); }
void deleteCloud(Cloud* cloud) { delete cloud; }

}  // namespace liteav_standin

using namespace liteav_standin;

#if !defined(LITEAV_STANDIN_NO_SHARE)
LITEAV_EXPORT ITRTCCloud* getTRTCShareInstance() {
  called("getTRTCShareInstance");
  State& s = State::get();
  std::unique_lock<std::shared_mutex> lock(s.delivery);
  if (!s.cloud) {
    s.cloud = newCloud();
    s.departedCloudCallbacks.clear();
    s.departedLocalRender = RenderRegistration{};
    s.departedRemoteRenders.clear();
  }
  return s.cloud;
}

LITEAV_EXPORT void destroyTRTCShareInstance() {
  called("destroyTRTCShareInstance");
  State& s = State::get();
  roomOnExit();
  Cloud* cloud = nullptr;
  {
    std::unique_lock<std::shared_mutex> lock(s.delivery);
    cloud = s.cloud;
    s.cloud = nullptr;
    s.departedCloudCallbacks.insert(s.departedCloudCallbacks.end(), s.cloudCallbacks.begin(), s.cloudCallbacks.end());
    s.cloudCallbacks.clear();
    if (s.localRender.callback) s.departedLocalRender = s.localRender;
    s.localRender = RenderRegistration{};
    for (const auto& [id, reg] : s.remoteRenders) s.departedRemoteRenders[id] = reg;
    s.remoteRenders.clear();
    s.audioFrames = nullptr;
  }
  {
    std::lock_guard<std::mutex> lock(s.mutex);
    s.previewOn = false;
    s.screenOn = false;
    s.volumeInterval = 0;
  }
  deleteCloud(cloud);
}
#endif  // !LITEAV_STANDIN_NO_SHARE

