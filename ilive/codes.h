// The codes Brisora shows ActionScript, each spelled here only: the status
// event codes with their two outcome levels (the manager's event texts, the
// function table's event list and so the reference read them; "video" is the
// frame path's, core::kVideoEvent), and the source kinds of a video stream
// as events, pulls and the SDK's frame records number them.
#pragma once

#include <cstdint>

namespace brisora {

namespace events {
inline constexpr char kComplete[] = "complete";
inline constexpr char kError[] = "error";
inline constexpr char kIliveLogin[] = "ilivelogin";
inline constexpr char kIliveLoginOut[] = "iliveloginout";
inline constexpr char kCreateRoom[] = "createroom";
inline constexpr char kJoinRoom[] = "joinroom";
inline constexpr char kChangeRole[] = "changerole";
inline constexpr char kDevices[] = "devices";
inline constexpr char kQuitRoom[] = "quitroom";
inline constexpr char kQualityParam[] = "qualityparam";
inline constexpr char kAddVideo[] = "addvideo";
inline constexpr char kRemoveVideo[] = "removevideo";
inline constexpr char kNoVideo[] = "novideo";
inline constexpr char kAudioEvent[] = "audioevent";
inline constexpr char kSdkError[] = "ilivesdk_error";
inline constexpr char kAudioData[] = "audiodata";
}  // namespace events

// Source kinds. A camera's renderer is bound when the camera is announced
// (core::routeRemote's announced kind); screen and media file share the local
// screen slot. Any other kind a frame names is shown as kUnknownKind.
constexpr int32_t kUnknownKind = 0;
constexpr int32_t kCamera = 1;
constexpr int32_t kScreen = 2;
constexpr int32_t kMediaFile = 3;

}  // namespace brisora
