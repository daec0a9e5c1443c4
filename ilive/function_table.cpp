// The table of named functions that the context initializer hands the runtime,
// in the order the runtime sees it.
#include "ilive/function_table.h"

#include "core/api.h"
#include "core/edge.h"
#include "core/entry.h"
#include "core/frame_path.h"
#include "ilive/codes.h"
#include "ilive/functions.h"

namespace brisora {
namespace {

// The status events of the extension and the form of their levels. A field
// name has one type in every event: kind is always a SourceKind.
const core::ApiEvent kEvents[] = {
    {events::kIliveLogin, "complete | error", "the outcome of iLiveLogin or iLiveLoginWithSpear", ""},
    {events::kIliveLoginOut, "complete | error", "the outcome of iLiveLoginOut", ""},
    {events::kCreateRoom, "complete | error", "the outcome of createRoom", ""},
    {events::kJoinRoom, "complete | error", "the outcome of joinRoom", ""},
    {events::kChangeRole, "complete | error", "the outcome of changeRole", ""},
    {events::kQuitRoom, "complete | error", "the outcome of quitRoom", ""},
    {events::kDevices, "operation||operation code||result", "the SDK's report of a device operation (or \"detect\" when devices changed)",
     "notice:String, operation:DeviceOperation, result:int"},
    {events::kQualityParam, "the quality report text", "the quality report, every statistics period in a room", ""},
    {core::kVideoEvent, "user id||width||height||flag||value||source kind", "a new frame of (user, source kind) is ready for getVideoData",
     "userId:String, width:int, height:int, flag:Boolean, value:Number, kind:SourceKind"},
    {events::kAddVideo, "user id||source kind", "a remote user's video of a source kind started", "userId:String, kind:SourceKind"},
    {events::kRemoveVideo, "user id||source kind", "a remote user's video of a source kind stopped", "userId:String, kind:SourceKind"},
    {events::kNoVideo, "user id||1", "a remote user's camera went off", "userId:String, kind:SourceKind"},
    {events::kAudioEvent, "audio kind||user id||level", "an audio level of a user", "audioKind:AudioKind, userId:String, audioLevel:int"},
    {events::kAudioData, "user id", "an audio block waits for getAudioData", "userId:String"},
    {events::kSdkError, "user id||source kind||message", "a frame or a pull found no renderer", "userId:String, kind:SourceKind, message:String"},
};

// The numeric codes ActionScript meets, by set (each set's values together).
const core::ApiCode kCodes[] = {
    {"SourceKind", "UNKNOWN", kUnknownKind, "a remote source of a kind the extension does not know (any but 1 to 3)"},
    {"SourceKind", "CAMERA", kCamera, "a camera; what requestStream and cancelStream ask for with any kind but 2 and 3"},
    {"SourceKind", "SCREEN", kScreen, "a shared screen or window"},
    {"SourceKind", "MEDIA_FILE", kMediaFile, "a media file played into the stream"},

    {"AudioKind", "LOCAL_BLOCK", kAudioKindLocalBlock, "audio levels; the local user's frames of this kind also give the 16 kHz block"},
    {"AudioKind", "LEVELS_ONLY", kAudioKindLevelOnly, "audio levels only"},
    {"AudioKind", "LOCAL_CAPTURE", kLocalCaptureKind,
     "Brisora's own, never sent to the SDK: registAudioDataCallback with it switches the local 16 kHz block on or off"},

    {"DeviceOperation", "UNKNOWN", kUnknownOperation, "an SDK operation code outside 1 to 4 and 7 to 16"},
    {"DeviceOperation", "FIRST_PLAIN", kFirstPlainOperationCode, "SDK code 1: codes 1 to 4 are shown as they are"},
    {"DeviceOperation", "LAST_PLAIN", kLastPlainOperationCode, "SDK code 4"},
    {"DeviceOperation", "FIRST_SHIFTED", kFirstShiftedOperationCode - kOperationCodeShift,
     "SDK code 7: codes 7 to 16 are shown two lower, as 5 to 14"},
    {"DeviceOperation", "LAST_SHIFTED", kLastShiftedOperationCode - kOperationCodeShift, "SDK code 16"},

    {"SdkState", "NONE", kNoState, "not sharing or playing: any SDK answer but 1 and 2, or the SDK threw"},
    {"SdkState", "STATE_1", kFirstState, "the SDK's state 1 (sharing, or a media file open)"},
    {"SdkState", "STATE_2", kLastState, "the SDK's state 2 (sharing, or a media file open)"},

    {"CustomDataKind", "OTHER", kCustomDataKindOther, "sent as the SDK's custom data code 3, as every kind but 2 and 3 is"},
    {"CustomDataKind", "SECOND", kCustomDataKindSecond, "sent as the SDK's custom data code 2"},
    {"CustomDataKind", "THIRD", kCustomDataKindThird, "sent as the SDK's custom data code 4"},

    {"RootViewProbe", "NONE", kNoRootViewProbe, "the packed 24-bit colour format without asking a root view (as every value but 1)"},
    {"RootViewProbe", "PROBE", kProbeRootView, "a root view is asked: I420 for a D3D view, packed 24-bit for any other"},
};

// The answers that are lists in a fixed text form.
const core::ApiList kLists[] = {
    {"getCameraNames", "cameraNames", "||", "", "", "", "a camera's name"},
    {"getMicNames", "micNames", "||", "", "", "", "a microphone's name"},
    {"getSpeakerNames", "speakerNames", "||", "", "", "", "a speaker's name"},
    {"getScreenShareNames", "screenShareNames", "||", "", "", "", "the title of a window that can be shared"},
};

const core::ApiExtension kExtension = core::extensionOf(kEvents, kCodes, kLists);

// Brisora's 68 functions with their records (ANE_API).
const core::TableEntry kEntries[] = {
    ANE_API(initRtmpLiveSdk, "start-up", "debug:Boolean", "Boolean",
            "Turns the extension's trace lines on (true, \"debug\") or off (false, \"release\").",
            "always true.",
            "", "",
            "debug: true prints the functions' debug trace lines, false silences them; a value that is not a Boolean "
            "leaves the switch as it was (it is off when the extension loads)"),
    ANE_API(initILiveSdk, "start-up", "appId:int, accountType:int, unused:int, probeRootView:int", "Boolean",
            "Starts the iLive SDK, registers its callbacks and picks the video colour format; probeRootView 1 asks the root view for it. True when the SDK started.",
            "true when the SDK started; false when its start-up answers non-zero or throws, or the version it is asked "
            "for its trace line throws; null when the SDK throws while the callbacks or the colour format are set (it "
            "is not started then).",
            "", "",
            "appId: the application id, handed to the SDK's start-up as it is\n"
            "accountType: the account type; only printed in the trace line, not sent to the SDK\n"
            "unused: not read; any value\n"
            "probeRootView (RootViewProbe): PROBE (1) asks a root view for the colour format; any other value takes "
            "packed 24-bit without asking"),
    ANE_API(setLogPath, "start-up", "path:String", "Boolean",
            "Sets the SDK's log directory; the SDK's own answer.",
            "the SDK's own answer (true or false); null when it throws.",
            "", "",
            "path: the folder the SDK writes its logs to, handed over as UTF-8"),
    ANE_API(getSdkVersion, "start-up", "", "String?",
            "The SDK's version text.",
            "the version text, all its bytes (\"\" when the SDK's text is empty); null when the SDK throws.",
            "", "", ""),
    ANE_API(setChannelMode, "start-up", "mode:uint, text:String", "Boolean",
            "Sets the SDK channel mode (a mode number and a text).",
            "true once the SDK was asked, whatever it answers; null when it throws.",
            "", "",
            "mode: 0 switches the channel mode off, any other value on (the SDK is given a flag)\n"
            "text: the text handed to the SDK with the mode, as UTF-8"),
    ANE_API(iLiveLogin, "login", "userId:String, userSig:String, remoteStreams:int, extra:String", "Boolean",
            "Logs in and prepares the video renderers; the outcome arrives as \"ilivelogin\".",
            "true: the SDK was asked; the outcome is the event. null when the SDK throws (no event follows).",
            "\"ilivelogin\" \"complete\" or \"error\".", "User ids and signatures are passed as UTF-8.",
            "userId: the user to log in; from now on the local user, whose camera, screen and audio frames are "
            "recognised (kept until the next login)\n"
            "userSig: the user's signature for the login\n"
            "remoteStreams: the remote video streams expected: the renderer pool grows to remoteStreams + 2 renderers "
            "(at least 2, at most 256); a pool already as large is left alone\n"
            "extra: a further login text, handed to the SDK last, after the handlers"),
    ANE_API(iLiveLoginWithSpear, "login", "userId:String, userSig:String, remoteStreams:int, extra:String", "Boolean",
            "Logs in through the SDK's second login operation; otherwise as iLiveLogin.",
            "true: the SDK was asked; the outcome is the event. null when the SDK throws (no event follows).",
            "\"ilivelogin\" \"complete\" or \"error\".", "",
            "userId: as for iLiveLogin: the user to log in, from now on the local user\n"
            "userSig: the user's signature for the login\n"
            "remoteStreams: as for iLiveLogin: the pool grows to remoteStreams + 2 renderers (at least 2, at most 256)\n"
            "extra: a further login text, handed to the SDK third, before the handlers"),
    ANE_API(iLiveLoginOut, "login", "", "void",
            "Logs out; the outcome arrives as \"iliveloginout\".",
            "null; the outcome is the event (none follows when the SDK throws).",
            "\"iliveloginout\" \"complete\" or \"error\".", "", ""),
    ANE_API(createRoom, "rooms", "roomId:uint, role:String, privateMapKey:String, autoRequest:Boolean, autoCamera:Boolean, autoAudio:Boolean", "void",
            "Creates a room; the outcome arrives as \"createroom\".",
            "null; the outcome is the event (none follows when the SDK throws).",
            "\"createroom\" \"complete\" or \"error\"; in the room \"addvideo\", \"removevideo\", \"novideo\", \"video\", \"devices\", \"qualityparam\".", "",
            "roomId: the room number, 0 to 4294967295, handed over unchanged (the trace line prints one above "
            "2147483647 as negative)\n"
            "role: the control role the room record carries\n"
            "privateMapKey: the private map key; empty leaves the record's own empty value\n"
            "autoRequest: true has the SDK request every remote camera, screen, media-file and audio stream itself\n"
            "autoCamera: true has the SDK open the camera on entry\n"
            "autoAudio: true has the SDK open the microphone and the speaker on entry"),
    ANE_API(joinRoom, "rooms", "roomId:uint, role:String, privateMapKey:String, autoRequest:Boolean, autoCamera:Boolean, autoAudio:Boolean", "void",
            "Joins a room; the outcome arrives as \"joinroom\".",
            "null; the outcome is the event (none follows when the SDK throws).",
            "\"joinroom\" \"complete\" or \"error\"; in the room \"addvideo\", \"removevideo\", \"novideo\", \"video\", \"devices\", \"qualityparam\".", "",
            "roomId: the room number, 0 to 4294967295, handed over unchanged\n"
            "role: the control role the room record carries\n"
            "privateMapKey: the private map key; empty leaves the record's own empty value\n"
            "autoRequest: true has the SDK request every remote camera, screen, media-file and audio stream itself\n"
            "autoCamera: true has the SDK open the camera on entry\n"
            "autoAudio: true has the SDK open the microphone and the speaker on entry"),
    ANE_API(changeRole, "rooms", "role:String", "Boolean",
            "Changes the user's role; the outcome arrives as \"changerole\". False when the SDK throws.",
            "true when the SDK was asked; false when it throws (no event follows then).",
            "\"changerole\" \"complete\" or \"error\".", "",
            "role: the new control role, handed over as a zero-terminated UTF-8 text"),
    ANE_API(requestStream, "rooms", "userId:String, kind:int", "Boolean",
            "Requests a remote user's stream of the given source kind. False when the SDK throws.",
            "true when the SDK was asked (the SDK's outcome is not reported); false when it throws.",
            "\"video\" for each frame of the stream once it arrives.", "",
            "userId: the remote user\n"
            "kind (SourceKind): SCREEN or MEDIA_FILE asks for that stream; any other value asks for the CAMERA stream"),
    ANE_API(cancelStream, "rooms", "userId:String, kind:int", "Boolean",
            "Cancels a remote user's stream. False when the SDK throws.",
            "true when the SDK was asked (the SDK's outcome is not reported); false when it throws.",
            "", "",
            "userId: the remote user\n"
            "kind (SourceKind): SCREEN or MEDIA_FILE cancels that stream; any other value the CAMERA stream"),
    ANE_API(cancelAllStream, "rooms", "", "Boolean",
            "Cancels all remote streams. False when the SDK throws.",
            "true when the SDK was asked (the SDK's outcome is not reported); false when it throws.",
            "", "", ""),
    ANE_API(getVideoData, "video", "destination:ByteArray, userId:String, kind:int", "void",
            "Copies the newest frame of (user, source kind) into the ByteArray: width × height × 4 bytes, top row first, blue, green, red, alpha. Raises \"ilivesdk_error\" when no renderer is bound to the pair.",
            "null. The ByteArray's length becomes width × height × 4 and holds the newest frame; its length becomes 0 "
            "when the renderer bound to (user, kind) has no frame of that user yet; left as it was when no renderer is "
            "bound to (user, kind) or the destination is not a ByteArray.",
            "\"ilivesdk_error\" \"U||kind||not get videoRander\" when no renderer is bound.", "",
            "destination: the ByteArray that receives the frame; its length is set\n"
            "userId: the user whose frame is wanted (the local user's id for the local camera and screen)\n"
            "kind (SourceKind): the source, as the \"video\" event names it; a kind outside 0 to 3 finds no renderer"),
    ANE_API(getVideoBitmapData, "video", "unused:Object, userId:String, kind:int", "BitmapData?",
            "The newest frame of (user, source kind) as a new BitmapData, or null when there is none.",
            "a new BitmapData of the frame's size holding the newest frame; null when no renderer is bound to (user, "
            "kind) or it has no frame yet.",
            "\"ilivesdk_error\" as getVideoData.", "The first argument is not used.",
            "unused: not read; any value, null included\n"
            "userId: the user whose frame is wanted (the local user's id for the local camera and screen)\n"
            "kind (SourceKind): the source, as the \"video\" event names it; a kind outside 0 to 3 finds no renderer"),
    ANE_API(getVideoVector, "video", "destination:ByteArray, userId:String, kind:int", "void",
            "As getVideoData (a second entry point).",
            "null, as getVideoData: the length becomes width × height × 4 with the newest frame, 0 when the bound "
            "renderer has no frame yet; left as it was when no renderer is bound or the destination is not a ByteArray.",
            "\"ilivesdk_error\" as getVideoData.", "",
            "destination: the ByteArray that receives the frame; its length is set\n"
            "userId: the user whose frame is wanted\n"
            "kind (SourceKind): the source, as the \"video\" event names it"),
    ANE_API(openCamera, "devices", "index:int", "Boolean",
            "Opens the camera at this position of getCameraNames. False for a position outside the list, a listing that fails or an open call that throws.",
            "true when the SDK was asked to open the camera (its answer is not read); false when the camera listing "
            "fails (answers non-zero) or is empty, for a position outside the list, or when the open call throws; null "
            "when the listing throws.",
            "\"devices\" with the SDK's report of the operation; \"video\" for the local camera's frames.", "A position outside the list gives false without an SDK call.",
            "index: the camera's position in getCameraNames, 0 for the first; the list is fetched again at the call"),
    ANE_API(getCurCameraState, "devices", "", "Boolean",
            "Whether the camera is open.",
            "the SDK's answer; false when it throws.",
            "", "", ""),
    ANE_API(closeCamera, "devices", "", "Boolean",
            "Closes the camera.",
            "true once the SDK was asked (its answer is not read); false when it throws.",
            "\"devices\" with the SDK's report.", "", ""),
    ANE_API(getCameraNames, "devices", "", "String?",
            "The camera names joined by \"||\".",
            "the names joined by \"||\"; null when the list cannot be read (the listing answers non-zero or throws) or "
            "is empty.",
            "", "Names come from the ANSI code page as UTF-8, so non-ASCII names arrive intact.", ""),
    ANE_API(openExternalCapture, "media", "", "Boolean",
            "Starts external (application-fed) video capture.",
            "true once the SDK was asked (its answer is not read); false when it throws.",
            "", "", ""),
    ANE_API(fillExternalCaptureByteFrame, "media", "pixels:ByteArray, width:int, height:int", "Boolean",
            "Feeds one external frame of 4-byte pixels from a ByteArray.",
            "true when the SDK took the frame (answered 0); false for a width or height ≤ 0, a size whose "
            "width × height × 4 does not fit in 32 bits, no ByteArray, a ByteArray shorter than width × height × 4, "
            "an SDK answer other than 0, or when the SDK throws. Nothing is sent when the arguments are refused.",
            "", "A ByteArray shorter than width × height × 4 is refused instead of read past its end.",
            "pixels: width × height pixels of 4 bytes, rows in the order sent; the fourth byte of each is dropped and "
            "the first three are sent in their order (bytes past the picture are ignored)\n"
            "width: pixels a row, 1 or more\n"
            "height: rows, 1 or more"),
    ANE_API(fillExternalCaptureBitmapFrame, "media", "bitmap:BitmapData", "Boolean",
            "Feeds one external frame from a BitmapData: the picture centred on a black 1280 × 720 canvas, sent bottom row first.",
            "true when the SDK took the frame (answered 0); false when the argument is not a BitmapData or cannot be "
            "read, for a bitmap wider than 1280, for an SDK answer other than 0, or when the SDK throws. The SDK always "
            "gets a 1280 × 720 packed 24-bit frame: the picture centred on black, its top 720 rows when it is taller, "
            "the bottom row first.",
            "", "The rows are read in picture order whatever the bitmap's row order and stride; a bitmap wider than the canvas is refused instead of written past it.",
            "bitmap: the picture, at most 1280 pixels wide (a wider one is refused); of a picture taller than 720 rows "
            "only the top 720 are sent"),
    ANE_API(closeExternalCapture, "media", "", "Boolean",
            "Stops external capture.",
            "true once the SDK was asked (its answer is not read); false when it throws.",
            "", "", ""),
    ANE_API(openMic, "devices", "index:int", "Boolean?",
            "Opens the microphone at this position of getMicNames; null when the list cannot be read.",
            "true when the SDK was asked (its answer is not read); false for a position outside the list or when the "
            "open call throws; null when the list cannot be read (the listing answers non-zero or throws).",
            "\"devices\" with the SDK's report.", "A position outside the list gives false without an SDK call.",
            "index: the microphone's position in getMicNames, 0 for the first; the list is fetched again at the call"),
    ANE_API(getMicVolume, "devices", "", "uint",
            "The microphone volume.",
            "the volume; 4294967295 when the SDK throws.",
            "", "", ""),
    ANE_API(setMicVolume, "devices", "volume:int", "Boolean",
            "Sets the microphone volume.",
            "always true, also when the SDK throws (its answer is not read).",
            "", "",
            "volume: the microphone volume, handed to the SDK unchanged (the SDK's scale)"),
    ANE_API(getCurMicState, "devices", "", "Boolean",
            "Whether the microphone is open.",
            "the SDK's answer; false when it throws.",
            "", "", ""),
    ANE_API(closeMic, "devices", "", "Boolean",
            "Closes the microphone.",
            "true once the SDK was asked (its answer is not read); false when it throws.",
            "\"devices\" with the SDK's report.", "", ""),
    ANE_API(getMicNames, "devices", "", "String?",
            "The microphone names joined by \"||\".",
            "the names joined by \"||\"; null when the list cannot be read (the listing answers non-zero or throws) or "
            "is empty.",
            "", "Names come from the ANSI code page as UTF-8.", ""),
    ANE_API(registAudioDataCallback, "audio", "kind:int, capture:Boolean", "Boolean",
            "Registers for audio data of a kind (\"audioevent\" levels; kind 20 with capture true also \"audiodata\" blocks).",
            "true when registered, and always for LOCAL_CAPTURE (20), which asks nothing of the SDK; false when the "
            "SDK throws.",
            "\"audioevent\" with levels; with kind 20 and capture true also \"audiodata\" when a block waits.", "",
            "kind (AudioKind): LOCAL_CAPTURE only sets the capture switch; any other number registers the audio "
            "handler for that SDK kind (only LOCAL_BLOCK and LEVELS_ONLY frames raise events, others are dropped)\n"
            "capture: read only with LOCAL_CAPTURE: true makes the local user's LOCAL_BLOCK frames give 16 kHz "
            "blocks, false stops new ones (a block already waiting stays)"),
    ANE_API(getAudioData, "audio", "destination:ByteArray", "void",
            "Copies the waiting audio block (after \"audiodata\") into the ByteArray.",
            "null. The ByteArray's length becomes the waiting block's and holds it (the block is freed); its length "
            "becomes 0 when no block waits; left as it was, and the block kept, when the argument is not a ByteArray.",
            "", "",
            "destination: the ByteArray that receives the block; its length is set"),
    ANE_API(openSpeaker, "devices", "index:int", "Boolean?",
            "Opens the speaker at this position of getSpeakerNames; null when the list cannot be read.",
            "true when the SDK was asked (its answer is not read); false for a position outside the list or when the "
            "open call throws; null when the list cannot be read (the listing answers non-zero or throws).",
            "\"devices\" with the SDK's report.", "A position outside the list gives false without an SDK call.",
            "index: the speaker's position in getSpeakerNames, 0 for the first; the list is fetched again at the call"),
    ANE_API(getCurPlayerState, "devices", "", "Boolean",
            "Whether the speaker is open.",
            "the SDK's answer; false when it throws.",
            "", "", ""),
    ANE_API(getSpeakerNames, "devices", "", "String?",
            "The speaker names joined by \"||\".",
            "the names joined by \"||\" (\"\" for an empty list); null when the list cannot be read (the listing "
            "answers non-zero or throws).",
            "", "Names come from the ANSI code page as UTF-8.", ""),
    ANE_API(setPlayerVolume, "devices", "volume:int", "Boolean",
            "Sets the speaker volume.",
            "always true, also when the SDK throws (its answer is not read).",
            "", "",
            "volume: the speaker volume, handed to the SDK unchanged (the SDK's scale)"),
    ANE_API(getPlayerVolume, "devices", "", "uint",
            "The speaker volume.",
            "the volume; 4294967295 when the SDK throws.",
            "", "", ""),
    ANE_API(closeSpeaker, "devices", "", "Boolean",
            "Closes the speaker.",
            "true once the SDK was asked (its answer is not read); false when it throws.",
            "\"devices\" with the SDK's report.", "", ""),
    ANE_API(getScreenShareState, "devices", "", "int",
            "The screen-share state: 1 or 2 while sharing, otherwise 0.",
            "an SdkState: STATE_1 or STATE_2 when the SDK answers 1 or 2; NONE (0) for any other answer and when the "
            "SDK throws.",
            "", "", ""),
    ANE_API(getScreenShareNames, "devices", "", "String?",
            "The titles of the shareable windows joined by \"||\".",
            "the titles joined by \"||\" (\"\" for an empty list); null when the list cannot be read (the listing "
            "answers non-zero or throws).",
            "", "Titles come from the ANSI code page as UTF-8.", ""),
    ANE_API(openScreenShare, "devices", "index:int, fps:uint", "Boolean?",
            "Starts sharing the window at this position of getScreenShareNames.",
            "true when the SDK was asked (its answer is not read); false for a position outside the window list or "
            "when the share call throws; null when the list cannot be read (the listing answers non-zero or throws).",
            "\"devices\"; \"video\" for the shared screen's frames.", "A position outside the list gives false without an SDK call.",
            "index: the window's position in getScreenShareNames, 0 for the first; the list is fetched again at the "
            "call\n"
            "fps: the share's frame rate, handed to the SDK as it is (a value the SDK writes back is ignored)"),
    ANE_API(openScreenRectangleShare, "devices", "left:int, top:int, right:int, bottom:int, fps:uint", "Boolean",
            "Starts sharing a rectangle of the screen.",
            "true when the SDK was asked (its answer is not read); false when it throws.",
            "\"devices\"; \"video\" for the shared screen's frames.", "",
            "left: the rectangle's left edge, handed to the SDK as it is\n"
            "top: its top edge\n"
            "right: its right edge\n"
            "bottom: its bottom edge\n"
            "fps: the share's frame rate (values the SDK writes back through any of the five are ignored)"),
    ANE_API(closeScreenShare, "devices", "", "Boolean",
            "Stops screen sharing.",
            "true once the SDK was asked (its answer is not read); false when it throws.",
            "", "", ""),
    ANE_API(isValidMediaFile, "media", "path:String", "Boolean",
            "Whether the file can be played as a media file.",
            "the SDK's answer; false when it throws.",
            "", "",
            "path: the media file, handed over as UTF-8"),
    ANE_API(openPlayMediaFile, "media", "path:String", "Boolean",
            "Starts playing a media file into the stream.",
            "true when the SDK was asked (its answer is not read); false when it throws.",
            "\"video\" for the media file's frames.", "",
            "path: the media file to play, handed over as UTF-8"),
    ANE_API(pausePlayMediaFile, "media", "", "Boolean",
            "Pauses the media file.",
            "true when the SDK answered 0; false otherwise and when it throws.",
            "", "", ""),
    ANE_API(resumePlayMediaFile, "media", "", "Boolean",
            "Resumes the media file.",
            "true when the SDK answered 0; false otherwise and when it throws.",
            "", "", ""),
    ANE_API(closePlayMediaFile, "media", "", "Boolean",
            "Stops the media file.",
            "true once the SDK was asked (its answer is not read); false when it throws.",
            "", "", ""),
    ANE_API(getPlayMediaFileState, "media", "", "int",
            "The media-file state: 1 or 2 while open, otherwise 0.",
            "an SdkState: STATE_1 or STATE_2 when the SDK answers 1 or 2; NONE (0) for any other answer and when the "
            "SDK throws.",
            "", "", ""),
    ANE_API(getPlayMediaFilePos, "media", "", "String?",
            "The media-file position and duration as \"position||duration\".",
            "\"position||duration\", two whole decimal numbers (64-bit, a negative one with its minus sign); null when "
            "the SDK answers non-zero or throws.",
            "", "", ""),
    ANE_API(setPlayMediaFilePos, "media", "position:int", "Boolean",
            "Seeks the media file.",
            "true when the SDK answered 0; false otherwise and when it throws.",
            "", "",
            "position: where to seek to, in the unit of getPlayMediaFilePos's first value; handed to the SDK as a "
            "64-bit value with its sign, the range is the SDK's to judge"),
    ANE_API(startLocalRecord, "media", "path:String", "Boolean",
            "Starts recording locally to a file.",
            "true when the SDK was asked; false when it throws. The recording's outcome is only printed on the console.",
            "", "",
            "path: the file to record to, handed over as UTF-8"),
    ANE_API(stopLocalRecord, "media", "", "Boolean",
            "Stops the local recording.",
            "true once the SDK was asked; null when it throws.",
            "", "", ""),
    ANE_API(openSystemVoiceInput, "devices", "player:String", "Boolean",
            "Starts system-sound capture.",
            "true once the SDK was asked, whatever it answers; null when it throws.",
            "", "",
            "player: the text the SDK takes for system-sound capture, handed over unchanged (an empty one as the "
            "SDK's empty text)"),
    ANE_API(closeSystemVoiceInput, "devices", "", "void",
            "Stops system-sound capture.",
            "null, also when the SDK throws.",
            "", "", ""),
    ANE_API(setSystemVoiceInputVolume, "devices", "volume:int", "Boolean",
            "Sets the system-sound capture volume.",
            "always true, also when the SDK throws (its answer is not read).",
            "", "",
            "volume: the system-sound capture volume, handed to the SDK unchanged (the SDK's scale)"),
    ANE_API(getSystemVoiceInputVolume, "devices", "", "uint",
            "The system-sound capture volume.",
            "the volume; 4294967295 when the SDK throws.",
            "", "", ""),
    ANE_API(getCurSystemVoiceInputState, "devices", "", "Boolean",
            "Whether system-sound capture is on.",
            "the SDK's answer; false when it throws.",
            "", "", ""),
    ANE_API(setSkinSmoothGrade, "devices", "grade:int", "Boolean",
            "Sets the skin-smoothing grade.",
            "true when the SDK answered 0; false for any other answer; null when it throws.",
            "", "",
            "grade: the smoothing grade, handed to the SDK unchanged; the SDK answers whether it took it"),
    ANE_API(setSkinWhitenessGrade, "devices", "grade:int", "Boolean",
            "Sets the skin-whiteness grade.",
            "true when the SDK answered 0; false for any other answer; null when it throws.",
            "", "",
            "grade: the whiteness grade, handed to the SDK unchanged; the SDK answers whether it took it"),
    ANE_API(isLogin, "login", "", "Boolean",
            "Whether a user is logged in.",
            "the SDK's answer; false when it throws.",
            "", "", ""),
    ANE_API(isInited, "start-up", "", "Boolean",
            "Whether the SDK is started.",
            "the SDK's answer; false when it throws.",
            "", "", ""),
    ANE_API(fillCustomData, "media", "data:String, kind:int", "Boolean",
            "Sends a custom data text of a kind into the stream.",
            "true when the SDK answered 0; false otherwise and when it throws.",
            "", "",
            "data: the text sent, its UTF-8 bytes without a terminating zero\n"
            "kind (CustomDataKind): SECOND is sent as the SDK's code 2, THIRD as code 4, any other value as code 3"),
    ANE_API(quitRoom, "rooms", "", "Boolean",
            "Leaves the room; the outcome arrives as \"quitroom\". False when the SDK throws.",
            "true when the SDK was asked; false when it throws (no event follows then).",
            "\"quitroom\" \"complete\" or \"error\".", "", ""),
    ANE_API(dispose, "host", "", "Boolean",
            "Releases the iLive SDK.",
            "true once the SDK was asked to release, whatever it answers (every call asks again); null when it throws.",
            "", "", ""),
    ANE_API(killProcess, "host", "", "Boolean",
            "Ends the host process at once.",
            "true (only reached if the process was not ended).",
            "", "", ""),
    ANE_API(keepScreenOn, "host", "keepOn:Boolean", "void",
            "Keeps the display and the system awake with the screen saver off (true), or restores both (false).",
            "null.",
            "", "",
            "keepOn: true turns the screen saver off and keeps the display and the system awake (the calling thread's "
            "execution state); false turns the screen saver on again and lets both sleep"),
};

const core::NamedTable<68> kNamed(kEntries, kExtension);

}  // namespace

const core::FunctionTable kFunctionTable = kNamed.table();

}  // namespace brisora
