// The stand-in's SDK objects: the cloud instance, device collections, current
// devices, the screen source list, pushers and players, and the eight exports.
// Every operation writes one line to the call log, then answers as scripted.
#include <cstring>
#include <stdexcept>

#include "standin.h"

namespace liteav_standin {
namespace {

std::string str(int64_t v) { return std::to_string(v); }

// Logs "name(args)" and returns the scripted answer (or null); throws when told to.
AnswerPtr called(const std::string& name, const std::string& answerKey, const std::string& args) {
  State& s = State::get();
  s.log(name + "(" + args + ")");
  return s.answer(answerKey);
}
AnswerPtr called(const std::string& name, const std::string& args = "") { return called(name, name, args); }

int codeOr(const AnswerPtr& a, int fallback) { return a && a->hasCode ? static_cast<int>(a->code) : fallback; }

// A collection of devices, logged as <Kind><N>.op(...).
class DeviceCollection : public ITRTCDeviceCollection {
 public:
  DeviceCollection(std::string name, std::vector<std::string> names, std::vector<std::string> ids, bool hasCount,
                   int64_t count)
      : name_(std::move(name)), names_(std::move(names)), ids_(std::move(ids)), hasCount_(hasCount), count_(count) {}
  uint32_t getCount() override {
    called(name_ + ".getCount", "");
    return hasCount_ ? static_cast<uint32_t>(count_) : static_cast<uint32_t>(names_.size());
  }
  // Out of range: null, as a real list that was read past would give nothing usable.
  const char* getDeviceName(uint32_t index) override {
    called(name_ + ".getDeviceName", str(index));
    return index < names_.size() ? names_[index].c_str() : nullptr;
  }
  const char* getDevicePID(uint32_t index) override {
    called(name_ + ".getDevicePID", str(index));
    return index < ids_.size() ? ids_[index].c_str() : nullptr;
  }
  void release() override {
    called(name_ + ".release", "");
    delete this;
  }

 private:
  std::string name_;
  std::vector<std::string> names_;
  std::vector<std::string> ids_;
  bool hasCount_;
  int64_t count_;
};

class DeviceInfo : public ITRTCDeviceInfo {
 public:
  DeviceInfo(std::string name, std::string deviceName, std::string id)
      : name_(std::move(name)), deviceName_(std::move(deviceName)), id_(std::move(id)) {}
  const char* getDeviceName() override {
    called(name_ + ".getDeviceName", "");
    return deviceName_.c_str();
  }
  const char* getDevicePID() override {
    called(name_ + ".getDevicePID", "");
    return id_.c_str();
  }
  void release() override {
    called(name_ + ".release", "");
    delete this;
  }

 private:
  std::string name_;
  std::string deviceName_;
  std::string id_;
};

struct DeviceKind {
  const char* listOp;     // e.g. getCameraDevicesList
  const char* currentOp;  // e.g. getCurrentCameraDevice
  const char* listName;   // e.g. CameraList
  const char* currentName;
  const char* idPrefix;
  const char* defaultName;
};
const DeviceKind kCameras{"getCameraDevicesList", "getCurrentCameraDevice", "CameraList", "CurrentCamera", "camera",
                          "Stand-in Camera"};
const DeviceKind kMics{"getMicDevicesList", "getCurrentMicDevice", "MicList", "CurrentMic", "mic",
                       "Stand-in Microphone"};
const DeviceKind kSpeakers{"getSpeakerDevicesList", "getCurrentSpeakerDevice", "SpeakerList", "CurrentSpeaker",
                           "speaker", "Stand-in Speakers"};

std::vector<std::string> namesOf(const AnswerPtr& a, const char* defaultName) {
  if (a && a->hasList) return a->list;
  return {defaultName};
}
std::vector<std::string> idsOf(const AnswerPtr& a, const std::vector<std::string>& names, const char* prefix) {
  std::vector<std::string> ids;
  for (size_t i = 0; i < names.size(); ++i) {
    if (a && i < a->ids.size())
      ids.push_back(a->ids[i]);
    else
      ids.push_back(std::string(prefix) + "-" + std::to_string(i));
  }
  return ids;
}

ITRTCDeviceCollection* makeCollection(const std::string& logName, const std::string& answerKey, const char* listName,
                                      const DeviceKind& kind) {
  AnswerPtr a = called(logName, answerKey, "");
  if (a && a->null) return nullptr;
  auto names = namesOf(a, kind.defaultName);
  auto ids = idsOf(a, names, kind.idPrefix);
  std::string name = std::string(listName) + str(State::get().number(listName));
  return new DeviceCollection(name, names, ids, a && a->hasCount, a ? a->count : 0);
}

ITRTCDeviceInfo* makeCurrent(const DeviceKind& kind) {
  AnswerPtr a = called(kind.currentOp);
  if (a && a->null) return nullptr;
  std::string deviceName = kind.defaultName;
  std::string id = std::string(kind.idPrefix) + "-0";
  if (a && a->hasText) deviceName = a->text;
  if (!a || !a->hasText) {
    // The first device of the scripted list, when there is one.
    AnswerPtr list;
    {
      State& s = State::get();
      std::lock_guard<std::mutex> lock(s.mutex);
      auto it = s.answers.find(kind.listOp);
      if (it != s.answers.end()) list = it->second;
    }
    if (list && list->hasList && !list->list.empty()) deviceName = list->list[0];
  }
  std::string name = std::string(kind.currentName) + str(State::get().number(kind.currentName));
  return new DeviceInfo(name, deviceName, id);
}

class SourceList : public ITRTCScreenCaptureSourceList {
 public:
  SourceList(std::string name, std::vector<Source> sources, TXSize thumb, TXSize icon)
      : name_(std::move(name)), sources_(std::move(sources)) {
    for (const Source& src : sources_) {
      Images im;
      uint32_t tw = src.thumbWidth >= 0 ? src.thumbWidth : (thumb.cx > 0 ? thumb.cx : 0);
      uint32_t th = src.thumbHeight >= 0 ? src.thumbHeight : (thumb.cy > 0 ? thumb.cy : 0);
      im.thumbWidth = tw;
      im.thumbHeight = th;
      if (!src.noThumb && tw > 0 && th > 0 && uint64_t(tw) * th <= (1u << 24)) {
        im.thumb.resize(size_t(tw) * th * 4);
        drawPattern(im.thumb.data(), tw, th, 0, src.id % 4 + 1);
      }
      im.thumbLength = src.thumbLength >= 0 ? uint32_t(src.thumbLength) : uint32_t(im.thumb.size());
      if (im.thumbLength > im.thumb.size()) im.thumb.resize(im.thumbLength);  // pixels beyond the picture are 0
      uint32_t iw = icon.cx > 0 ? icon.cx : 0, ih = icon.cy > 0 ? icon.cy : 0;
      if (uint64_t(iw) * ih <= (1u << 20)) {
        im.icon.assign(size_t(iw) * ih * 4, 0x80);
        im.iconWidth = iw;
        im.iconHeight = ih;
      }
      images_.push_back(std::move(im));
    }
  }
  uint32_t getCount() override {
    called(name_ + ".getCount", "");
    return uint32_t(sources_.size());
  }
  TRTCScreenCaptureSourceInfo getSourceInfo(uint32_t index) override {
    called(name_ + ".getSourceInfo", str(index));
    TRTCScreenCaptureSourceInfo info;
    if (index >= sources_.size()) return info;
    const Source& src = sources_[index];
    const Images& im = images_[index];
    info.type = static_cast<TRTCScreenCaptureSourceType>(src.type);
    info.sourceId = reinterpret_cast<TXView>(static_cast<intptr_t>(src.id));
    info.sourceName = src.name.c_str();
    if (!src.noThumb) {
      info.thumbBGRA.buffer = im.thumb.empty() ? nullptr : reinterpret_cast<const char*>(im.thumb.data());
      info.thumbBGRA.length = im.thumbLength;
    }
    info.thumbBGRA.width = im.thumbWidth;
    info.thumbBGRA.height = im.thumbHeight;
    info.iconBGRA.buffer = im.icon.empty() ? nullptr : reinterpret_cast<const char*>(im.icon.data());
    info.iconBGRA.length = uint32_t(im.icon.size());
    info.iconBGRA.width = im.iconWidth;
    info.iconBGRA.height = im.iconHeight;
    return info;
  }
  void release() override {
    called(name_ + ".release", "");
    delete this;
  }

 private:
  struct Images {
    std::vector<uint8_t> thumb;
    uint32_t thumbLength = 0, thumbWidth = 0, thumbHeight = 0;
    std::vector<uint8_t> icon;
    uint32_t iconWidth = 0, iconHeight = 0;
  };
  std::string name_;
  std::vector<Source> sources_;
  std::vector<Images> images_;
};

}  // namespace

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
      if (*it == callback)
        it = s.cloudCallbacks.erase(it);
      else
        ++it;
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
    return new SourceList("SourceList" + str(s.number("SourceList")), std::move(sources), thumb, icon);
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

class Pusher : public ITXLivePusher {
 public:
  explicit Pusher(int number) : number_(number), name_("Pusher" + str(number)) {}
  ITXLivePusherCallback* callback = nullptr;  // guarded by State::delivery
  void* userData = nullptr;
  int number() const { return number_; }

  void setCallback(ITXLivePusherCallback* cb, void* data) override {
    called(name_ + ".setCallback", pointerText(cb, "callback") + ", " + str(reinterpret_cast<intptr_t>(data)));
    State& s = State::get();
    std::unique_lock<std::shared_mutex> lock(s.delivery);
    callback = cb;
    userData = data;
    if (cb) lastCallback = cb, lastUserData = data;
  }
  ITXLivePusherCallback* lastCallback = nullptr;  // the last one set; guarded by State::delivery
  void* lastUserData = nullptr;
  bool startPush(const char* url) override { return codeOr(called(name_ + ".startPush", "Pusher.startPush", quote(url)), 1) != 0; }
  void stopPush() override { called(name_ + ".stopPush", "Pusher.stopPush", ""); }
  void startAudioCapture(int mode) override { called(name_ + ".startAudioCapture", "Pusher.startAudioCapture", str(mode)); }
  void stopAudioCapture() override { called(name_ + ".stopAudioCapture", "Pusher.stopAudioCapture", ""); }
  ITRTCDeviceCollection* getMicDevicesList() override {
    return makeCollection(name_ + ".getMicDevicesList", "Pusher.getMicDevicesList", "PusherMicList", kMics);
  }
  void selectMicDevice(int index) override { called(name_ + ".selectMicDevice", "Pusher.selectMicDevice", str(index)); }
  void setMute(bool mute) override { called(name_ + ".setMute", "Pusher.setMute", boolText(mute)); }
  int micVolume() override { return codeOr(called(name_ + ".micVolume", "Pusher.micVolume", ""), 50); }
  void setMicVolume(int volume) override { called(name_ + ".setMicVolume", "Pusher.setMicVolume", str(volume)); }

 private:
  int number_;
  std::string name_;
};

class LivePlayer : public ITXLivePlayer {
 public:
  explicit LivePlayer(int number) : number_(number), name_("LivePlayer" + str(number)) {}
  int number() const { return number_; }
  int startPlay(const char* url, int type) override {
    return codeOr(called(name_ + ".startPlay", "LivePlayer.startPlay", quote(url) + ", " + str(type)), 0);
  }
  void stopPlay() override { called(name_ + ".stopPlay", "LivePlayer.stopPlay", ""); }

 private:
  int number_;
  std::string name_;
};

class VodPlayer : public ITXVodPlayer {
 public:
  explicit VodPlayer(int number) : number_(number), name_("VodPlayer" + str(number)) {}
  ITXVodPlayerCallback* callback = nullptr;  // guarded by State::delivery
  int number() const { return number_; }

  void setCallback(ITXVodPlayerCallback* cb) override {
    called(name_ + ".setCallback", pointerText(cb, "callback"));
    State& s = State::get();
    std::unique_lock<std::shared_mutex> lock(s.delivery);
    callback = cb;
    if (cb) lastCallback = cb;
  }
  ITXVodPlayerCallback* lastCallback = nullptr;  // the last one set; guarded by State::delivery
  void start() override { called(name_ + ".start", "VodPlayer.start", ""); }
  void pause() override { called(name_ + ".pause", "VodPlayer.pause", ""); }
  void resume() override { called(name_ + ".resume", "VodPlayer.resume", ""); }
  void stop() override { called(name_ + ".stop", "VodPlayer.stop", ""); }
  void seek(int64_t pos) override { called(name_ + ".seek", "VodPlayer.seek", str(pos)); }

 private:
  int number_;
  std::string name_;
};

ITXLivePusherCallback* pusherCallback(Pusher* pusher, void** userData) {
  *userData = pusher->userData;
  return pusher->callback;
}
ITXVodPlayerCallback* vodCallback(VodPlayer* player) { return player->callback; }

namespace {

// A new pusher or player, numbered per kind ("Pusher1") and kept in its
// registry (guarded by State::delivery) so that commands can reach it.
template <class T>
T* makeNumbered(const char* kind, std::map<int, T*>& registry) {
  State& s = State::get();
  const int n = s.number(kind);
  T* object = new T(n);
  std::unique_lock<std::shared_mutex> lock(s.delivery);
  registry[n] = object;
  return object;
}

// What an SDK thread on its way out may still call after the object is gone:
// the callback it last had (taken back or not).
void rememberDeparted(Pusher* p) { State::get().departedPushers[p->number()] = {p->lastCallback, p->lastUserData}; }
void rememberDeparted(VodPlayer* p) { State::get().departedVodPlayers[p->number()] = p->lastCallback; }
template <class T>
void rememberDeparted(T*) {}

// Logs "op(<kind><N>)" (or "op(null)"); the object leaves its registry before
// it is deleted, so no delivery reaches the object afterwards (its last
// callback is remembered as departed), and the caller's pointer is cleared.
template <class T, class Interface>
void destroyNumbered(const char* op, const char* kind, Interface** handle, std::map<int, T*>& registry) {
  T* object = handle ? static_cast<T*>(*handle) : nullptr;
  called(op, object ? kind + std::to_string(object->number()) : std::string("null"));
  if (!object) return;
  {
    std::unique_lock<std::shared_mutex> lock(State::get().delivery);
    registry.erase(object->number());
    rememberDeparted(object);
  }
  delete object;
  *handle = nullptr;
}

}  // namespace

}  // namespace liteav_standin

using namespace liteav_standin;

#if !defined(LITEAV_STANDIN_NO_SHARE)
LITEAV_EXPORT ITRTCCloud* getTRTCShareInstance() {
  called("getTRTCShareInstance");
  State& s = State::get();
  std::unique_lock<std::shared_mutex> lock(s.delivery);
  if (!s.cloud) s.cloud = newCloud();
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
    s.cloudCallbacks.clear();
    s.localRender = RenderRegistration{};
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

LITEAV_EXPORT ITXLivePusher* createTXLivePusher() {
  AnswerPtr a = called("createTXLivePusher");
  if (a && a->null) return nullptr;
  return makeNumbered("Pusher", State::get().pushers);
}

LITEAV_EXPORT void destroyTXLivePusher(ITXLivePusher** pusher) {
  destroyNumbered("destroyTXLivePusher", "Pusher", pusher, State::get().pushers);
}

LITEAV_EXPORT ITXLivePlayer* createTXLivePlayer() {
  AnswerPtr a = called("createTXLivePlayer");
  if (a && a->null) return nullptr;
  return makeNumbered("LivePlayer", State::get().livePlayers);
}

LITEAV_EXPORT void destroyTXLivePlayer(ITXLivePlayer** player) {
  destroyNumbered("destroyTXLivePlayer", "LivePlayer", player, State::get().livePlayers);
}

LITEAV_EXPORT ITXVodPlayer* createTXVodPlayer(const char* mediaFile, bool repeat) {
  AnswerPtr a = called("createTXVodPlayer", quote(mediaFile) + ", " + boolText(repeat));
  if (a && a->null) return nullptr;
  return makeNumbered("VodPlayer", State::get().vodPlayers);
}

LITEAV_EXPORT void destroyTXVodPlayer(ITXVodPlayer** player) {
  destroyNumbered("destroyTXVodPlayer", "VodPlayer", player, State::get().vodPlayers);
}
