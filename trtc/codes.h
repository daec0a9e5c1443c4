// Tamvex's status event codes and the one level of its room events, each
// spelled here only: the manager's event texts and the function table's event
// list (and so the reference) read them. "video" is the frame path's
// (core::kVideoEvent); the stream codes are in video_codes.h.
#pragma once

namespace tamvex {
namespace events {
inline constexpr char kComplete[] = "complete";
inline constexpr char kEnterRoom[] = "enterroom";
inline constexpr char kExitRoom[] = "exitroom";
inline constexpr char kMediaAvailable[] = "mediaavailable";
inline constexpr char kAudioEvent[] = "audioevent";
inline constexpr char kSpeedTestEvent[] = "speedtestevent";
}  // namespace events
}  // namespace tamvex
