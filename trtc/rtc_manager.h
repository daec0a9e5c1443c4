// Process-wide state of Tamvex: the manager, the SDK entry points and cloud
// instance, the trace flag, and the disposal hooks of the handle families.
//
// Threads and ownership:
// - Everything here is written on the AIR main thread only, except what the
//   renderer pool guards (its own mutex) and the local user id (localIdMutex_).
// - The event-name table and the manager's context copy are written before any
//   SDK activity and only read by SDK threads afterwards.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "core/context.h"
#include "core/renderer.h"
#include "trtc/sdk/liteav.h"

namespace tamvex {

// The prefix of the extension's formatted console lines.
constexpr const char* kPrefix = "Tamvex:";

// 1 when initTRTCSdk asked for tracing (main thread only).
extern uint32_t debugMode;
inline bool tracing() { return debugMode == 1; }
// Prints "\n " + name when tracing.
void traceName(const char* name);

// The eight exports of liteav.dll. Stored by every load, never cleared, so the
// pusher and player families keep working after dispose; any may be null.
struct SdkEntryPoints {
  GetTRTCShareInstanceFn getTRTCShareInstance = nullptr;
  DestroyTRTCShareInstanceFn destroyTRTCShareInstance = nullptr;
  CreateTXLivePusherFn createTXLivePusher = nullptr;
  DestroyTXLivePusherFn destroyTXLivePusher = nullptr;
  CreateTXLivePlayerFn createTXLivePlayer = nullptr;
  DestroyTXLivePlayerFn destroyTXLivePlayer = nullptr;
  CreateTXVodPlayerFn createTXVodPlayer = nullptr;
  DestroyTXVodPlayerFn destroyTXVodPlayer = nullptr;
};
const SdkEntryPoints& sdk();

// The cloud instance, loading liteav.dll and registering the cloud callback on
// first use. Null when the library or getTRTCShareInstance is missing (the
// next call tries again); callers then answer a neutral value.
ITRTCCloud* loadTrtcCloud();

// Releases the cloud instance as dispose does: releaseScreenList(), unregister
// the cloud callback, destroyTRTCShareInstance, clear the pointers.
void releaseCloud();

// Disposal hooks of the other files (main thread):
// forgets every pusher, live player and VOD player handle (dispose);
void forgetHandles();
// releases and clears the kept screen-capture source list before the instance
// it came from is destroyed.
void releaseScreenList();

class ANEITRTCCloudCallback;
class ANEITRTCVideoRenderCallback;

class RtcManager {
 public:
  // Created on first use (the context initializer); lives while the extension is loaded.
  static RtcManager& instance();

  core::AneContext context;

  // Event codes, spelled once.
  enum Event { kComplete, kEnterRoom, kExitRoom, kMediaAvailable, kAudioEvent, kSpeedTestEvent, kEventCount };
  const std::string& eventName(Event e) const { return eventNames_[e]; }

  // The user id of the last enterRoom; read by SDK threads.
  std::string localUserId() const;
  // Copies it into *out (reusing out's storage: nothing allocated per frame).
  void copyLocalUserId(std::string* out) const;
  void setLocalUserId(const std::string& id);

  // The renderer pool and the local stream renderers (guarded by the pool's mutex).
  core::RendererPool pool;
  core::RendererPtr localBig;  // guarded by pool.mutex()
  core::RendererPtr localSub;  // guarded by pool.mutex()

  // Appends 18 renderers for `context` when the pool is empty.
  void prepareRendererPool(FREContext context);

  // The callback objects of the current cloud instance (main thread); null
  // while no instance is held.
  ANEITRTCCloudCallback* cloudCallback() const { return cloudCallback_; }
  ANEITRTCVideoRenderCallback* renderCallback() const { return renderCallback_; }

 private:
  RtcManager();
  friend ITRTCCloud* loadTrtcCloud();
  friend void releaseCloud();

  std::string eventNames_[kEventCount];
  mutable std::mutex localIdMutex_;
  std::string localUserId_;  // guarded by localIdMutex_

  ITRTCCloud* cloud_ = nullptr;
  ANEITRTCCloudCallback* cloudCallback_ = nullptr;
  ANEITRTCVideoRenderCallback* renderCallback_ = nullptr;
};

}  // namespace tamvex
