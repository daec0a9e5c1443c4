// LiveManager: the process-wide state that Brisora's functions and SDK
// handlers share. Made by the first context initializer, kept until the
// library is unloaded.
//
// Protection:
// - renderers.mutex() guards the pool, every renderer's binding, localCamera,
//   localScreen and the local user identifier. Handlers take it for routing
//   (lookup and bind) only; pixels are converted outside it (FrameStore).
// - The event names are const; context is an atomic word.
// - audioMutex guards the pending audio block; audioLevelsMutex the level counters.
#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "core/context.h"
#include "core/renderer.h"

namespace brisora {

class LiveManager {
 public:
  static LiveManager& instance();

  // Event names and the two outcome levels, spelled here only ("video" is the
  // frame path's, in core).
  const std::string complete{"complete"};
  const std::string error{"error"};
  const std::string ilivelogin{"ilivelogin"};
  const std::string iliveloginout{"iliveloginout"};
  const std::string createroom{"createroom"};
  const std::string joinroom{"joinroom"};
  const std::string changerole{"changerole"};
  const std::string devices{"devices"};
  const std::string quitroom{"quitroom"};
  const std::string qualityparam{"qualityparam"};
  const std::string addvideo{"addvideo"};
  const std::string removevideo{"removevideo"};
  const std::string novideo{"novideo"};
  const std::string audioevent{"audioevent"};
  const std::string ilivesdk_error{"ilivesdk_error"};
  const std::string audiodata{"audiodata"};

  // Where every event but the frame events goes.
  core::AneContext context;

  // The renderer pool; its mutex also guards the three members below.
  core::RendererPool renderers;
  core::RendererPtr localCamera;  // guarded by renderers.mutex()
  core::RendererPtr localScreen;  // guarded by renderers.mutex()
  std::string localUserLocked;    // the local user identifier; guarded by renderers.mutex()

  // The local user identifier, copied under the pool lock.
  std::string localUser() const;
  // Whether id is the local user identifier (no copy).
  bool isLocalUser(const char* id, size_t length) const;

  // Stores the local user id and grows the pool to count + 2 (at least 2)
  // renderers made with ctx; a larger pool is left alone.
  void prepareRendererPool(const std::string& localUserId, int32_t count, FREContext ctx);
  // First free renderer, else a new one made with the manager's context. Pool lock held.
  core::RendererPtr acquireRendererLocked();

  // Audio data (the audio functions and handler).
  std::atomic<bool> localAudioCapture{false};
  std::mutex audioMutex;
  std::unique_ptr<uint8_t[]> pendingAudio;  // guarded by audioMutex
  uint32_t pendingAudioLength = 0;          // guarded by audioMutex
  std::mutex audioLevelsMutex;
  std::map<std::string, int32_t> audioLevels;  // guarded by audioLevelsMutex

  // The context initializer's hand-over: the manager and every renderer take ctx.
  void adoptContext(FREContext ctx);
  // The current context's finalizer's reset (core::finishContext, which
  // drains the dispatch gate afterwards): the context cleared (no renderer is
  // made until the next context), every renderer removed, the pool emptied,
  // localCamera and localScreen cleared, the audio level counters emptied.
  void reset();

 private:
  LiveManager() = default;
};

}  // namespace brisora
