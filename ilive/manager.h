// LiveManager: the process-wide state that Brisora's functions and SDK
// handlers share. Made by the first context initializer, kept until the
// library is unloaded.
//
// Protection:
// - renderers.mutex() guards the pool, every renderer's binding, localCamera
//   and localScreen. Handlers take it for routing (lookup and bind) only;
//   pixels are converted outside it (FrameStore).
// - localUser guards the local user identifier with its own leaf lock.
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
#include "core/local_user.h"
#include "core/renderer.h"
#include "ilive/codes.h"

namespace brisora {

class LiveManager {
 public:
  static LiveManager& instance();

  // Event names and the two outcome levels as texts made once (codes.h).
  const std::string complete{events::kComplete};
  const std::string error{events::kError};
  const std::string ilivelogin{events::kIliveLogin};
  const std::string iliveloginout{events::kIliveLoginOut};
  const std::string createroom{events::kCreateRoom};
  const std::string joinroom{events::kJoinRoom};
  const std::string changerole{events::kChangeRole};
  const std::string devices{events::kDevices};
  const std::string quitroom{events::kQuitRoom};
  const std::string qualityparam{events::kQualityParam};
  const std::string addvideo{events::kAddVideo};
  const std::string removevideo{events::kRemoveVideo};
  const std::string novideo{events::kNoVideo};
  const std::string audioevent{events::kAudioEvent};
  const std::string ilivesdk_error{events::kSdkError};
  const std::string audiodata{events::kAudioData};

  // Where every event but the frame events goes.
  core::AneContext context;

  // The renderer pool; its mutex also guards the two slots below.
  core::RendererPool renderers;
  core::RendererPtr localCamera;  // guarded by renderers.mutex()
  core::RendererPtr localScreen;  // guarded by renderers.mutex()

  // The local user identifier (set at login, read by the handlers and by
  // routing); guarded by its own leaf lock, which may be taken under the pool's.
  core::LocalUser localUser;

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
