// The stand-in's live object: each operation logs its call and gives the
// scripted answer, or a plausible default that keeps a simulated session going.
#include "state.h"

namespace ilive::standin {
namespace {

int32_t code(const Answer& a, int64_t fallback = 0) { return static_cast<int32_t>(a.code.value_or(fallback)); }
bool yes(const Answer& a, bool fallback) { return a.code ? *a.code != 0 : fallback; }

template <class F>
F withState(F (*get)(StateData&)) {
  State& s = state();
  std::lock_guard<std::mutex> lock(s.mutex);
  return get(s);
}
template <class Fn>
void update(Fn fn) {
  State& s = state();
  std::lock_guard<std::mutex> lock(s.mutex);
  fn(s);
}

// Fills a device listing from the answer, or from the defaults.
int32_t fillDevices(const char* op, SdkVector<DeviceInfo>& list, const char* fallbackName) {
  Answer a = logCall(op, {"list"});
  const int32_t result = code(a);
  if (result != 0) return result;
  std::vector<std::string> names = a.names;
  std::vector<std::string> ids = a.ids;
  if (!a.code && names.empty()) names.push_back(fallbackName);
  for (size_t i = 0; i < names.size(); ++i) {
    const std::string& id = i < ids.size() ? ids[i] : names[i];
    list.push_back(DeviceInfo{SdkString(id.c_str(), id.size()), SdkString(names[i].c_str(), names[i].size())});
  }
  return 0;
}

class StandInLive final : public iLive {
 public:
  // ---- Start-up, login ----
  int32_t init(int32_t appId, int32_t option, int32_t flags) override {
    const int32_t r = code(logCall("init", {fmt(appId), fmt(option), fmt(flags)}));
    update([&](StateData& s) { s.inited = s.inited || r == 0; });
    return r;
  }
  SdkString getVersion() override {
    Answer a = logCall("getVersion", {});
    const std::string text = a.text.value_or("1.0.0.0 (stand-in)");
    return SdkString(text.c_str(), text.size());
  }
  bool isInited() override {
    return yes(logCall("isInited", {}), withState<bool>([](StateData& s) { return s.inited; }));
  }
  bool isLogin() override {
    return yes(logCall("isLogin", {}), withState<bool>([](StateData& s) { return s.loggedIn; }));
  }
  bool setLogPath(const SdkString& path) override { return yes(logCall("setLogPath", {fmt(path)}), true); }
  int32_t setChannelMode(bool enabled, const SdkString& text) override {
    return code(logCall("setChannelMode", {fmt(enabled), fmt(text)}));
  }
  void setVideoColorFormat(int32_t format) override {
    logCall("setVideoColorFormat", {fmt(format)});
    update([&](StateData& s) { s.colorFormat = format; });
  }
  void setForceOfflineHandler(NoticeHandler handler, void* data) override {
    logCall("setForceOfflineHandler", {fmtHandler(fnAddr(handler), "forceOffline"), fmtPtr(data)});
    update([&](StateData& s) { s.hooks.forceOffline = handler, s.hooks.forceOfflineData = data; });
  }
  void setNetworkNoticeHandler(BareNoticeHandler handler) override {
    logCall("setNetworkNoticeHandler", {fmtHandler(fnAddr(handler), "networkNotice")});
    update([&](StateData& s) { s.hooks.networkNotice = handler; });
  }
  void setRemoteVideoHandler(VideoFrameHandler handler, void* data) override {
    logCall("setRemoteVideoHandler", {fmtHandler(fnAddr(handler), "remoteVideo"), fmtPtr(data)});
    update([&](StateData& s) { s.hooks.remoteVideo = handler, s.hooks.remoteVideoData = data; });
  }
  void login(const char* userId, const char* sig, SuccessHandler onSuccess, ErrorHandler onError, void* data,
             const char* extra) override {
    logCall("login", {fmt(userId), fmt(sig), fmtHandler(fnAddr(onSuccess), "success"),
                      fmtHandler(fnAddr(onError), "error"), fmtPtr(data), fmt(extra)});
    update([&](StateData& s) { s.loginUser = userId ? userId : ""; });
    addPending("login", onSuccess, onError, data);
  }
  void loginWithSpear(const char* userId, const char* sig, const char* extra, SuccessHandler onSuccess,
                      ErrorHandler onError, void* data) override {
    logCall("loginWithSpear", {fmt(userId), fmt(sig), fmt(extra), fmtHandler(fnAddr(onSuccess), "success"),
                               fmtHandler(fnAddr(onError), "error"), fmtPtr(data)});
    update([&](StateData& s) { s.loginUser = userId ? userId : ""; });
    addPending("loginWithSpear", onSuccess, onError, data);
  }
  void logout(SuccessHandler onSuccess, ErrorHandler onError, void* data) override {
    logCall("logout",
            {fmtHandler(fnAddr(onSuccess), "success"), fmtHandler(fnAddr(onError), "error"), fmtPtr(data)});
    addPending("logout", onSuccess, onError, data);
  }
  int32_t releaseSdk(SuccessHandler onSuccess, ErrorHandler onError, void* data) override {
    const int32_t r = code(logCall("releaseSdk", {fmtHandler(fnAddr(onSuccess), "success"),
                                                  fmtHandler(fnAddr(onError), "error"), fmtPtr(data)}));
    stopRoom();  // tells the room's threads to stop; a delivery under way still ends after this returns
    // The release completes on the SDK's own time, as the real one does:
    // until then frames and notices may still reach the extension's handlers,
    // which are forgotten only when it completes (complete "releaseSdk").
    addPending("releaseSdk", onSuccess, onError, data);
    return r;
  }

  // ---- Rooms and streams ----
  void setLocalVideoHandler(VideoFrameHandler handler, void* data) override {
    logCall("setLocalVideoHandler", {fmtHandler(fnAddr(handler), "localVideo"), fmtPtr(data)});
    update([&](StateData& s) { s.hooks.localVideo = handler, s.hooks.localVideoData = data; });
  }
  void setDeviceOperationHandler(DeviceOperationHandler handler, void* data) override {
    logCall("setDeviceOperationHandler", {fmtHandler(fnAddr(handler), "deviceOperation"), fmtPtr(data)});
    update([&](StateData& s) { s.hooks.deviceOperation = handler, s.hooks.deviceOperationData = data; });
  }
  void setDeviceDetectHandler(DeviceDetectHandler handler, void* data) override {
    logCall("setDeviceDetectHandler", {fmtHandler(fnAddr(handler), "deviceDetect"), fmtPtr(data)});
    update([&](StateData& s) { s.hooks.deviceDetect = handler, s.hooks.deviceDetectData = data; });
  }
  void createRoom(const RoomOption& o, SuccessHandler onSuccess, ErrorHandler onError, void* data) override {
    enterRoom("createRoom", o, onSuccess, onError, data);
  }
  void joinRoom(const RoomOption& o, SuccessHandler onSuccess, ErrorHandler onError, void* data) override {
    enterRoom("joinRoom", o, onSuccess, onError, data);
  }
  void changeRole(const char* role, SuccessHandler onSuccess, ErrorHandler onError, void* data) override {
    logCall("changeRole", {fmt(role), fmtHandler(fnAddr(onSuccess), "success"), fmtHandler(fnAddr(onError), "error"),
                           fmtPtr(data)});
    addPending("changeRole", onSuccess, onError, data);
  }
  void quitRoom(SuccessHandler onSuccess, ErrorHandler onError, void* data, int32_t flags) override {
    logCall("quitRoom", {fmtHandler(fnAddr(onSuccess), "success"), fmtHandler(fnAddr(onError), "error"),
                         fmtPtr(data), fmt(flags)});
    addPending("quitRoom", onSuccess, onError, data);
  }
  void requestStreams(const SdkVector<StreamRequest>& streams, SuccessHandler onSuccess, ErrorHandler onError,
                      void* data) override {
    logCall("requestStreams", {fmt(streams), fmtHandler(fnAddr(onSuccess), "success"),
                               fmtHandler(fnAddr(onError), "error"), fmtPtr(data)});
    addPending("requestStreams", onSuccess, onError, data);
  }
  void cancelStreams(const SdkVector<StreamRequest>& streams, SuccessHandler onSuccess, ErrorHandler onError,
                     void* data) override {
    logCall("cancelStreams", {fmt(streams), fmtHandler(fnAddr(onSuccess), "success"),
                              fmtHandler(fnAddr(onError), "error"), fmtPtr(data)});
    addPending("cancelStreams", onSuccess, onError, data);
  }
  void cancelAllStreams(SuccessHandler onSuccess, ErrorHandler onError, void* data) override {
    logCall("cancelAllStreams",
            {fmtHandler(fnAddr(onSuccess), "success"), fmtHandler(fnAddr(onError), "error"), fmtPtr(data)});
    addPending("cancelAllStreams", onSuccess, onError, data);
  }

  // ---- Local devices ----
  int32_t getCameraList(SdkVector<DeviceInfo>& list) override {
    return fillDevices("getCameraList", list, "Stand-in Camera");
  }
  int32_t getMicList(SdkVector<DeviceInfo>& list) override {
    return fillDevices("getMicList", list, "Stand-in Microphone");
  }
  int32_t getSpeakerList(SdkVector<DeviceInfo>& list) override {
    return fillDevices("getSpeakerList", list, "Stand-in Speakers");
  }
  int32_t getWindowList(SdkVector<WindowInfo>& list) override {
    Answer a = logCall("getWindowList", {"list"});
    if (code(a) != 0) return code(a);
    std::vector<std::string> names = a.names;
    if (!a.code && names.empty()) names.push_back("Desktop");
    for (size_t i = 0; i < names.size(); ++i) {
      const WindowHandle handle = i < a.values.size() ? static_cast<WindowHandle>(a.values[i])
                                                      : static_cast<WindowHandle>(1000 + i);
      list.push_back(WindowInfo{handle, SdkString(names[i].c_str(), names[i].size())});
    }
    return 0;
  }
  int32_t openCamera(const SdkString& id) override { return device("openCamera", id, &StateData::cameraOpen, true); }
  int32_t closeCamera() override { return device("closeCamera", {}, &StateData::cameraOpen, false); }
  bool getCurCameraState() override { return flag("getCurCameraState", &StateData::cameraOpen); }
  int32_t openMic(const SdkString& id) override { return device("openMic", id, &StateData::micOpen, true); }
  int32_t closeMic() override { return device("closeMic", {}, &StateData::micOpen, false); }
  bool getCurMicState() override { return flag("getCurMicState", &StateData::micOpen); }
  uint32_t getMicVolume() override { return volume("getMicVolume", &StateData::micVolume); }
  int32_t setMicVolume(int32_t v) override { return setVolume("setMicVolume", v, &StateData::micVolume); }
  int32_t openSpeaker(const SdkString& id) override {
    return device("openSpeaker", id, &StateData::speakerOpen, true);
  }
  int32_t closeSpeaker() override { return device("closeSpeaker", {}, &StateData::speakerOpen, false); }
  bool getCurPlayerState() override { return flag("getCurPlayerState", &StateData::speakerOpen); }
  uint32_t getPlayerVolume() override { return volume("getPlayerVolume", &StateData::playerVolume); }
  int32_t setPlayerVolume(int32_t v) override { return setVolume("setPlayerVolume", v, &StateData::playerVolume); }
  int32_t openScreenShare(WindowHandle window, uint32_t& fps) override {
    Answer a = logCall("openScreenShare", {fmt(window), fmt(fps)});
    if (!a.values.empty()) fps = static_cast<uint32_t>(a.values[0]);
    if (code(a) == 0) update([](StateData& s) { s.screenShareState = 1; });
    return code(a);
  }
  int32_t openScreenShareArea(int32_t& left, int32_t& top, int32_t& right, int32_t& bottom, uint32_t& fps) override {
    Answer a = logCall("openScreenShareArea", {fmt(left), fmt(top), fmt(right), fmt(bottom), fmt(fps)});
    int32_t* outs[] = {&left, &top, &right, &bottom};
    for (size_t i = 0; i < a.values.size() && i < 5; ++i) {
      if (i < 4)
        *outs[i] = static_cast<int32_t>(a.values[i]);
      else
        fps = static_cast<uint32_t>(a.values[i]);
    }
    if (code(a) == 0) update([](StateData& s) { s.screenShareState = 2; });
    return code(a);
  }
  int32_t closeScreenShare() override {
    const int32_t r = code(logCall("closeScreenShare", {}));
    update([](StateData& s) { s.screenShareState = 0; });
    return r;
  }
  int32_t getScreenShareState() override {
    return code(logCall("getScreenShareState", {}), withState<int32_t>([](StateData& s) { return s.screenShareState; }));
  }
  int32_t openSystemVoiceInput(const SdkString& path) override {
    return device("openSystemVoiceInput", path, &StateData::systemVoiceOn, true);
  }
  int32_t closeSystemVoiceInput() override {
    return device("closeSystemVoiceInput", {}, &StateData::systemVoiceOn, false);
  }
  bool getCurSystemVoiceInputState() override { return flag("getCurSystemVoiceInputState", &StateData::systemVoiceOn); }
  uint32_t getSystemVoiceInputVolume() override {
    return volume("getSystemVoiceInputVolume", &StateData::systemVoiceVolume);
  }
  int32_t setSystemVoiceInputVolume(int32_t v) override {
    return setVolume("setSystemVoiceInputVolume", v, &StateData::systemVoiceVolume);
  }
  int32_t setSkinSmoothGrade(int32_t grade) override { return code(logCall("setSkinSmoothGrade", {fmt(grade)})); }
  int32_t setSkinWhitenessGrade(int32_t grade) override {
    return code(logCall("setSkinWhitenessGrade", {fmt(grade)}));
  }

  // ---- Audio data ----
  int32_t setAudioDataHandler(int32_t kind, AudioDataHandler handler, void* data) override {
    const int32_t r =
        code(logCall("setAudioDataHandler", {fmt(kind), fmtHandler(fnAddr(handler), "audioData"), fmtPtr(data)}));
    update([&](StateData& s) {
      if (handler)
        s.hooks.audio[kind] = {handler, data};
      else
        s.hooks.audio.erase(kind);
    });
    return r;
  }

  // ---- Media files, recording, external capture, custom data ----
  bool isValidMediaFile(const SdkString& path) override { return yes(logCall("isValidMediaFile", {fmt(path)}), true); }
  int32_t openPlayMediaFile(const SdkString& path) override {
    const int32_t r = code(logCall("openPlayMediaFile", {fmt(path)}));
    if (r == 0) update([](StateData& s) { s.mediaState = 1; });
    return r;
  }
  int32_t pausePlayMediaFile() override {
    const int32_t r = code(logCall("pausePlayMediaFile", {}));
    if (r == 0) update([](StateData& s) { s.mediaState = 2; });
    return r;
  }
  int32_t resumePlayMediaFile() override {
    const int32_t r = code(logCall("resumePlayMediaFile", {}));
    if (r == 0) update([](StateData& s) { s.mediaState = 1; });
    return r;
  }
  int32_t closePlayMediaFile() override {
    const int32_t r = code(logCall("closePlayMediaFile", {}));
    update([](StateData& s) { s.mediaState = 0; });
    return r;
  }
  int32_t getPlayMediaFileState() override {
    return code(logCall("getPlayMediaFileState", {}), withState<int32_t>([](StateData& s) { return s.mediaState; }));
  }
  int32_t getPlayMediaFilePos(int64_t& position, int64_t& duration) override {
    Answer a = logCall("getPlayMediaFilePos", {fmt(position), fmt(duration)});
    if (a.values.size() > 0) position = a.values[0];
    if (a.values.size() > 1) duration = a.values[1];
    if (a.values.empty() && code(a) == 0) {
      position = withState<int64_t>([](StateData& s) { return s.mediaPosition; });
      duration = 60000;
    }
    return code(a);
  }
  int32_t setPlayMediaFilePos(const int64_t& position) override {
    const int32_t r = code(logCall("setPlayMediaFilePos", {fmt(position)}));
    if (r == 0) update([&](StateData& s) { s.mediaPosition = position; });
    return r;
  }
  int32_t startLocalRecord(const SdkString& path, iLiveLocalRecordDelegate* delegate) override {
    const int32_t r = code(logCall("startLocalRecord", {fmt(path), fmtHandler(delegate, "delegate")}));
    update([&](StateData& s) { s.hooks.recordDelegate = delegate; });
    return r;
  }
  int32_t stopLocalRecord() override { return code(logCall("stopLocalRecord", {})); }
  int32_t openExternalCapture() override { return code(logCall("openExternalCapture", {})); }
  int32_t closeExternalCapture() override { return code(logCall("closeExternalCapture", {})); }
  int32_t fillExternalCaptureFrame(const VideoFrame& frame) override {
    keepBytes("fillExternalCaptureFrame", frame.data, frame.dataSize, &frame);
    return code(logCall("fillExternalCaptureFrame", {fmt(frame)}));
  }
  int32_t sendCustomData(const CustomData& data) override {
    keepBytes("sendCustomData", data.data, data.size);
    return code(logCall("sendCustomData", {fmt(data)}));
  }

 private:
  void enterRoom(const char* op, const RoomOption& o, SuccessHandler onSuccess, ErrorHandler onError, void* data) {
    logCall(op, {fmt(o), fmtHandler(fnAddr(onSuccess), "success"), fmtHandler(fnAddr(onError), "error"),
                 fmtPtr(data)});
    update([&](StateData& s) {
      s.hooks.roomDisconnect = o.roomDisconnectHandler, s.hooks.roomDisconnectData = o.roomDisconnectData;
      s.hooks.memberEvent = o.memberEventHandler, s.hooks.memberEventData = o.memberEventData;
      s.hooks.quality = o.qualityHandler, s.hooks.qualityData = o.qualityData;
    });
    noteRoomOperation(op);
    addPending(op, onSuccess, onError, data);
  }
  int32_t device(const char* op, const SdkString& id, bool StateData::*member, bool on) {
    const int32_t r = code(id.empty() && !on ? logCall(op, {}) : logCall(op, {fmt(id)}));
    if (r == 0) update([&](StateData& s) { s.*member = on; });
    return r;
  }
  bool flag(const char* op, bool StateData::*member) {
    Answer a = logCall(op, {});
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    return yes(a, s.*member);
  }
  uint32_t volume(const char* op, uint32_t StateData::*member) {
    Answer a = logCall(op, {});
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    return a.code ? static_cast<uint32_t>(*a.code) : s.*member;
  }
  int32_t setVolume(const char* op, int32_t v, uint32_t StateData::*member) {
    const int32_t r = code(logCall(op, {fmt(v)}));
    if (r == 0) update([&](StateData& s) { s.*member = static_cast<uint32_t>(v); });
    return r;
  }
};

class StandInRootView final : public iLiveRootView {
 public:
  int32_t getViewType() override {
    Answer a = logCall("getViewType", {});
    return code(a, ROOT_VIEW_TYPE_GDI);
  }
  void destroy() override {
    logCall("destroyRootView", {});
    delete this;
  }
};

}  // namespace
}  // namespace ilive::standin

ilive::iLive* GetILive() {
  static ilive::standin::StandInLive live;
  return &live;
}

ilive::iLiveRootView* iLiveCreateRootView() {
  ilive::standin::logCall("iLiveCreateRootView", {});
  return new ilive::standin::StandInRootView;
}
