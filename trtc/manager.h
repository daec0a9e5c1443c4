// RtcManager: the process-wide state that Tamvex's functions and SDK
// callbacks share: the context events go to, the event texts, the local user,
// the renderer pool and the cloud instance with its callback objects.
//
// Threads and ownership:
// - Everything here is written on the AIR main thread only, except what the
//   renderer pool guards (its own mutex) and the local user id (its own leaf
//   lock, which may be taken under the pool's).
// - The event-name table is written before any SDK activity and only read by
//   SDK threads afterwards.
// - The manager's context copy is an atomic word, changed under the pool's
//   mutex (a new context adopted, the session's end clearing it); SDK threads
//   read it when they raise an event, under core's dispatch gate, which the
//   context finalizer drains (core/context.h).
#pragma once

#include <cstdint>
#include <mutex>
#include <string>

#include "core/context.h"
#include "core/local_user.h"
#include "core/renderer.h"
#include "trtc/tamvex.h"

namespace tamvex {

class ANEITRTCCloudCallback;
class ANEITRTCVideoRenderCallback;

class RtcManager {
 public:
  // Created on first use (the context initializer); lives while the extension is loaded.
  static RtcManager& instance();

  core::AneContext context;

  // The event codes (codes.h) as texts made once, by name.
  enum Event { kComplete, kEnterRoom, kExitRoom, kMediaAvailable, kAudioEvent, kSpeedTestEvent, kEventCount };
  const std::string& eventName(Event e) const { return eventNames_[e]; }

  // The user id of the last enterRoom (main thread); read by SDK threads.
  core::LocalUser localUser;

  // The renderer pool and the local stream renderers (guarded by the pool's mutex).
  core::RendererPool pool;
  core::RendererPtr localBig;  // guarded by pool.mutex()
  core::RendererPtr localSub;  // guarded by pool.mutex()

  // Appends 18 renderers for `context` when the pool is empty.
  void prepareRendererPool(FREContext context);

  // The context initializer's hand-over: the manager and every renderer take ctx.
  void adoptContext(FREContext ctx);
  // The current context's finalizer's reset (core::finishContext, which
  // drains the dispatch gate afterwards): the context cleared (no renderer is
  // made until the next context), the local stream renderers cleared, every
  // renderer named on the console and removed, the pool emptied.
  void reset();

  // The callback objects of the current cloud instance (main thread); null
  // while no instance is held. The local and the remote render registrations
  // have an object each, so a frame is routed by the registration it came by.
  ANEITRTCCloudCallback* cloudCallback() const { return cloudCallback_; }
  ANEITRTCVideoRenderCallback* localRenderCallback() const { return localRenderCallback_; }
  ANEITRTCVideoRenderCallback* remoteRenderCallback() const { return remoteRenderCallback_; }

 private:
  RtcManager();
  friend ITRTCCloud* loadTrtcCloud();
  friend void releaseCloud();

  std::string eventNames_[kEventCount];

  ITRTCCloud* cloud_ = nullptr;
  ANEITRTCCloudCallback* cloudCallback_ = nullptr;
  ANEITRTCVideoRenderCallback* localRenderCallback_ = nullptr;
  ANEITRTCVideoRenderCallback* remoteRenderCallback_ = nullptr;
};

}  // namespace tamvex
