// Pushers and players, numbered per kind, and the exports that make and
// destroy them.
#include "objects.h"

namespace liteav_standin {

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
