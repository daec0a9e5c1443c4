// The codes Brisora shows ActionScript, each spelled here only: the status
// event codes with their two outcome levels (the manager's event texts, the
// function table's event list and so the reference read them; "video" is the
// frame path's, core::kVideoEvent), and every number ActionScript passes or
// is shown: source kinds, audio data kinds, device operations, states, custom
// data kinds and the root-view switch, each group with what it means.
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
// screen slot. Any other kind a frame names is shown as kUnknownKind. The same
// numbers name the stream requestStream and cancelStream ask for: a kind other
// than kScreen or kMediaFile is asked for as kCamera.
constexpr int32_t kUnknownKind = 0;  // a source the extension does not know; a released renderer's kind
constexpr int32_t kCamera = 1;       // a camera
constexpr int32_t kScreen = 2;       // a shared screen or window
constexpr int32_t kMediaFile = 3;    // a media file played into the stream

// Audio data kinds: registAudioDataCallback registers the SDK's kinds, and the
// SDK numbers the frames it hands the audio-data handler by them ("audioevent"
// shows the number). Only two kinds are read; frames of any other are dropped.
constexpr int32_t kAudioKindLocalBlock = 2;  // levels, and the local user's frames give the 16 kHz block
constexpr int32_t kAudioKindLevelOnly = 5;   // levels only
constexpr int32_t kLocalCaptureKind = 20;    // Brisora's own: switches the 16 kHz block; never sent to the SDK

// Device operations: the SDK's operation codes and the numbers "devices"
// events show for them. Codes 1 to 4 are shown as they are, codes 7 to 16
// two lower (5 to 14), any other code as kUnknownOperation.
constexpr int32_t kUnknownOperation = 0;          // a code outside the two runs
constexpr int32_t kFirstPlainOperationCode = 1;   // first code shown as it is
constexpr int32_t kLastPlainOperationCode = 4;    // last code shown as it is
constexpr int32_t kFirstShiftedOperationCode = 7;  // first code shown two lower
constexpr int32_t kLastShiftedOperationCode = 16;  // last code shown two lower
constexpr int32_t kOperationCodeShift = 2;        // what a shifted code loses

// States that getScreenShareState and getPlayMediaFileState answer: the SDK's
// own 1 and 2 as they are, anything else as kNoState.
constexpr int32_t kNoState = 0;     // any other answer, or the SDK threw
constexpr int32_t kFirstState = 1;  // the SDK's state 1
constexpr int32_t kLastState = 2;   // the SDK's state 2

// The state ActionScript is shown for an SDK state answer.
inline int32_t shownState(int32_t answer) { return answer >= kFirstState && answer <= kLastState ? answer : kNoState; }

// Custom data: the kinds fillCustomData takes and the SDK's kind codes they
// are sent as.
constexpr int32_t kCustomDataKindOther = 0;   // any kind but 2 and 3: sent as kCustomDataCodeOther
constexpr int32_t kCustomDataKindSecond = 2;  // sent as kCustomDataCodeSecond
constexpr int32_t kCustomDataKindThird = 3;   // sent as kCustomDataCodeThird
constexpr int32_t kCustomDataCodeSecond = 2;  // the SDK code of kind 2
constexpr int32_t kCustomDataCodeThird = 4;   // the SDK code of kind 3
constexpr int32_t kCustomDataCodeOther = 3;   // the SDK code of any other kind

// The fourth argument of initILiveSdk that asks a root view for the colour
// format; any other value takes the packed 24-bit format without asking.
constexpr int32_t kNoRootViewProbe = 0;  // the packed 24-bit format, no root view (any value but 1)
constexpr int32_t kProbeRootView = 1;

}  // namespace brisora
