// Pusher and VOD player notifications, written to the console as they come.
#include "trtc/player_callbacks.h"

#include <cstdint>
#include <cstdio>

namespace tamvex {
namespace {
// The low 32 bits of a 64-bit position or length, as the console shows them.
int low32(uint64_t value) { return static_cast<int>(static_cast<uint32_t>(value)); }
}  // namespace

void ANEITXLivePusherCallback::onEventCallback(int eventId, const int paramCount, const char** paramKeys,
                                               const char** paramValues, void* pUserData) {
  (void)manager_, (void)paramKeys, (void)paramValues;
  const int pushId = static_cast<int>(reinterpret_cast<intptr_t>(pUserData));
  std::printf("\n  onEventCallback: pushId:%i    =\t\t\teventId:%i\t====   paramCount:%i", pushId, eventId,
              paramCount);
}

void ANEITXVodPlayerCallback::onVodPlayerStarted(uint64_t msLength) {
  (void)manager_;
  std::printf("\n  onVodPlayerStarted: %i", low32(msLength));
}

void ANEITXVodPlayerCallback::onVodPlayerProgress(uint64_t msPos) {
  std::printf("\n  onVodPlayerProgress: %i", low32(msPos));
}

void ANEITXVodPlayerCallback::onVodPlayerPaused() { std::printf("\n  onVodPlayerPaused"); }

void ANEITXVodPlayerCallback::onVodPlayerResumed() { std::printf("\n  onVodPlayerResumed"); }

// The console has always labelled the stop notification this way.
void ANEITXVodPlayerCallback::onVodPlayerStoped(int reason) { std::printf("\n  onVodPlayerPaused=%i", reason); }

void ANEITXVodPlayerCallback::onVodPlayerError(int error) { std::printf("\n  onVodPlayerError=%i", error); }

}  // namespace tamvex
