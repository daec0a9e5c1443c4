// The callback objects Tamvex registers with the SDK. The SDK calls them on
// its own threads; no operation touches an ActionScript object or lets an
// exception out.
#pragma once

#include <condition_variable>
#include <mutex>

#include "trtc/manager.h"

namespace tamvex {

// Whether a callback object still speaks for the session. The SDK may call an
// object after it was taken back, even after its instance was destroyed and a
// new one made, so the objects are never freed while the library is loaded;
// a retired one changes nothing any more. Each operation that changes the
// session or raises an event runs inside a Pass; retire() (main thread) lets
// no new Pass in and waits for the ones inside, which never wait for the main
// thread. The state is guarded by mutex_.
class Retirement {
 public:
  class Pass {
   public:
    explicit Pass(Retirement& r) : r_(r), in_(r.enter()) {}
    ~Pass() {
      if (in_) r_.leave();
    }
    Pass(const Pass&) = delete;
    Pass& operator=(const Pass&) = delete;
    explicit operator bool() const { return in_; }

   private:
    Retirement& r_;
    const bool in_;
  };

  void retire() {
    std::unique_lock<std::mutex> lock(mutex_);
    retired_ = true;
    idle_.wait(lock, [this] { return inside_ == 0; });
  }

 private:
  bool enter() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (retired_) return false;
    ++inside_;
    return true;
  }
  void leave() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (--inside_ == 0) idle_.notify_all();
  }

  std::mutex mutex_;
  std::condition_variable idle_;
  int inside_ = 0;        // guarded by mutex_
  bool retired_ = false;  // guarded by mutex_
};

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

  // Its instance was let go of: console lines only from now on (main thread).
  void retire() { retirement_.retire(); }

 private:
  void availability(const char* userId, bool available, const char* kind, const char* line, int32_t code);
  void raise(RtcManager::Event event, const std::string& level);
  RtcManager* manager_;
  Retirement retirement_;
};

// Routes the frames of one registration into the renderer pool (frames.cpp):
// the local one (setLocalVideoRenderCallback) takes every frame as the local
// user's, whatever id the SDK gives; the remote one (setRemoteVideoRenderCallback)
// takes a frame as the user's it names, and one without an id as local.
class ANEITRTCVideoRenderCallback : public ITRTCVideoRenderCallback {
 public:
  enum class Registration { Local, Remote };
  ANEITRTCVideoRenderCallback(RtcManager* manager, Registration registration)
      : manager_(manager), registration_(registration) {}
  void onRenderVideoFrame(const char* userId, TRTCVideoStreamType streamType, TRTCVideoFrame* frame) override;

  // Its instance was let go of: frames find no renderer from now on (main thread).
  void retire() { retirement_.retire(); }

 private:
  RtcManager* manager_;
  const Registration registration_;
  Retirement retirement_;
};

// Unbinds every renderer of a remote user (userId) or of every remote user
// (null), freeing their frames; the local stream renderers stay. SDK threads.
void releaseRemoteRenderers(RtcManager& manager, const std::string* userId);

// Binds a free renderer to (code, id) unless one is bound already or id is the
// local user's (frames.cpp). Called on SDK threads.
void addVideoRender(RtcManager& manager, int32_t code, const std::string& id);

}  // namespace tamvex
