// Tamvex's status event codes and the one level of its room events, each
// spelled here only: the manager's event texts and the function table's event
// list (and so the reference) read them. "video" is the frame path's
// (core::kVideoEvent); the pusher and player handle that means "none" is
// here too. The stream codes and every other video number are in
// video_codes.h.
#pragma once

#include <cstdint>

namespace tamvex {
namespace events {
inline constexpr char kComplete[] = "complete";
inline constexpr char kEnterRoom[] = "enterroom";
inline constexpr char kExitRoom[] = "exitroom";
inline constexpr char kMediaAvailable[] = "mediaavailable";
inline constexpr char kAudioEvent[] = "audioevent";
inline constexpr char kSpeedTestEvent[] = "speedtestevent";
}  // namespace events

// Pusher and player handles: the index of the object in its own list, or
// kNoObject when none was made (the SDK is missing, or it made nothing).
constexpr int32_t kNoObject = -1;  // no pusher or player was made

}  // namespace tamvex
